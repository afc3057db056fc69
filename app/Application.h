#pragma once
// Start-up: creates the application's windows and runs it.

// Application title, also shown in the main window's first status panel.
inline constexpr const char* ApplicationTitle = "Tamarin 1.2.0.1 (Beta)";

// Creates the six global windows in their fixed order (frmMain first). A
// QApplication must exist. Widget tests call this too.
void CreateWindows();
// Destroys the six windows again (tests only; the application keeps them).
void DestroyWindows();

// Runs Tamarin and returns the process's exit code.
int RunApplication(int argc, char* argv[]);
