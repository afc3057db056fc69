// The tokens of a replacement format that the library writes out as plain
// text, or that write nothing, although they look as if they meant a group.
// The library reports no error in a format; this reads the format as its
// formatter does (the same cases, in the same order) and notes each such token.
#include "Replacement.h"

#include <algorithm>

namespace tamarin {

namespace {

bool IsDigit(char c, int radix)
{
    if (c >= '0' && c <= '9')
        return c - '0' < radix;
    const char lower = static_cast<char>(c | 0x20);
    return radix == 16 && lower >= 'a' && lower <= 'f';
}

class FormatReader {
public:
    FormatReader(std::string_view format, FormatKind kind, const PatternFacts& facts)
        : f_(format), sed_(kind == FormatKind::Sed), all_(kind == FormatKind::BoostExtended), facts_(facts)
    {
    }

    std::vector<FormatWarning> Read()
    {
        ReadAll();
        if (p_ < f_.size())  // only a ')' of Boost extended ends the top level early
            Warn(p_, f_.size() - p_, "a ) that closes no ( ends the replacement: nothing from it on is written");
        return std::move(warnings_);
    }

private:
    bool AtEnd() const { return p_ >= f_.size(); }
    char At(std::size_t i) const { return i < f_.size() ? f_[i] : '\0'; }

    void Warn(std::size_t start, std::size_t length, std::string words)
    {
        warnings_.push_back({static_cast<std::int64_t>(start), static_cast<std::int64_t>(length), std::move(words)});
    }

    // As many digits of `radix` as there are from p_, at most `most`; -1 for none.
    long long Number(int radix, std::size_t most = std::string_view::npos)
    {
        long long value = -1;
        for (std::size_t n = 0; n < most && IsDigit(At(p_), radix); ++n, ++p_) {
            const char c = static_cast<char>(At(p_) | 0x20);
            value = std::min<long long>((value < 0 ? 0 : value) * radix + (c <= '9' ? c - '0' : c - 'a' + 10),
                                        1LL << 40);
        }
        return value;
    }

    bool KnowsName(std::string_view name) const
    {
        return std::any_of(facts_.groups.begin(), facts_.groups.end(),
                           [&](const GroupFacts& g) { return !g.name.empty() && g.name == name; });
    }

    long long GroupCount() const { return static_cast<long long>(facts_.groups.size()); }

    void CheckGroup(long long number, std::size_t start, const char* token)
    {
        if (number > GroupCount())
            Warn(start, p_ - start,
                 std::string(token) + " names group " + std::to_string(number) + ", which the pattern has not: it writes nothing");
    }

    void ReadAll()
    {
        while (!AtEnd()) {
            const char c = f_[p_];
            if (c == '\\') {
                ReadEscape();
            } else if (c == '$' && !sed_) {
                ReadDollar();
            } else if (c == '(' && all_) {
                const std::size_t open = p_++;
                const bool conditional = inConditional_;
                inConditional_ = false;
                ReadUntilScopeEnd();
                inConditional_ = conditional;
                if (AtEnd()) {
                    Warn(open, 1, "this ( is never closed");
                    return;
                }
                ++p_;
            } else if (c == ')' && all_) {
                return;
            } else if (c == ':' && all_ && inConditional_) {
                return;
            } else if (c == '?' && all_) {
                ++p_;
                ReadConditional();
            } else {
                ++p_;
            }
        }
    }

    void ReadUntilScopeEnd()
    {
        do {
            ReadAll();
            if (AtEnd() || f_[p_] == ')')
                return;
            ++p_;
        } while (!AtEnd());
    }

    bool ReadVerb(bool brace)
    {
        static const std::string_view verbs[] = {"LAST_SUBMATCH_RESULT", "LAST_PAREN_MATCH", "POSTMATCH",
                                                 "PREMATCH", "MATCH", "^N"};
        std::size_t at = p_;
        if (brace && At(at) == '^')
            ++at;
        for (const std::string_view verb : verbs) {
            if (f_.substr(std::min(at, f_.size()), verb.size()) != verb)
                continue;
            if (brace && At(at + verb.size()) != '}')
                return false;
            p_ = at + verb.size() + (brace ? 1 : 0);
            return true;
        }
        return false;
    }

    void ReadDollar()
    {
        const std::size_t start = p_++;
        if (AtEnd()) {
            Warn(start, 1, "a $ at the end is written as it is");
            return;
        }
        const char c = f_[p_];
        if (c == '&' || c == '`' || c == '\'' || c == '$') {
            ++p_;
            return;
        }
        if (c == '+') {
            ++p_;
            if (At(p_) == '{') {
                const std::size_t close = f_.find('}', p_ + 1);
                if (close == std::string_view::npos) {
                    Warn(start, p_ + 1 - start, "this $+{ is never closed: $+ writes the last group and the { is written as it is");
                    return;
                }
                const std::string_view name = f_.substr(p_ + 1, close - p_ - 1);
                p_ = close + 1;
                if (!KnowsName(name))
                    Warn(start, p_ - start, "no group is named \"" + std::string(name) + "\": this writes nothing");
                return;
            }
            if (GroupCount() == 0)
                Warn(start, 2, "$+ writes the last group, and the pattern has none");
            return;
        }
        const bool brace = c == '{';
        if (brace)
            ++p_;
        const std::size_t digits = p_;
        const long long number = Number(10);
        if (number < 0 || (brace && At(p_) != '}')) {
            p_ = digits;
            if (!ReadVerb(brace)) {
                p_ = start + 1;
                Warn(start, brace ? 2 : 1,
                     brace ? "this ${ names no group: the $ is written as it is"
                           : "this $ is followed by nothing it names: it is written as it is");
            }
            return;
        }
        if (brace)
            ++p_;
        CheckGroup(number, start, "this");
    }

    void ReadEscape()
    {
        const std::size_t start = p_++;
        if (AtEnd()) {
            Warn(start, 1, "a \\ at the end is written as it is");
            return;
        }
        const char c = f_[p_];
        if (c == 'x') {
            ++p_;
            if (AtEnd()) {
                Warn(start, 2, "\\x at the end writes x");
                return;
            }
            if (f_[p_] == '{') {
                ++p_;
                const long long value = Number(16);
                if (value < 0 || At(p_) != '}') {
                    Warn(start, p_ - start, "this \\x{ has no hexadecimal number closed by }: it is written as it is");
                    p_ = start + 2;
                    return;
                }
                ++p_;
                return;
            }
            if (Number(16, 2) < 0)
                Warn(start, 2, "\\x is not followed by a hexadecimal digit: it writes x");
            return;
        }
        if (c == 'c') {
            ++p_;
            if (AtEnd())
                Warn(start, 2, "\\c at the end writes c");
            else
                ++p_;
            return;
        }
        if (c >= '1' && c <= '9') {
            ++p_;
            CheckGroup(c - '0', start, "this");
            return;
        }
        ++p_;  // a known escape, an octal \0 or the character itself
    }

    void ReadConditional()
    {
        const std::size_t start = p_ - 1;
        if (AtEnd()) {
            Warn(start, 1, "a ? at the end is written as it is");
            return;
        }
        long long number = -1;
        if (f_[p_] == '{') {
            const std::size_t brace = p_++;
            number = Number(10);
            if (number < 0) {
                const std::size_t close = f_.find('}', p_);
                const std::string_view name = f_.substr(p_, close == std::string_view::npos ? f_.npos : close - p_);
                p_ = close == std::string_view::npos ? f_.size() : close;
                if (KnowsName(name))
                    number = 1;  // some group: only whether it exists matters here
            }
            if (number < 0 || At(p_) != '}') {
                p_ = brace;
                Warn(start, 1, "this ?{ names no group: the ? is written as it is");
                return;
            }
            ++p_;
        } else {
            number = Number(10, 2);
            if (number < 0) {
                Warn(start, 1, "this ? is not followed by a group: it is written as it is");
                return;
            }
            CheckGroup(number, start, "this condition");
        }
        inConditional_ = true;
        ReadAll();
        inConditional_ = false;
        if (At(p_) == ':' && !AtEnd()) {
            ++p_;
            ReadUntilScopeEnd();
        }
    }

    std::string_view f_;
    bool sed_;
    bool all_;
    const PatternFacts& facts_;
    std::size_t p_ = 0;
    bool inConditional_ = false;
    std::vector<FormatWarning> warnings_;
};

} // namespace

std::vector<FormatWarning> FormatWarnings(std::string_view format, FormatKind kind, const PatternFacts& facts)
{
    if (kind == FormatKind::Literal)
        return {};
    return FormatReader(format, kind, facts).Read();
}

} // namespace tamarin
