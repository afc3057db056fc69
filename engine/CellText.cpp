#include "CellText.h"

#include "CodePage.h"

#include <string>

namespace tamarin {

namespace {

struct Sign {
    char16_t shown;
    const char* spoken;  // nullptr: the character is not replaced
};

// The sign for a character that would show as nothing, or as a plain space.
Sign SignFor(unsigned char byte)
{
    switch (byte) {
    case '\t': return {u'\u2192', "tab"};
    case '\n': return {u'\u21B5', "line feed"};
    case '\r': return {u'\u240D', "carriage return"};
    case 0x00: return {u'\u2400', "null"};
    case 0x1B: return {u'\u241B', "escape"};
    case 0x7F: return {u'\u2421', "delete"};
    case 0xA0: return {u'\u237D', "no-break space"};
    case 0xAD: return {u'\u2043', "soft hyphen"};
    default: break;
    }
    if (byte < 0x20)
        return {static_cast<char16_t>(0x2400 + byte), "control character"};
    if (codepage::ToUnicode(static_cast<char>(byte)) == u'\uFFFD')
        return {u'\uFFFD', "character outside the code page"};
    return {0, nullptr};
}

void AppendAscii(std::u16string& out, const char* text)
{
    for (; *text; ++text)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
}

// Adds `words` to the spoken text as a word of its own.
void Speak(std::u16string& spoken, const char* words)
{
    if (!spoken.empty() && spoken.back() != u' ')
        spoken.push_back(u' ');
    AppendAscii(spoken, words);
    spoken.push_back(u' ');
}

} // namespace

CellText MakeCellText(std::string_view piece, std::size_t maxCharacters)
{
    CellText cell;
    if (piece.empty()) {
        cell.kind = CellText::Kind::Empty;
        AppendAscii(cell.spoken, "empty");
        return cell;
    }
    const std::size_t shownLength = std::min(piece.size(), maxCharacters);
    cell.cut = shownLength < piece.size();
    // Spaces inside the text read as spaces; at either end of what is shown
    // they would not be seen at all, so there they are shown as signs too.
    // Only the shown part is read: a piece may be a match of megabytes.
    const std::string_view shownPart = piece.substr(0, shownLength);
    const std::size_t firstNonSpace = shownPart.find_first_not_of(' ');
    const std::size_t lastNonSpace = shownPart.find_last_not_of(' ');
    cell.shown.reserve(shownLength + 1);
    for (std::size_t i = 0; i < shownLength; ++i) {
        const auto byte = static_cast<unsigned char>(piece[i]);
        Sign sign = SignFor(byte);
        if (byte == ' ' && (firstNonSpace == std::string_view::npos || i < firstNonSpace || i > lastNonSpace))
            sign = {u'\u2423', "space"};
        if (sign.spoken) {
            cell.shown.push_back(sign.shown);
            Speak(cell.spoken, sign.spoken);
        } else {
            const char16_t c = codepage::ToUnicode(piece[i]);
            cell.shown.push_back(c);
            cell.spoken.push_back(c);
        }
    }
    while (!cell.spoken.empty() && cell.spoken.back() == u' ')
        cell.spoken.pop_back();
    if (cell.cut) {
        cell.shown.push_back(u'\u2026');
        const std::string more = ", and " + std::to_string(piece.size() - shownLength) + " more characters";
        AppendAscii(cell.spoken, more.c_str());
    }
    return cell;
}

CellText MakeCellText(std::string_view input, MatchSpan span, std::size_t maxCharacters)
{
    if (!span.Matched()) {
        CellText cell;
        cell.kind = CellText::Kind::NotTaken;
        AppendAscii(cell.spoken, "did not take part");
        return cell;
    }
    const auto size = static_cast<std::int64_t>(input.size());
    const std::int64_t start = std::min(span.position, size);
    const std::int64_t length = std::min(span.length, size - start);
    return MakeCellText(input.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)),
                        maxCharacters);
}

} // namespace tamarin
