#include "DescriptionAnnouncer.h"

#include <QAccessible>
#include <QApplication>
#include <QLibraryInfo>
#include <QVersionNumber>
#include <QWidget>

#include <optional>

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

using DescriptionAnnouncer::Route;

// Set by tests to take each route on any Qt.
std::optional<Route> ForcedRoute;

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


Route RouteOfRunningQt()
{
    const QVersionNumber running = QLibraryInfo::version();
#ifdef TAMARIN_OWN_ATSPI_DESCRIPTION_EVENT
    if (running < QVersionNumber(6, 5) && QDBusConnection(QStringLiteral("a11y")).isConnected())
        return Route::OwnAtspiEvent;
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (running >= QVersionNumber(6, 8))
        return Route::QtEventAndAnnouncement;
#endif
    (void)running;
    return Route::QtEvent;
}

Route ActiveRoute()
{
    static const Route route = RouteOfRunningQt();
    return ForcedRoute ? *ForcedRoute : route;
}


void AnnounceText(QWidget* widget, const QString& text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(widget, text);
    announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Assertive);
    QAccessible::updateAccessibility(&announcement);
#else
    (void)widget;
    (void)text;
#endif
}

// Sets the description of each carrier and tells assistive technology of
// every change, and for `focused` even of the same text again.
void SetAndTell(const QList<QWidget*>& carriers, QWidget* focused, const QString& text)
{
    // A route forced by a test is taken as if a screen reader listened.
    const bool active = QAccessible::isActive() || ForcedRoute.has_value();
    const Route route = ActiveRoute();
#ifdef TAMARIN_OWN_ATSPI_DESCRIPTION_EVENT
    if (active && route == Route::OwnAtspiEvent) {
        for (QWidget* carrier : carriers) {
            const bool changed = carrier->accessibleDescription() != text;
            SetQuietly(carrier, text);
            if (changed || (carrier == focused && !text.isEmpty()))
                SendAtspiDescriptionChange(carrier, text);
        }
        return;
    }
#endif
    // Qt tells of a changed description itself. The same text again, which
    // it does not tell of, is announced where Qt can announce, and otherwise
    // sent as a description change with no change.
    // Only a changed description is set: Qt 6.8 tells of every setting,
    // the same text again included.
    bool focusedTold = false;
    for (QWidget* carrier : carriers) {
        if (carrier->accessibleDescription() == text)
            continue;
        focusedTold |= carrier == focused;
        carrier->setAccessibleDescription(text);
    }
    if (!active || !focused || text.isEmpty())
        return;
    // Qt tells of a description change from 6.5 on; its UI Automation
    // bridge (Windows) forwards none at all.
    static const bool qtTellsChanges = QLibraryInfo::version() >= QVersionNumber(6, 5);
    focusedTold = focusedTold && qtTellsChanges;
#ifdef Q_OS_WIN
    focusedTold = false;
#endif
    if (focusedTold)
        return;
    if (route == Route::QtEventAndAnnouncement) {
        AnnounceText(focused, text);
    } else {
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

void SayFor(QWidget* widget, const QString& text)
{
    if (!QAccessible::isActive() || text.isEmpty())
        return;
    if (ActiveRoute() == Route::QtEventAndAnnouncement) {
        AnnounceText(widget, text);
        return;
    }
#ifdef TAMARIN_OWN_ATSPI_DESCRIPTION_EVENT
    SendAtspiDescriptionChange(widget, text);
#else
    (void)widget;
#endif
}

Route ActiveRoute()
{
    return ::ActiveRoute();
}

void ForceRouteForTesting(std::optional<Route> route)
{
    ForcedRoute = route;
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
