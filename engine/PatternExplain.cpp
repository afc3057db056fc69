#include "PatternExplain.h"

#include "PatternParser.h"
#include "PatternWarnings.h"
#include "PatternWords.h"

#include <algorithm>

namespace tamarin {

PatternExplanation ExplainPattern(std::string_view pattern, std::int32_t syntaxIndex, bool caseSensitive)
{
    const int syntax = syntaxIndex == 1 || syntaxIndex == 2 ? syntaxIndex : 0;
    pattern::Parser parser(pattern, syntax, caseSensitive);
    parser.Run();
    PatternExplanation explanation;
    explanation.compiles = parser.error == PatternError::None;
    explanation.error = parser.error;
    explanation.errorPosition = parser.errorPosition;
    explanation.errorWords = parser.errorDetail.empty() ? pattern::ErrorWords(parser.error) : parser.errorDetail;
    explanation.groups = parser.markCount;
    const std::size_t spans = std::min<std::size_t>(parser.markCount, parser.subs.size());
    explanation.groupSpans.assign(parser.subs.begin(), parser.subs.begin() + static_cast<std::ptrdiff_t>(spans));
    explanation.root = pattern::ToNode(parser.root, syntax);
    if (explanation.compiles)
        explanation.warnings = pattern::FindWarnings(parser.root, pattern);
    explanation.unsure = !parser.unsure.empty();
    for (const std::string& why : parser.unsure)
        explanation.unsureWhy += (explanation.unsureWhy.empty() ? "" : "; ") + why;
    return explanation;
}

std::string ExplanationVerdict(const PatternExplanation& explanation)
{
    if (!explanation.compiles)
        return "Stops compiling at position " + std::to_string(explanation.errorPosition) + ": " +
               explanation.errorWords;
    std::string verdict = "Compiles · " + std::to_string(explanation.groups) +
                          (explanation.groups == 1 ? " group" : " groups");
    if (!explanation.warnings.empty())
        verdict += " · " + std::to_string(explanation.warnings.size()) +
                   (explanation.warnings.size() == 1 ? " warning" : " warnings");
    if (explanation.unsure)
        verdict += " · unsure";
    return verdict;
}

} // namespace tamarin
