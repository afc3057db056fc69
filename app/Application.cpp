#include "Application.h"

#include "Main.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"
#include "Windows.h"

#include <QApplication>

TfrmMain* frmMain = nullptr;
TfrmAbout* frmAbout = nullptr;
TfrmSyntax* frmSyntax = nullptr;
TfrmSettings* frmSettings = nullptr;
TfrmConfig* frmConfig = nullptr;
TfrmCredit* frmCredit = nullptr;

void CreateWindows()
{
    frmMain = new TfrmMain;
    frmAbout = new TfrmAbout(frmMain);
    frmSyntax = new TfrmSyntax(frmMain);
    frmSettings = new TfrmSettings(frmMain);
    frmConfig = new TfrmConfig(frmMain);
    frmCredit = new TfrmCredit(frmMain);
}

void DestroyWindows()
{
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
    QApplication app(argc, argv);
    app.setApplicationName(ApplicationTitle);
    CreateWindows();
    frmMain->show();
    return app.exec();
}
