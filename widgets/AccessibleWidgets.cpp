#include "AccessibleWidgets.h"

#include "LinkLabel.h"
#include "LinkLabelAccessible.h"
#include "PageTabListAccessible.h"
#include "ForwardedFocusAccessible.h"

#include <QAccessible>
#include <QLabel>
#include <QTabBar>

namespace {

// Qt asks with each class name of the object, most derived first, and asks
// the factory installed last first.
QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("LinkLabel"))
        if (auto* link = qobject_cast<LinkLabel*>(object))
            return new LinkLabelAccessible(link);
    if (className == QLatin1String("QTabBar"))
        if (auto* bar = qobject_cast<QTabBar*>(object))
            return new PageTabListAccessible(bar);
    // Asked with "QWidget" only where no reading of a more derived class was
    // found, so only widgets that Qt would read generically.
    if (className == QLatin1String("QWidget"))
        if (auto* widget = qobject_cast<QWidget*>(object); widget && widget->focusProxy())
            return new ForwardedFocusAccessible(widget);
    return nullptr;
}

} // namespace

namespace AccessibleWidgets {

void Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace AccessibleWidgets

QLabel* AccessibleWidgets::NameByLabel(QWidget* control, const QString& name)
{
    auto* label = new QLabel(name, control->parentWidget());
    label->setObjectName(control->objectName() + QLatin1String("Label"));
    label->setAccessibleName(name);
    label->setBuddy(control);
    label->hide();
    return label;
}
