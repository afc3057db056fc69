#pragma once
// The texts of the main window's status panels 1 to 3. The main window shows
// them at start and after its own commands, the match options dialog after
// OK; both take them from here.

#include <cstdint>

namespace StatusTexts {

// Panel 1: whether the match options dialog's "Syntax Check" is on.
constexpr const char* SyntaxCheck(bool on)
{
    return on ? "Syntax Check : ON" : "Syntax Check : OFF";
}

// Panel 2: the case option.
constexpr const char* Case(bool sensitive)
{
    return sensitive ? "Case Sensitive" : "Case InSensitive";
}

// Panel 3: the syntax for a SyntaxIndex; nullptr outside 0..2, where the
// panel keeps what it shows.
constexpr const char* Syntax(std::int32_t syntaxIndex)
{
    switch (syntaxIndex) {
    case 0: return "Syntax : Perl";
    case 1: return "Syntax : POSIX Basic";
    case 2: return "Syntax : POSIX Extended";
    default: return nullptr;
    }
}

} // namespace StatusTexts
