#include "RowBreaker.h"

#include <QPaintDevice>
#include <QTextBoundaryFinder>
#include <QTextOption>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

std::int32_t InSixtyFourths(qreal pixels)
{
    return static_cast<std::int32_t>(std::lround(pixels * 64));
}

} // namespace

bool RowBreaker::Prepare(const QFont& font, const QPaintDevice* device, int width)
{
    const std::int32_t width64 = width * 64;
    if (measured_ && font == font_ && device == device_ && width64 == width_)
        return false;
    if (!measured_ || font != font_ || device != device_) {
        font_ = font;
        device_ = device;
        metrics_ = QFontMetricsF(font, device);
        characterUnits_.clear();
        characterKnown_.clear();
        pairAdvances_.clear();
        // Every view in the same font meets the same pairs.
        static QHash<QString, std::shared_ptr<std::vector<std::int32_t>>> kerningByFont;
        const QString key = font.key() + u'@' + QString::number(device ? device->logicalDpiY() : 0);
        auto& shared = kerningByFont[key];
        if (!shared)
            shared = std::make_shared<std::vector<std::int32_t>>(256 * 256, UnknownKerning);
        kerning_ = shared;
        for (int byte = 0; byte < 256; ++byte)
            byteUnits_[byte] = Measure(QChar(tamarin::codepage::ToUnicode(static_cast<char>(byte))));
        measured_ = true;
    }
    width_ = width64;
    return true;
}

RowBreaker::Unit RowBreaker::Measure(QChar c) const
{
    if (c == u'\t')
        return {0, Kind::Tab};
    if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
        return {0, Kind::Break};
    // A character that belongs to the one before it is never where a row
    // breaks; its width is part of the cluster's.
    if (c.isLowSurrogate() || c.isMark() || c.unicode() == 0x200D)
        return {0, Kind::Joined};
    const std::int32_t advance = InSixtyFourths(metrics_.horizontalAdvance(c));
    // A no-break space is a blank the layout never breaks at.
    if (c.isSpace() && c.decompositionTag() != QChar::NoBreak)
        return {advance, Kind::Blank};
    const auto overhang = static_cast<std::int16_t>(std::clamp(-InSixtyFourths(metrics_.rightBearing(c)), 0, 0x7fff));
    return {advance, Kind::Ordinary, overhang};
}

RowBreaker::Unit RowBreaker::MeasurePair(QChar high, QChar low) const
{
    const char32_t code = QChar::surrogateToUcs4(high, low);
    auto known = pairAdvances_.constFind(code);
    if (known == pairAdvances_.cend()) {
        const QChar pair[] = {high, low};
        known = pairAdvances_.insert(code, InSixtyFourths(metrics_.horizontalAdvance(QString(pair, 2))));
    }
    return {*known, Kind::Ordinary};
}

std::int32_t RowBreaker::MeasureKerning(unsigned char first, unsigned char second) const
{
    std::int32_t& kerning = (*kerning_)[first << 8 | second];
    const Unit a = byteUnits_[first];
    const Unit b = byteUnits_[second];
    kerning = 0;
    if (a.kind == Kind::Ordinary && b.kind == Kind::Ordinary) {
        const QChar pair[] = {QChar(tamarin::codepage::ToUnicode(static_cast<char>(first))),
                              QChar(tamarin::codepage::ToUnicode(static_cast<char>(second)))};
        kerning = InSixtyFourths(metrics_.horizontalAdvance(QString(pair, 2))) - a.advance - b.advance;
    }
    return kerning;
}

std::vector<std::int8_t>& RowBreaker::BreakBetween()
{
    static std::vector<std::int8_t> breaks(256 * 256, -1);
    return breaks;
}

namespace {

bool BreaksBetween(const QString& text, int at)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    finder.setPosition(at);
    return finder.isAtBoundary();
}

QChar InCodePage(unsigned char byte)
{
    return QChar(tamarin::codepage::ToUnicode(static_cast<char>(byte)));
}

} // namespace

bool RowBreaker::MeasureBreak(unsigned char first, unsigned char second, const TextSpan& text, qsizetype at)
{
    std::int8_t& known = BreakBetween()[first << 8 | second];
    if (known < 0) {
        const QChar characters[] = {InCodePage(first), InCodePage(second)};
        const QString pair(characters, 2);
        // Measured alone and between letters and digits: where the answers
        // differ, the characters around decide.
        int answer = -1;
        for (const QString& before : {QString(), QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("a1")}) {
            for (const QString& after : {QString(), QStringLiteral("a"), QStringLiteral("1")}) {
                const int breaks = BreaksBetween(before + pair + after, static_cast<int>(before.size()) + 1) ? 1 : 0;
                answer = answer < 0 || answer == breaks ? breaks : 2;
            }
        }
        known = static_cast<std::int8_t>(answer);
    }
    if (known != 2)
        return known == 1;
    // The characters around the pair decide (digits about a slash, say): a
    // few on either side, each letter taken for any letter and each digit
    // for any digit, so that the answers can be kept.
    constexpr qsizetype Before = 4;
    constexpr qsizetype After = 3;
    const std::string_view bytes = text.Bytes();
    QString window;
    quint64 key = 0;
    qsizetype pairAt = 0;
    for (qsizetype i = at - Before; i <= at + 1 + After; ++i) {
        key <<= 8;
        if (i < 0 || i >= text.size())
            continue;
        const QChar c = InCodePage(static_cast<unsigned char>(bytes[i]));
        const QChar standIn = c.isLetter() ? QChar(u'a') : c.isDigit() ? QChar(u'1') : c;
        key |= standIn.unicode() < 0x100 ? standIn.unicode() : static_cast<unsigned char>(bytes[i]);
        if (i == at + 1)
            pairAt = window.size();
        window += standIn;
    }
    static QHash<quint64, bool> answers;
    auto answer = answers.constFind(key);
    if (answer == answers.cend())
        answer = answers.insert(key, BreaksBetween(window, static_cast<int>(pairAt)));
    return *answer;
}

std::int32_t RowBreaker::TabAdvance(std::int32_t x) const
{
    const std::int32_t stop = InSixtyFourths(QTextOption().tabStopDistance());
    return stop <= 0 ? 0 : (x / stop + 1) * stop - x;
}

template <typename At> qsizetype RowBreaker::AnywhereRowEnd(At&& at, qsizetype start, qsizetype limit) const
{
    std::int32_t x = 0;
    std::int32_t blanks = 0;
    bool empty = true;
    qsizetype i = start;
    while (i < limit) {
        const Unit unit = at(i);
        if (unit.kind == Kind::Break)
            return i + 1;
        if (unit.kind == Kind::Blank || unit.kind == Kind::Tab) {
            blanks += unit.kind == Kind::Tab ? TabAdvance(x + blanks) : unit.advance;
            ++i;
            continue;
        }
        std::int32_t advance = unit.advance;
        qsizetype next = i + 1;
        while (next < limit && at(next).kind == Kind::Joined)
            advance += at(next++).advance;
        // The layout lets no glyph reach past the edge.
        if (!empty && x + blanks + advance + unit.overhang > width_)
            return i;
        x += blanks + advance;
        blanks = 0;
        empty = false;
        i = next;
    }
    return i;
}

template <typename At, typename BreakAfter>
qsizetype RowBreaker::WordRowEnd(At&& at, BreakAfter&& breakAfter, qsizetype start, qsizetype limit) const
{
    std::int32_t x = 0;       // to the end of the row's last word
    std::int32_t blanks = 0;  // the blanks after it, which may hang past the edge
    bool empty = true;
    qsizetype i = start;
    while (i < limit) {
        Unit unit = at(i);
        if (unit.kind == Kind::Break)
            return i + 1;
        if (unit.kind == Kind::Blank || unit.kind == Kind::Tab) {
            blanks += unit.kind == Kind::Tab ? TabAdvance(x + blanks) : unit.advance;
            ++i;
            continue;
        }
        // Blanks wider than the row end it, all of them on it.
        if (blanks > width_)
            return i;
        // A word that does not fit goes to the next row, unless it is the
        // row's first: then the row breaks between characters.
        std::int32_t word = 0;
        qsizetype next = i;
        for (;;) {
            word += unit.advance;
            if (x + blanks + word > width_)
                return empty ? AnywhereRowEnd(at, start, limit) : i;
            if (++next == limit || breakAfter(next - 1))
                break;
            const Unit following = at(next);
            if (following.kind == Kind::Blank || following.kind == Kind::Tab || following.kind == Kind::Break)
                break;
            unit = following;
        }
        // Nor may the word's last glyph reach past the edge.
        if (x + blanks + word + unit.overhang > width_)
            return empty ? AnywhereRowEnd(at, start, limit) : i;
        x += blanks + word;
        blanks = 0;
        empty = false;
        i = next;
    }
    return i;
}

qsizetype RowBreaker::RowEnd(const TextSpan& text, qsizetype start, qsizetype limit) const
{
    limit = std::min({limit, text.size(), start + LongestRow});
    if (start >= limit)
        return limit;
    if (text.BytesAreCharacters()) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.Bytes().data());
        const std::int32_t* kerningTable = kerning_->data();
        const auto at = [&](qsizetype i) {
            Unit unit = byteUnits_[bytes[i]];
            if (i > start) {
                const std::int32_t kerning = kerningTable[bytes[i - 1] << 8 | bytes[i]];
                unit.advance += kerning != UnknownKerning ? kerning : MeasureKerning(bytes[i - 1], bytes[i]);
            }
            return unit;
        };
        const std::int8_t* breaks = BreakBetween().data();
        // Asked only with `i + 1` in the text.
        const auto breakAfter = [&](qsizetype i) {
            const std::int8_t known = breaks[bytes[i] << 8 | bytes[i + 1]];
            return known == 0 || known == 1 ? known == 1 : MeasureBreak(bytes[i], bytes[i + 1], text, i);
        };
        return WordRowEnd(at, breakAfter, start, limit);
    }
    if (characterUnits_.empty()) {
        characterUnits_.resize(0x10000);
        characterKnown_.resize(0x10000);
    }
    const auto at = [&](qsizetype i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            return MeasurePair(c, text[i + 1]);
        if (!characterKnown_[c.unicode()]) {
            characterUnits_[c.unicode()] = Measure(c);
            characterKnown_[c.unicode()] = true;
        }
        return characterUnits_[c.unicode()];
    };
    return WordRowEnd(at, [](qsizetype) { return false; }, start, limit);
}
