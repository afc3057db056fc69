#pragma once
// Keeps copies of a text document up to date edit by edit: its characters,
// and the same text in the engine's 8-bit code page (Windows-1252), so that
// reading a large input editor's text costs a copy, not a conversion of the
// whole document on every read. Both hold one unit per editor position, so a
// position in the 8-bit text is the same position in the editor.
//
// Also tells edits apart from changes of character formatting, which the
// document reports the same way, and reports an edit only once the document
// has finished it (laid out, cursors moved).
#include <QObject>
#include <QString>
#include <QTextCursor>

#include <string>
#include <string_view>

class QTextDocument;

class CodePageMirror : public QObject {
    Q_OBJECT
public:
    // A change is finished when the document says its contents changed.
    explicit CodePageMirror(QTextDocument* document);

    // The document's characters, each line break as one '\n'.
    const QString& Characters() const { return characters_; }
    // The same in the code page; a character the page lacks is its stand-in byte.
    const std::string& Text() const { return text_; }

    // Converts a piece of editor text the same way.
    static QString PlainCharacters(QString editorText);
    static std::string ToCodePage(QStringView characters);
    static std::string ToCodePage(const QString& editorText);
    // 8-bit text with no editor text behind it, as characters.
    static QString FromCodePage(std::string_view text);

signals:
    // The characters changed, by any edit, typing a character over the same
    // one included; formatting alone does not count. Emitted once per change
    // of the document, after the document has finished it.
    void edited();

private:
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    void OnChangeFinished();
    void Rebuild();
    QString CharactersOfRange(int position, int length) const;
    void ReplaceCharacters(qsizetype position, qsizetype removed, QStringView replacement);

    QTextDocument* document_;
    QString characters_;
    std::string text_;
    // Kept at the end of the text: every insertion or removal moves it, even
    // one that puts back the characters it took, while formatting never does.
    QTextCursor endMark_;
    bool edited_ = false;  // since the document last finished a change
};
