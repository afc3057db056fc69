#include "SlicedTextAccessible.h"

#include <QWidget>

#include <algorithm>

namespace {

SlicedTextAccessible::Listener listenerInProcess = nullptr;

QAccessibleInterface* SlicedTextFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* source = dynamic_cast<AccessibleTextSource*>(object);
    return widget && source ? new SlicedTextAccessible(widget, source) : nullptr;
}

} // namespace

bool SlicedTextAccessible::Listening()
{
    return listenerInProcess || QAccessible::isActive();
}

void SlicedTextAccessible::ListenInProcess(Listener listener)
{
    listenerInProcess = listener;
}

void SlicedTextAccessible::Tell(QAccessibleEvent& event)
{
    QAccessible::updateAccessibility(&event);
    if (listenerInProcess)
        listenerInProcess(&event);
}

SlicedTextAccessible::SlicedTextAccessible(QWidget* widget, AccessibleTextSource* source)
    : QAccessibleWidget(widget, QAccessible::EditableText), source_(source)
{
}

void SlicedTextAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(SlicedTextFactory);
        return true;
    }();
    (void)installed;
}

void* SlicedTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface && View()->IsEditable())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State SlicedTextAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.editable = View()->IsEditable();
    state.readOnly = !View()->IsEditable();
    state.selectableText = true;
    return state;
}

QString SlicedTextAccessible::text(QAccessible::Text which) const
{
    if (which == QAccessible::Value)
        return View()->text().toString();
    return QAccessibleWidget::text(which);
}

void SlicedTextAccessible::selection(int index, int* start, int* end) const
{
    *start = *end = 0;
    if (index != 0 || selectionCount() == 0)
        return;
    *start = static_cast<int>(std::min(View()->Anchor(), View()->Caret()));
    *end = static_cast<int>(std::max(View()->Anchor(), View()->Caret()));
}

int SlicedTextAccessible::selectionCount() const
{
    return View()->Anchor() != View()->Caret() ? 1 : 0;
}

void SlicedTextAccessible::addSelection(int start, int end)
{
    setSelection(0, start, end);
}

void SlicedTextAccessible::removeSelection(int index)
{
    if (index == 0)
        View()->Select(View()->Caret(), View()->Caret());
}

void SlicedTextAccessible::setSelection(int index, int start, int end)
{
    if (index == 0)
        View()->Select(start, end);
}

int SlicedTextAccessible::cursorPosition() const
{
    return static_cast<int>(View()->Caret());
}

void SlicedTextAccessible::setCursorPosition(int position)
{
    View()->Select(position, position);
}

QString SlicedTextAccessible::text(int start, int end) const
{
    const TextSpan all = View()->text();
    start = std::clamp<int>(start, 0, static_cast<int>(all.size()));
    end = std::clamp<int>(end, start, static_cast<int>(all.size()));
    return all.mid(start, end - start).toString();
}

int SlicedTextAccessible::characterCount() const
{
    return static_cast<int>(View()->text().size());
}

QRect SlicedTextAccessible::characterRect(int offset) const
{
    const std::optional<QRectF> caret = View()->CaretRectangle(offset);
    if (!caret)
        return {};
    const QRect local = caret->toRect();
    return QRect(View()->TextArea()->mapToGlobal(local.topLeft()), local.size());
}

int SlicedTextAccessible::offsetAtPoint(const QPoint& point) const
{
    return static_cast<int>(View()->PositionAt(View()->TextArea()->mapFromGlobal(point)));
}

void SlicedTextAccessible::scrollToSubstring(int start, int)
{
    View()->ScrollToShow(start);
}

// The text has no formatting a reader needs, so one run covers all of it. An
// empty run at each offset would make a screen reader that builds the line it
// speaks from the runs drop the line's last character.
QString SlicedTextAccessible::attributes(int offset, int* start, int* end) const
{
    const int count = characterCount();
    const bool inside = offset >= 0 && offset <= count;
    *start = inside ? 0 : offset;
    *end = inside ? count : offset;
    return {};
}

void SlicedTextAccessible::deleteText(int start, int end)
{
    View()->Replace(start, end, {});
}

void SlicedTextAccessible::insertText(int offset, const QString& text)
{
    View()->Replace(offset, offset, text);
}

void SlicedTextAccessible::replaceText(int start, int end, const QString& text)
{
    View()->Replace(start, end, text);
}
