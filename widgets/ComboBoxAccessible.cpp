#include "ComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>

ComboBoxAccessible::ComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox)
{
}

QComboBox* ComboBoxAccessible::Box() const
{
    return static_cast<QComboBox*>(widget());
}

void* ComboBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ComboBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.hasPopup = true;
    state.expanded = Box()->view()->isVisible();
    state.collapsed = !state.expanded;
    state.readOnly = true;
    return state;
}

QString ComboBoxAccessible::text(QAccessible::Text which) const
{
    if (which == QAccessible::Value)
        return Box()->currentText();
    return QAccessibleWidget::text(which);
}

int ComboBoxAccessible::childCount() const
{
    return 1;
}

QAccessibleInterface* ComboBoxAccessible::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
}

int ComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && child->object() == Box()->view() ? 0 : -1;
}

QStringList ComboBoxAccessible::actionNames() const
{
    return {showMenuAction(), pressAction()};
}

void ComboBoxAccessible::doAction(const QString& actionName)
{
    if (actionName == showMenuAction() || actionName == pressAction())
        Box()->showPopup();
}

void ComboBoxAccessible::selection(int, int* start, int* end) const
{
    *start = *end = 0;
}

int ComboBoxAccessible::selectionCount() const
{
    return 0;
}

int ComboBoxAccessible::cursorPosition() const
{
    return 0;
}

QString ComboBoxAccessible::text(int start, int end) const
{
    const QString all = Box()->currentText();
    start = std::clamp<int>(start, 0, static_cast<int>(all.size()));
    end = std::clamp<int>(end, start, static_cast<int>(all.size()));
    return all.mid(start, end - start);
}

int ComboBoxAccessible::characterCount() const
{
    return static_cast<int>(Box()->currentText().size());
}

QRect ComboBoxAccessible::characterRect(int) const
{
    return {};
}

int ComboBoxAccessible::offsetAtPoint(const QPoint&) const
{
    return -1;
}

QString ComboBoxAccessible::attributes(int offset, int* start, int* end) const
{
    const int count = characterCount();
    *start = offset < 0 || offset > count ? offset : 0;
    *end = offset < 0 || offset > count ? offset : count;
    return {};
}
