#include "PatternWords.h"

#include "CodePage.h"

#include <algorithm>
#include <cstdio>

namespace tamarin::pattern {

namespace {

// The words are UTF-8 (they are shown and read, never matched); the pattern's
// bytes are the code page's, so each one beyond ASCII is written as the
// character it stands for.
void AppendCharacter(std::string& words, char byte)
{
    const auto u = static_cast<unsigned char>(byte);
    if (u < 0x80) {
        words += byte;
        return;
    }
    const char16_t unit = codepage::ToUnicode(byte);
    if (unit < 0x800) {
        words += static_cast<char>(0xC0 | (unit >> 6));
    } else {
        words += static_cast<char>(0xE0 | (unit >> 12));
        words += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    }
    words += static_cast<char>(0x80 | (unit & 0x3F));
}

// `words` cut to at most `bytes` and an ellipsis, never within a character.
std::string Cut(const std::string& words, std::size_t bytes)
{
    if (words.size() <= bytes)
        return words;
    while (bytes > 0 && (static_cast<unsigned char>(words[bytes]) & 0xC0) == 0x80)
        --bytes;
    return words.substr(0, bytes) + "…";
}

constexpr std::size_t LongText = 60;  // longer texts are cut in the words

// `length`: the text's whole length, when `text` holds only its first characters.
std::string Quoted(const std::string& text, std::size_t length = 0)
{
    length = std::max(length, text.size());
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < LongText; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            shown += code;
        } else {
            AppendCharacter(shown, text[i]);
        }
    }
    if (length > LongText)
        return "\"" + shown + "…\" (" + std::to_string(length) + " characters)";
    return "\"" + shown + "\"";
}

std::string CaseNote(const Item& item)
{
    return (item.options & option::Icase) ? ", in either case" : "";
}

std::string ClassName(const std::string& name, bool negated)
{
    static const struct {
        const char* name;
        const char* words;
    } names[] = {
        {"alnum", "a letter or digit"}, {"alpha", "a letter"}, {"blank", "a space or tab"},
        {"cntrl", "a control character"}, {"d", "a digit"}, {"digit", "a digit"},
        {"graph", "a visible character"}, {"h", "a horizontal space"}, {"l", "a lower-case letter"},
        {"lower", "a lower-case letter"}, {"print", "a printable character"},
        {"punct", "a punctuation character"}, {"s", "a white-space character"},
        {"space", "a white-space character"}, {"u", "an upper-case letter"},
        {"upper", "an upper-case letter"}, {"v", "a vertical space"},
        {"w", "a word character (letter, digit or _)"}, {"word", "a word character (letter, digit or _)"},
        {"xdigit", "a hexadecimal digit"}, {"unicode", "a character above 255"},
    };
    std::string lower;
    for (char c : name)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    // \W is the class w negated: its letter is the class's in upper case.
    for (const auto& entry : names)
        if (lower == entry.name)
            return negated ? std::string("any character but ") + entry.words : entry.words;
    return (negated ? "any character not of the class " : "a character of the class ") + Quoted(name);
}

std::string Summary(const std::vector<ExplainNode>& children)
{
    if (children.empty())
        return "nothing (the empty text)";
    std::string words;
    for (const ExplainNode& child : children) {
        if (child.kind == ExplainKind::Comment)
            continue;
        if (!words.empty())
            words += ", then ";
        words += child.words;
        if (words.size() > 160)
            return Cut(words, 160);
    }
    return words.empty() ? "nothing (the empty text)" : words;
}

std::string Greed(const Item& q)
{
    switch (q.greed) {
    case Greed::Lazy: return "as few as possible";
    case Greed::Possessive: return "as many as possible, never giving any back";
    default: return "as many as possible";
    }
}

std::string Times(const Item& q)
{
    const std::uint64_t none = ~std::uint64_t{0};
    const auto low = static_cast<std::uint64_t>(q.number);
    if (low == 0 && q.max == none) return "zero or more times";
    if (low == 1 && q.max == none) return "one or more times";
    if (low == 0 && q.max == 1) return "optionally (zero times or once)";
    if (q.max == none) return std::to_string(low) + " or more times";
    if (low == q.max) return low == 1 ? "exactly once" : "exactly " + std::to_string(low) + " times";
    return "between " + std::to_string(low) + " and " + std::to_string(q.max) + " times";
}

std::string OptionNames(unsigned flags, bool on)
{
    std::string words;
    auto add = [&](unsigned bit, const char* what) {
        if (!(flags & bit))
            return;
        if (!words.empty())
            words += ", ";
        words += what;
    };
    add(option::Icase, on ? "case-insensitive" : "case-sensitive");
    add(option::ModX, on ? "free-spacing (white space and # comments ignored)" : "white space significant");
    add(option::ModS, ". matches line breaks too");
    add(option::NoModS, ". matches no line break");
    add(option::NoModM, "^ and $ only at the start and end of the text");
    return words;
}

std::string AnchorWords(const Item& item)
{
    const bool text = (item.options & option::NoModM) != 0;
    switch (item.variant) {
    case '^': return text ? "the start of the text" : "the start of a line";
    case '$': return text ? "the end of the text" : "the end of a line";
    case 'A': case '`': return "the start of the text";
    case 'z': case '\'': return "the end of the text";
    case 'Z': return "the end of the text, or before a line break that ends it";
    case 'G': return "where the previous match ended";
    default: return "a position";
    }
}

std::string VerbWords(char verb)
{
    switch (verb) {
    case 'F': return "(*FAIL): fails here, so the matcher backtracks";
    case 'A': return "(*ACCEPT): the match ends here, successfully";
    case 'C': return "(*COMMIT): if what follows fails, the whole search fails";
    case 'P': return "(*PRUNE): if what follows fails, no other way from this start is tried";
    case 'S': return "(*SKIP): if what follows fails, the search goes on from here";
    default: return "(*THEN): if what follows fails, the next alternative is tried";
    }
}

std::string BasicNote(const Item& item)
{
    static const char specials[] = "+?|(){}";
    std::string found;
    for (const char c : specials)
        if (c && item.text.find(c) != std::string::npos)
            found += found.empty() ? std::string(1, c) : std::string(" ") + c;
    return found.empty() ? "" : " (in POSIX Basic " + found + " stand for themselves; Perl and POSIX Extended read them as operators)";
}

std::string GroupName(const Item& item)
{
    return item.byName ? " " + Quoted(item.text) : "";
}

std::string Words(const Item& item, int syntax, const std::vector<ExplainNode>& children)
{
    switch (item.kind) {
    case ExplainKind::Pattern:
        return std::string("The pattern, in ") + (syntax == 1 ? "POSIX Basic" : syntax == 2 ? "POSIX Extended" : "Perl") +
               " syntax: " + Summary(children);
    case ExplainKind::Alternation:
        return "One of " + std::to_string(children.size()) + " alternatives";
    case ExplainKind::Alternative:
        return "Alternative: " + Summary(children);
    case ExplainKind::Literal:
        return "the text " + Quoted(item.text, item.count) + CaseNote(item) + (syntax == 1 ? BasicNote(item) : "");
    case ExplainKind::Escape:
        if (syntax == 1)
            return "the character " + CharacterWords(item.text[0]) + CaseNote(item) +
                   " (in POSIX Basic this escape stands for the character itself)";
        return "the character " + CharacterWords(item.text[0]) + CaseNote(item);
    case ExplainKind::Quoted:
        return "the text " + Quoted(item.text) + " exactly (quoted by \\Q...\\E)" + CaseNote(item);
    case ExplainKind::AnyCharacter:
        if (item.variant == 'C')
            return "any one character (\\C)";
        if (item.options & option::NoModS)
            return "any character but a line break";
        if (item.options & option::ModS)
            return "any character, line breaks too";
        return "any character";
    case ExplainKind::ClassEscape:
        return ClassName(item.variant == 'p' ? item.text : std::string(1, item.text[0]), item.negated);
    case ExplainKind::CharacterClass: {
        std::string words = item.negated ? "one character that is none of: " : "one character, any of: ";
        std::string list;
        for (const ExplainNode& child : children)
            list += (list.empty() ? "" : "; ") + child.words;
        words += list.empty() ? "nothing" : list;
        words = Cut(words, 200);
        if (syntax != 0 && item.text.empty()) {
            for (const Item& child : item.children)
                if (child.text.find('\\') != std::string::npos)
                    return words + " (in the POSIX syntaxes a backslash between brackets is a plain character)";
        }
        return words;
    }
    case ExplainKind::ClassItem:
        return "the character " + CharacterWords(item.text[0]) + (item.digraph ? " followed by " + CharacterWords(item.text[1]) : "");
    case ExplainKind::ClassRange:
        return "a character from " + CharacterWords(item.text.front()) + " to " + CharacterWords(item.text.back());
    case ExplainKind::NamedClass:
        return ClassName(item.text, item.negated);
    case ExplainKind::CollatingElement:
        return "the collating element " + Quoted(item.text);
    case ExplainKind::EquivalenceClass:
        return "a character that sorts as " + Quoted(item.text) + " does (an equivalence class)";
    case ExplainKind::Anchor:
        return AnchorWords(item);
    case ExplainKind::WordBoundary:
        switch (item.variant) {
        case 'B': return "a place that is not a word boundary";
        case '<': return "the start of a word";
        case '>': return "the end of a word";
        default: return "a word boundary";
        }
    case ExplainKind::Group:
        return "Group " + std::to_string(item.number) + GroupName(item) + ", capturing: " + Summary(children) +
               (syntax == 1 ? " (written \\( \\) in POSIX Basic)" : "");
    case ExplainKind::NonCapturing:
        return item.variant == '|' ? "Group, not capturing, each alternative numbering its groups from the same number: " + Summary(children)
                                   : "Group, not capturing: " + Summary(children);
    case ExplainKind::Atomic:
        return "Group, atomic (once matched, it gives no characters back): " + Summary(children);
    case ExplainKind::LookAhead:
        return (item.negated ? "Negative look-ahead: not followed by " : "Look-ahead: followed by ") + Summary(children);
    case ExplainKind::LookBehind:
        return (item.negated ? "Negative look-behind: not preceded by " : "Look-behind: preceded by ") + Summary(children);
    case ExplainKind::InlineOptions: {
        std::string change = OptionNames(item.optionsOn, true);
        const std::string off = OptionNames(item.optionsOff, false);
        if (!off.empty())
            change += (change.empty() ? "" : "; ") + off;
        if (change.empty())
            change = "no change";
        if (item.scoped)
            return "Options for this group (" + change + "): " + Summary(children);
        return "Options to the end of the enclosing group or pattern: " + change;
    }
    case ExplainKind::Comment:
        return "A comment, ignored: " + Quoted(item.text);
    case ExplainKind::Quantifier: {
        std::string words = Times(item) + " (" + Greed(item) + "): " + (children.empty() ? "" : children.front().words);
        if (item.lastOnly)
            words += " (its last character only)";
        return words;
    }
    case ExplainKind::BackReference:
        if (item.byName)
            return "the same text as group " + Quoted(item.text) + " matched";
        return "the same text as group " + std::to_string(item.number) + " matched" + CaseNote(item);
    case ExplainKind::Recursion:
        if (item.byName)
            return "the pattern of group " + Quoted(item.text) + " again, recursively";
        if (item.number == 0)
            return "the whole pattern again, recursively";
        return "the pattern of group " + std::to_string(item.number) + " again, recursively";
    case ExplainKind::Conditional:
        return "If the condition holds, the first alternative; else the second (or nothing)";
    case ExplainKind::Condition:
        switch (item.variant) {
        case 'R':
            return item.byName ? "Condition: inside a recursion into group " + Quoted(item.text)
                   : item.number > 0 ? "Condition: inside a recursion into group " + std::to_string(item.number)
                                     : "Condition: inside a recursion";
        case 'n': return "Condition: group " + Quoted(item.text) + " has matched";
        case 'D': return "Condition: never true (DEFINE: groups written only to be called by recursion)";
        default: return "Condition: group " + std::to_string(item.number) + " has matched";
        }
    case ExplainKind::KeepOut:
        return "\\K: the match reported starts here; what came before is kept out of it";
    case ExplainKind::LineEnding:
        return "a line break: \\r\\n, or one of \\n \\v \\f \\r and 0x85";
    case ExplainKind::Combining:
        return "one character and the marks that combine with it";
    case ExplainKind::Verb:
        return VerbWords(item.variant);
    }
    return {};
}

} // namespace

std::string CharacterWords(char c)
{
    switch (c) {
    case '\0': return "NUL (0x00)";
    case '\a': return "bell (0x07)";
    case '\b': return "backspace (0x08)";
    case '\t': return "tab";
    case '\n': return "line feed (\\n)";
    case '\v': return "vertical tab";
    case '\f': return "form feed";
    case '\r': return "carriage return (\\r)";
    case 27: return "escape (0x1B)";
    case ' ': return "space";
    default: break;
    }
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%02X", u);
        return code;
    }
    std::string quoted = "\"";
    AppendCharacter(quoted, c);
    return quoted + "\"";
}

ExplainNode ToNode(const Item& item, int syntaxIndex)
{
    ExplainNode node;
    node.kind = item.kind;
    node.begin = item.begin;
    node.end = item.end;
    node.group = item.kind == ExplainKind::Group ? static_cast<std::int32_t>(item.number) : 0;
    node.children.reserve(item.children.size());
    for (const Item& child : item.children)
        node.children.push_back(ToNode(child, syntaxIndex));
    node.words = Words(item, syntaxIndex, node.children);
    return node;
}

std::string ErrorWords(PatternError error)
{
    switch (error) {
    case PatternError::None: return "";
    case PatternError::Collate: return "an unknown collating element";
    case PatternError::ClassName: return "a class the library cannot take: an unknown class name, or a range whose ends are out of order";
    case PatternError::Escape: return "a bad or unfinished escape";
    case PatternError::BackReference: return "a back-reference to a group that does not exist";
    case PatternError::Bracket: return "a [ is never closed";
    case PatternError::Paren: return "a ( is never closed, or a ) was never opened";
    case PatternError::Brace: return "a { is never closed, or a } was never opened";
    case PatternError::BadBrace: return "the counts between { } are not valid";
    case PatternError::Range: return "a range in a class that is not valid";
    case PatternError::BadRepeat: return "a quantifier with nothing it may repeat";
    case PatternError::Complexity: return "groups nested too deeply";
    case PatternError::Empty: return "an empty pattern or alternative, where this syntax allows none";
    case PatternError::PerlExtension: return "a (? or (* construct that is not valid";
    case PatternError::BadPattern: return "a reference to a group that does not exist, or a look-behind without a fixed width";
    case PatternError::Other: return "the library rejects it";
    }
    return "";
}

} // namespace tamarin::pattern
