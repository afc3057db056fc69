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
// Backtracking memory is 8 MiB plus 128 bytes per input character; it comes
// from a region whose pages stay from one match to the next
// (BacktrackMemory.h), so that a second give-up over a large input takes
// no page fault.
//
// Neither may grow with the input for ever: the steps stop at MaxMatchSteps
// (reached from about 14 MB), so no match that exhausts them blocks for more
// than about 1.7 s. A search also tries the pattern at every place it may
// start, and a plain class such as `[0-9]+` takes about 2 steps for each
// over 100 MB of text without a digit: far more than the ceiling, yet only
// the library's own linear scan. So each try is granted StepsPerTry steps,
// and only what a try takes beyond that draws on the budget: the catastrophic
// families spend their whole budget within their first try. The memory stops
// at MaxBacktrackMemory (reached from about 6 MB), which a laptop of 8 GB
// gives one match beside a 100 MB input and the window's own copies of it. The steps of one search are counted across all
// the places it restarts from, so a search that restarts at every word is
// bounded as a whole. What needs the most memory per character and still
// matches 10 MB: `(?:x|y)+` keeps about 70 bytes per character (670 MiB), and
// `(.|\n)*` or `(a|b)*`, whose groups are not kept (MatchFlags), about as
// much; they give up from about 11 MB. Kept groups would cost them 40 bytes
// more per character, and the ceiling would be passed below 10 MB.
#include "RegexConfig.h"

#include "BacktrackMemory.h"

#include <algorithm>
#include <limits>

namespace tamarin {

namespace {

using boost::BOOST_REGEX_DETAIL_NS::re_syntax_base;

constexpr std::ptrdiff_t BaseSteps = 5'000'000;
constexpr std::ptrdiff_t StepsPerCharacter = 8;
constexpr std::size_t BaseMemory = std::size_t{8} << 20;
constexpr std::size_t MemoryPerCharacter = 128;

// The blocks the match being set up may use; read by the library through
// BOOST_REGEX_MAX_BLOCKS right after its work estimate has set it.
thread_local std::size_t CurrentBacktrackBlocks = BaseMemory / BOOST_REGEX_BLOCKSIZE;
// The tries of the match being run that may still be granted their steps: one
// for each place a search can start. A try at a place already tried (as
// (*SKIP) and look-behinds can make the library do) is granted nothing, so
// tries that stay cheap cannot repeat for ever uncounted.
thread_local std::ptrdiff_t TriesLeftToGrant = 0;
// The flag that ends this thread's matches when set (CancelScope); none outside one.
thread_local const std::atomic<bool>* CancelFlag = nullptr;

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
    const std::ptrdiff_t byInput = SaturatingMulAdd(StepsPerCharacter, n, BaseSteps);
    return std::min({LibraryDefaultSteps(n, s), byInput, MaxMatchSteps});
}

std::size_t BacktrackMemoryBudget(std::ptrdiff_t inputLength)
{
    const auto n = static_cast<std::size_t>(std::max<std::ptrdiff_t>(inputLength, 0));
    if (n >= (MaxBacktrackMemory - BaseMemory) / MemoryPerCharacter)
        return MaxBacktrackMemory;
    return BaseMemory + MemoryPerCharacter * n;
}

// Whether the match must keep where each group starts and ends: only when the
// pattern reads a group back (a back-reference, a condition on a group, a
// recursion or a call of a group), or may end inside open groups ((*ACCEPT)).
// Otherwise the groups change nothing of the whole match, and the library
// keeps each group's start on its backtracking stack for nothing: 40 bytes
// each time the group is entered.
bool ReadsGroupsBack(const boost::regex& expression)
{
    namespace detail = boost::BOOST_REGEX_DETAIL_NS;
    // Every state of the machine is on the chain of `next`, in pattern order.
    for (const re_syntax_base* state = expression.get_first_state(); state; state = state->next.p) {
        switch (state->type) {
        case detail::syntax_element_backref:
        case detail::syntax_element_assert_backref:
        case detail::syntax_element_recurse:
        case detail::syntax_element_accept:
            return true;
        default:
            break;
        }
    }
    return false;
}

boost::match_flag_type MatchFlags(const boost::regex& expression)
{
    if (expression.empty() || ReadsGroupsBack(expression))
        return boost::match_default;
    return boost::match_default | boost::match_nosubs;
}

namespace regex_limits {

std::size_t BacktrackBlocks()
{
    return CurrentBacktrackBlocks;
}

CancelScope::CancelScope(const std::atomic<bool>& cancel) : outer_(CancelFlag)
{
    CancelFlag = &cancel;
}

CancelScope::~CancelScope()
{
    CancelFlag = outer_;
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
    tamarin::TriesLeftToGrant = length + 1;
    // Backtracking memory this match may not use goes back to the system;
    // what it may use stays for it.
    tamarin::backtrack_memory::KeepAtMost(tamarin::BacktrackMemoryBudget(length));
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

// One try of the pattern at `position`. Each try is granted StepsPerTry
// steps: the count falls by that much, never below zero, so unused steps are
// not saved up. A search makes at most one try per character, so it may take
// MaxMatchSteps plus StepsPerTry per character at most. A try first reads the
// cancel flag of a CancelScope, if there is one. The rest is the library's
// own body of this function.
template <>
bool EngineMatcher::match_prefix()
{
    // A listing that is no longer wanted stops at its next try.
    if (tamarin::CancelFlag && tamarin::CancelFlag->load(std::memory_order_relaxed))
        raise_error(traits_inst, regex_constants::error_unknown);
    if (tamarin::TriesLeftToGrant > 0) {
        --tamarin::TriesLeftToGrant;
        state_count = std::max<std::ptrdiff_t>(0, state_count - tamarin::StepsPerTry);
    }

    m_has_partial_match = false;
    m_has_found_match = false;
    pstate = re.get_first_state();
    m_presult->set_first(position);
    restart = position;
    match_all_states();
    if (!m_has_found_match && m_has_partial_match && (m_match_flags & match_partial)) {
        m_has_found_match = true;
        m_presult->set_second(last, 0, false);
        position = last;
        if ((m_match_flags & match_posix) == match_posix)
            m_result.maybe_assign(*m_presult);
    }
    if (!m_has_found_match)
        position = restart;  // reset search position
    return m_has_found_match;
}

// Backtracking after a failed step: a match that backtracks hard spends its
// time here, so a set cancel flag (CancelScope) ends it here too, within a
// step, instead of at the end of its work budget. Outside a CancelScope the
// one cost is reading that no flag is set. The rest is the library's own
// body of this function.
template <>
bool EngineMatcher::unwind(bool have_match)
{
    static unwind_proc_type const s_unwind_table[19] = {
        &EngineMatcher::unwind_end,
        &EngineMatcher::unwind_paren,
        &EngineMatcher::unwind_recursion_stopper,
        &EngineMatcher::unwind_assertion,
        &EngineMatcher::unwind_alt,
        &EngineMatcher::unwind_repeater_counter,
        &EngineMatcher::unwind_extra_block,
        &EngineMatcher::unwind_greedy_single_repeat,
        &EngineMatcher::unwind_slow_dot_repeat,
        &EngineMatcher::unwind_fast_dot_repeat,
        &EngineMatcher::unwind_char_repeat,
        &EngineMatcher::unwind_short_set_repeat,
        &EngineMatcher::unwind_long_set_repeat,
        &EngineMatcher::unwind_non_greedy_repeat,
        &EngineMatcher::unwind_recursion,
        &EngineMatcher::unwind_recursion_pop,
        &EngineMatcher::unwind_commit,
        &EngineMatcher::unwind_then,
        &EngineMatcher::unwind_case,
    };
    // Only after a failed step (have_match false): the library's own clean-up
    // after an exception unwinds the whole stack with have_match true, and
    // must run to its end.
    if (!have_match && tamarin::CancelFlag && tamarin::CancelFlag->load(std::memory_order_relaxed))
        raise_error(traits_inst, regex_constants::error_unknown);

    m_recursive_result = have_match;
    m_unwound_lookahead = false;
    m_unwound_alt = false;
    unwind_proc_type unwinder;
    bool cont;
    do {
        unwinder = s_unwind_table[m_backup_state->state_id];
        cont = (this->*unwinder)(m_recursive_result);
    } while (cont);
    return pstate ? true : false;
}

// The stack grows by a block from the kept region (BacktrackMemory.h), or from
// the library's own blocks when the region has none to give. The rest is the
// library's own body of this function.
template <>
void EngineMatcher::extend_stack()
{
    static_assert(BOOST_REGEX_BLOCKSIZE == tamarin::backtrack_memory::BlockBytes);
    if (!used_block_count)
        raise_error(traits_inst, regex_constants::error_stack);
    --used_block_count;
    void* kept = tamarin::backtrack_memory::TakeBlock();
    auto* stack_base = static_cast<saved_state*>(kept ? kept : get_mem_block());
    auto* backup_state = reinterpret_cast<saved_state*>(reinterpret_cast<char*>(stack_base) + BOOST_REGEX_BLOCKSIZE);
    auto* block = static_cast<saved_extra_block*>(backup_state);
    --block;
    (void)new (block) saved_extra_block(m_stack_base, m_backup_state);
    m_stack_base = stack_base;
    m_backup_state = block;
}

// A block the stack no longer needs goes back where it came from. The rest
// is the library's own body of this function.
template <>
bool EngineMatcher::unwind_extra_block(bool)
{
    ++used_block_count;
    auto* pmp = static_cast<saved_extra_block*>(m_backup_state);
    void* condemned = m_stack_base;
    m_stack_base = pmp->base;
    m_backup_state = pmp->end;
    inplace_destroy(pmp);
    if (!tamarin::backtrack_memory::GiveBack(condemned))
        put_mem_block(condemned);
    return true;
}

} // namespace boost::BOOST_REGEX_DETAIL_NS
