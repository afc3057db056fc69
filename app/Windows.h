#pragma once
// The application's six windows and the matches window, created hidden after
// them. Each is created once at start-up, in the order listed, and lives until
// the application ends; windows reach each other's controls through these
// instances.

class TfrmMain;
class TfrmAbout;
class TfrmSyntax;
class TfrmSettings;
class TfrmConfig;
class TfrmCredit;
class TfrmMatches;

extern TfrmMain* frmMain;
extern TfrmAbout* frmAbout;
extern TfrmSyntax* frmSyntax;
extern TfrmSettings* frmSettings;
extern TfrmConfig* frmConfig;
extern TfrmCredit* frmCredit;
extern TfrmMatches* frmMatches;
