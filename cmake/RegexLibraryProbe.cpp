// Compiled at configure time only (RegexLibrary.cmake), never built into the
// program: a search with the engine's matcher, so that the library's matcher
// is instantiated with what the engine sets.
//
// Plain, it includes the engine's own RegexConfig.h (the limits, and the
// declarations of the members WorkBudget.cpp specializes). With
// TAMARIN_PROBE_UNREAD_<macro> defined for one of the library's block macros,
// that macro becomes a name nothing declares, so the compile fails on it exactly
// when the headers read the macro; it stays a number in #if lines, where
// undeclared names are 0.
#if defined(TAMARIN_PROBE_UNREAD_BOOST_REGEX_BLOCKSIZE)
#define BOOST_REGEX_BLOCKSIZE (4096 + 0 * tamarin_probe_reads_BOOST_REGEX_BLOCKSIZE)
#elif defined(TAMARIN_PROBE_UNREAD_BOOST_REGEX_MAX_BLOCKS)
#define BOOST_REGEX_MAX_BLOCKS (1024 + 0 * tamarin_probe_reads_BOOST_REGEX_MAX_BLOCKS)
#elif defined(TAMARIN_PROBE_UNREAD_BOOST_REGEX_MAX_CACHE_BLOCKS)
#define BOOST_REGEX_MAX_CACHE_BLOCKS (16 + 0 * tamarin_probe_reads_BOOST_REGEX_MAX_CACHE_BLOCKS)
#endif
#if defined(BOOST_REGEX_BLOCKSIZE) || defined(BOOST_REGEX_MAX_BLOCKS) || defined(BOOST_REGEX_MAX_CACHE_BLOCKS)
#include <boost/regex.hpp>
#else
#include "RegexConfig.h"
#endif

bool TamarinRegexProbe(const char* first, const char* last)
{
    const boost::regex expression("a(b|c)*?d");
    boost::cmatch match;
    return boost::regex_search(first, last, match, expression) && boost::regex_match(first, last, match, expression);
}
