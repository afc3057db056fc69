#pragma once
// Editor text in the engine's 8-bit code page (Windows-1252) and back. Both
// hold one unit per editor position, so a position in the 8-bit text is the
// same position in the editor; a character the page lacks is its stand-in
// byte.
#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace CodePageText {

// A document's raw text with its paragraph and line separators as '\n'.
QString PlainCharacters(QString editorText);
std::string ToCodePage(QStringView characters);
// A document's raw text, its separators as '\n'.
std::string ToCodePage(const QString& editorText);
// 8-bit text with no editor text behind it, as characters.
QString FromCodePage(std::string_view text);

} // namespace CodePageText
