#pragma once
// The main window's editors: a plain-text editor for texts of any length.
//
// The text lives in a QTextDocument, which keeps the undo history, the
// cursors and the character formats of a highlight. The document is never
// laid out: a QTextDocument shapes a paragraph as one unit, so a line of
// megabytes would cost a second a keystroke. The editor draws from the
// document's mirror instead, a screenful at a time, as a sliced view does.
//
// Every cursor operation runs inside an edit block: outside one, a cursor
// asks the paragraph's layout where it stands after each move, and that
// shapes the whole paragraph.
#include "SlicedTextView.h"

#include <QBasicTimer>
#include <QTextCursor>

class CodePageMirror;
class QTextCharFormat;
class QTextDocument;

class TextEditor : public SlicedTextView {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText NOTIFY textChanged USER true)
    Q_PROPERTY(bool tabChangesFocus READ tabChangesFocus WRITE setTabChangesFocus)
public:
    explicit TextEditor(QWidget* parent = nullptr);
    ~TextEditor() override;

    QTextDocument* document() const { return document_; }
    // The document's characters, kept up to date edit by edit, also in the
    // engine's code page.
    CodePageMirror& Mirror() const { return *mirror_; }

    QStringView text() const override;
    // As an editor gives its text: line breaks as '\n', no-break spaces as blanks.
    QString toPlainText() const;
    void setPlainText(const QString& text);
    void insertPlainText(const QString& text);
    void clear() { setPlainText({}); }

    QTextCursor textCursor() const { return cursor_; }
    void setTextCursor(const QTextCursor& cursor);
    // Selects from `anchor` to `caret`, clamped to the text.
    void SetSelection(qsizetype anchor, qsizetype caret);
    // Merges `format` into the selected characters' formats.
    void MergeSelectionFormat(const QTextCharFormat& format);
    // The format a caret at `position` reports: that of the character
    // before it, or at a line's start of the character after it.
    QTextCharFormat CharFormatAt(qsizetype position) const;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    bool tabChangesFocus() const { return tabChangesFocus_; }
    void setTabChangesFocus(bool changes) { tabChangesFocus_ = changes; }

public slots:
    void undo();
    void redo();
    void cut();
    void paste();

signals:
    void textChanged();
    void cursorPositionChanged();

protected:
    qsizetype Anchor() const override { return cursor_.anchor(); }
    qsizetype Caret() const override { return cursor_.position(); }
    void Select(qsizetype anchor, qsizetype caret) override;
    qsizetype LineStart(qsizetype position) const override;
    bool IsEditable() const override { return true; }
    void Replace(qsizetype from, qsizetype to, const QString& text) override;
    QList<QTextLayout::FormatRange> FormatsOf(qsizetype start, qsizetype end) const override;
    void PaintOver(QPainter& painter, const Slice& slice, const QTextLayout& layout,
                   const QPointF& origin) override;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Motion {
        NextCharacter, PreviousCharacter, NextWord, PreviousWord, NextRow, PreviousRow,
        NextPage, PreviousPage, RowStart, RowEnd, TextStart, TextEnd
    };
    void Move(Motion motion, bool select);
    qsizetype Destination(Motion motion) const;
    qsizetype NextCharacter(qsizetype from) const;
    qsizetype PreviousCharacter(qsizetype from) const;
    qsizetype NextWord(qsizetype from) const;
    qsizetype PreviousWord(qsizetype from) const;
    // Runs what `event` asks of the editor; false when it asks nothing.
    bool RunKey(QKeyEvent* event, bool dryRun);
    bool IsTyping(const QKeyEvent* event) const;
    // Typed text joins the typing before it into one step of the undo
    // history, up to a blank after a word.
    void Type(const QString& text);
    // Replaces the selection with `text` as one step of the undo history.
    void Insert(const QString& text, bool joinPrevious = false);
    // Deletes the selection, or without one, from the caret to `position`.
    void DeleteTo(qsizetype position);
    void Undo(bool redo);
    void CaretMoved();
    void ShowCaret();
    void OnContentsChanged();

    QTextDocument* document_;
    CodePageMirror* mirror_;
    QTextCursor cursor_;
    QBasicTimer blink_;
    bool caretShown_ = true;
    bool tabChangesFocus_ = false;
    bool changed_ = false;  // since the document last finished a change
    qsizetype caretSliceStart_ = -1;  // of the caret's slice, while painting
    qsizetype typedUpTo_ = -1;        // where the last typing ended
    int undoStepsAfterTyping_ = -1;
    qsizetype lastPosition_ = 0;
};
