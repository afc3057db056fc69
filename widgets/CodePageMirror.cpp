#include "CodePageMirror.h"

#include "CodePage.h"

#include <QTextDocument>

#include <algorithm>

CodePageMirror::CodePageMirror(QTextDocument* document)
    : QObject(document), document_(document), endMark_(document)
{
    // A document reports its changes only once it has a layout; an editor's
    // document has one already, a bare document gets the default one here.
    document_->documentLayout();
    Rebuild();
    endMark_.movePosition(QTextCursor::End);
    connect(document_, &QTextDocument::contentsChange, this, &CodePageMirror::OnContentsChange);
    // An insertion or removal moves a cursor; the document tells which ones
    // moved just before it reports that it has finished the change.
    connect(document_, &QTextDocument::cursorPositionChanged, this, [this] { edited_ = true; });
    connect(document_, &QTextDocument::contentsChanged, this, &CodePageMirror::OnChangeFinished);
}

QString CodePageMirror::PlainCharacters(QString editorText)
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

std::string CodePageMirror::ToCodePage(QStringView characters)
{
    std::string bytes(static_cast<std::size_t>(characters.size()), '\0');
    tamarin::codepage::EncodeInto(characters.utf16(), bytes.size(), bytes.data());
    return bytes;
}

std::string CodePageMirror::ToCodePage(const QString& editorText)
{
    return ToCodePage(QStringView(PlainCharacters(editorText)));
}

QString CodePageMirror::FromCodePage(std::string_view text)
{
    QString characters(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = characters.data();
    for (const char byte : text)
        *out++ = QChar(tamarin::codepage::ToUnicode(byte));
    return characters;
}

QString CodePageMirror::CharactersOfRange(int position, int length) const
{
    if (length <= 0)
        return {};
    if (position == 0 && length == document_->characterCount() - 1) {
        // The whole text, as after a paste into an empty editor: reading the
        // document whole is quicker than through a selection.
        QString all = document_->toRawText();
        all.truncate(length);
        return PlainCharacters(std::move(all));
    }
    QTextCursor cursor(document_);
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    return PlainCharacters(cursor.selectedText());
}

void CodePageMirror::Rebuild()
{
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks.
    characters_ = PlainCharacters(document_->toRawText());
    // The document ends in a paragraph separator of its own that is not text.
    const qsizetype length = std::max(document_->characterCount() - 1, 0);
    if (characters_.size() > length)
        characters_.truncate(length);
    text_ = ToCodePage(QStringView(characters_));
}

void CodePageMirror::OnContentsChange(int position, int charsRemoved, int charsAdded)
{
    const int textLength = std::max(document_->characterCount() - 1, 0);
    const auto oldLength = static_cast<int>(characters_.size());
    // The document sometimes reports ranges that include its final separator;
    // clip both ranges to the text.
    position = std::clamp(position, 0, oldLength);
    const int removed = std::clamp(charsRemoved, 0, oldLength - position);
    const int added = std::clamp(charsAdded, 0, std::max(textLength - position, 0));

    const QString replacement = CharactersOfRange(position, added);
    if (removed == added && QStringView(characters_).mid(position, removed) == replacement)
        return;  // formatting, or characters put back as they were (see endMark_)
    edited_ = true;
    if (removed == oldLength) {
        // All of it replaced, as by a paste over everything: no copy to patch.
        characters_ = replacement;
        text_ = ToCodePage(QStringView(replacement));
    } else {
        ReplaceCharacters(position, removed, replacement);
        text_.replace(static_cast<std::size_t>(position), static_cast<std::size_t>(removed),
                      ToCodePage(QStringView(replacement)));
    }
    if (characters_.size() != textLength)
        Rebuild();  // a report we could not follow: read the whole text again
}

void CodePageMirror::ReplaceCharacters(qsizetype position, qsizetype removed, QStringView replacement)
{
    if (characters_.isDetached()) {
        characters_.replace(position, removed, replacement.data(), replacement.size());
        return;
    }
    // A result pane shares these characters: build the new text in one pass
    // instead of copying the old one first and then moving its tail.
    const QStringView old(characters_);
    QString next(old.size() - removed + replacement.size(), Qt::Uninitialized);
    QChar* out = std::copy(old.begin(), old.begin() + position, next.data());
    out = std::copy(replacement.begin(), replacement.end(), out);
    std::copy(old.begin() + position + removed, old.end(), out);
    characters_ = std::move(next);
}

void CodePageMirror::OnChangeFinished()
{
    // Text inserted at the very end may have been put behind the mark.
    if (endMark_.position() != std::max(document_->characterCount() - 1, 0))
        endMark_.movePosition(QTextCursor::End);
    if (!edited_)
        return;
    edited_ = false;  // before anyone reacts: a reaction may change the document again
    emit edited();
}
