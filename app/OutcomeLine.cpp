#include "OutcomeLine.h"

namespace {

QString WithDuration(const QString& text, qint64 nanoseconds)
{
    return text + QStringLiteral(" \u00B7 ") + DurationText(nanoseconds);
}

} // namespace

QString DurationText(qint64 nanoseconds)
{
    const double ms = static_cast<double>(nanoseconds) / 1e6;
    if (ms < 1)
        return QString::number(ms, 'f', 2) + " ms";
    if (ms < 10)
        return QString::number(ms, 'f', 1) + " ms";
    if (ms < 1000)
        return QString::number(ms, 'f', 0) + " ms";
    return QString::number(ms / 1000, 'f', 2) + " s";
}

QString OutcomeSummary(const tamarin::EvaluationOutcome& outcome)
{
    using Stage = tamarin::EvaluationOutcome::Stage;
    switch (outcome.result) {
    case tamarin::ResultMatched:
        return QString("Match at %1, length %2").arg(outcome.pos).arg(outcome.len);
    case tamarin::ResultNoMatch: return "No match";
    case tamarin::ResultPatternRejected: return "The pattern does not compile";
    case tamarin::ResultEmptyInput: return OutcomeText(NothingToDo::EmptyInput);
    default:
        if (outcome.stage == Stage::Compile)
            return "The pattern does not compile";
        return "Too complex for this input: the search gave up";
    }
}

QString OutcomeText(const tamarin::EvaluationOutcome& outcome, qint64 elapsedNanoseconds)
{
    switch (outcome.result) {
    // The time would include however long the message stood open.
    case tamarin::ResultPatternRejected:
    case tamarin::ResultEmptyInput: return OutcomeSummary(outcome);
    default: return WithDuration(OutcomeSummary(outcome), elapsedNanoseconds);
    }
}

QString OutcomeText(NothingToDo reason)
{
    switch (reason) {
    case NothingToDo::NotYet: return "Nothing evaluated yet";
    case NothingToDo::EmptyPattern: return "Nothing to do: the pattern is empty";
    case NothingToDo::EmptyInput: return "Nothing to do: the input is empty";
    case NothingToDo::NoRunner: break;
    }
    return "Nothing to do for this algorithm";
}
