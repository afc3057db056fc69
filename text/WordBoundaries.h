#pragma once
// Where words begin and end in one paragraph of text, as a standard editor's
// cursor finds them: a word is a run of characters that are neither blanks
// nor separators, and a run of separators (punctuation such as `,` `;` `-`)
// counts as one word of its own. Positions are offsets into the paragraph,
// which holds no line break.
#include "TextSpan.h"

#include <optional>

namespace words {

// A blank between words: any white space (space, tab, no-break space, ...).
bool IsBlank(QChar c);
// Punctuation that ends a word and makes a word of its own.
bool IsSeparator(QChar c);

// The start of the word before `position`, past the blanks before it.
qsizetype PreviousStop(const TextSpan& paragraph, qsizetype position);
// The start of the word holding `position`, or of the word before the blanks
// it is in; nothing where the cursor would not move (the paragraph's start,
// or its end after a blank or a separator).
std::optional<qsizetype> StartOfWord(const TextSpan& paragraph, qsizetype position);
// The end of the word that starts at `position`; nothing where the cursor
// would not move (at a blank, or at the paragraph's end).
std::optional<qsizetype> EndOfWord(const TextSpan& paragraph, qsizetype position);

// The word a double click at `position` selects; empty on no word.
struct Range {
    qsizetype start = 0;
    qsizetype end = 0;
};
Range WordUnder(const TextSpan& paragraph, qsizetype position);

} // namespace words
