// The library's main parsing loop, groups, repeats and alternatives
// (basic_regex_parser: parse, parse_all, parse_basic, parse_extended,
// parse_literal, parse_open_paren, parse_repeat, parse_repeat_range,
// parse_alt, unwind_alts), read into a tree.
#include "PatternParser.h"

#include <algorithm>
#include <limits>

namespace tamarin::pattern {

namespace {

unsigned FlagsFor(int syntaxIndex, bool caseSensitive)
{
    unsigned flags = 0;
    if (syntaxIndex == 1)
        flags = option::BasicGroup | option::Collate | option::NoEscapeInLists;
    else if (syntaxIndex == 2)
        flags = option::NoBkRefs | option::Collate | option::NoPerlEx | option::NoEscapeInLists;
    if (!caseSensitive)
        flags |= option::Icase;
    return flags;
}

// Characters that every one of the library's parsers takes as a literal of
// its own accord (as the engine's compiler reads a run of them at once).
bool TakenAsLiteral(Role role)
{
    switch (role) {
    case OpenMark: case CloseMark: case Escape: case Dot: case Caret: case Dollar: case Star:
    case Question: case Plus: case OpenBrace: case CloseBrace: case Or: case OpenSet: case Newline:
    case Hash:
        return false;
    default:
        return true;
    }
}

bool IsSeparator(char c)
{
    return c == '\n' || c == '\r' || c == '\f' || static_cast<unsigned char>(c) == 0x85;
}

} // namespace

int CaptureNameHash(const char* first, const char* last)
{
    std::size_t r = 0;
    for (; first != last; ++first)
        r ^= *first + 0x9e3779b9 + (r << 6) + (r >> 2);
    r %= static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(r) | (1 << (std::numeric_limits<int>::digits - 1));
}

Parser::Parser(std::string_view pattern, int syntaxIndex, bool caseSensitive)
    : chars_(Characters::Get()),
      base_(pattern.data()),
      end_(pattern.data() + pattern.size()),
      pos_(pattern.data()),
      flags_(FlagsFor(syntaxIndex, caseSensitive))
{
    baseFlags = flags_;
    for (int c = 0; c < 256; ++c)
        plain_[c] = TakenAsLiteral(chars_.RoleOf(static_cast<char>(c)));
    if (base_ == nullptr)
        base_ = end_ = pos_ = "";
}

void Parser::Fail(PatternError kind, std::ptrdiff_t position)
{
    error = kind;
    errorPosition = static_cast<std::size_t>(position < 0 ? 0 : position);
    throw Stop{};
}

void Parser::RewindTo(Role role)
{
    while (pos_ > base_ && RoleAt(pos_) != role)
        --pos_;
}

void Parser::FailAtParen(PatternError kind)
{
    --pos_;
    RewindTo(OpenMark);
    Fail(kind, pos_ - base_);
}

void Parser::Append(Item item, State state)
{
    item.options = item.options ? item.options : flags_;
    Frame& frame = Top();
    frame.sequence.push_back(std::move(item));
    frame.target = static_cast<int>(frame.sequence.size()) - 1;
    last_ = state;
    lastId_ = ++states_;
    afterPossessive_ = false;
}

void Parser::AppendState(State state)
{
    last_ = state;
    lastId_ = ++states_;
    afterPossessive_ = false;
}

void Parser::AddSilent(Item item)
{
    Top().sequence.push_back(std::move(item));
}

void Parser::AppendLiteralChar(const char* at, char c)
{
    Frame& frame = Top();
    if (last_ == State::Literal && frame.target >= 0 &&
        frame.target == static_cast<int>(frame.sequence.size()) - 1) {
        Item& run = frame.sequence.back();
        if (run.kind == ExplainKind::Literal && run.options == flags_) {
            if (run.text.size() < LiteralTextCap || FreeSpacing())
                run.text.push_back(c);
            ++run.count;
            run.end = Pos(at) + 1;
            return;
        }
    }
    Item item;
    item.kind = ExplainKind::Literal;
    item.begin = Pos(at);
    item.end = Pos(at) + 1;
    item.text.assign(1, c);
    item.count = 1;
    Append(std::move(item), State::Literal);
}

void Parser::OpenFrame(Item group)
{
    Frame frame;
    frame.contentBegin = Pos(pos_);
    frame.group = std::move(group);
    frame.group.options = flags_;
    frames_.push_back(std::move(frame));
}

// The group read, its alternatives under an Alternation when it has any.
Item Parser::CloseFrame(std::size_t end, bool closed)
{
    Frame frame = std::move(frames_.back());
    frames_.pop_back();
    Item group = std::move(frame.group);
    group.end = end;
    const std::size_t contentEnd = closed && end > frame.contentBegin && group.kind != ExplainKind::Pattern ? end - 1 : end;
    if (frame.bars.empty()) {
        group.children = std::move(frame.sequence);
        return group;
    }
    frame.alternatives.push_back(std::move(frame.sequence));
    Item alternation;
    alternation.kind = ExplainKind::Alternation;
    alternation.begin = frame.contentBegin;
    alternation.end = std::max(contentEnd, frame.bars.back() + 1);
    for (std::size_t i = 0; i < frame.alternatives.size(); ++i) {
        Item alternative;
        alternative.kind = ExplainKind::Alternative;
        alternative.begin = i == 0 ? frame.contentBegin : frame.bars[i - 1] + 1;
        alternative.end = i < frame.bars.size() ? frame.bars[i] : alternation.end;
        alternative.children = std::move(frame.alternatives[i]);
        alternation.children.push_back(std::move(alternative));
    }
    group.children.push_back(std::move(alternation));
    return group;
}

void Parser::FoldFrames()
{
    while (frames_.size() > 1) {
        Item group = CloseFrame(Pos(end_), false);
        Top().sequence.push_back(std::move(group));
    }
    if (!frames_.empty())
        root = CloseFrame(Pos(end_), false);
}

void Parser::Run()
{
    Item top;
    top.kind = ExplainKind::Pattern;
    OpenFrame(top);
    try {
        if (base_ == end_ && !IsPerl())
            Fail(PatternError::Empty, 0);
        if (IsPerl())
            AppendState(State::StartMark);  // the library's group 0, the target of (?R)
        const bool result = ParseAll();
        UnwindAlts(false);
        flags_ = baseFlags;
        if (!result)
            Fail(PatternError::Paren, pos_ - base_);
        if (maxBackref_ > static_cast<std::int64_t>(markCount))
            Fail(PatternError::BackReference, pos_ - base_);
        FoldFrames();
        CompilerChecks();
    } catch (const Stop&) {
        FoldFrames();
    }
}

bool Parser::ParseAll()
{
    if (++recursion_ > 400)
        Fail(PatternError::Complexity, pos_ - base_);
    bool result = true;
    while (result && pos_ != end_)
        result = IsPerl() ? ParseExtended() : ParseBasic();
    --recursion_;
    return result;
}

bool Parser::ParseBasic()
{
    switch (RoleAt(pos_)) {
    case Escape:
        return ParseBasicEscape();
    case Dot:
        return ParseMatchAny();
    case Caret:
    case Dollar: {
        Item anchor;
        anchor.kind = ExplainKind::Anchor;
        anchor.variant = *pos_;
        anchor.begin = Pos(pos_);
        anchor.end = Pos(++pos_);
        Append(std::move(anchor), anchor.variant == '^' ? State::StartLine : State::EndLine);
        return true;
    }
    case Star:
        if (last_ == State::None || last_ == State::StartLine)
            return ParseLiteral();
        ++pos_;
        return ParseRepeat();
    case OpenSet:
        return ParseSet();
    default:
        return ParseLiteral();
    }
}

bool Parser::ParseExtended()
{
    switch (RoleAt(pos_)) {
    case OpenMark:
        return ParseOpenParen();
    case CloseMark:
        return false;
    case Escape:
        return ParseExtendedEscape();
    case Dot:
        return ParseMatchAny();
    case Caret:
    case Dollar: {
        Item anchor;
        anchor.kind = ExplainKind::Anchor;
        anchor.variant = *pos_;
        anchor.begin = Pos(pos_);
        anchor.end = Pos(++pos_);
        const bool buffer = (flags_ & option::NoModM) != 0;
        const bool caret = anchor.variant == '^';
        Append(std::move(anchor), caret ? (buffer ? State::BufferStart : State::StartLine)
                                        : (buffer ? State::BufferEnd : State::EndLine));
        return true;
    }
    case Star:
    case Question:
    case Plus: {
        if (pos_ == base_)
            Fail(PatternError::BadRepeat, 0);
        const Role role = RoleAt(pos_++);
        return role == Star ? ParseRepeat() : role == Plus ? ParseRepeat(1) : ParseRepeat(0, 1);
    }
    case OpenBrace:
        ++pos_;
        return ParseRepeatRange(false);
    case CloseBrace:
        if ((flags_ & option::NoPerlEx) == option::NoPerlEx)
            Fail(PatternError::Brace, pos_ - base_);
        return ParseLiteral();
    case Or:
        return ParseAlt();
    case OpenSet:
        return ParseSet();
    case Hash:
        if ((flags_ & (option::NoPerlEx | option::ModX)) == option::ModX) {
            Item comment;
            comment.kind = ExplainKind::Comment;
            comment.variant = '#';
            comment.begin = Pos(pos_);
            while (pos_ != end_ && !IsSeparator(*pos_++)) {
            }
            comment.end = Pos(pos_);
            comment.text.assign(base_ + comment.begin + 1, pos_);
            AddSilent(std::move(comment));
            return true;
        }
        return ParseLiteral();
    default:
        return ParseLiteral();
    }
}

// As the library, one character; and then, as the engine's compiler, the run
// of plain characters after it at once (the same literal either way).
bool Parser::ParseLiteral()
{
    if (!FreeSpacing()) {
        const char* first = pos_;
        const char* last = first + 1;
        while (last != end_ && plain_[static_cast<unsigned char>(*last)])
            ++last;
        AppendLiteralChar(first, *first);
        if (last - first > 1) {
            // Outside free-spacing a run is the pattern's own characters: the
            // tree keeps its first ones and its length, not a copy of it all.
            Item& run = Top().sequence.back();
            const auto rest = static_cast<std::size_t>(last - (first + 1));
            if (run.text.size() < LiteralTextCap)
                run.text.append(first + 1, std::min(rest, LiteralTextCap - run.text.size()));
            run.count += rest;
            run.end = Pos(last);
        }
        pos_ = last;
        return true;
    }
    if (!chars_.IsSpace(*pos_))
        AppendLiteralChar(pos_, *pos_);
    ++pos_;
    return true;
}

bool Parser::ParseOpenParen()
{
    const char* open = pos_;
    if (++pos_ == end_)
        Fail(PatternError::Paren, pos_ - base_);
    if (PerlEx()) {
        if (RoleAt(pos_) == Question)
            return ParsePerlExtension();
        if (RoleAt(pos_) == Star)
            return ParsePerlVerb();
    }
    const unsigned markid = ++markCount;
    subs.emplace_back(Pos(pos_) - 1, 0);
    Item group;
    group.kind = ExplainKind::Group;
    group.number = markid;
    group.begin = IsPerl() ? Pos(open) : Pos(open) - 1;
    AppendState(State::StartMark);
    OpenFrame(std::move(group));
    const unsigned opts = flags_;
    const bool oldCaseChange = hasCaseChange_;
    hasCaseChange_ = false;
    const int markReset = markReset_;
    markReset_ = -1;
    ParseAll();
    UnwindAlts(true);
    if (hasCaseChange_)
        AppendState(State::Toggle);
    flags_ = opts;
    hasCaseChange_ = oldCaseChange;
    markReset_ = markReset;
    if (pos_ == end_)
        Fail(PatternError::Paren, end_ - base_);
    if (RoleAt(pos_) != CloseMark)
        return false;
    subs.at(markid - 1).second = Pos(pos_);
    ++pos_;
    Item closed = CloseFrame(Pos(pos_));
    Append(std::move(closed), State::EndMark);
    return true;
}

bool Parser::ParseMatchAny()
{
    // `.`, or the C of \C
    Item any;
    any.kind = ExplainKind::AnyCharacter;
    any.variant = *pos_;
    any.begin = any.variant == '.' ? Pos(pos_) : Pos(pos_) - 1;
    any.end = Pos(++pos_);
    Append(std::move(any), State::Wild);
    return true;
}

bool Parser::ParseRepeat(std::uint64_t low, std::uint64_t high)
{
    const char* quantifier = pos_ - 1;
    Greed greed = Greed::Greedy;
    if (pos_ != end_ && PerlEx()) {
        if (FreeSpacing())
            while (pos_ != end_ && chars_.IsSpace(*pos_))
                ++pos_;
        if (pos_ != end_ && RoleAt(pos_) == Question) {
            greed = Greed::Lazy;
            ++pos_;
        }
        if (pos_ != end_ && (flags_ & option::MainType) == 0 && RoleAt(pos_) == Plus) {
            greed = Greed::Possessive;
            ++pos_;
        }
    }
    if (last_ == State::None)
        Fail(PatternError::BadRepeat, pos_ - base_);
    switch (last_) {
    case State::StartLine: case State::EndLine: case State::WordBoundary: case State::WithinWord:
    case State::WordStart: case State::WordEnd: case State::BufferStart: case State::BufferEnd:
    case State::Alt: case State::SoftBufferEnd: case State::RestartContinue: case State::Jump:
    case State::StartMark: case State::Backstep: case State::Toggle:
        Fail(PatternError::BadRepeat, pos_ - base_);
    default:
        break;
    }
    if (afterPossessive_)
        unsure.push_back("a quantifier after a possessive one");
    Frame& frame = Top();
    if (frame.target < 0) {
        unsure.push_back("a quantifier whose operand was not read");
        return true;
    }
    // What the quantifier repeats: the last item read, or the last character of a run.
    auto at = frame.sequence.begin() + frame.target;
    Item repeated = std::move(*at);
    std::vector<Item> after(std::make_move_iterator(at + 1), std::make_move_iterator(frame.sequence.end()));
    frame.sequence.erase(at, frame.sequence.end());
    Item quant;
    quant.kind = ExplainKind::Quantifier;
    quant.number = static_cast<std::int64_t>(low);
    quant.max = high;
    quant.greed = greed;
    quant.text.assign(quantifier, pos_);
    if (repeated.kind == ExplainKind::Literal && repeated.count > 1) {
        Item lastChar;
        lastChar.kind = ExplainKind::Literal;
        lastChar.options = repeated.options;
        const bool whole = repeated.text.size() == repeated.count;
        lastChar.text.assign(1, whole ? repeated.text.back() : base_[repeated.end - 1]);
        lastChar.count = 1;
        lastChar.end = repeated.end;
        lastChar.begin = repeated.end - 1;
        if (whole)
            repeated.text.pop_back();
        repeated.count -= 1;
        repeated.end -= 1;
        frame.sequence.push_back(std::move(repeated));
        repeated = std::move(lastChar);
    } else if (repeated.kind == ExplainKind::Quoted && repeated.text.size() > 1) {
        quant.lastOnly = true;
    }
    quant.begin = repeated.begin;
    quant.children.push_back(std::move(repeated));
    for (Item& item : after)
        quant.children.push_back(std::move(item));
    quant.end = Pos(pos_);
    quant.options = flags_;
    frame.sequence.push_back(std::move(quant));
    frame.target = static_cast<int>(frame.sequence.size()) - 1;
    last_ = State::Jump;
    lastId_ = ++states_;
    if (greed != Greed::Possessive)
        return true;
    if (pos_ != end_) {
        bool again = false;
        do {
            if (FreeSpacing())
                while (pos_ != end_ && chars_.IsSpace(*pos_))
                    ++pos_;
            again = false;
            if (pos_ == end_)
                break;
            switch (RoleAt(pos_)) {
            case Star: case Plus: case Question: case OpenBrace:
                Fail(PatternError::BadRepeat, pos_ - base_);
            case OpenMark:
                if (pos_ + 2 < end_ && RoleAt(pos_ + 1) == Question && RoleAt(pos_ + 2) == Hash) {
                    Item comment;
                    comment.kind = ExplainKind::Comment;
                    comment.begin = Pos(pos_);
                    while (pos_ != end_ && RoleAt(pos_++) != CloseMark) {
                    }
                    comment.end = Pos(pos_);
                    comment.text.assign(base_ + comment.begin + 3, base_ + comment.end - (RoleAt(pos_ - 1) == CloseMark ? 1 : 0));
                    AddSilent(std::move(comment));
                    again = true;
                }
                break;
            default:
                break;
            }
        } while (again);
    }
    states_ += 2;
    last_ = State::EndMark;
    lastId_ = ++states_;
    afterPossessive_ = true;
    return true;
}

bool Parser::ParseRepeatRange(bool isBasic)
{
    const bool posix = (flags_ & (option::MainType | option::NoPerlEx)) != 0;
    // Not a repeat after all: the { is a literal (Perl), or an error (POSIX).
    auto literalBrace = [&]() {
        if (posix)
            Fail(PatternError::Brace, pos_ - base_);
        --pos_;
        while (RoleAt(pos_) != OpenBrace)
            --pos_;
        return ParseLiteral();
    };
    auto skipSpace = [&]() {
        while (pos_ != end_ && chars_.IsSpace(*pos_))
            ++pos_;
    };
    skipSpace();
    if (pos_ == end_)
        return literalBrace();
    std::intmax_t v = chars_.ToInt(pos_, end_, 10);
    if (v < 0)
        return literalBrace();
    skipSpace();
    if (pos_ == end_)
        return literalBrace();
    const auto low = static_cast<std::uint64_t>(v);
    std::uint64_t high = low;
    if (RoleAt(pos_) == Comma) {
        ++pos_;
        skipSpace();
        if (pos_ == end_)
            return literalBrace();
        v = chars_.ToInt(pos_, end_, 10);
        high = (v >= 0 && v < std::numeric_limits<std::intmax_t>::max()) ? static_cast<std::uint64_t>(v)
                                                                         : ~std::uint64_t{0};
    }
    skipSpace();
    if (pos_ == end_)
        return literalBrace();
    if (isBasic) {
        if (RoleAt(pos_) != Escape)
            Fail(PatternError::Brace, pos_ - base_);
        if (++pos_ == end_)
            Fail(PatternError::Brace, pos_ - base_);
    }
    if (RoleAt(pos_) != CloseBrace) {
        // In every syntax: the { is a literal after all.
        --pos_;
        while (RoleAt(pos_) != OpenBrace)
            --pos_;
        return ParseLiteral();
    }
    ++pos_;
    if (low > high) {
        pos_ -= 2;
        while (pos_ > base_ && chars_.IsWord(*pos_))
            --pos_;
        ++pos_;
        Fail(PatternError::BadBrace, pos_ - base_);
    }
    return ParseRepeat(low, high);
}

bool Parser::ParseAlt()
{
    if ((last_ == State::None || last_ == State::StartMark) && !IsPerl())
        Fail(PatternError::Empty, pos_ - base_);
    if (maxMark_ < markCount)
        maxMark_ = markCount;
    if (markReset_ >= 0)
        markCount = static_cast<unsigned>(markReset_);
    Frame& frame = Top();
    frame.bars.push_back(Pos(pos_));
    frame.alternatives.push_back(std::move(frame.sequence));
    frame.sequence.clear();
    frame.target = -1;
    frame.hasAlt = true;
    ++pos_;
    AppendState(State::Jump);
    ++states_;  // the alternative inserted before this one
    frame.altPoint = states_;
    if (hasCaseChange_)
        AppendState(State::Toggle);
    return true;
}

// The library's check at the end of a group (and of the pattern) that the
// last alternative is not empty, which it makes of the POSIX syntaxes only.
bool Parser::UnwindAlts(bool)
{
    const Frame& frame = Top();
    if (frame.hasAlt && frame.altPoint == states_ && !IsPerl())
        Fail(PatternError::Empty, pos_ - base_);
    return true;
}

int Parser::NameIndex(int hash) const
{
    for (const auto& [h, index] : names_)
        if (h == hash)
            return index;
    return -1;
}

} // namespace tamarin::pattern
