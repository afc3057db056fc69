// What the library's compiler checks once its parser is done
// (basic_regex_creator: fixup_recursions, and the width of every look-behind,
// calculate_backstep). Each failure is error_bad_pattern at position 0.
#include "PatternParser.h"

#include <climits>

namespace tamarin::pattern {

namespace {

constexpr std::int64_t NotFixed = -1;

std::int64_t Width(const Item& item);

std::int64_t SequenceWidth(const std::vector<Item>& items)
{
    std::int64_t sum = 0;
    for (const Item& item : items) {
        const std::int64_t w = Width(item);
        if (w < 0)
            return NotFixed;
        sum += w;
        if (sum > INT_MAX)
            return NotFixed;
    }
    return sum;
}

// A state the compiler can repeat a fixed number of times inside a look-behind.
bool SingleState(const Item& item)
{
    switch (item.kind) {
    case ExplainKind::Literal:
    case ExplainKind::Escape:
    case ExplainKind::AnyCharacter:
    case ExplainKind::ClassEscape:
        return true;
    case ExplainKind::CharacterClass:
        return !item.digraph;
    default:
        return false;
    }
}

// The number of characters a construct always matches; NotFixed when it can
// match different numbers (as the compiler reckons, which is stricter).
std::int64_t Width(const Item& item)
{
    switch (item.kind) {
    case ExplainKind::Literal:
        return static_cast<std::int64_t>(item.count);
    case ExplainKind::Escape:
    case ExplainKind::Quoted:
        return static_cast<std::int64_t>(item.text.size());
    case ExplainKind::AnyCharacter:
    case ExplainKind::ClassEscape:
        return 1;
    case ExplainKind::CharacterClass:
        return item.digraph ? NotFixed : 1;
    case ExplainKind::BackReference:
    case ExplainKind::Combining:
    case ExplainKind::LineEnding:
        return NotFixed;
    case ExplainKind::LookAhead:
    case ExplainKind::LookBehind:
        return 0;
    case ExplainKind::Quantifier: {
        const Item& child = item.children.front();
        std::int64_t prefix = 0;
        if (item.lastOnly)
            prefix = static_cast<std::int64_t>(child.text.size()) - 1;
        else if (!SingleState(child))
            return NotFixed;
        if (item.max != static_cast<std::uint64_t>(item.number))
            return NotFixed;
        if (item.number > INT_MAX)
            return NotFixed;
        return prefix + item.number;
    }
    case ExplainKind::Alternation: {
        std::int64_t width = NotFixed;
        for (std::size_t i = 0; i < item.children.size(); ++i) {
            const std::int64_t w = SequenceWidth(item.children[i].children);
            if (w < 0 || (i > 0 && w != width))
                return NotFixed;
            width = w;
        }
        return width;
    }
    case ExplainKind::Conditional: {
        // Without a second branch the compiler adds an empty one.
        if (!item.children.empty() && item.children.front().kind == ExplainKind::Alternation)
            return Width(item.children.front());
        const std::int64_t yes = SequenceWidth(item.children);
        return yes == 0 ? 0 : NotFixed;
    }
    case ExplainKind::Group:
    case ExplainKind::NonCapturing:
    case ExplainKind::Atomic:
    case ExplainKind::InlineOptions:
    case ExplainKind::Pattern:
    case ExplainKind::Alternative:
        return SequenceWidth(item.children);
    default:
        return 0;
    }
}

bool EveryLookBehindFixed(const Item& item)
{
    if (item.kind == ExplainKind::LookBehind && SequenceWidth(item.children) < 0)
        return false;
    for (const Item& child : item.children)
        if (!EveryLookBehindFixed(child))
            return false;
    return true;
}

// How far the compiler's first-character scan gets through `items` from their
// start: to `recursion` (or to anything it cannot be sure of), or past a
// character it must read, or through them all without reading one.
enum class Reach { Recursion, Consumed, Through };

Reach Scan(const std::vector<Item>& items, const Item* recursion);

Reach ScanItem(const Item& item, const Item* recursion)
{
    switch (item.kind) {
    case ExplainKind::Recursion:
        return Reach::Recursion;  // this one or another: the scan follows either
    case ExplainKind::Literal:
    case ExplainKind::Escape:
    case ExplainKind::AnyCharacter:
    case ExplainKind::ClassEscape:
    case ExplainKind::CharacterClass:
    case ExplainKind::LineEnding:
        return Reach::Consumed;
    case ExplainKind::Quoted:
        return item.text.empty() ? Reach::Through : Reach::Consumed;
    case ExplainKind::BackReference:
    case ExplainKind::Combining:
    case ExplainKind::Verb:
    case ExplainKind::Conditional:
    case ExplainKind::LookAhead:
    case ExplainKind::LookBehind:
        return Reach::Recursion;  // not followed here: taken as the worst
    case ExplainKind::Quantifier: {
        const Reach inner = Scan(item.children, recursion);
        if (inner == Reach::Recursion)
            return inner;
        return inner == Reach::Consumed && item.number >= 1 ? Reach::Consumed : Reach::Through;
    }
    case ExplainKind::Alternation: {
        bool allConsumed = true;
        for (const Item& alternative : item.children) {
            const Reach reach = Scan(alternative.children, recursion);
            if (reach == Reach::Recursion)
                return reach;
            allConsumed = allConsumed && reach == Reach::Consumed;
        }
        return allConsumed ? Reach::Consumed : Reach::Through;
    }
    case ExplainKind::Group:
    case ExplainKind::NonCapturing:
    case ExplainKind::Atomic:
    case ExplainKind::InlineOptions:
    case ExplainKind::Alternative:
        return Scan(item.children, recursion);
    default:
        return Reach::Through;  // zero-width: anchors, boundaries, \K, comments
    }
}

Reach Scan(const std::vector<Item>& items, const Item* recursion)
{
    for (const Item& item : items) {
        const Reach reach = ScanItem(item, recursion);
        if (reach != Reach::Through)
            return reach;
    }
    return Reach::Through;
}

const Item* GroupNumbered(const Item& item, std::int64_t number)
{
    if (item.kind == ExplainKind::Group && item.number == number)
        return &item;
    for (const Item& child : item.children)
        if (const Item* found = GroupNumbered(child, number))
            return found;
    return nullptr;
}

void Recursions(const Item& item, std::vector<const Item*>& found)
{
    if (item.kind == ExplainKind::Recursion)
        found.push_back(&item);
    for (const Item& child : item.children)
        Recursions(child, found);
}

} // namespace

void Parser::CompilerChecks()
{
    for (const Recursion& r : recursions) {
        const std::int64_t index = r.byName ? NameIndex(static_cast<int>(r.target)) : r.target;
        if (index < 0 || index > static_cast<std::int64_t>(markCount)) {
            errorDetail = "a recursion into a group that does not exist";
            Fail(PatternError::BadPattern, 0);
        }
    }
    // The compiler looks the names of (?(R&name) up only in a pattern that recurses.
    if (!recursions.empty())
        for (const int hash : namedConditions)
            if (NameIndex(hash) <= 0) {
                errorDetail = "a condition on a recursion into a group name that does not exist";
                Fail(PatternError::BadPattern, 0);
            }
    if (!EveryLookBehindFixed(root)) {
        errorDetail = "a look-behind that can match texts of different lengths";
        Fail(PatternError::BadPattern, 0);
    }
    // The compiler rejects a recursion that can come back to itself without
    // reading a character. Sure only of a recursion whose target must read
    // one before anything else can happen.
    std::vector<const Item*> found;
    Recursions(root, found);
    for (const Item* recursion : found) {
        const std::int64_t index = recursion->byName ? NameIndex(static_cast<int>(recursion->number)) : recursion->number;
        const Item* target = index == 0 ? &root : GroupNumbered(root, index);
        if (!target || Scan(target->children, recursion) != Reach::Consumed) {
            unsure.push_back("a recursion that may come back to itself before reading a character");
            break;
        }
    }
}

} // namespace tamarin::pattern
