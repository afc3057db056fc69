// Escapes, back-references and \Q...\E as the library reads them
// (basic_regex_parser: parse_basic_escape, parse_extended_escape,
// unescape_character, parse_backref, parse_QE).
#include "PatternParser.h"

#include <algorithm>
#include <limits>

namespace tamarin::pattern {

namespace {

Item Escaped(ExplainKind kind, std::size_t begin, std::size_t end, char variant)
{
    Item item;
    item.kind = kind;
    item.begin = begin;
    item.end = end;
    item.variant = variant;
    return item;
}

} // namespace

bool Parser::ParseBasicEscape()
{
    const char* backslash = pos_;
    if (++pos_ == end_)
        Fail(PatternError::Paren, pos_ - base_);
    switch (RoleAt(pos_)) {
    case OpenMark:
        return ParseOpenParen();
    case CloseMark:
        return false;
    case OpenBrace:
        ++pos_;
        return ParseRepeatRange(true);
    case CloseBrace:
        Fail(PatternError::Brace, pos_ - base_);
    case Digit:
        return ParseBackref();
    default: {
        // Every other escaped character stands for itself.
        Item item = Escaped(ExplainKind::Escape, Pos(backslash), Pos(pos_) + 1, *pos_);
        item.text.assign(1, *pos_);
        ++pos_;
        Append(std::move(item), State::Literal);
        return true;
    }
    }
}

bool Parser::ParseExtendedEscape()
{
    const char* backslash = pos_;
    ++pos_;
    if (pos_ == end_)
        Fail(PatternError::Escape, pos_ - base_);
    bool negate = false;
    // A letter that may name a class (\w \d \s ...); else the letter itself.
    auto classOrLetter = [&]() {
        if (chars_.IsClassName(pos_, pos_ + 1)) {
            Item item = Escaped(ExplainKind::ClassEscape, Pos(backslash), Pos(pos_) + 1, *pos_);
            item.negated = negate;
            item.text.assign(1, *pos_);
            ++pos_;
            Append(std::move(item), State::Set);
            return true;
        }
        const char c = UnescapeCharacter();
        Item item = Escaped(ExplainKind::Escape, Pos(backslash), Pos(pos_), c);
        item.text.assign(1, c);
        Append(std::move(item), State::Literal);
        return true;
    };
    auto zeroWidth = [&](ExplainKind kind, State state) {
        Item item = Escaped(kind, Pos(backslash), Pos(pos_) + 1, *pos_);
        ++pos_;
        Append(std::move(item), state);
        return true;
    };
    switch (RoleAt(pos_)) {
    case NotClass:
        negate = true;
        return classOrLetter();
    case Class:
        return classOrLetter();
    case Digit:
        return ParseBackref();
    case LeftWord: return zeroWidth(ExplainKind::WordBoundary, State::WordStart);
    case RightWord: return zeroWidth(ExplainKind::WordBoundary, State::WordEnd);
    case StartBuffer: return zeroWidth(ExplainKind::Anchor, State::BufferStart);
    case EndBuffer: return zeroWidth(ExplainKind::Anchor, State::BufferEnd);
    case WordAssert: return zeroWidth(ExplainKind::WordBoundary, State::WordBoundary);
    case NotWordAssert: return zeroWidth(ExplainKind::WordBoundary, State::WithinWord);
    case SoftEnd: return zeroWidth(ExplainKind::Anchor, State::SoftBufferEnd);
    case StartQuote:
        return ParseQE();
    case OneByte:
        return ParseMatchAny();
    case Combining: return zeroWidth(ExplainKind::Combining, State::Combining);
    case Continue: return zeroWidth(ExplainKind::Anchor, State::RestartContinue);
    case NotProperty:
        negate = true;
        [[fallthrough]];
    case Property: {
        ++pos_;
        if (pos_ == end_)
            Fail(PatternError::Escape, pos_ - base_);
        bool found = false;
        const char* nameFirst = pos_;
        const char* nameLast = pos_ + 1;
        if (RoleAt(pos_) == OpenBrace) {
            while (pos_ != end_ && RoleAt(pos_) != CloseBrace)
                ++pos_;
            if (pos_ == end_)
                Fail(PatternError::Escape, pos_ - base_);
            nameFirst = nameFirst + 1;
            nameLast = pos_++;
        } else {
            ++pos_;
        }
        found = chars_.IsClassName(nameFirst, nameLast);
        if (!found)
            Fail(PatternError::ClassName, pos_ - base_);
        Item item = Escaped(ExplainKind::ClassEscape, Pos(backslash), Pos(pos_), 'p');
        item.negated = negate;
        item.text.assign(nameFirst, nameLast);
        Append(std::move(item), State::Set);
        return true;
    }
    case ResetStart:
        if (PerlEx()) {
            Item item = Escaped(ExplainKind::KeepOut, Pos(backslash), Pos(pos_) + 1, 'K');
            ++pos_;
            Append(std::move(item), State::StartMark);
            return true;
        }
        return classOrLetter();
    case LineEnding:
        if (PerlEx()) {
            // The library reads \R as (?>\x0D\x0A?|[\x0A-\x0C\x85]): a group just closed.
            Item item = Escaped(ExplainKind::LineEnding, Pos(backslash), Pos(pos_) + 1, 'R');
            ++pos_;
            states_ += 8;
            Append(std::move(item), State::EndMark);
            return true;
        }
        return classOrLetter();
    case ExtendedBackref:
        if (PerlEx()) {
            const char letter = *pos_;
            bool haveBrace = false;
            if (++pos_ == end_)
                Fail(PatternError::Escape, pos_ - base_);
            const Role syn = RoleAt(pos_);
            Role synEnd = Char;
            if (syn == OpenBrace || syn == LeftWord || syn == EndBuffer) {
                if (++pos_ == end_)
                    Fail(PatternError::Escape, pos_ - base_);
                haveBrace = true;
                synEnd = syn == OpenBrace ? CloseBrace : syn == LeftWord ? RightWord : EndBuffer;
            }
            const bool negative = *pos_ == '-';
            if (negative && ++pos_ == end_)
                Fail(PatternError::Escape, pos_ - base_);
            const char* pc = pos_;
            std::intmax_t i = chars_.ToInt(pc, end_, 10);
            bool byName = false;
            std::string name;
            if (i < 0 && synEnd != Char) {
                const char* nameBase = pos_;
                while (pos_ != end_ && RoleAt(pos_) != synEnd)
                    ++pos_;
                i = CaptureNameHash(nameBase, pos_);
                name.assign(nameBase, pos_);
                pc = pos_;
                byName = true;
            }
            if (negative)
                i = 1 + (static_cast<std::intmax_t>(markCount) - i);
            constexpr std::intmax_t hashMask = 1 << (std::numeric_limits<int>::digits - 1);
            if ((i < hashMask && i > 0) || (i >= hashMask && NameIndex(static_cast<int>(i)) > 0)) {
                if (i > maxBackref_ && i < hashMask)
                    maxBackref_ = i;
            } else {
                Fail(PatternError::BackReference, pos_ - base_);
            }
            pos_ = pc;
            if (haveBrace) {
                if (pos_ == end_ || RoleAt(pos_) != synEnd)
                    Fail(PatternError::Escape, pos_ - base_);
                ++pos_;
            }
            Item item = Escaped(ExplainKind::BackReference, Pos(backslash), Pos(pos_), letter);
            item.byName = byName;
            item.negated = negative;
            item.text = name;
            item.number = byName ? NameIndex(static_cast<int>(i)) : static_cast<std::int64_t>(i);
            Append(std::move(item), State::Backref);
            return true;
        }
        return classOrLetter();
    case ControlV:
        if (PerlEx())
            return classOrLetter();
        [[fallthrough]];
    default: {
        const char c = UnescapeCharacter();
        Item item = Escaped(ExplainKind::Escape, Pos(backslash), Pos(pos_), c);
        item.text.assign(1, c);
        Append(std::move(item), State::Literal);
        return true;
    }
    }
}

// The character an escape stands for; the position is on the character after
// the backslash, and ends after the escape.
char Parser::UnescapeCharacter()
{
    if (pos_ == end_)
        Fail(PatternError::Escape, pos_ - base_);
    auto failAtEscape = [&](PatternError kind) {
        --pos_;
        RewindTo(Escape);
        Fail(kind, pos_ - base_);
    };
    char result = 0;
    switch (RoleAt(pos_)) {
    case ControlA: result = '\a'; break;
    case E: result = 27; break;
    case ControlF: result = '\f'; break;
    case ControlN: result = '\n'; break;
    case ControlR: result = '\r'; break;
    case ControlT: result = '\t'; break;
    case ControlV: result = '\v'; break;
    case WordAssert: result = '\b'; break;
    case AsciiControl:
        ++pos_;
        if (pos_ == end_)
            failAtEscape(PatternError::Escape);
        result = static_cast<char>(*pos_ % 32);
        break;
    case Hex:
        ++pos_;
        if (pos_ == end_)
            failAtEscape(PatternError::Escape);
        if (RoleAt(pos_) == OpenBrace) {
            ++pos_;
            if (pos_ == end_)
                failAtEscape(PatternError::Escape);
            const std::intmax_t i = chars_.ToInt(pos_, end_, 16);
            if (pos_ == end_ || i < 0 || i > std::numeric_limits<char>::max() || RoleAt(pos_) != CloseBrace)
                failAtEscape(PatternError::BadBrace);
            ++pos_;
            return static_cast<char>(i);
        } else {
            const std::ptrdiff_t len = std::min<std::ptrdiff_t>(2, end_ - pos_);
            const std::intmax_t i = chars_.ToInt(pos_, pos_ + len, 16);
            if (i < 0 || (i >> 8) != 0)
                failAtEscape(PatternError::Escape);
            return static_cast<char>(i);
        }
    case Digit: {
        const std::ptrdiff_t len = std::min<std::ptrdiff_t>(end_ - pos_, 4);
        const char* bp = pos_;
        std::intmax_t val = chars_.ToInt(bp, bp + 1, 8);
        if (val != 0)
            failAtEscape(PatternError::Escape);
        val = chars_.ToInt(pos_, pos_ + len, 8);
        if (val < 0 || val > std::numeric_limits<char>::max())
            failAtEscape(PatternError::Escape);
        return static_cast<char>(val);
    }
    case NamedChar: {
        ++pos_;
        if (pos_ == end_)
            failAtEscape(PatternError::Escape);
        if (RoleAt(pos_) == OpenBrace) {
            const char* nameBase = pos_;
            while (pos_ != end_ && RoleAt(pos_) != CloseBrace)
                ++pos_;
            if (pos_ == end_)
                failAtEscape(PatternError::Escape);
            const std::string s = chars_.CollateName(nameBase + 1, pos_++);
            if (s.empty())
                failAtEscape(PatternError::Collate);
            if (s.size() == 1)
                return s[0];
        }
        failAtEscape(PatternError::Escape);
        return 0;
    }
    default:
        result = *pos_;
        break;
    }
    ++pos_;
    return result;
}

bool Parser::ParseBackref()
{
    const char* backslash = pos_ - 1;
    const char* pc = pos_;
    const std::intmax_t i = chars_.ToInt(pc, pc + 1, 10);
    if (i == 0 || (IsPerl() && (flags_ & option::NoBkRefs))) {
        // Not a back-reference but an octal escape.
        const char c = UnescapeCharacter();
        Item item;
        item.kind = ExplainKind::Escape;
        item.begin = Pos(backslash);
        item.end = Pos(pos_);
        item.variant = '0';
        item.text.assign(1, c);
        Append(std::move(item), State::Literal);
        return true;
    }
    if (i > 0) {
        pos_ = pc;
        if (i > maxBackref_)
            maxBackref_ = i;
        Item item;
        item.kind = ExplainKind::BackReference;
        item.begin = Pos(backslash);
        item.end = Pos(pos_);
        item.number = i;
        Append(std::move(item), State::Backref);
        return true;
    }
    --pos_;
    RewindTo(Escape);
    Fail(PatternError::BackReference, pos_ - base_);
}

bool Parser::ParseQE()
{
    const char* backslash = pos_ - 1;
    ++pos_;  // the Q
    const char* start = pos_;
    const char* stop = nullptr;
    while (true) {
        while (pos_ != end_ && RoleAt(pos_) != Escape)
            ++pos_;
        if (pos_ == end_) {
            stop = pos_;  // \Q may run to the end of the pattern
            break;
        }
        if (++pos_ == end_)
            Fail(PatternError::Escape, pos_ - base_);
        if (RoleAt(pos_) == EndQuote) {
            ++pos_;
            stop = pos_ - 2;
            break;
        }
    }
    Item item;
    item.kind = ExplainKind::Quoted;
    item.begin = Pos(backslash);
    item.end = Pos(pos_);
    item.text.assign(start, stop);
    if (item.text.empty())
        AddSilent(std::move(item));
    else
        Append(std::move(item), State::Literal);
    return true;
}

} // namespace tamarin::pattern
