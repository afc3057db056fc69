#pragma once
// Start-up: creates the application's windows and runs it.

// Runs Tamarin and returns the process's exit code.
int RunApplication(int argc, char* argv[]);
