#pragma once
// Plain words for what each construct read matches (PatternWords.cpp).
#include "PatternParser.h"

namespace tamarin::pattern {

// The tree of nodes with their words, for the syntax read (0 Perl, 1 POSIX
// Basic, 2 POSIX Extended).
ExplainNode ToNode(const Item& item, int syntaxIndex);

// Our words for why the library stops compiling.
std::string ErrorWords(PatternError error);

// A character as it is read aloud: "a", or its name for one that shows nothing.
std::string CharacterWords(char c);

} // namespace tamarin::pattern
