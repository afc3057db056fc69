#include "DescriptionAnnouncer.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

#ifdef Q_OS_LINUX
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#define TAMARIN_OWN_ATSPI_DESCRIPTION_EVENT 1
#endif

namespace {

QWidget* FocusedCarrier(const QList<QWidget*>& carriers)
{
    QWidget* focused = QApplication::focusWidget();
    return focused && carriers.contains(focused) ? focused : nullptr;
}

#ifdef TAMARIN_OWN_ATSPI_DESCRIPTION_EVENT

// AT-SPI's reference to an object: the bus name of its application and its path.
struct AtspiReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const AtspiReference& reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, AtspiReference& reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

// Qt's bridge (6.4) sends a description change with the object itself
// where AT-SPI carries the new text, and a screen reader speaks that datum;
// so the event is sent here, on the bridge's own connection (so that it comes
// from the application the object belongs to), with the text. False when the
// bridge is not connected.
bool SendAtspiDescriptionChange(QWidget* widget, const QString& text)
{
    QDBusConnection bridge(QStringLiteral("a11y"));  // the name Qt's bridge gives its connection
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!bridge.isConnected() || !accessible)
        return false;
    static const QMetaType registered = qDBusRegisterMetaType<AtspiReference>();
    (void)registered;
    const QString path =
        QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(accessible));
    QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                     QStringLiteral("PropertyChange"));
    const AtspiReference application{bridge.baseService(),
                                     QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    signal << QStringLiteral("accessible-description") << 0 << 0
           << QVariant::fromValue(QDBusVariant(text)) << QVariant::fromValue(application);
    return bridge.send(signal);
}

// Sets a description without Qt telling the bridge: its own event would
// carry the object instead of the text.
void SetQuietly(QWidget* widget, const QString& text)
{
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
    widget->setAccessibleDescription(text);
    QAccessible::installUpdateHandler(previous);
}

#endif

// Sets the description of each carrier and tells assistive technology of
// every change, and for `focused` even of the same text again.
void SetAndTell(const QList<QWidget*>& carriers, QWidget* focused, const QString& text)
{
    const bool active = QAccessible::isActive();
#ifdef TAMARIN_OWN_ATSPI_DESCRIPTION_EVENT
    if (active && QDBusConnection(QStringLiteral("a11y")).isConnected()) {
        for (QWidget* carrier : carriers) {
            const bool changed = carrier->accessibleDescription() != text;
            SetQuietly(carrier, text);
            if (changed || (carrier == focused && !text.isEmpty()))
                SendAtspiDescriptionChange(carrier, text);
        }
        return;
    }
#endif
    // Everywhere else (Windows, or Linux without the bridge) Qt's own event.
    // Qt 6.4's UI Automation bridge on Windows forwards no description change:
    // a Windows screen reader finds the outcome as the control's full
    // description when it reads the control, and in the outcome line, but is
    // not told of it as it changes (that would take a UI Automation
    // notification, which this Qt does not offer).
    bool focusedTold = false;
    for (QWidget* carrier : carriers) {
        // Qt tells of a change itself.
        focusedTold |= carrier == focused && carrier->accessibleDescription() != text;
        carrier->setAccessibleDescription(text);
    }
    if (active && focused && !focusedTold && !text.isEmpty()) {
        QAccessibleEvent changed(focused, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

} // namespace

namespace DescriptionAnnouncer {

void Announce(const QList<QWidget*>& carriers, const QString& text)
{
    SetAndTell(carriers, FocusedCarrier(carriers), text);
}

bool AnnounceAgain(const QList<QWidget*>& carriers)
{
    QWidget* focused = FocusedCarrier(carriers);
    if (!focused || focused->accessibleDescription().isEmpty())
        return false;
    SetAndTell({focused}, focused, focused->accessibleDescription());
    return true;
}

} // namespace DescriptionAnnouncer
