#pragma once
// Where the rows of a line end when it wraps at a width, worked out from the
// advances of its characters alone, without laying anything out: a long line
// is cut into slices where its rows start, and a slice's rows are then made
// to end where these say.
//
// The rows follow the text layout's rule for wrapping at a word boundary or
// anywhere: as many words as fit, the blanks after the last one hanging past
// the edge; a word too wide for a row of its own starts a row and is broken
// between characters. Words end at blanks and, in the code page, where the
// rules for breaking lines allow a break between two characters; those
// rules are asked of each pair alone, without the characters around it. Advances are in 1/64 pixel, as the layout adds them;
// pairs of characters that kern or join may make a row a little narrower or
// wider than the layout alone would make it.
#include "TextSpan.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

class QPaintDevice;

class RowBreaker {
public:
    // The longest row, in characters: a slice then always ends within half
    // a slice of where it is meant to.
    static constexpr qsizetype LongestRow = 1024;

    // Measures characters in `font` on `device`, for rows `width` pixels wide;
    // false when nothing changed.
    bool Prepare(const QFont& font, const QPaintDevice* device, int width);
    // The end of the row that starts at `start`, at most `limit`.
    qsizetype RowEnd(const TextSpan& text, qsizetype start, qsizetype limit) const;

private:
    enum class Kind : std::uint8_t { Ordinary, Blank, Tab, Joined, Break };
    struct Unit {
        std::int32_t advance = 0;
        Kind kind = Kind::Ordinary;
        std::int16_t overhang = 0;  // how far the glyph reaches past its advance
    };
    template <typename At, typename BreakAfter>
    qsizetype WordRowEnd(At&& at, BreakAfter&& breakAfter, qsizetype start, qsizetype limit) const;
    template <typename At> qsizetype AnywhereRowEnd(At&& at, qsizetype start, qsizetype limit) const;
    Unit Measure(QChar c) const;
    Unit MeasurePair(QChar high, QChar low) const;
    std::int32_t TabAdvance(std::int32_t x) const;

    QFont font_;
    const QPaintDevice* device_ = nullptr;
    QFontMetricsF metrics_{QFont()};
    std::int32_t width_ = -1;
    bool measured_ = false;
    std::int32_t MeasureKerning(unsigned char first, unsigned char second) const;
    // Whether a row may break between `first` and `second`, at `at` and
    // `at + 1` in `text`.
    static bool MeasureBreak(unsigned char first, unsigned char second, const TextSpan& text, qsizetype at);
    static constexpr std::int32_t UnknownKerning = INT32_MIN;

    std::array<Unit, 256> byteUnits_{};          // the code page's characters
    // How much closer (or further) a pair of the code page's characters
    // stands than their advances say, measured when met.
    std::shared_ptr<std::vector<std::int32_t>> kerning_;
    // Whether a row may break between a pair of the code page's characters
    // that are not blanks (after a slash or a hyphen before a letter, say),
    // as the rules for breaking lines say: -1 until met, 2 where the
    // characters around the pair decide (a slash between digits).
    static std::vector<std::int8_t>& BreakBetween();
    mutable std::vector<Unit> characterUnits_;  // other characters, measured when met
    mutable std::vector<bool> characterKnown_;
    mutable QHash<char32_t, std::int32_t> pairAdvances_;  // characters beyond 16 bits
};
