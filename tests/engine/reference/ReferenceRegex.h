#pragma once
// Boost.Regex exactly as it ships: its own limits, no configuration of ours
// (only the engine's code page, so that both read the same text).
// Built as a shared library whose symbols stay hidden, so that its copy of the
// matcher never mixes with the engine's (which uses limits of its own).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// On Windows a DLL exports only what is marked (the matcher's copy stays
// inside it); CMake defines <target>_EXPORTS while building the library.
#if defined(_WIN32) && defined(tamarin_reference_regex_EXPORTS)
#define REFERENCE_REGEX_API __declspec(dllexport)
#elif defined(_WIN32)
#define REFERENCE_REGEX_API __declspec(dllimport)
#else
#define REFERENCE_REGEX_API [[gnu::visibility("default")]]
#endif

namespace reference {

struct Result {
    enum Status { Match, NoMatch, Threw } status = Threw;
    std::ptrdiff_t pos = -1;
    std::ptrdiff_t len = -1;
};

// Compiles `pattern` (syntax 0 Perl, 1 POSIX Basic, 2 POSIX Extended) and runs
// regex_match (algorithm 0) or regex_search (1) once over `input`.
REFERENCE_REGEX_API Result Run(std::string_view pattern, std::string_view input, int algorithm,
                               int syntax, bool caseSensitive);

// Every match as boost::regex_iterator finds it with match_default
// (algorithm 1), or the one match of regex_match (algorithm 0): for each, the
// position and length of each group, group 0 first; -1 and 0 for a group
// that did not take part.
struct Listing {
    bool threw = false;
    std::vector<std::vector<std::ptrdiff_t>> matches;  // position, length, position, length, ...
};
REFERENCE_REGEX_API Listing List(std::string_view pattern, std::string_view input, int algorithm, int syntax,
                                 bool caseSensitive);

// boost::regex_replace over `input` with `format` (kind 0 Perl/format_default,
// 1 format_sed, 2 format_all, 3 format_literal; the two options added).
// With algorithm 0, the whole input when regex_match matches it, else the
// input as it is (nothing with noCopy).
struct Replaced {
    bool threw = false;
    std::string text;
};
REFERENCE_REGEX_API Replaced Replace(std::string_view pattern, std::string_view input, int algorithm, int syntax,
                                     bool caseSensitive, std::string_view format, int kind, bool firstOnly,
                                     bool noCopy);

} // namespace reference
