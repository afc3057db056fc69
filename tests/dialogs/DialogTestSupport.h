#pragma once
// Shared by the dialog tests: fresh windows per test, a stand-in for the
// browser, driving modal runs and message boxes, and counting evaluations.

#include "Application.h"
#include "Main.h"
#include "Windows.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <functional>
#include <memory>

namespace DialogTest {

// All six windows, created anew, as start-up creates them.
inline void RecreateWindows()
{
    DestroyWindows();
    CreateWindows();
}

// Shows a window and waits until it has the keyboard focus, as a user's
// window would after opening. Offscreen, activation needs asking for.
inline bool ShowActive(QWidget* window)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    window->activateWindow();
    if (QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }, 1000))
        return true;
    QApplication::setActiveWindow(window);
    return QApplication::activeWindow() == window;
}

// Clicks a check box or radio button where a user does: on its box and
// caption. (The middle of a wide control is empty space and clicks nothing.)
inline void ClickChoice(QAbstractButton* choice)
{
    QStyleOptionButton option;
    option.initFrom(choice);
    option.text = choice->text();
    const bool radio = qobject_cast<QRadioButton*>(choice) != nullptr;
    const QRect box = choice->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, choice);
    QTest::mouseClick(choice, Qt::LeftButton, {}, box.center());
}

// Takes the place of the desktop's browser: records every address that the
// program asks to open, and opens none.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    BrowserStandIn()
    {
        QDesktopServices::setUrlHandler("http", this, "open");
        QDesktopServices::setUrlHandler("https", this, "open");
    }
    ~BrowserStandIn() override
    {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("https");
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// Starts a modal run with `start` (which must call exec() somewhere) and, once
// `dialog` shows, calls `whileShown` inside that run. If the dialog is still
// up afterwards it is rejected, so that a failing test cannot hang; the return
// value says whether `whileShown` ran and the dialog had closed by itself.
inline bool DuringModalRun(QDialog* dialog, const std::function<void()>& start,
                           const std::function<void()>& whileShown)
{
    bool ran = false;
    bool closedByItself = false;
    // Owned here: if `start` never runs a modal loop, the timer goes with
    // this frame instead of firing later into it.
    // `start` may run events of its own before it opens the dialog: the
    // driver keeps looking until the dialog shows (for up to two seconds).
    QTimer driver;
    driver.setSingleShot(true);
    int looks = 0;
    QObject::connect(&driver, &QTimer::timeout, dialog, [&] {
        if (!dialog->isVisible()) {
            if (++looks < 200)
                driver.start(10);
            return;
        }
        if (!QTest::qWaitForWindowExposed(dialog))
            return;
        // Offscreen, a modal dialog gets the keyboard only when asked to.
        dialog->activateWindow();
        if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 1000))
            QApplication::setActiveWindow(dialog);
        ran = true;
        whileShown();
        QApplication::processEvents();
        closedByItself = !dialog->isVisible();
        if (!closedByItself)
            dialog->reject();
    });
    driver.start(0);
    start();
    return ran && closedByItself;
}

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
inline std::shared_ptr<MessageSeen> AnswerNextMessageBox()
{
    static QPointer<QTimer> armed;
    delete armed.data();
    auto seen = std::make_shared<MessageSeen>();
    auto* timer = new QTimer(qApp);
    armed = timer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [seen, timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->buttonCount = int(box->buttons().size());
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        seen->hasOk = ok != nullptr;
        seen->modal = box->isModal();
        if (ok)
            ok->click();
        else
            box->reject();
    });
    timer->start();
    // Never left running past the test that armed it.
    QTimer::singleShot(5000, timer, [timer] { timer->deleteLater(); });
    return seen;
}

// Counts the evaluations the main window runs: every evaluation that gets
// past its empty-text checks clears the result tree first.
class EvaluationCounter {
public:
    EvaluationCounter() : spy_(frmMain->TreeView1->model(), &QAbstractItemModel::modelReset) {}
    int count() const { return int(spy_.count()); }

private:
    QSignalSpy spy_;
};

// Gives the main window a pattern and an input that match ("b" in "abc"),
// so that every evaluation leaves exactly one result in the tree.
inline void GiveMainWindowMatchingText()
{
    frmMain->mmoSignature->setPlainText("b");
    frmMain->reSearch->setPlainText("abc");
    frmMain->btnMatch->click();
}

// The text of the result tree's first top-level node, or "" when it is empty.
inline QString FirstResult()
{
    QTreeWidgetItem* item = frmMain->TreeView1->topLevelItem(0);
    return item ? item->text(0) : QString();
}

} // namespace DialogTest
