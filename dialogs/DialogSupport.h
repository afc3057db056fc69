#pragma once
// What the five dialogs and the matches window have in common: their frame
// and face, centring on the screen, result labels, and pictures drawn from
// the dialogs' SVG resources.

#include <QPixmap>
#include <QSize>
#include <QString>

#include <utility>

class QDialog;
class QLabel;
class QLayout;
class QPushButton;
class QShowEvent;
class QWidget;

namespace DialogSupport {

// The space between a dialog's frame and its contents.
inline constexpr int Margin = 8;
// The standard width of a push button.
inline constexpr int ButtonWidth = 75;

// Gives a dialog its name, caption, face and a fixed client area, with a frame
// of title bar and close box only (no resizing, no minimise or maximise).
void SetUpDialogFrame(QDialog* dialog, const QString& objectName, const QString& caption,
                      QSize clientSize);

// A push button of the standard width with its caption (access key marked
// with "&") and the name assistive technology reads out.
QPushButton* CreateButton(const char* objectName, const QString& caption,
                          const QString& accessibleName, QWidget* parent);

// A label of results: its text wraps and can be selected to be copied.
QLabel* CreateResultLabel(const char* objectName, QWidget* parent);

// "&OK", the default button, and "&Cancel" (first and second): Button1 and
// Button2 of a dialog that has both.
std::pair<QPushButton*, QPushButton*> CreateOkCancelButtons(QWidget* parent);

// A dialog's pages over its foot row of buttons, within the dialogs' margin.
void LayOutPagesOverFoot(QDialog* dialog, QWidget* pages, QLayout* foot);

// Moves a top-level window so that it stands in the middle of its screen's
// available area. Called while the window is being shown, before it appears.
void CentreOnScreen(QWidget* window);

// At a real passage from hidden to shown (not the window system showing it
// again, as after a minimise) centres the dialog and returns true; the
// dialog's showEvent calls it after QDialog's own.
bool CentreWhenShown(QWidget* dialog, const QShowEvent* event);

// One of the dialogs' pictures (":/dialogs/<name>", see Pictures.h), drawn at `size`
// (stretched to fit) and sharp on high-density screens.
QPixmap Picture(const QString& name, QSize size, qreal devicePixelRatio);

} // namespace DialogSupport
