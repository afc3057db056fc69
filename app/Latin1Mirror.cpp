#include "Latin1Mirror.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

Latin1Mirror::Latin1Mirror(QTextDocument* document) : QObject(document), document_(document)
{
    // A document reports its changes only once it has a layout; an editor's
    // document has one already, a bare document gets the default one here.
    document_->documentLayout();
    Rebuild();
    connect(document_, &QTextDocument::contentsChange, this, &Latin1Mirror::OnContentsChange);
}

std::string Latin1Mirror::ToLatin1(const QString& text)
{
    QString plain = text;
    // The document's paragraph and line separators are line breaks to the engine.
    plain.replace(QChar::ParagraphSeparator, u'\n');
    plain.replace(QChar::LineSeparator, u'\n');
    const QByteArray bytes = plain.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string Latin1Mirror::TextOfRange(int position, int length) const
{
    if (length <= 0)
        return {};
    QTextCursor cursor(document_);
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    return ToLatin1(cursor.selectedText());
}

void Latin1Mirror::Rebuild()
{
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks.
    text_ = ToLatin1(document_->toRawText());
    // The document ends in a paragraph separator of its own that is not text.
    const auto length = static_cast<std::size_t>(std::max(document_->characterCount() - 1, 0));
    if (text_.size() > length)
        text_.resize(length);
}

void Latin1Mirror::OnContentsChange(int position, int charsRemoved, int charsAdded)
{
    const int textLength = std::max(document_->characterCount() - 1, 0);
    const auto oldLength = static_cast<int>(text_.size());
    // The document sometimes reports ranges that include its final separator;
    // clip both ranges to the text.
    position = std::clamp(position, 0, oldLength);
    const int removed = std::clamp(charsRemoved, 0, oldLength - position);
    const int added = std::clamp(charsAdded, 0, std::max(textLength - position, 0));

    std::string replacement = TextOfRange(position, added);
    const bool sameCharacters =
        removed == added && text_.compare(static_cast<std::size_t>(position),
                                          static_cast<std::size_t>(removed), replacement) == 0;
    if (!sameCharacters)
        text_.replace(static_cast<std::size_t>(position), static_cast<std::size_t>(removed),
                      replacement);
    if (static_cast<int>(text_.size()) != textLength) {
        // A report we could not follow: read the whole text again.
        Rebuild();
        emit edited();
        return;
    }
    if (!sameCharacters)
        emit edited();
}
