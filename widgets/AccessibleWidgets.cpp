#include "AccessibleWidgets.h"

#include "ComboBoxAccessible.h"
#include "DescriptionAnnouncer.h"
#include "ForwardedFocusAccessible.h"
#include "LineEditAccessible.h"
#include "LinkLabel.h"
#include "LinkLabelAccessible.h"
#include "PageTabListAccessible.h"

#include <QAccessible>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

namespace {

// Marks a label read as reference text (see ReadAsReference).
constexpr const char* ReferenceProperty = "tamarinReferenceText";

// Lets a box take and lose the focus without telling assistive technology of
// the selection and caret it sets on the way: Tab into a box with text
// selects all of it, and a screen reader would speak the selected text and
// then the box, its text and "selected" once more; leaving it, "unselected".
class QuietFocusSelection : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool focus = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
        if (!focus || !QAccessible::isActive())
            return false;
        const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
        watched->event(event);  // the box's own handling, unheard
        QAccessible::installUpdateHandler(previous);
        return true;
    }
};

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
    if (className == QLatin1String("QLabel") && object->property(ReferenceProperty).toBool())
        if (auto* label = qobject_cast<QLabel*>(object))
            return new QAccessibleWidget(label, QAccessible::Paragraph);
    if (className == QLatin1String("QComboBox"))
        if (auto* box = qobject_cast<QComboBox*>(object); box && !box->isEditable())
            return new ComboBoxAccessible(box);
    if (className == QLatin1String("QLineEdit"))
        if (auto* box = qobject_cast<QLineEdit*>(object); box && box->echoMode() == QLineEdit::Normal)
            return new LineEditAccessible(box);
    // A tab widget's pages lie in a stack that has no name of its own; read
    // as a layered pane, a screen reader names it on the way to every page.
    if (className == QLatin1String("QStackedWidget"))
        if (auto* stack = qobject_cast<QStackedWidget*>(object);
            stack && qobject_cast<QTabWidget*>(stack->parentWidget()))
            return new QAccessibleWidget(stack, QAccessible::Client);
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

void AccessibleWidgets::QuietSelectionOnFocus(QLineEdit* box)
{
    box->installEventFilter(new QuietFocusSelection(box));
}

void AccessibleWidgets::ReadAsReference(QLabel* label)
{
    label->setProperty(ReferenceProperty, true);
    // A reading made already (Qt makes one when the label's text is set) is
    // dropped, so that the next is made as reference text.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(label)));
}

void AccessibleWidgets::SayNewChoices(QComboBox* box)
{
    QObject::connect(box, &QComboBox::currentTextChanged, box, [box](const QString& text) {
        if (box->hasFocus())
            DescriptionAnnouncer::SayFor(box, text);
    });
}
