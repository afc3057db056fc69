#include "LineEditAccessible.h"

#include <QLineEdit>

#include <algorithm>

LineEditAccessible::LineEditAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText)
{
}

QLineEdit* LineEditAccessible::Box() const
{
    return static_cast<QLineEdit*>(widget());
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface && !Box()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !Box()->isReadOnly();
    state.readOnly = Box()->isReadOnly();
    state.selectableText = true;
    return state;
}

QString LineEditAccessible::text(QAccessible::Text which) const
{
    if (which == QAccessible::Value)
        return Box()->text();
    return QAccessibleWidget::text(which);
}

void LineEditAccessible::selection(int index, int* start, int* end) const
{
    *start = *end = 0;
    if (index != 0 || !Box()->hasSelectedText())
        return;
    *start = Box()->selectionStart();
    *end = Box()->selectionEnd();
}

int LineEditAccessible::selectionCount() const
{
    return Box()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int start, int end)
{
    setSelection(0, start, end);
}

void LineEditAccessible::removeSelection(int index)
{
    if (index == 0)
        Box()->deselect();
}

void LineEditAccessible::setSelection(int index, int start, int end)
{
    if (index == 0)
        Box()->setSelection(start, end - start);
}

int LineEditAccessible::cursorPosition() const
{
    return Box()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position)
{
    Box()->setCursorPosition(position);
}

QString LineEditAccessible::text(int start, int end) const
{
    const QString all = Box()->text();
    start = std::clamp<int>(start, 0, static_cast<int>(all.size()));
    end = std::clamp<int>(end, start, static_cast<int>(all.size()));
    return all.mid(start, end - start);
}

int LineEditAccessible::characterCount() const
{
    return static_cast<int>(Box()->text().size());
}

// The box tells only where its caret is drawn; a character's place is that
// place moved by the width of the text between the two.
QRect LineEditAccessible::characterRect(int offset) const
{
    const QString all = Box()->text();
    if (offset < 0 || offset >= all.size())
        return {};
    const QFontMetrics metrics = Box()->fontMetrics();
    const int caret = Box()->cursorPosition();
    // The caret is drawn in the middle of the rectangle the box gives for it.
    const QRect caretRect = Box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int caretX = caretRect.left() + caretRect.width() / 2;
    const int x = caretX - metrics.horizontalAdvance(all.left(caret)) + metrics.horizontalAdvance(all.left(offset));
    const QRect local(x, caretRect.y(), metrics.horizontalAdvance(all.at(offset)), caretRect.height());
    return QRect(Box()->mapToGlobal(local.topLeft()), local.size());
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const
{
    return Box()->cursorPositionAt(Box()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int start, int end)
{
    Box()->setCursorPosition(end);
    Box()->setCursorPosition(start);
}

QString LineEditAccessible::attributes(int offset, int* start, int* end) const
{
    const int count = characterCount();
    *start = offset < 0 || offset > count ? offset : 0;
    *end = offset < 0 || offset > count ? offset : count;
    return {};
}

void LineEditAccessible::deleteText(int start, int end)
{
    replaceText(start, end, {});
}

void LineEditAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

// As typed: within the box's undo history.
void LineEditAccessible::replaceText(int start, int end, const QString& text)
{
    if (Box()->isReadOnly())
        return;
    Box()->setSelection(start, end - start);
    Box()->insert(text);
}
