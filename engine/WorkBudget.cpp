// How much work one match may do before the library gives up (result -2).
//
// The library counts matcher steps and gives up with error_complexity past a
// limit; it also gives up when its backtracking memory runs out. Its own
// limit grows with the input times the square of the machine's size, with no
// ceiling, so a nested quantifier over a megabyte ran for seconds and recursion
// for minutes. Here the limit is a budget of steps and of memory that depends
// only on the pattern and the input, never on a clock: the same evaluation
// gives the same result on every run and every machine.
//
// Sizing (Release build, bench/hard_patterns on the 2-core development
// machine): a step costs about 12 to 15 ns on the nested-quantifier and
// overlapping-alternative families. Five million steps plus eight per input
// character keep a match that exhausts the budget near 0.2 s at 1 MB and about
// 1.2 s at 10 MB. Ordinary patterns need far fewer: Perl `(.|\n)*` or
// `(\w+\s?)*$` take under 2 steps per character, and the POSIX syntaxes,
// which must look for the longest match, take about 8 for `(a|b)*`.
// Backtracking memory is 8 MiB plus 128 bytes per input character: `(.|\n)*`
// keeps about 110 bytes per character on that stack, so it still matches 10 MB
// (1.1 GB); filling it is what bounds the slowest give-up at 10 MB.
#include "RegexConfig.h"

#include <algorithm>
#include <limits>

namespace tamarin {

namespace {

constexpr std::ptrdiff_t BaseSteps = 5'000'000;
constexpr std::ptrdiff_t StepsPerCharacter = 8;
constexpr std::size_t BaseMemory = std::size_t{8} << 20;
constexpr std::size_t MemoryPerCharacter = 128;

// The blocks the match being set up may use; read by the library through
// BOOST_REGEX_MAX_BLOCKS right after its work estimate has set it.
thread_local std::size_t CurrentBacktrackBlocks = BaseMemory / BOOST_REGEX_BLOCKSIZE;

// a * b + c without overflow, saturated at the largest ptrdiff_t.
std::ptrdiff_t SaturatingMulAdd(std::ptrdiff_t a, std::ptrdiff_t b, std::ptrdiff_t c)
{
    constexpr std::ptrdiff_t max = std::numeric_limits<std::ptrdiff_t>::max();
    if (a != 0 && b > (max - c) / a)
        return max;
    return a * b + c;
}

// The library's own estimate (perl_matcher::estimate_max_state_count): the
// larger of N*S*S and a capped N*N, each plus 100000.
std::ptrdiff_t LibraryDefaultSteps(std::ptrdiff_t n, std::ptrdiff_t s)
{
    constexpr std::ptrdiff_t k = 100000;
    constexpr std::ptrdiff_t cap = BOOST_REGEX_MAX_STATE_COUNT;
    const std::ptrdiff_t bySize = SaturatingMulAdd(SaturatingMulAdd(s, s, 0), n, k);
    const std::ptrdiff_t byLength = std::min(SaturatingMulAdd(n, n, k), cap);
    return std::max(bySize, byLength);
}

} // namespace

std::ptrdiff_t MatchStepBudget(std::ptrdiff_t inputLength, std::ptrdiff_t machineStates)
{
    const std::ptrdiff_t n = std::max<std::ptrdiff_t>(inputLength, 1);
    const std::ptrdiff_t s = std::max<std::ptrdiff_t>(machineStates, 1);
    // Never more than the library would allow by itself: on small inputs its
    // estimate is the smaller one, and a hopeless pattern gives up at once.
    return std::min(LibraryDefaultSteps(n, s), SaturatingMulAdd(StepsPerCharacter, n, BaseSteps));
}

std::size_t BacktrackMemoryBudget(std::ptrdiff_t inputLength)
{
    const auto n = static_cast<std::size_t>(std::max<std::ptrdiff_t>(inputLength, 0));
    return BaseMemory + MemoryPerCharacter * n;
}

namespace regex_limits {

std::size_t BacktrackBlocks()
{
    return CurrentBacktrackBlocks;
}

} // namespace regex_limits
} // namespace tamarin

namespace boost::BOOST_REGEX_DETAIL_NS {

template <>
void EngineMatcher::estimate_max_state_count(std::random_access_iterator_tag*)
{
    const std::ptrdiff_t length = last - base;
    max_state_count = tamarin::MatchStepBudget(length, static_cast<std::ptrdiff_t>(re.size()));
    tamarin::CurrentBacktrackBlocks = std::max<std::size_t>(
        1, tamarin::BacktrackMemoryBudget(length) / BOOST_REGEX_BLOCKSIZE);
}

// Entering a recursion such as (?R) makes the library walk its chain of open
// repeats once per open recursion (repeater_count::unwind_until), and it counts
// none of those steps; worse, it checks its step limit only when a step fails,
// so `a(?R)?b` over a megabyte of `a` recursed a million levels deep, at a cost
// that grows with the square of the depth, before it looked. Here the walk is
// counted and the budget checked on every recursion. The rest is the library's
// own body of this function.
template <>
void EngineMatcher::push_recursion_pop()
{
    state_count += static_cast<std::ptrdiff_t>(recursion_stack.size()) + 1;
    if (state_count > max_state_count)
        raise_error(traits_inst, regex_constants::error_complexity);

    saved_state* pmp = static_cast<saved_state*>(m_backup_state);
    --pmp;
    if (pmp < m_stack_base) {
        extend_stack();
        pmp = static_cast<saved_state*>(m_backup_state);
        --pmp;
    }
    (void)new (pmp) saved_state(15);
    m_backup_state = pmp;
}

} // namespace boost::BOOST_REGEX_DETAIL_NS
