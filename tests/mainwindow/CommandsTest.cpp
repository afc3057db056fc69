// Menu items and tool buttons: the dialogs they open, the syntax panel after
// the settings dialog, web links, the hidden samples, Exit, and the error box
// for an exception that escapes a handler.
#include "WidgetTestSupport.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"
#include "WebLinks.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <stdexcept>

using namespace WidgetTest;

class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void settingsDialog_data();
    void settingsDialog();
    void modalDialogs_data();
    void modalDialogs();
    void aboutByF1();
    void syntaxTestIsModeless();
    void webLinks_data();
    void webLinks();
    void samples_data();
    void samples();
    void exitClosesWindow();
    void escapedExceptionIsShown();
};

namespace {

// Triggers an action the way a user does: a tool button is clicked with the
// mouse, a menu item is triggered as the menu does on a click.
void Trigger(QAction* action)
{
    if (QWidget* button = frmMain->ToolBar1->widgetForAction(action))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        action->trigger();
}

} // namespace

void CommandsTest::settingsDialog_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("syntax");
    QTest::addColumn<QString>("panel");
    QTest::newRow("tbSyntax") << "tbSyntax" << 0 << 1 << "Syntax : POSIX Basic";
    QTest::newRow("mnuSyntax") << "mnuSyntax" << 0 << 2 << "Syntax : POSIX Extended";
    QTest::newRow("tbAlgorithm") << "tbAlgorithm" << 1 << 0 << "Syntax : Perl";
    QTest::newRow("mnuAlgorithms") << "mnuAlgorithms" << 1 << 2 << "Syntax : POSIX Extended";
    QTest::newRow("unknown syntax keeps the panel") << "tbSyntax" << 0 << 7 << "Syntax : Perl";
}

void CommandsTest::settingsDialog()
{
    QFETCH(QString, action);
    QFETCH(int, page);
    QFETCH(int, syntax);
    QFETCH(QString, panel);

    // The syntax the dialog leaves behind (set while it is open), then Cancel.
    int pageShown = -1;
    QWidget* modal = WhileModal([&] { Trigger(frmMain->findChild<QAction*>(action)); },
                                [&](QWidget*) {
                                    pageShown = frmSettings->pcSyntax->currentIndex();
                                    frmMain->State.SyntaxIndex = syntax;
                                });
    QCOMPARE(modal, static_cast<QWidget*>(frmSettings));
    QCOMPARE(pageShown, page);
    QTRY_VERIFY(!frmSettings->isVisible());
    QCOMPARE(frmMain->StatusPanel(3)->text(), panel);
}

void CommandsTest::modalDialogs_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("tbConfig") << "tbConfig" << "frmConfig";
    QTest::newRow("mnuConfig") << "mnuConfig" << "frmConfig";
    QTest::newRow("mnuCreditCardNumberCheck") << "mnuCreditCardNumberCheck" << "frmCredit";
    QTest::newRow("About1") << "About1" << "frmAbout";
    QTest::newRow("tbAbout") << "tbAbout" << "frmAbout";
}

void CommandsTest::modalDialogs()
{
    QFETCH(QString, action);
    QFETCH(QString, dialog);
    QWidget* modal = WhileModal([&] { Trigger(frmMain->findChild<QAction*>(action)); });
    QVERIFY(modal);
    QCOMPARE(modal->objectName(), dialog);
    QTRY_VERIFY(!modal->isVisible());
    // Hidden, not destroyed: the same instance opens again.
    QCOMPARE(WhileModal([&] { Trigger(frmMain->findChild<QAction*>(action)); }), modal);
}

void CommandsTest::aboutByF1()
{
    frmMain->activateWindow();
    QWidget* modal = WhileModal([] { QTest::keyClick(frmMain, Qt::Key_F1); });
    QCOMPARE(modal, static_cast<QWidget*>(frmAbout));
}

void CommandsTest::syntaxTestIsModeless()
{
    frmMain->mnuRegExpSyntaxTest->trigger();
    QVERIFY(frmSyntax->isVisible());
    QVERIFY(!frmSyntax->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    // The main window still takes input.
    Type(frmMain->mmoSignature, "a");
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("a"));
    frmSyntax->hide();
}

void CommandsTest::webLinks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("address");
    QTest::newRow("ToolButton13") << "ToolButton13" << WebLinks::SupportBoard;
    QTest::newRow("SupportWebBoard1") << "SupportWebBoard1" << WebLinks::SupportBoard;
    QTest::newRow("ToolButton14") << "ToolButton14" << WebLinks::HomePage;
    QTest::newRow("TamarinWebSite1") << "TamarinWebSite1" << WebLinks::HomePage;
}

void CommandsTest::webLinks()
{
    QFETCH(QString, action);
    QFETCH(QString, address);
    BrowserStandIn browser;
    Trigger(frmMain->findChild<QAction*>(action));
    QCOMPARE(browser.opened, (QList<QUrl>{QUrl(address)}));
    QVERIFY(QUrl(address).host().endsWith("example.org"));
}

void CommandsTest::samples_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("node");
    QTest::newRow("credit card") << "sampleCredit"
                                 << "[2-6,9][0-9]{3}(-| )[0-9]{4}(-| )[0-9]{4}(-| )[0-9]{4}"
                                 << "card 4111-1111 1111-1111 ok" << "4111-1111 1111-1111";
    QTest::newRow("social number") << "sampleSocial"
                                   << "[0-9]{2}[0,1][0-9][0-3][0-9]((-| |_)|( - ))[1-4][0-9]{6}"
                                   << "no. 750812 - 1234567." << "750812 - 1234567";
}

void CommandsTest::samples()
{
    QFETCH(QString, action);
    QFETCH(QString, pattern);
    QFETCH(QString, input);
    QFETCH(QString, node);
    Type(frmMain->reSearch, input);
    // The items are hidden from the menu; their handlers still work.
    frmMain->findChild<QAction*>(action)->trigger();
    QCOMPARE(frmMain->mmoSignature->toPlainText(), pattern);
    QCOMPARE(ResultText(), node);  // evaluated at once, as typing would be
}

void CommandsTest::exitClosesWindow()
{
    QVERIFY(frmMain->isVisible());
    frmMain->Exit1->trigger();
    QVERIFY(!frmMain->isVisible());
}

void CommandsTest::escapedExceptionIsShown()
{
    // The application object stops an exception at the event loop and shows it.
    QVERIFY(dynamic_cast<TamarinApplication*>(QCoreApplication::instance()));
    QTimer thrower;
    thrower.setSingleShot(true);
    connect(&thrower, &QTimer::timeout, [] { throw std::runtime_error("disk on fire"); });
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool messageBox = false;
    WhileModal(
        [&] {
            thrower.start(0);
            QTRY_VERIFY(!thrower.isActive());
        },
        [&](QWidget* box) {
            if (auto* message = qobject_cast<QMessageBox*>(box)) {
                messageBox = true;
                text = message->text();
                icon = message->icon();
            }
        });
    QVERIFY(messageBox);
    QCOMPARE(text, QString("disk on fire"));
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(frmMain->isVisible());  // the application goes on
}

// The tests run under the application's own application object.
int main(int argc, char* argv[])
{
    TamarinApplication app(argc, argv);
    CommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CommandsTest.moc"
