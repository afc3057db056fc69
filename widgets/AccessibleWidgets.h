#pragma once
// Our own readings for assistive technology where Qt's reading of a widget
// is wrong: links are links (LinkLabelAccessible), a tab claims the focus
// only when it has it (PageTabListAccessible), a widget that hands its focus
// on never claims it (ForwardedFocusAccessible), a selector says its name and
// its value (ComboBoxAccessible), a one-line box is read whole
// (LineEditAccessible), and a tab widget's stack of pages is not spoken.

class QComboBox;
class QLabel;
class QLineEdit;

namespace AccessibleWidgets {

// Makes Qt ask for these readings first; once is enough, and it must come
// before any window is read.
void Install();

// Has a screen reader say the new value when the user changes `box` while it
// has the focus (arrow keys, a letter). Qt tells of the change only by events
// a screen reader takes from a selection interface that Qt 6.4 does not offer.
void SayNewChoices(QComboBox* box);

// Tab into `box` is heard once: as the box, its text and "selected", not
// first as a selection of its text.
void QuietSelectionOnFocus(QLineEdit* box);

// `label` is read as a paragraph of reference text: there when the user
// reviews the window, but not among the loose labels a screen reader reads
// out each time the dialog opens.
void ReadAsReference(QLabel* label);

} // namespace AccessibleWidgets
