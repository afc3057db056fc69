#pragma once
// Pictures of Tamarin's windows for the documentation: each shot prepares a
// window, grabs it with QWidget::grab and writes <name>.png.
#include <QString>

// Creates the windows, takes every shot into `directory` and returns 0, or
// prints what failed and returns 1. A QApplication must exist.
int TakeScreenshots(const QString& directory);
