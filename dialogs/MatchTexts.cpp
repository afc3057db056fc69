#include "MatchTexts.h"

#include "OutcomeLine.h"

#include <QLocale>

namespace {

const QString Dot = QStringLiteral(" \u00B7 ");

QString Counted(std::int64_t count, const char* one, const char* many)
{
    return MatchTexts::Number(count) + ' ' + (count == 1 ? one : many);
}

QString Seconds(double seconds)
{
    return QString::number(seconds, 'f', 1) + " s";
}

QString Elapsed(double seconds)
{
    return DurationText(static_cast<qint64>(seconds * 1e9));
}

// "The 12 matches before it are listed.", "The 1 match before it is listed.".
QString ListedBefore(std::int64_t listed)
{
    if (listed == 0)
        return "No match was found before it.";
    if (listed == 1)
        return "The 1 match before it is listed.";
    return QString("The %1 matches before it are listed.").arg(MatchTexts::Number(listed));
}

} // namespace

namespace MatchTexts {

QString Number(std::int64_t value)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(static_cast<qlonglong>(value));
}

QString Matches(std::int64_t count) { return Counted(count, "match", "matches"); }
QString Groups(std::int64_t count) { return Counted(count, "group", "groups"); }
QString Replacements(std::int64_t count) { return Counted(count, "replacement", "replacements"); }

QString Size(std::int64_t bytes)
{
    if (bytes < 1024)
        return Counted(bytes, "byte", "bytes");
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return QString::number(value, 'f', 1) + ' ' + units[unit];
}

QString ListingProgress(std::int64_t counted)
{
    return QString("Counting... %1 so far").arg(Matches(counted));
}

QString ListingFinal(const tamarin::MatchList& list)
{
    if (!list.Ended())
        return {};
    const tamarin::ListingOutcome& outcome = list.Outcome();
    const std::int64_t listed = list.Listed();
    switch (outcome.end) {
    case tamarin::ListingEnd::PatternError:
        return "The pattern does not compile: " + QString::fromStdString(list.Facts().error);
    case tamarin::ListingEnd::GaveUp:
        return QString("Gave up at position %1 after %2: %3. ")
                   .arg(Number(outcome.gaveUpAt), Seconds(outcome.seconds),
                        QString::fromStdString(outcome.reason)) +
               ListedBefore(listed);
    case tamarin::ListingEnd::Cancelled:
    case tamarin::ListingEnd::Running:
        return {};
    case tamarin::ListingEnd::Finished: break;
    }
    const std::int64_t counted = list.Counted();
    const QString tail = Dot + Groups(list.GroupCount()) + Dot + Elapsed(outcome.seconds);
    if (counted > listed)
        return QString("%1 listed; %2 more counted").arg(Matches(listed), Number(counted - listed)) + tail;
    return Matches(counted) + tail;
}

QString ReplaceFinal(const tamarin::ReplaceResult& result)
{
    const QString made = Replacements(result.replacements) + Dot + Size(static_cast<std::int64_t>(result.text.size()));
    switch (result.end) {
    case tamarin::ListingEnd::PatternError:
        return "The pattern does not compile: " + QString::fromStdString(result.reason);
    case tamarin::ListingEnd::GaveUp:
        return QString("Gave up at position %1 after %2: %3. ")
                   .arg(Number(result.gaveUpAt), Seconds(result.seconds), QString::fromStdString(result.reason)) +
               "The replacements before it are made: " + made;
    case tamarin::ListingEnd::Cancelled:
    case tamarin::ListingEnd::Running:
        return {};
    case tamarin::ListingEnd::Finished: break;
    }
    if (result.cutAtLimit)
        return made + Dot + QString("stopped at the limit of %1: the result ends there").arg(Size(tamarin::MaxReplaceOutputBytes));
    return made;
}

} // namespace MatchTexts
