#pragma once
// How Tamarin's windows meet the desktop theme. Fields the user types into or
// reads results from are white with dark text in every theme, so that they
// look as designed and the green match mark stays readable; everything else
// (faces, captions, descriptions, status bar) follows the theme's palette.
// Colours chosen by the design (links) are kept where they read on the
// theme's face and replaced by a readable one where they do not.

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

namespace Theme {

// The face every window is designed in, Verdana at 8 points, and the family
// that stands in for it where it is not installed.
inline constexpr const char* DesignedFamily = "Verdana";
inline constexpr const char* StandInFamily = "DejaVu Sans";
inline constexpr int DesignedPointSize = 8;
QFont DesignedFont();

// Text this far from its background reads comfortably (WCAG's 4.5 : 1).
inline constexpr double ReadableContrast = 4.5;

// The contrast ratio of two colours, from 1 (equal) to 21 (black on white).
double Contrast(const QColor& first, const QColor& second);

// Gives a text field, list or tree a white ground with dark text, and dark
// marks (tree arrows) on it, whatever the theme's palette says.
void KeepWhiteWithDarkText(QWidget* field);

// `wanted` if it reads on `background`; otherwise the palette's link colour,
// made lighter or darker until it reads.
QColor ReadableLinkColour(const QColor& wanted, const QColor& background, const QPalette& palette);

// What a typical dark desktop theme gives a Qt program (with the Fusion
// style): for the documentation's pictures and the theme tests.
QPalette DarkDesktopPalette();

} // namespace Theme
