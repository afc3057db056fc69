#include "WordBoundaries.h"

namespace words {

bool IsBlank(QChar c)
{
    // What a text layout marks as white space.
    return c.isSpace();
}

bool IsSeparator(QChar c)
{
    // The text layout's own list, which every Qt text field stops at: the
    // ASCII punctuation but for `_`, the backslash included. Nothing beyond
    // ASCII is one (an em dash, a guillemet and a CJK full stop are word
    // characters to it).
    switch (c.unicode()) {
    case u'.': case u',': case u'?': case u'!': case u'@': case u'#': case u'$': case u':':
    case u';': case u'-': case u'<': case u'>': case u'[': case u']': case u'(': case u')':
    case u'{': case u'}': case u'=': case u'/': case u'+': case u'%': case u'&': case u'^':
    case u'*': case u'\'': case u'"': case u'`': case u'~': case u'|': case u'\\':
        return true;
    default:
        return false;
    }
}

qsizetype PreviousStop(const TextSpan& paragraph, qsizetype position)
{
    while (position > 0 && IsBlank(paragraph[position - 1]))
        --position;
    if (position > 0 && IsSeparator(paragraph[position - 1])) {
        while (position > 0 && IsSeparator(paragraph[position - 1]))
            --position;
    } else {
        while (position > 0 && !IsBlank(paragraph[position - 1]) && !IsSeparator(paragraph[position - 1]))
            --position;
    }
    return position;
}

std::optional<qsizetype> StartOfWord(const TextSpan& paragraph, qsizetype position)
{
    const qsizetype length = paragraph.size();
    if (position <= 0)
        return std::nullopt;
    const QChar before = paragraph[position - 1];
    if (position == length && (IsBlank(before) || IsSeparator(before)))
        return std::nullopt;
    // From just after the character at `position`, so that a word starting
    // there is the one found.
    const qsizetype from = position < length ? position + 1 : position;
    const qsizetype start = PreviousStop(paragraph, from);
    if (start == from)
        return std::nullopt;
    return start;
}

std::optional<qsizetype> EndOfWord(const TextSpan& paragraph, qsizetype position)
{
    const qsizetype length = paragraph.size();
    if (position >= length)
        return std::nullopt;
    qsizetype end = position;
    if (IsSeparator(paragraph[end])) {
        while (end < length && IsSeparator(paragraph[end]))
            ++end;
    } else {
        while (end < length && !IsBlank(paragraph[end]) && !IsSeparator(paragraph[end]))
            ++end;
    }
    if (end == position)
        return std::nullopt;
    return end;
}

Range WordUnder(const TextSpan& paragraph, qsizetype position)
{
    const qsizetype start = StartOfWord(paragraph, position).value_or(position);
    return {start, EndOfWord(paragraph, start).value_or(start)};
}

} // namespace words
