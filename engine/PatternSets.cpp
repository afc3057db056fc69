// Character classes as the library reads them (basic_regex_parser: parse_set,
// parse_inner_set, parse_set_literal, get_next_set_literal), and the checks
// its compiler makes when it stores one (basic_regex_creator::append_set).
#include "PatternParser.h"

namespace tamarin::pattern {

namespace {

struct SetContents {
    std::vector<std::pair<Digraph, Digraph>> ranges;
    std::vector<Digraph> equivalents;
    bool digraphs = false;
};

thread_local SetContents* contents = nullptr;

Item SetItem(ExplainKind kind, std::size_t begin, std::size_t end)
{
    Item item;
    item.kind = kind;
    item.begin = begin;
    item.end = end;
    return item;
}

std::string Text(Digraph d)
{
    std::string s(1, d.first);
    if (d.second)
        s.push_back(d.second);
    return s;
}

} // namespace

bool Parser::ParseSet()
{
    const char* open = pos_;
    ++pos_;
    if (pos_ == end_)
        Fail(PatternError::Bracket, pos_ - base_);
    SetContents local;
    SetContents* const outer = contents;
    contents = &local;
    struct Restore {
        SetContents* outer;
        ~Restore() { contents = outer; }
    } restore{outer};
    Item set = SetItem(ExplainKind::CharacterClass, Pos(open), Pos(open));
    std::vector<Digraph> singles;
    const char* const first = pos_;
    const char* itemBase = pos_;
    while (pos_ != end_) {
        switch (RoleAt(pos_)) {
        case Caret:
            if (pos_ == first) {
                set.negated = true;
                ++pos_;
                itemBase = pos_;
            } else {
                ParseSetLiteral(set, singles);
            }
            break;
        case CloseSet:
            if (pos_ == itemBase) {
                ParseSetLiteral(set, singles);
                break;
            }
            ++pos_;
            {
                const bool collate = (flags_ & option::Collate) != 0;
                const bool icase = (flags_ & option::Icase) != 0;
                for (const auto& [from, to] : local.ranges)
                    if (!chars_.RangeAccepted(from, to, collate, icase, local.digraphs))
                        Fail(PatternError::ClassName, pos_ - base_);
                for (const Digraph& d : local.equivalents)
                    if (!chars_.EquivalenceAccepted(d, local.digraphs))
                        Fail(PatternError::ClassName, pos_ - base_);
            }
            set.end = Pos(pos_);
            set.digraph = local.digraphs;
            Append(std::move(set), State::Set);
            return true;
        case OpenSet:
            if (ParseInnerSet(set, singles))
                break;
            return true;
        case Escape: {
            // \w \d \s and their negations are classes here too.
            const char* backslash = pos_;
            ++pos_;
            const Role role = RoleAt(pos_);
            if ((role == Class || role == NotClass) && chars_.IsClassName(pos_, pos_ + 1)) {
                Item item = SetItem(ExplainKind::NamedClass, Pos(backslash), Pos(pos_) + 1);
                item.text.assign(1, *pos_);
                item.negated = role == NotClass;
                item.variant = '\\';
                set.children.push_back(std::move(item));
                ++pos_;
                break;
            }
            --pos_;
            ParseSetLiteral(set, singles);
            break;
        }
        default:
            ParseSetLiteral(set, singles);
            break;
        }
    }
    // No closing ]: the library stops reading here, and the caller reports it.
    set.end = Pos(pos_);
    AddSilent(std::move(set));
    return false;
}

bool Parser::ParseInnerSet(Item& set, std::vector<Digraph>& singles)
{
    const char* open = pos_;
    if (end_ == ++pos_)
        Fail(PatternError::Bracket, pos_ - base_);
    switch (RoleAt(pos_)) {
    case Dot:
        --pos_;
        ParseSetLiteral(set, singles);
        return true;
    case Colon: {
        if (end_ == ++pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        const char* nameFirst = pos_;
        if (end_ == ++pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        while (pos_ != end_ && RoleAt(pos_) != Colon)
            ++pos_;
        const char* nameLast = pos_;
        if (end_ == pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        if (end_ == ++pos_ || RoleAt(pos_) != CloseSet)
            Fail(PatternError::Bracket, pos_ - base_);
        bool negated = false;
        if (RoleAt(nameFirst) == Caret) {
            ++nameFirst;
            negated = true;
        }
        if (!chars_.IsClassName(nameFirst, nameLast)) {
            if (set.children.empty() && nameLast - nameFirst == 1) {
                ++pos_;
                if (pos_ != end_ && RoleAt(pos_) == CloseSet) {
                    const Role role = RoleAt(nameFirst);
                    if (role == LeftWord || role == RightWord) {
                        // [[:<:]] and [[:>:]]: the start and the end of a word.
                        ++pos_;
                        Item item = SetItem(ExplainKind::WordBoundary, set.begin, Pos(pos_));
                        item.variant = role == LeftWord ? '<' : '>';
                        Append(std::move(item), role == LeftWord ? State::WordStart : State::WordEnd);
                        return false;
                    }
                }
            }
            Fail(PatternError::ClassName, nameFirst - base_);
        }
        ++pos_;
        Item item = SetItem(ExplainKind::NamedClass, Pos(open), Pos(pos_));
        item.text.assign(nameFirst, nameLast);
        item.negated = negated;
        set.children.push_back(std::move(item));
        return true;
    }
    case Equal: {
        if (end_ == ++pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        const char* nameFirst = pos_;
        if (end_ == ++pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        while (pos_ != end_ && RoleAt(pos_) != Equal)
            ++pos_;
        const char* nameLast = pos_;
        if (end_ == pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        if (end_ == ++pos_ || RoleAt(pos_) != CloseSet)
            Fail(PatternError::Bracket, pos_ - base_);
        const std::string m = chars_.CollateName(nameFirst, nameLast);
        if (m.empty() || m.size() > 2)
            Fail(PatternError::Collate, nameFirst - base_);
        Digraph d{m[0], m.size() > 1 ? m[1] : '\0'};
        contents->equivalents.push_back(d);
        if (d.second)
            contents->digraphs = true;
        ++pos_;
        Item item = SetItem(ExplainKind::EquivalenceClass, Pos(open), Pos(pos_));
        item.text = Text(d);
        set.children.push_back(std::move(item));
        return true;
    }
    default:
        --pos_;
        ParseSetLiteral(set, singles);
        return true;
    }
}

void Parser::ParseSetLiteral(Item& set, std::vector<Digraph>& singles)
{
    std::size_t startBegin = 0;
    const Digraph start = NextSetLiteral(set, startBegin);
    if (end_ == pos_)
        Fail(PatternError::Bracket, pos_ - base_);
    if (RoleAt(pos_) == Dash) {
        const std::size_t dash = Pos(pos_);
        if (end_ == ++pos_)
            Fail(PatternError::Bracket, pos_ - base_);
        if (RoleAt(pos_) != CloseSet) {
            std::size_t endBegin = 0;
            const Digraph stop = NextSetLiteral(set, endBegin);
            contents->ranges.emplace_back(start, stop);
            if (start.second || stop.second)
                contents->digraphs = true;
            Item range = SetItem(ExplainKind::ClassRange, startBegin, Pos(pos_));
            range.text = Text(start) + '-' + Text(stop);
            range.digraph = start.second || stop.second;
            Item from = SetItem(ExplainKind::ClassItem, startBegin, dash);
            from.text = Text(start);
            Item to = SetItem(ExplainKind::ClassItem, endBegin, Pos(pos_));
            to.text = Text(stop);
            range.children.push_back(std::move(from));
            range.children.push_back(std::move(to));
            set.children.push_back(std::move(range));
            if (RoleAt(pos_) == Dash) {
                if (end_ == ++pos_)
                    Fail(PatternError::Bracket, pos_ - base_);
                if (RoleAt(pos_) == CloseSet) {
                    --pos_;  // a - before the ] is a literal
                    return;
                }
                Fail(PatternError::Range, pos_ - base_);
            }
            return;
        }
        --pos_;
    }
    singles.push_back(start);
    if (start.second)
        contents->digraphs = true;
    const bool collating = RoleAt(base_ + startBegin) == OpenSet && RoleAt(base_ + startBegin + 1) == Dot;
    Item item = SetItem(collating ? ExplainKind::CollatingElement : ExplainKind::ClassItem, startBegin, Pos(pos_));
    item.text = Text(start);
    item.digraph = start.second != 0;
    set.children.push_back(std::move(item));
}

Digraph Parser::NextSetLiteral(Item& set, std::size_t& itemBegin)
{
    itemBegin = Pos(pos_);
    Digraph result;
    switch (RoleAt(pos_)) {
    case Dash:
        if (!set.children.empty()) {
            if (++pos_ == end_ || RoleAt(pos_) != CloseSet)
                Fail(PatternError::Range, pos_ - base_);
            --pos_;
        }
        result.first = *pos_++;
        return result;
    case Escape:
        if (flags_ & option::NoEscapeInLists) {
            result.first = *pos_++;
            return result;
        }
        ++pos_;
        result.first = UnescapeCharacter();
        return result;
    case OpenSet: {
        if (end_ == ++pos_)
            Fail(PatternError::Collate, pos_ - base_);
        if (RoleAt(pos_) != Dot) {
            --pos_;
            result.first = *pos_;
            ++pos_;
            return result;
        }
        if (end_ == ++pos_)
            Fail(PatternError::Collate, pos_ - base_);
        const char* nameFirst = pos_;
        if (end_ == ++pos_)
            Fail(PatternError::Collate, nameFirst - base_);
        while (pos_ != end_ && RoleAt(pos_) != Dot)
            ++pos_;
        const char* nameLast = pos_;
        if (end_ == pos_)
            Fail(PatternError::Collate, nameFirst - base_);
        if (end_ == ++pos_ || RoleAt(pos_) != CloseSet)
            Fail(PatternError::Collate, nameFirst - base_);
        ++pos_;
        const std::string s = chars_.CollateName(nameFirst, nameLast);
        if (s.empty() || s.size() > 2)
            Fail(PatternError::Collate, nameFirst - base_);
        result.first = s[0];
        result.second = s.size() > 1 ? s[1] : '\0';
        return result;
    }
    default:
        result.first = *pos_++;
        return result;
    }
}

} // namespace tamarin::pattern
