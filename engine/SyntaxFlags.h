#pragma once
// Which compile options each syntax and case choice gives the regex library.

#include <boost/regex.hpp>
#include <cstdint>

namespace tamarin {

enum class Syntax : std::int32_t { Perl = 0, Basic = 1, Extended = 2 };

// The syntax a SyntaxIndex stands for; values outside 0..2 mean Perl.
Syntax SyntaxFromIndex(std::int32_t syntaxIndex);

// Compile options for a syntax; case-insensitive adds icase.
boost::regex::flag_type SyntaxFlags(Syntax syntax, bool caseSensitive);

} // namespace tamarin
