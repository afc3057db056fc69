#pragma once
// How much work and backtracking memory one match may take, as a function of
// the input's length alone (never of a clock), and the ceilings that neither
// passes at any input size. The matcher reads both when a match starts
// (WorkBudget.cpp); they are here, free of the library, so that anyone may
// see what the bound decides.

#include <cstddef>

namespace tamarin {

// At most this many matcher steps per match beyond what its tries are granted
// (StepsPerTry), whatever the input: about 1.7 s at the 14 ns a step costs
// on the costliest families of patterns.
inline constexpr std::ptrdiff_t MaxMatchSteps = 120'000'000;
// Steps granted again each time a search tries the pattern at a new place,
// unused ones not kept: a search whose tries stay this cheap does the linear
// work the library would and never gives up for it, while a try that
// backtracks still draws on the budget above.
inline constexpr std::ptrdiff_t StepsPerTry = 4;
// At most this much backtracking memory per match, whatever the input.
inline constexpr std::size_t MaxBacktrackMemory = std::size_t{768} << 20;

// The work allowed to one match over `inputLength` characters with a machine of
// `machineStates` states, in the library's unit of matcher steps.
std::ptrdiff_t MatchStepBudget(std::ptrdiff_t inputLength, std::ptrdiff_t machineStates);
// Backtracking memory allowed to one match over `inputLength` characters, in bytes.
std::size_t BacktrackMemoryBudget(std::ptrdiff_t inputLength);

} // namespace tamarin
