#include "Theme.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace Theme {

namespace {

double RelativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

QFont DesignedFont()
{
    return QFont(QString::fromLatin1(DesignedFamily), DesignedPointSize);
}

double Contrast(const QColor& first, const QColor& second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void KeepWhiteWithDarkText(QWidget* field)
{
    QPalette palette = field->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? QColor(Qt::darkGray) : QColor(Qt::black);
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, text);
        // Styles draw a tree's expand arrows in the window text colour: a
        // dark theme's light arrows would vanish on the white ground.
        palette.setColor(group, QPalette::WindowText, text);
    }
    field->setPalette(palette);
}

QColor ReadableLinkColour(const QColor& wanted, const QColor& background, const QPalette& palette)
{
    if (Contrast(wanted, background) >= ReadableContrast)
        return wanted;
    QColor colour = palette.color(QPalette::Link);
    // Away from the background: lighter on a dark face, darker on a light one.
    const bool darkFace = Contrast(background, Qt::black) < Contrast(background, Qt::white);
    for (int step = 0; step < 20 && Contrast(colour, background) < ReadableContrast; ++step)
        colour = darkFace ? colour.lighter(115) : colour.darker(115);
    if (Contrast(colour, background) < ReadableContrast)
        colour = darkFace ? QColor(Qt::white) : QColor(Qt::black);
    return colour;
}

QPalette DarkDesktopPalette()
{
    const QColor face(49, 54, 59);
    const QColor field(35, 38, 41);
    const QColor text(239, 240, 241);
    const QColor muted(127, 140, 141);
    QPalette palette(face);  // derives the bevel shades from the face
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, field);
    palette.setColor(QPalette::AlternateBase, face);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ToolTipBase, field);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, muted);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(61, 174, 233));
    palette.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
    palette.setColor(QPalette::Link, QColor(29, 153, 243));
    palette.setColor(QPalette::LinkVisited, QColor(155, 89, 182));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, muted);
    return palette;
}

} // namespace Theme
