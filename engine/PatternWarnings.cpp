#include "PatternWarnings.h"

#include "PatternWords.h"

#include <set>

namespace tamarin::pattern {

namespace {

constexpr std::uint64_t Unbounded = ~std::uint64_t{0};

bool Repeats(const Item& q)
{
    return q.kind == ExplainKind::Quantifier && q.max > 1;
}

// A repeat inside `item` that can take a varying number of rounds, where
// backtracking can try every way of sharing the text between the two.
const Item* InnerRepeat(const Item& item)
{
    for (const Item& child : item.children) {
        if (child.kind == ExplainKind::Atomic || child.kind == ExplainKind::LookAhead ||
            child.kind == ExplainKind::LookBehind)
            continue;
        if (child.kind == ExplainKind::Quantifier && child.greed != Greed::Possessive &&
            child.max > static_cast<std::uint64_t>(child.number))
            return &child;
        if (const Item* inner = InnerRepeat(child))
            return inner;
    }
    return nullptr;
}

// Two alternatives of one alternation that can start with the same character.
const Item* OverlappingAlternation(const Item& item, std::string_view pattern)
{
    for (const Item& child : item.children) {
        if (child.kind == ExplainKind::Alternation) {
            std::set<std::string_view> seen;
            std::set<char> firsts;
            for (const Item& alternative : child.children) {
                const auto text = pattern.substr(alternative.begin, alternative.end - alternative.begin);
                if (!seen.insert(text).second)
                    return &child;
                if (!alternative.children.empty() && alternative.children.front().kind == ExplainKind::Literal &&
                    !firsts.insert(alternative.children.front().text.front()).second)
                    return &child;
            }
        }
        if (child.kind == ExplainKind::Group || child.kind == ExplainKind::NonCapturing)
            if (const Item* inner = OverlappingAlternation(child, pattern))
                return inner;
    }
    return nullptr;
}

void Add(std::vector<ExplainWarning>& warnings, const Item& item, std::string words)
{
    warnings.push_back({item.begin, item.end, std::move(words)});
}

void CheckClass(const Item& set, std::vector<ExplainWarning>& warnings)
{
    std::set<std::pair<ExplainKind, std::string>> seen;
    for (const Item& child : set.children) {
        if (child.kind == ExplainKind::ClassRange && child.text.size() == 3 &&
            static_cast<unsigned char>(child.text.front()) > static_cast<unsigned char>(child.text.back()))
            Add(warnings, child, "The range " + CharacterWords(child.text.front()) + " to " +
                                     CharacterWords(child.text.back()) +
                                     " runs backwards in character codes; the library orders it by the code page's collation");
        if (child.kind == ExplainKind::ClassRange && child.text.size() == 3 && child.text.front() >= 'A' &&
            child.text.front() <= 'Z' && child.text.back() >= 'a' && child.text.back() <= 'z')
            Add(warnings, child, "The range from an upper-case to a lower-case letter also takes the characters "
                                 "between the two alphabets: [ \\ ] ^ _ and `");
        if (!seen.insert({child.kind, child.text}).second)
            Add(warnings, child, "This item is already in the class");
    }
}

void Walk(const Item& item, std::string_view pattern, std::vector<ExplainWarning>& warnings)
{
    if (Repeats(item) && item.greed != Greed::Possessive && !item.children.empty()) {
        const Item& operand = item.children.front();
        // An atomic group gives nothing back: no sharing to try inside it.
        const bool atomic = operand.kind == ExplainKind::Atomic;
        if (const Item* inner = atomic ? nullptr : InnerRepeat(operand); inner && (item.max == Unbounded || item.max > 2))
            Add(warnings, item, "A repeat inside a repeat: when the rest fails, the matcher may try every way of "
                                "sharing the text between them, which takes very long");
        else if (const Item* overlap = OverlappingAlternation(operand, pattern))
            Add(warnings, *overlap, "Alternatives that can match the same text, repeated: the matcher may try "
                                    "every combination of them, which takes very long");
        if (operand.kind == ExplainKind::Group)
            Add(warnings, item, "Group " + std::to_string(operand.number) +
                                    " is repeated: it keeps only the text of its last round");
    }
    if (item.kind == ExplainKind::Alternative) {
        bool empty = true;
        for (const Item& child : item.children)
            empty = empty && child.kind == ExplainKind::Comment;
        if (empty)
            Add(warnings, item, "An empty alternative: the alternation also matches the empty text");
    }
    if (item.kind == ExplainKind::CharacterClass)
        CheckClass(item, warnings);
    for (const Item& child : item.children)
        Walk(child, pattern, warnings);
}

} // namespace

std::vector<ExplainWarning> FindWarnings(const Item& root, std::string_view pattern)
{
    std::vector<ExplainWarning> warnings;
    Walk(root, pattern, warnings);
    return warnings;
}

} // namespace tamarin::pattern
