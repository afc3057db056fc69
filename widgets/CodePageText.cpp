#include "CodePageText.h"

#include "CodePage.h"

#include <algorithm>

namespace CodePageText {

QString PlainCharacters(QString editorText)
{
    // The document's paragraph and line separators are line breaks to the
    // engine. One plain pass: QString::replace walks the text once per
    // character replaced, and a paste can be megabytes long.
    char16_t* const first = reinterpret_cast<char16_t*>(editorText.data());
    std::replace_if(first, first + editorText.size(), [](char16_t c) {
        return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
    }, u'\n');
    return editorText;
}

std::string ToCodePage(QStringView characters)
{
    std::string bytes(static_cast<std::size_t>(characters.size()), '\0');
    tamarin::codepage::EncodeInto(characters.utf16(), bytes.size(), bytes.data());
    return bytes;
}

std::string ToCodePage(const QString& editorText)
{
    return ToCodePage(QStringView(PlainCharacters(editorText)));
}

QString FromCodePage(std::string_view text)
{
    QString characters(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = characters.data();
    for (const char byte : text)
        *out++ = QChar(tamarin::codepage::ToUnicode(byte));
    return characters;
}

} // namespace CodePageText
