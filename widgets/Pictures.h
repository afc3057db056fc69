#pragma once
// The program's pictures (tool bar, panes, buttons, dialogs, window icon),
// named by their resource path without an extension, e.g. ":/toolbar/new".
// They are drawn in SVG. Where Qt's SVG support is built in (Linux) the
// drawings themselves are the resources; elsewhere (the Windows build) the
// build renders each drawing to PNG at the scales screens use and the
// resources hold those (cmake/TamarinPictures.cmake). Only this seam knows
// which.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace Pictures {

// The picture as an icon that is sharp at 100 to 200 % scale.
QIcon Icon(const QString& path);

// The picture drawn at `size` (stretched to fit) for a screen of
// `devicePixelRatio`; a null pixmap if there is no such picture.
QPixmap Pixmap(const QString& path, QSize size, qreal devicePixelRatio);

} // namespace Pictures
