#include "WidgetTestSupport.h"

#include <QAbstractItemModel>
#include <QDesktopServices>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

namespace WidgetTest {

bool OpenWindows()
{
    PrepareApplication();
    CreateWindows();
    frmMain->show();
    return QTest::qWaitForWindowExposed(frmMain);
}

void CloseWindows()
{
    DestroyWindows();
}

void RecreateWindows()
{
    DestroyWindows();
    CreateWindows();
}

bool ShowActive(QWidget* window)
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

void Type(QWidget* editor, const QString& text)
{
    editor->setFocus();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.unicode() < 0x80) {
            QTest::keyClick(editor, ch.toLatin1());
        } else {
            // Beyond ASCII a key press carries its character as text, both
            // halves of a character beyond the Basic Multilingual Plane.
            const qsizetype units = ch.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, text.mid(i, units), Qt::NoModifier);
            i += units - 1;
        }
    }
}

void SetCaret(TextEditor* editor, int position)
{
    editor->SetSelection(position, position);
}

void ClickChoice(QAbstractButton* choice)
{
    QStyleOptionButton option;
    option.initFrom(choice);
    option.text = choice->text();
    const bool radio = qobject_cast<QRadioButton*>(choice) != nullptr;
    const QRect box = choice->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, choice);
    QTest::mouseClick(choice, Qt::LeftButton, {}, box.center());
}

QWidget* WhileModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect)
{
    QWidget* seen = nullptr;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = modal;
        if (inspect)
            inspect(modal);
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

bool DuringModalRun(QDialog* dialog, const std::function<void()>& start, const std::function<void()>& whileShown)
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

std::shared_ptr<MessageSeen> AnswerNextMessageBox()
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

BrowserStandIn::BrowserStandIn()
{
    QDesktopServices::setUrlHandler("http", this, "open");
    QDesktopServices::setUrlHandler("https", this, "open");
}

BrowserStandIn::~BrowserStandIn()
{
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("https");
}

void GiveMainWindowMatchingText()
{
    frmMain->mmoSignature->setPlainText("b");
    frmMain->reSearch->setPlainText("abc");
    frmMain->btnMatch->click();
}

int ResultCount()
{
    return frmMain->TreeView1->topLevelItemCount();
}

QString ResultText(int index)
{
    QTreeWidgetItem* item = frmMain->TreeView1->topLevelItem(index);
    return item ? item->text(0) : QString("<no node>");
}

QString ResultChildText(int index)
{
    QTreeWidgetItem* item = frmMain->TreeView1->topLevelItem(index);
    return item && item->childCount() > 0 ? item->child(0)->text(0) : QString("<no child>");
}

} // namespace WidgetTest
