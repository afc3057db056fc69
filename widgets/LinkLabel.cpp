#include "LinkLabel.h"

#include "Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

LinkLabel::LinkLabel(const QString& text, const QColor& colour, QWidget* parent)
    : QLabel(text, parent), colour_(colour)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    // Only the text itself is the link, not the space around it.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    UpdateTextColour();
}

void LinkLabel::Follow()
{
    emit clicked();
}

void LinkLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // A new theme may have turned the face dark under a dark link colour.
    if (event->type() == QEvent::PaletteChange)
        UpdateTextColour();
}

void LinkLabel::UpdateTextColour()
{
    const QColor shown =
        Theme::ReadableLinkColour(colour_, palette().color(QPalette::Window), palette());
    if (palette().color(QPalette::WindowText) == shown)
        return;  // also ends the palette change this very call causes
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, shown);
    setPalette(palette);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // Like a button: the click counts only if released over the link.
    const bool click = pressed_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // One page per key press: a held key repeats its press, not the click.
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A label draws no focus mark of its own; keyboard users need to see it.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
