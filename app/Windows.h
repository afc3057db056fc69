#pragma once
// The application's six windows. Each is created once at start-up, in the
// order listed, and lives until the application ends; windows reach each
// other's controls through these instances.

class TfrmMain;
class TfrmAbout;
class TfrmSyntax;
class TfrmSettings;
class TfrmConfig;
class TfrmCredit;

extern TfrmMain* frmMain;
extern TfrmAbout* frmAbout;
extern TfrmSyntax* frmSyntax;
extern TfrmSettings* frmSettings;
extern TfrmConfig* frmConfig;
extern TfrmCredit* frmCredit;
