#pragma once
// The main window's editors: a plain-text editor for texts of any length.
//
// The text, its undo history and the character formats of a highlight are an
// EditorText, kept in the engine's code page; nothing is laid out but the
// rows on screen, a long line in slices, as a sliced view draws them. A
// rich-text document would shape a paragraph as one unit and keep the text
// twice as wide, with a block per line.
#include "EditorText.h"
#include "SlicedTextView.h"

#include <QBasicTimer>

#include <algorithm>
#include <vector>

class QTextCharFormat;

// Where an editor's selection runs: from the anchor to the caret.
struct TextSelection {
    qsizetype anchorAt = 0;
    qsizetype caretAt = 0;
    qsizetype anchor() const { return anchorAt; }
    qsizetype position() const { return caretAt; }
    qsizetype selectionStart() const { return std::min(anchorAt, caretAt); }
    qsizetype selectionEnd() const { return std::max(anchorAt, caretAt); }
    bool hasSelection() const { return anchorAt != caretAt; }
};

class TextEditor : public SlicedTextView {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText NOTIFY textChanged USER true)
    Q_PROPERTY(bool tabChangesFocus READ tabChangesFocus WRITE setTabChangesFocus)
public:
    explicit TextEditor(QWidget* parent = nullptr);
    ~TextEditor() override;

    // The text with its history and formats; the engine reads its bytes.
    const EditorText& Content() const { return text_; }

    TextSpan text() const override { return text_.Characters(); }
    bool isEmpty() const { return text_.isEmpty(); }
    // As an editor gives its text: line breaks as '\n', no-break spaces as blanks.
    QString toPlainText() const;
    void setPlainText(const QString& text);
    void insertPlainText(const QString& text);
    void clear() { setPlainText({}); }

    TextSelection selection() const { return {anchor_, caret_}; }
    // Selects from `anchor` to `caret`, clamped to the text.
    void SetSelection(qsizetype anchor, qsizetype caret);
    // Deletes [from, to) as part of the last step of the undo history, so
    // that one undo takes back both; the caret keeps its place in the text.
    void DeleteJoiningLastStep(qsizetype from, qsizetype to);
    bool isUndoAvailable() const { return text_.CanUndo(); }
    bool isRedoAvailable() const { return text_.CanRedo(); }
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
    qsizetype Anchor() const override { return anchor_; }
    qsizetype Caret() const override { return caret_; }
    void Select(qsizetype anchor, qsizetype caret) override;
    bool IsEditable() const override { return true; }
    void Replace(qsizetype from, qsizetype to, const QString& text) override;
    SharedSpan ShareSpan(qsizetype from, qsizetype to) const override;
    void Dress(QTextLayout& layout, const Slice& slice) const override;
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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Motion {
        NextCharacter, PreviousCharacter, NextWord, PreviousWord, NextRow, PreviousRow,
        NextPage, PreviousPage, RowStart, RowEnd, TextStart, TextEnd
    };
    void Move(Motion motion, bool select);
    qsizetype Destination(Motion motion) const;
    // PageDown (`down`) or PageUp, as the standard editor pages.
    void Page(bool down, bool select);
    // Where rows up and down aim: the column the caret keeps.
    qreal CaretX() const;
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
    // Replaces [from, to) with `text`; the caret goes after it.
    void Edit(qsizetype from, qsizetype to, const QString& text, bool joinPrevious);
    // Before an edit, undo or redo: its changes are noted while someone listens.
    void NoteChanges();
    // Tells assistive technology of changed characters.
    void TellTextChanged(const std::vector<EditorText::Change>& changes);
    // The text changed from `from` on: the view, the caret and the
    // listeners follow.
    void Changed(qsizetype anchor, qsizetype caret, qsizetype from = 0);
    // Deletes the selection, or without one, from the caret to `position`.
    void DeleteTo(qsizetype position);
    // Deletes the selection, or without one, to the next (`forward`) or
    // the previous word stop.
    void DeleteWord(bool forward);
    // Ctrl+K of some desktops: deletes to the end of the line.
    void DeleteToLineEnd();
    // Deletes from the anchor to `to`, as if the caret had selected it.
    void DeleteSelectingTo(qsizetype to);
    // Ctrl+A and the menu's "Select All".
    void SelectEverything();
    void Undo(bool redo);
    void CaretMoved();
    void ShowCaret();
    // A one-pixel caret at `offset` of a slice's layout drawn at `origin`.
    void PaintCaret(QPainter& painter, const QTextLayout& layout, const QPointF& origin, int offset) const;
    // Accepts a drag that carries text and notes where it would drop it;
    // refuses any other.
    bool AcceptsDrop(QDropEvent* event);
    // Moves [from, to) to `at` as one step of the undo history; the caret
    // ends up after the moved text.
    void MoveText(qsizetype from, qsizetype to, qsizetype at);
    // Inserts what other programs offer as their selection (X11's PRIMARY)
    // at `point`, where the desktop has one.
    void PasteSelectionAt(const QPoint& point);
    bool HasSelection() const { return anchor_ != caret_; }

    EditorText text_;
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    QBasicTimer blink_;
    bool caretShown_ = true;
    bool tabChangesFocus_ = false;
    qsizetype caretSliceStart_ = -1;  // of the caret's slice, while painting
    QString preedit_;                 // text an input method is composing, at the caret
    int preeditCursor_ = 0;           // the input method's caret in it
    qsizetype dropAt_ = -1;           // where a drag over the editor would drop
    qsizetype dropSliceStart_ = -1;
    qsizetype typedUpTo_ = -1;        // where the last typing ended
    int undoStepsAfterTyping_ = -1;
    qsizetype lastPosition_ = 0;
    qreal caretX_ = -1;               // the column kept by rows up and down, or none
    qreal pageY_ = 0;                 // how far down the view the caret was before paging
    bool pageYKnown_ = false;         // while page keys follow each other
    bool caretScrollsIntoView_ = true;  // but not where everything is selected
};
