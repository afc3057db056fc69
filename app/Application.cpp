#include "Application.h"

#include "AccessibleWidgets.h"
#include "HeapPolicy.h"
#include "Main.h"
#include "Pictures.h"
#include "Theme.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitmatches.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"
#include "Windows.h"

#include <QFont>
#include <QMessageBox>

#include <exception>

TfrmMain* frmMain = nullptr;
TfrmAbout* frmAbout = nullptr;
TfrmSyntax* frmSyntax = nullptr;
TfrmSettings* frmSettings = nullptr;
TfrmConfig* frmConfig = nullptr;
TfrmCredit* frmCredit = nullptr;
TfrmMatches* frmMatches = nullptr;

TamarinApplication::TamarinApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TamarinApplication::notify(QObject* receiver, QEvent* event)
{
    // Exceptions must not unwind through Qt's event loop: stop them here.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    return false;
}

void ShowException(const QString& message)
{
    QMessageBox::critical(nullptr, QApplication::applicationName(), message);
}

// The window icon's resource lives in the static windows library: register
// it before the first window exists (registering twice is harmless).
static void RegisterIconResource()
{
    Q_INIT_RESOURCE(tamarin_icon);
}

void PrepareApplication()
{
    heap::KeepLargeBuffersForReuse();
    AccessibleWidgets::Install();
    QApplication::setApplicationName(ApplicationTitle);
    // Where the designed face is missing, a close sans-serif stands in.
    QFont::insertSubstitution(Theme::DesignedFamily, Theme::StandInFamily);
    RegisterIconResource();
    QApplication::setWindowIcon(Pictures::Icon(":/icons/tamarin"));
    // Lets the desktop match the running window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(ProductInfo::ApplicationId);
}

void CreateWindows()
{
    frmMain = new TfrmMain;
    frmAbout = new TfrmAbout(frmMain);
    frmSyntax = new TfrmSyntax(frmMain);
    frmSettings = new TfrmSettings(frmMain);
    frmConfig = new TfrmConfig(frmMain);
    frmCredit = new TfrmCredit(frmMain);
    // It follows the main window and the settings dialog: created after them,
    // a window of its own beside the main window rather than one of its dialogs.
    frmMatches = new TfrmMatches;
}

void DestroyWindows()
{
    // First: it listens to the main window's controls.
    delete frmMatches;
    frmMatches = nullptr;
    delete frmMain;  // the dialogs are its children
    frmMain = nullptr;
    frmAbout = nullptr;
    frmSyntax = nullptr;
    frmSettings = nullptr;
    frmConfig = nullptr;
    frmCredit = nullptr;
}

int RunApplication(int argc, char* argv[])
{
    TamarinApplication app(argc, argv);
    // One guard over the whole start-up and the run: whatever escapes is
    // shown, and the process still ends normally.
    try {
        PrepareApplication();
        CreateWindows();
        frmMain->show();
        app.exec();
    } catch (const std::exception& error) {
        ShowException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    DestroyWindows();
    return 0;
}
