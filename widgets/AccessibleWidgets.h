#pragma once
// Our own readings for assistive technology where Qt's reading of a widget
// is wrong: links are links (LinkLabelAccessible), a tab claims the focus
// only when it has it (PageTabListAccessible), a widget that hands its focus
// on never claims it (ForwardedFocusAccessible).

class QLabel;
class QString;
class QWidget;

namespace AccessibleWidgets {

// Makes Qt ask for these readings first; once is enough, and it must come
// before any window is read.
void Install();

// Names `control` through a labelled-by relation: a label that is never
// shown, with `control` as its buddy. A combo box needs it on Linux, where
// Qt reads its current text as its name and drops the accessible name set on
// it; a screen reader then says the label, the role and the value.
QLabel* NameByLabel(QWidget* control, const QString& name);

} // namespace AccessibleWidgets
