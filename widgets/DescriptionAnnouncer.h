#pragma once
// Puts a changing result where a screen reader speaks it: as the accessible
// description of the controls the user works in, announced for the one that
// has the focus. A screen reader presents a description change of the focused
// object at once, without moving the focus and without waiting for the user
// to ask; a change of some other object's name it does not present at all.

#include <QList>
#include <QString>

#include <optional>

class QWidget;

namespace DescriptionAnnouncer {

// Sets `text` as the description of every carrier and announces it for the
// carrier that has the keyboard focus, once per call, even when the text is
// the same as last time (the same outcome again is still news). An empty
// text is set but not announced.
void Announce(const QList<QWidget*>& carriers, const QString& text);

// Announces the focused carrier's present description again; false when no
// carrier has the focus or its description is empty.
bool AnnounceAgain(const QList<QWidget*>& carriers);

// Has `text` spoken for `widget` (which has the focus) while its
// description stays what it is: announced where Qt can announce (6.8),
// otherwise a description change sent over AT-SPI by the program itself,
// which a screen reader presents once and then forgets; elsewhere nothing.
void SayFor(QWidget* widget, const QString& text);

// How a result reaches a screen reader, by the Qt that runs:
// - Qt 6.4's AT-SPI bridge sends a description change with the object where
//   the text belongs, so the program sends that event itself;
// - Qt 6.5 and later send the text in their own event, but no event for
//   the same text again, which a screen reader would drop anyway; the same
//   result again then goes out as a description change without a change;
// - Qt 6.8 announces the same result again (an AT-SPI announcement, a UI
//   Automation notification), and on Windows every result, since Qt's UI
//   Automation bridge forwards no description change.
enum class Route { OwnAtspiEvent, QtEvent, QtEventAndAnnouncement };
Route ActiveRoute();

// For tests: takes `route` instead of the running Qt's (nullopt: the
// running Qt's again).
void ForceRouteForTesting(std::optional<Route> route);


} // namespace DescriptionAnnouncer
