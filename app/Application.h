#pragma once
// Start-up: creates the application's windows and runs it.
#include "ProductInfo.h"

#include <QApplication>

// Application title, also shown in the main window's first status panel.
inline constexpr const char* ApplicationTitle = ProductInfo::Title;

// The application object. An exception that escapes an event handler is shown
// in the standard error box, and the application goes on running.
class TamarinApplication : public QApplication {
public:
    TamarinApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard error box for an exception nobody handled; `message` may be empty.
void ShowException(const QString& message);

// Application-wide settings made before any window exists: title, fonts, icon.
void PrepareApplication();

// Creates the six global windows in their fixed order (frmMain first). A
// QApplication must exist. Widget tests call this too.
void CreateWindows();
// Destroys the six windows again (tests only; the application keeps them).
void DestroyWindows();

// Runs Tamarin and returns the process's exit code (always 0).
int RunApplication(int argc, char* argv[]);
