#pragma once
// Warnings for a legal pattern that is likely wrong or slow (PatternWarnings.cpp).
#include "PatternParser.h"

namespace tamarin::pattern {

std::vector<ExplainWarning> FindWarnings(const Item& root, std::string_view pattern);

} // namespace tamarin::pattern
