#pragma once
// Pictures of Tamarin's windows for the documentation: each shot prepares a
// window, grabs it with QWidget::grab and writes <name>.png.
#include <QString>
#include <QStringList>

struct ShotOptions {
    // Fusion with a dark palette, as a dark desktop theme gives a Qt program.
    bool dark = false;
    // "shot" or "shot=file" (file name without ".png"); empty: every shot
    // under its own name.
    QStringList selection;
};

// Creates the windows, takes the selected shots into `directory` and returns
// 0, or prints what failed and returns 1. A QApplication must exist.
int TakeScreenshots(const QString& directory, const ShotOptions& options = {});

// The names of all shots, in the order they are taken.
QStringList ShotNames();
