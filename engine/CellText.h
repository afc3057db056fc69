#pragma once
// A piece of the engine's 8-bit text made fit for one cell of a table: every
// invisible character shown by a visible sign of its own, with the words a
// screen reader says for it, and cut with an ellipsis past a length.

#include "MatchListing.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tamarin {

struct CellText {
    enum class Kind { Text, Empty, NotTaken };
    Kind kind = Kind::Text;
    std::u16string shown;   // the visible signs in place of tab, CR, LF, NBSP, soft hyphen, other controls
    std::u16string spoken;  // the same with each sign's name ("tab", "line feed", ...)
    bool cut = false;       // ended with an ellipsis
};

// `piece` (code-page text), at most `maxCharacters` characters of it shown.
CellText MakeCellText(std::string_view piece, std::size_t maxCharacters);
// The cell for `span` of `input`: Empty for a group that matched the empty
// text, NotTaken for one that did not take part (both with no shown text;
// spoken "empty" and "did not take part").
CellText MakeCellText(std::string_view input, MatchSpan span, std::size_t maxCharacters);

} // namespace tamarin
