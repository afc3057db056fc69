#pragma once
// The one-line account of how the last evaluation ended, shown in the main
// window's strip: a match and its place, no match, a pattern that does not
// compile, or a search the library gave up, with the time it took.

#include "Engine.h"

#include <QString>

// Nothing was evaluated: why (NotYet: the window has just opened).
enum class NothingToDo { NotYet, EmptyPattern, EmptyInput, NoRunner };

QString OutcomeText(const tamarin::EvaluationOutcome& outcome, qint64 elapsedNanoseconds);
// The same without the time it took: what a screen reader says at each
// evaluation ("Match at 25, length 10", "No match").
QString OutcomeSummary(const tamarin::EvaluationOutcome& outcome);
QString OutcomeText(NothingToDo reason);

// "0.04 ms", "1.2 ms", "12 ms", "1.25 s".
QString DurationText(qint64 nanoseconds);
