#pragma once
// The three syntaxes a pattern can be written in.

#include <cstdint>

namespace tamarin {

enum class Syntax : std::int32_t { Perl = 0, Basic = 1, Extended = 2 };

// The syntax a SyntaxIndex stands for; values outside 0..2 mean Perl.
Syntax SyntaxFromIndex(std::int32_t syntaxIndex);

} // namespace tamarin
