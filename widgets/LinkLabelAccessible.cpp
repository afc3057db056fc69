#include "LinkLabelAccessible.h"

#include "LinkLabel.h"

LinkLabelAccessible::LinkLabelAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

LinkLabel* LinkLabelAccessible::Link() const
{
    return static_cast<LinkLabel*>(widget());
}

QString LinkLabelAccessible::text(QAccessible::Text which) const
{
    const QString own = QAccessibleWidget::text(which);
    if (!own.isEmpty())
        return own;
    // The shown address: the name where none is set, else the description.
    if (which == QAccessible::Name || which == QAccessible::Description || which == QAccessible::Value)
        return Link()->text();
    return own;
}

QAccessible::State LinkLabelAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList LinkLabelAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void LinkLabelAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        Link()->Follow();
    else
        QAccessibleWidget::doAction(actionName);
}
