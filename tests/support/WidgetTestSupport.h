#pragma once
// Shared by the widget tests of the main window, the dialogs and the monkey:
// fresh windows per test, typing and clicking as a user does, driving modal
// runs and message boxes, a stand-in for the browser, counting evaluations
// and reading the result tree.

#include "Application.h"
#include "Main.h"
#include "Windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include "TextEditor.h"
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <functional>
#include <memory>

namespace WidgetTest {

// Creates all six windows and shows the main window, as start-up does.
bool OpenWindows();
// Destroys the windows OpenWindows created.
void CloseWindows();
// All six windows, created anew and not shown, for tests that show the
// window they drive themselves (PrepareApplication must have run).
void RecreateWindows();

// Shows a window and waits until it has the keyboard focus, as a user's
// window would after opening. Offscreen, activation needs asking for.
bool ShowActive(QWidget* window);

// Types into an editor with key events, as a user does.
void Type(QWidget* editor, const QString& text);
// Places the caret of an editor.
void SetCaret(TextEditor* editor, int position);
// Clicks a check box or radio button where a user does: on its box and
// caption. (The middle of a wide control is empty space and clicks nothing.)
void ClickChoice(QAbstractButton* choice);

// Waits for any modal window to come up while `action` runs, lets `inspect`
// look at it, then closes it (reject). Returns the modal window seen.
QWidget* WhileModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect = {});

// Starts a modal run with `start` (which must call exec() somewhere) and, once
// `dialog` shows, calls `whileShown` inside that run. If the dialog is still
// up afterwards it is rejected, so that a failing test cannot hang; the return
// value says whether `whileShown` ran and the dialog had closed by itself.
bool DuringModalRun(QDialog* dialog, const std::function<void()>& start, const std::function<void()>& whileShown);

// What a message box said, captured while it was up; it is then dismissed
// with its OK button.
struct MessageSeen {
    bool shown = false;
    QString title;
    QString text;
    int buttonCount = 0;
    bool hasOk = false;
    bool modal = false;
};

// Arms a watcher for the next message box; call before the action that shows
// it. A watcher armed earlier and never used is disarmed.
std::shared_ptr<MessageSeen> AnswerNextMessageBox();

// Takes the place of the desktop's browser while it lives: records every
// address that the program asks to open, and opens none.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    BrowserStandIn();
    ~BrowserStandIn() override;
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// Counts the evaluations the main window runs: every evaluation that gets
// past its empty-text checks clears the result tree first (and "no match"
// clears it once more).
class EvaluationCounter {
public:
    EvaluationCounter() : spy_(frmMain->TreeView1->model(), &QAbstractItemModel::modelReset) {}
    int count() const { return int(spy_.count()); }
    void restart() { spy_.clear(); }

private:
    QSignalSpy spy_;
};

// Gives the main window a pattern and an input that match ("b" in "abc"),
// so that every evaluation leaves exactly one result in the tree.
void GiveMainWindowMatchingText();

// The main window's result tree: how many top-level nodes it has, the text
// of one, and the text of that node's first child.
int ResultCount();
QString ResultText(int index = 0);       // "<no node>" when there is none
QString ResultChildText(int index = 0);  // "<no child>" when there is none

} // namespace WidgetTest
