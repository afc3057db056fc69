#pragma once
// The one way the engine includes Boost.Regex. Boost.Regex 1.81 is
// header-only: its matcher is compiled here, so the limits below take effect.
// Every file of the engine that compiles or runs an expression includes this
// header instead of <boost/regex.hpp>, so that all of them see the same
// limits (anything else would break the one-definition rule).
//
// The limits turn "a pattern that makes the matcher work hard" into a bounded
// amount of work: the same pattern over the same input gives the same result
// on every run and every machine (no clock is involved). See WorkBudget.cpp
// for how they are sized.

#if defined(BOOST_REGEX_CONFIG_HPP)
#error "RegexConfig.h must be included before any Boost.Regex header"
#endif

#include <cstddef>

#include <atomic>

namespace tamarin::regex_limits {
// Backtracking memory for the running match, in blocks of BOOST_REGEX_BLOCKSIZE;
// set by the matcher's work estimate for the input it is about to run over.
std::size_t BacktrackBlocks();

// While one lives, every try of the pattern on this thread first reads
// `cancel`, and a set flag ends the match at once (it throws as a match that
// gave up does: the caller tells the two apart by the flag).
class CancelScope {
public:
    explicit CancelScope(const std::atomic<bool>& cancel);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const std::atomic<bool>* outer_;
};
} // namespace tamarin::regex_limits

// Backtracking memory comes in blocks of 64 KiB instead of 4 KiB: a match over
// a large input that needs hundreds of megabytes takes 16 times fewer blocks.
#define BOOST_REGEX_BLOCKSIZE 65536  // backtrack_memory::BlockBytes
// How many blocks one match may use: proportional to the input up to a ceiling
// (the library's fixed 1024 blocks of 4 KiB made `(.|\n)*` give up from about
// 64 KB of input).
// The library reads this once per match, when the match starts.
#define BOOST_REGEX_MAX_BLOCKS (::tamarin::regex_limits::BacktrackBlocks())
// Freed blocks kept for the next match (the library's default): at most 1 MiB.
#define BOOST_REGEX_MAX_CACHE_BLOCKS 16

#include <boost/regex.hpp>

#include "SyntaxFlags.h"
#include "WorkBudget.h"

#include <string_view>

namespace boost::BOOST_REGEX_DETAIL_NS {

// The engine's one matcher: `const char*` ranges, `boost::cmatch` results,
// `boost::regex` traits. Its work estimate and its recursion step are our own
// (WorkBudget.cpp), and so are its start of each try and where its
// backtracking stack grows into (BacktrackMemory.h); they must be declared
// before any use of the matcher.
using EngineMatcher = perl_matcher<const char*, boost::cmatch::allocator_type, boost::regex::traits_type>;

template <>
void EngineMatcher::estimate_max_state_count(std::random_access_iterator_tag*);
template <>
void EngineMatcher::push_recursion_pop();
template <>
bool EngineMatcher::match_prefix();
template <>
bool EngineMatcher::unwind(bool);
template <>
void EngineMatcher::extend_stack();
template <>
bool EngineMatcher::unwind_extra_block(bool);

// The engine's one pattern compiler. How it reads and stores literal text is
// our own (PatternCompile.cpp).
using EngineCompiler = basic_regex_creator<char, boost::regex::traits_type>;
using EngineParser = basic_regex_parser<char, boost::regex::traits_type>;
template <>
re_literal* EngineCompiler::append_literal(char);
template <>
bool EngineParser::parse_literal();

} // namespace boost::BOOST_REGEX_DETAIL_NS

namespace tamarin {

// Compile options for a syntax; case-insensitive adds icase.
boost::regex::flag_type SyntaxFlags(Syntax syntax, bool caseSensitive);

// Compiles `pattern` as the engine does for every evaluation, the syntax check
// and the syntax test. Throws whatever the library throws for a pattern it
// cannot compile.
boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive);
// The same with more compile options (such as save_subexpression_location).
boost::regex CompilePattern(std::string_view pattern, Syntax syntax, bool caseSensitive,
                            boost::regex::flag_type extraFlags);

// The options every match of `expression` runs with. Only the whole match is
// ever reported, so groups are not kept unless the pattern reads them back.
boost::match_flag_type MatchFlags(const boost::regex& expression);

} // namespace tamarin
