// The (?...) and (*...) constructs as the library reads them
// (basic_regex_parser: parse_perl_extension, parse_options,
// parse_perl_verb, match_verb).
#include "PatternParser.h"

#include <algorithm>
#include <limits>

namespace tamarin::pattern {

bool Parser::ParsePerlExtension()
{
    const char* open = pos_ - 1;
    if (++pos_ == end_)
        FailAtParen(PatternError::PerlExtension);
    if (RoleAt(pos_) == Hash) {
        Item comment;
        comment.kind = ExplainKind::Comment;
        comment.begin = Pos(open);
        const char* textFirst = pos_ + 1;
        while (pos_ != end_ && RoleAt(pos_++) != CloseMark) {
        }
        comment.end = Pos(pos_);
        comment.text.assign(std::min(textFirst, pos_), RoleAt(pos_ - 1) == CloseMark ? pos_ - 1 : pos_);
        AddSilent(std::move(comment));
        return true;
    }
    Item group;
    group.kind = ExplainKind::NonCapturing;
    group.begin = Pos(open);
    int markid = 0;
    std::uint64_t jumpId = 0;
    AppendState(State::StartMark);
    OpenFrame(std::move(group));
    // The frame is not moved before ParseAll below reads the group's contents.
    Item& g = Top().group;
    bool restoreFlags = true;
    const unsigned oldFlags = flags_;
    bool oldCaseChange = hasCaseChange_;
    hasCaseChange_ = false;
    const int markReset = markReset_;
    const unsigned maxMark = maxMark_;
    markReset_ = -1;
    maxMark_ = markCount;
    std::intmax_t v = 0;
    bool recursion = false, recursionByName = false, isDefine = false;
    std::string name;
    Item condition;  // of a conditional
    condition.kind = ExplainKind::Condition;

    auto insertRecursion = [&]() {
        recursion = true;
        g.kind = ExplainKind::Recursion;
        g.number = static_cast<std::int64_t>(v);
        g.byName = recursionByName;
        g.text = name;
        recursions.push_back({static_cast<std::int64_t>(v), recursionByName});
        AppendState(State::Recurse);
        AppendState(State::Toggle);
    };
    auto assertion = [&](ExplainKind kind, int id) {
        g.kind = kind;
        markid = id;
        g.negated = id == -2;
        AppendState(State::Jump);
        jumpId = lastId_;
    };
    auto namedCapture = [&](char delimiter) {
        markid = static_cast<int>(++markCount);
        subs.emplace_back(Pos(pos_) - 2, 0);
        g.kind = ExplainKind::Group;
        g.number = markid;
        g.byName = true;
        const char* nameBase = ++pos_;
        if (pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        while (pos_ != end_ && *pos_ != delimiter)
            ++pos_;
        if (pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        names_.emplace_back(CaptureNameHash(nameBase, pos_), markid);
        g.text.assign(nameBase, pos_);
        g.variant = delimiter;
        ++pos_;
    };
    auto optionGroup = [&]() {
        const unsigned before = flags_;
        const unsigned opts = ParseOptions();
        if (pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        hasCaseChange_ = (opts & option::Icase) != (flags_ & option::Icase);
        g.kind = ExplainKind::InlineOptions;
        g.optionsOn = opts & ~before;
        g.optionsOff = before & ~opts;
        g.text.assign(open + 2, pos_);
        if (RoleAt(pos_) == CloseMark) {
            flags_ = opts;
            restoreFlags = false;
            oldCaseChange |= hasCaseChange_;
        } else if (RoleAt(pos_) == Colon) {
            flags_ = opts;
            g.scoped = true;
            ++pos_;
        } else {
            FailAtParen(PatternError::PerlExtension);
        }
        if (hasCaseChange_)
            AppendState(State::Toggle);
    };

    switch (RoleAt(pos_)) {
    case Or:
        markReset_ = static_cast<int>(markCount);
        g.variant = '|';
        [[fallthrough]];
    case Colon:
        ++pos_;
        break;
    case Digit:
        v = chars_.ToInt(pos_, end_, 10);
        if (v < 0 || RoleAt(pos_) != CloseMark)
            FailAtParen(PatternError::PerlExtension);
        insertRecursion();
        break;
    case Plus:
        ++pos_;
        v = chars_.ToInt(pos_, end_, 10);
        if (v <= 0 || RoleAt(pos_) != CloseMark)
            FailAtParen(PatternError::PerlExtension);
        if (std::numeric_limits<std::intmax_t>::max() - markCount < v)
            Fail(PatternError::PerlExtension, pos_ - base_);
        v += markCount;
        g.variant = '+';
        insertRecursion();
        break;
    case Dash:
        ++pos_;
        v = chars_.ToInt(pos_, end_, 10);
        if (v <= 0) {
            --pos_;
            optionGroup();
            break;
        }
        v = static_cast<std::intmax_t>(markCount) + 1 - v;
        if (v <= 0)
            FailAtParen(PatternError::PerlExtension);
        g.variant = '-';
        insertRecursion();
        break;
    case Equal:
        ++pos_;
        assertion(ExplainKind::LookAhead, -1);
        break;
    case Not:
        ++pos_;
        assertion(ExplainKind::LookAhead, -2);
        break;
    case LeftWord: {
        if (++pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        const Role t = RoleAt(pos_);
        if (t != Not && t != Equal) {
            --pos_;
            namedCapture('>');
            break;
        }
        ++pos_;
        assertion(ExplainKind::LookBehind, t == Not ? -2 : -1);
        AppendState(State::Backstep);
        break;
    }
    case RightWord:
        ++pos_;
        assertion(ExplainKind::Atomic, -3);
        break;
    case OpenMark: {
        g.kind = ExplainKind::Conditional;
        markid = -4;
        condition.begin = Pos(pos_);
        if (++pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        v = chars_.ToInt(pos_, end_, 10);
        if (pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        auto closeCondition = [&]() {
            if (RoleAt(pos_) != CloseMark)
                FailAtParen(PatternError::PerlExtension);
            if (++pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            condition.end = Pos(pos_);
            condition.text.assign(base_ + condition.begin + 1, pos_ - 1);
            Append(condition, State::AssertBackref);
        };
        if (*pos_ == 'R') {
            if (++pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            condition.variant = 'R';
            if (*pos_ == '&') {
                const char* nameBase = ++pos_;
                while (pos_ != end_ && RoleAt(pos_) != CloseMark)
                    ++pos_;
                if (pos_ == end_)
                    FailAtParen(PatternError::PerlExtension);
                namedConditions.push_back(CaptureNameHash(nameBase, pos_));
                condition.byName = true;
            } else {
                condition.number = chars_.ToInt(pos_, end_, 10);
            }
            closeCondition();
        } else if (*pos_ == '\'' || *pos_ == '<') {
            const char* nameBase = ++pos_;
            while (pos_ != end_ && *pos_ != '>' && *pos_ != '\'')
                ++pos_;
            if (pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            condition.variant = 'n';
            condition.byName = true;
            condition.number = NameIndex(CaptureNameHash(nameBase, pos_));
            if ((*pos_ != '>' && *pos_ != '\'') || ++pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            closeCondition();
        } else if (*pos_ == 'D') {
            const char* def = "DEFINE";
            while (*def && pos_ != end_ && *pos_ == *def)
                ++pos_, ++def;
            if (pos_ == end_ || *def)
                FailAtParen(PatternError::PerlExtension);
            condition.variant = 'D';
            isDefine = true;
            closeCondition();
        } else if (v > 0) {
            condition.variant = '1';
            condition.number = static_cast<std::int64_t>(v);
            closeCondition();
        } else {
            // A look-ahead or look-behind as the condition: read as the first construct.
            if (RoleAt(pos_) != Question)
                FailAtParen(PatternError::PerlExtension);
            if (++pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            if (RoleAt(pos_) == LeftWord) {
                if (++pos_ == end_)
                    FailAtParen(PatternError::PerlExtension);
                if (RoleAt(pos_) != Equal && RoleAt(pos_) != Not)
                    FailAtParen(PatternError::PerlExtension);
                pos_ -= 3;
            } else {
                if (RoleAt(pos_) != Equal && RoleAt(pos_) != Not)
                    FailAtParen(PatternError::PerlExtension);
                pos_ -= 2;
            }
        }
        break;
    }
    case CloseMark:
        FailAtParen(PatternError::PerlExtension);
    case EndBuffer:
        namedCapture(*pos_);
        break;
    default:
        if (*pos_ == 'R') {
            ++pos_;
            v = 0;
            if (RoleAt(pos_) != CloseMark)
                FailAtParen(PatternError::PerlExtension);
            g.variant = 'R';
            insertRecursion();
            break;
        }
        if (*pos_ == '&') {
            ++pos_;
            const char* nameBase = pos_;
            while (pos_ != end_ && RoleAt(pos_) != CloseMark)
                ++pos_;
            if (pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            v = CaptureNameHash(nameBase, pos_);
            recursionByName = true;
            name.assign(nameBase, pos_);
            insertRecursion();
            break;
        }
        if (*pos_ == 'P') {
            ++pos_;
            if (pos_ == end_)
                FailAtParen(PatternError::PerlExtension);
            if (*pos_ == '>') {
                ++pos_;
                const char* nameBase = pos_;
                while (pos_ != end_ && RoleAt(pos_) != CloseMark)
                    ++pos_;
                if (pos_ == end_)
                    FailAtParen(PatternError::PerlExtension);
                v = CaptureNameHash(nameBase, pos_);
                recursionByName = true;
                name.assign(nameBase, pos_);
                insertRecursion();
                break;
            }
        }
        optionGroup();
        break;
    }
    (void)recursion;
    // A conditional's first alternative begins with its condition.
    Top().contentBegin = markid == -4 ? condition.begin : Pos(pos_);
    ParseAll();
    UnwindAlts(true);
    if (pos_ == end_) {
        --pos_;
        RewindTo(OpenMark);
        Fail(PatternError::Paren, end_ - base_);
    }
    ++pos_;
    if (restoreFlags) {
        if (hasCaseChange_)
            AppendState(State::Toggle);
        flags_ = oldFlags;
    }
    if (jumpId != 0 && lastId_ == jumpId && markid != -2) {
        errorDetail = markid == -3 ? "an atomic group with nothing in it" : "a look-ahead with nothing in it";
        FailAtParen(PatternError::PerlExtension);
    }
    if (markid == -4) {
        const Frame& frame = Top();
        if (frame.bars.size() > 1) {
            errorDetail = "a conditional with more than two alternatives";
            FailAtParen(PatternError::BadPattern);
        }
        // What follows the inserted alternative must be the condition itself.
        const std::vector<Item>& yes = frame.bars.empty() ? frame.sequence : frame.alternatives.front();
        if (frame.bars.size() == 1 && isDefine && !yes.empty() && yes.front().kind == ExplainKind::Condition) {
            errorDetail = "a DEFINE block with alternatives";
            FailAtParen(PatternError::BadPattern);
        }
        // A quantifier on the condition is inserted before it (a possessive one brackets it in a group).
        if (!yes.empty() && yes.front().kind == ExplainKind::Quantifier && yes.front().greed != Greed::Possessive) {
            errorDetail = "a quantifier on the condition of a conditional";
            FailAtParen(PatternError::BadRepeat);
        }
    }
    Item closed = CloseFrame(Pos(pos_));
    Append(std::move(closed), State::EndMark);
    hasCaseChange_ = oldCaseChange;
    if (maxMark_ > markCount)
        markCount = maxMark_;
    markReset_ = markReset;
    maxMark_ = maxMark;
    if (markid > 0)
        subs.at(static_cast<std::size_t>(markid) - 1).second = Pos(pos_) - 1;
    return true;
}

unsigned Parser::ParseOptions()
{
    unsigned f = flags_;
    auto step = [&]() {
        if (++pos_ == end_) {
            --pos_;
            RewindTo(OpenMark);
            Fail(PatternError::Paren, pos_ - base_);
        }
    };
    for (bool more = true; more;) {
        switch (*pos_) {
        case 's': f = (f | option::ModS) & ~option::NoModS; break;
        case 'm': f &= ~option::NoModM; break;
        case 'i': f |= option::Icase; break;
        case 'x': f |= option::ModX; break;
        default: more = false; continue;
        }
        step();
    }
    if (*pos_ == '-') {
        step();
        for (bool more = true; more;) {
            switch (*pos_) {
            case 's': f = (f & ~option::ModS) | option::NoModS; break;
            case 'm': f |= option::NoModM; break;
            case 'i': f &= ~option::Icase; break;
            case 'x': f &= ~option::ModX; break;
            default: more = false; continue;
            }
            step();
        }
    }
    return f;
}

bool Parser::MatchVerb(const char* verb)
{
    while (*verb) {
        if (*verb != *pos_) {
            RewindTo(OpenMark);
            Fail(PatternError::PerlExtension, pos_ - base_);
        }
        if (++pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        ++verb;
    }
    return true;
}

bool Parser::ParsePerlVerb()
{
    const char* open = pos_ - 1;
    if (++pos_ == end_)
        FailAtParen(PatternError::PerlExtension);
    static const struct {
        char first;
        const char* rest;
        const char* name;
    } verbs[] = {
        {'F', "AIL", "FAIL"}, {'A', "CCEPT", "ACCEPT"}, {'C', "OMMIT", "COMMIT"},
        {'P', "RUNE", "PRUNE"}, {'S', "KIP", "SKIP"}, {'T', "HEN", "THEN"},
    };
    for (const auto& verb : verbs) {
        if (*pos_ != verb.first)
            continue;
        if (++pos_ == end_)
            FailAtParen(PatternError::PerlExtension);
        if ((verb.first == 'F' && RoleAt(pos_) == CloseMark) || MatchVerb(verb.rest)) {
            if (pos_ == end_ || RoleAt(pos_) != CloseMark)
                FailAtParen(PatternError::PerlExtension);
            ++pos_;
            Item item;
            item.kind = ExplainKind::Verb;
            item.begin = Pos(open);
            item.end = Pos(pos_);
            item.text = verb.name;
            item.variant = verb.first;
            Append(std::move(item), State::Verb);
            return true;
        }
    }
    FailAtParen(PatternError::PerlExtension);
}

} // namespace tamarin::pattern
