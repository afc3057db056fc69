#include "ComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHash>
#include <QVariant>

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
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (type == QAccessible::AttributesInterface)
        return static_cast<QAccessibleAttributesInterface*>(this);
#endif
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ComboBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    // Expandable, not "has popup": Orca 48 says "opens popup" at every
    // visit of a control with a popup, where a combo box's list is no news.
    state.expandable = true;
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

// The list is offered only while it is dropped down. Qt 6.8 keeps the
// hidden list's current item in step with the selector, and that item then
// says it has the keyboard focus beside the selector itself: a screen reader
// would be told of two focused objects.
int ComboBoxAccessible::childCount() const
{
    return Box()->view()->isVisible() ? 1 : 0;
}

QAccessibleInterface* ComboBoxAccessible::child(int index) const
{
    return index == 0 && childCount() == 1 ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
}

int ComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && childCount() == 1 && child->object() == Box()->view() ? 0 : -1;
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

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
QList<QAccessible::Attribute> ComboBoxAccessible::attributeKeys() const
{
    return {QAccessible::Attribute::Custom};
}

QVariant ComboBoxAccessible::attributeValue(QAccessible::Attribute key) const
{
    if (key != QAccessible::Attribute::Custom)
        return {};
    return QVariant::fromValue(QHash<QString, QString>{{QStringLiteral("valuetext"), Box()->currentText()}});
}
#endif
