#pragma once
// Boost.Regex exactly as it ships: its own limits, no configuration of ours
// (only the engine's code page, so that both read the same text).
// Built as a shared library whose symbols stay hidden, so that its copy of the
// matcher never mixes with the engine's (which uses limits of its own).

#include <cstddef>
#include <string_view>

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

} // namespace reference
