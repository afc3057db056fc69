#pragma once
// Keeps an 8-bit (Latin-1) copy of a text document up to date edit by edit,
// so that reading a large input editor's text costs a copy, not a conversion
// of the whole document on every read. Also tells real edits apart from
// changes of character formatting, which the document reports the same way.
#include <QObject>

#include <string>

class QTextDocument;

class Latin1Mirror : public QObject {
    Q_OBJECT
public:
    explicit Latin1Mirror(QTextDocument* document);

    // The document's text with each line break as one '\n' and every
    // character outside Latin-1 as '?': one byte per editor position.
    const std::string& Text() const { return text_; }

    // Converts a piece of editor text the same way.
    static std::string ToLatin1(const QString& text);

signals:
    // The characters changed (formatting alone does not count).
    void edited();

private:
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    void Rebuild();
    std::string TextOfRange(int position, int length) const;

    QTextDocument* document_;
    std::string text_;
};
