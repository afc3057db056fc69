// What a screen reader hears when a result is announced, on each route the
// running Qt may take: every result once for the focused control, the same
// result twice in a row included, and nothing for the controls around it.
// A screen reader (Orca 48) presents a description change of the focused
// object only when its text differs from the last it knew, and presents
// every announcement.
#include "DescriptionAnnouncer.h"

#include <QAccessible>
#include <algorithm>
#include <QApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QVersionNumber>
#include <QWidget>

using DescriptionAnnouncer::Route;

namespace {

struct Told {
    QObject* object;
    bool announcement;
    QString text;  // what was announced, or the description the change left
};

QList<Told> told;

void Record(QAccessibleEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement) {
        told.append({event->object(), true, static_cast<QAccessibleAnnouncementEvent*>(event)->message()});
        return;
    }
#endif
    if (event->type() == QAccessible::DescriptionChanged)
        told.append({event->object(), false, static_cast<QWidget*>(event->object())->accessibleDescription()});
}

} // namespace

class AnnouncerTest : public QObject {
    Q_OBJECT

    QWidget window;
    QLineEdit* focused = nullptr;
    QLineEdit* other = nullptr;

    // What a screen reader that knew `known` of each object says of them.
    QStringList Heard(QObject* object, QString& known) const
    {
        QStringList heard;
        for (const Told& t : told) {
            if (t.object != object)
                continue;
            if (t.announcement)
                heard << t.text;
            else if (t.text != known && !t.text.isEmpty() && object == focused)
                heard << t.text;
            if (!t.announcement)
                known = t.text;
        }
        return heard;
    }

private slots:
    void initTestCase()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(focused = new QLineEdit);
        layout->addWidget(other = new QLineEdit);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        focused->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focused);
        QAccessible::installUpdateHandler(Record);
    }

    void cleanupTestCase()
    {
        QAccessible::installUpdateHandler(nullptr);
        DescriptionAnnouncer::ForceRouteForTesting(std::nullopt);
    }

    void eachResultHeardOnce_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<bool>("repeatsHeard");
        // Without announcements the same result again goes out as a
        // description change without a change, which Orca 43 presents and
        // Orca 48 drops.
        QTest::addRow("Qt's event") << int(Route::QtEvent) << false;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QTest::addRow("Qt's event and announcement") << int(Route::QtEventAndAnnouncement) << true;
#endif
    }

    void eachResultHeardOnce()
    {
        // Qt 6.4 hands events to an update handler only while a screen
        // reader listens (its own checks, tests/atspi and tests/orca, hear
        // that path); later Qt always does.
        told.clear();
        QAccessibleEvent probe(focused, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&probe);
        if (told.isEmpty())
            QSKIP("this Qt tells no update handler without a screen reader");
        QFETCH(int, route);
        QFETCH(bool, repeatsHeard);
        DescriptionAnnouncer::ForceRouteForTesting(Route(route));
        DescriptionAnnouncer::Announce({focused, other}, QString());
        QString knownFocused, knownOther;
        const QStringList results = {"No match", "No match", "Match at 2, length 1", "No match"};
        QString previous;
        for (const QString& result : results) {
            told.clear();
            DescriptionAnnouncer::Announce({focused, other}, result);
            QCOMPARE(focused->accessibleDescription(), result);
            QCOMPARE(other->accessibleDescription(), result);
            const bool repeat = result == previous;
            previous = result;
            const QStringList expected = repeat && !repeatsHeard ? QStringList() : QStringList{result};
            QCOMPARE(Heard(focused, knownFocused), expected);
            QCOMPARE(Heard(other, knownOther), QStringList());
            if (repeat && !repeatsHeard) {
                // Still sent for the focused control, for readers that take it.
                QVERIFY(std::any_of(told.begin(), told.end(), [&](const Told& t) { return t.object == focused; }));
            }
        }
    }

    void anEmptyResultIsNotHeard()
    {
        DescriptionAnnouncer::ForceRouteForTesting(Route::QtEvent);
        DescriptionAnnouncer::Announce({focused}, QStringLiteral("No match"));
        QString known = QStringLiteral("No match");
        told.clear();
        DescriptionAnnouncer::Announce({focused}, QString());
        QCOMPARE(Heard(focused, known), QStringList());
        QVERIFY(!DescriptionAnnouncer::AnnounceAgain({focused}));
    }

    // The route follows the Qt that runs, not the one built against.
    void routeOfTheRunningQt()
    {
        DescriptionAnnouncer::ForceRouteForTesting(std::nullopt);
        const Route route = DescriptionAnnouncer::ActiveRoute();
        const QVersionNumber running = QLibraryInfo::version();
        if (running >= QVersionNumber(6, 8) && QT_VERSION >= QT_VERSION_CHECK(6, 8, 0))
            QCOMPARE(route, Route::QtEventAndAnnouncement);
        else if (running >= QVersionNumber(6, 5))
            QCOMPARE(route, Route::QtEvent);
        else
            QVERIFY(route != Route::QtEventAndAnnouncement);
    }
};

QTEST_MAIN(AnnouncerTest)
#include "AnnouncerTest.moc"
