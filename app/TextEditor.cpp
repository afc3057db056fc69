#include "TextEditor.h"

#include "CodePageMirror.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

// A document layout that lays nothing out: the editor draws the text itself.
// A document without a layout of its own would get the rich-text one, which
// lays out every change in the background.
class UnlaidLayout : public QAbstractTextDocumentLayout {
public:
    using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;
    void draw(QPainter*, const PaintContext&) override {}
    int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }
    void documentChanged(int, int, int) override {}
};

// Runs `change` on `cursor` inside an edit block: one step of the undo
// history, and no layout asked for on the way.
template <typename Change> void InEditBlock(QTextCursor& cursor, bool joinPrevious, Change&& change)
{
    if (joinPrevious)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    change();
    cursor.endEditBlock();
}

bool IsBlank(QChar c)
{
    return c.isSpace();
}

} // namespace

TextEditor::TextEditor(QWidget* parent)
    : SlicedTextView(parent), document_(new QTextDocument(this))
{
    document_->setDocumentLayout(new UnlaidLayout(document_));
    mirror_ = new CodePageMirror(document_);
    cursor_ = QTextCursor(document_);
    setAttribute(Qt::WA_InputMethodEnabled);
    // A document says its contents changed at the end of every edit block,
    // also of one that only moved a cursor; only a reported change counts.
    connect(document_, &QTextDocument::contentsChange, this, [this] { changed_ = true; });
    connect(document_, &QTextDocument::contentsChanged, this, &TextEditor::OnContentsChanged);
    TextChanged();
}

TextEditor::~TextEditor() = default;

QStringView TextEditor::text() const
{
    return mirror_->Characters();
}

QString TextEditor::toPlainText() const
{
    QString plain = mirror_->Characters();
    std::replace(plain.begin(), plain.end(), QChar(QChar::Nbsp), QChar(u' '));
    return plain;
}

void TextEditor::setPlainText(const QString& text)
{
    // The document replaces its text in one edit block of its own and
    // forgets the undo history, as an editor's new text does.
    document_->setPlainText(text);
    cursor_ = QTextCursor(document_);
    typedUpTo_ = -1;
    verticalScrollBar()->setValue(0);
    CaretMoved();
}

void TextEditor::insertPlainText(const QString& text)
{
    Insert(text);
}

void TextEditor::setTextCursor(const QTextCursor& cursor)
{
    if (cursor.document() != document_)
        return;
    cursor_ = cursor;
    typedUpTo_ = -1;
    CaretMoved();
}

void TextEditor::SetSelection(qsizetype anchor, qsizetype caret)
{
    Select(anchor, caret);
}

void TextEditor::Select(qsizetype anchor, qsizetype caret)
{
    const qsizetype last = text().size();
    InEditBlock(cursor_, false, [&] {
        cursor_.setPosition(static_cast<int>(std::clamp<qsizetype>(anchor, 0, last)));
        cursor_.setPosition(static_cast<int>(std::clamp<qsizetype>(caret, 0, last)), QTextCursor::KeepAnchor);
    });
    typedUpTo_ = -1;
    CaretMoved();
}

void TextEditor::MergeSelectionFormat(const QTextCharFormat& format)
{
    if (cursor_.hasSelection())
        InEditBlock(cursor_, false, [&] { cursor_.mergeCharFormat(format); });
}

QTextCharFormat TextEditor::CharFormatAt(qsizetype position) const
{
    QTextCursor probe(document_);
    QTextCharFormat format;
    InEditBlock(probe, false, [&] {
        probe.setPosition(static_cast<int>(std::clamp<qsizetype>(position, 0, text().size())));
        format = probe.charFormat();
    });
    return format;
}

// --- editing ---

void TextEditor::Insert(const QString& text, bool joinPrevious)
{
    InEditBlock(cursor_, joinPrevious, [&] { cursor_.insertText(text); });
    typedUpTo_ = -1;
    CaretMoved();
}

void TextEditor::Replace(qsizetype from, qsizetype to, const QString& text)
{
    Select(from, to);
    Insert(text);
}

void TextEditor::Type(const QString& typed)
{
    const bool afterTyping = typedUpTo_ == Caret() && !cursor_.hasSelection() &&
                             undoStepsAfterTyping_ == document_->availableUndoSteps();
    const bool wordEnds = Caret() > 0 && IsBlank(typed.front()) && !IsBlank(text()[Caret() - 1]);
    Insert(typed, afterTyping && !wordEnds);
    typedUpTo_ = Caret();
    undoStepsAfterTyping_ = document_->availableUndoSteps();
}

void TextEditor::DeleteTo(qsizetype position)
{
    if (!cursor_.hasSelection()) {
        if (position == Caret())
            return;
        InEditBlock(cursor_, false, [&] {
            cursor_.setPosition(static_cast<int>(position), QTextCursor::KeepAnchor);
            cursor_.removeSelectedText();
        });
    } else {
        InEditBlock(cursor_, false, [&] { cursor_.removeSelectedText(); });
    }
    typedUpTo_ = -1;
    CaretMoved();
}

void TextEditor::Undo(bool redo)
{
    // The caret goes where the step changed the text. The document could
    // put it there itself, but would ask the paragraph's layout on the way.
    qsizetype changedUpTo = -1;
    const auto watch = connect(document_, &QTextDocument::contentsChange, this,
                               [&](int position, int, int added) { changedUpTo = position + added; });
    redo ? document_->redo() : document_->undo();
    disconnect(watch);
    if (changedUpTo >= 0)
        Select(changedUpTo, changedUpTo);
}

void TextEditor::undo()
{
    Undo(false);
}

void TextEditor::redo()
{
    Undo(true);
}

void TextEditor::cut()
{
    if (!cursor_.hasSelection())
        return;
    copy();
    DeleteTo(Caret());
}

void TextEditor::paste()
{
    const QString pasted = QApplication::clipboard()->text();
    if (!pasted.isEmpty())
        Insert(pasted);
}

// --- caret motion ---

qsizetype TextEditor::NextCharacter(qsizetype from) const
{
    const QStringView all = text();
    if (from >= all.size())
        return all.size();
    qsizetype to = from + 1;
    if (all[from].isHighSurrogate() && to < all.size() && all[to].isLowSurrogate())
        ++to;
    while (to < all.size() && all[to].isMark())
        ++to;
    return to;
}

qsizetype TextEditor::PreviousCharacter(qsizetype from) const
{
    const QStringView all = text();
    qsizetype to = std::max<qsizetype>(from - 1, 0);
    while (to > 0 && all[to].isMark())
        --to;
    if (to > 0 && all[to].isLowSurrogate() && all[to - 1].isHighSurrogate())
        --to;
    return to;
}

qsizetype TextEditor::NextWord(qsizetype from) const
{
    // To the start of the next word: past this word (or one mark of
    // punctuation), then past the blanks after it.
    const QStringView all = text();
    qsizetype to = from;
    if (to < all.size() && IsWordCharacter(all[to])) {
        while (to < all.size() && IsWordCharacter(all[to]))
            ++to;
    } else if (to < all.size() && !IsBlank(all[to])) {
        ++to;
    }
    while (to < all.size() && IsBlank(all[to]) && all[to] != u'\n')
        ++to;
    return to == from ? NextCharacter(from) : to;
}

qsizetype TextEditor::PreviousWord(qsizetype from) const
{
    const QStringView all = text();
    qsizetype to = from;
    while (to > 0 && IsBlank(all[to - 1]) && all[to - 1] != u'\n')
        --to;
    if (to > 0 && IsWordCharacter(all[to - 1])) {
        while (to > 0 && IsWordCharacter(all[to - 1]))
            --to;
    } else if (to > 0 && to == from) {
        to = PreviousCharacter(to);
    }
    return to;
}

qsizetype TextEditor::Destination(Motion motion) const
{
    const qsizetype caret = Caret();
    const QStringView all = text();
    switch (motion) {
    case Motion::NextCharacter: return NextCharacter(caret);
    case Motion::PreviousCharacter: return PreviousCharacter(caret);
    case Motion::NextWord: return NextWord(caret);
    case Motion::PreviousWord: return PreviousWord(caret);
    case Motion::NextRow: return RowsAway(caret, 1, XOf(caret));
    case Motion::PreviousRow: return RowsAway(caret, -1, XOf(caret));
    case Motion::NextPage: return RowsAway(caret, PageRows(), XOf(caret));
    case Motion::PreviousPage: return RowsAway(caret, -PageRows(), XOf(caret));
    case Motion::RowStart: return RowAround(caret).start;
    case Motion::RowEnd: {
        // A wrapped row ends before the blank it wrapped at, so that the
        // caret stays on the row.
        const Slice row = RowAround(caret);
        const bool wrapped = row.end < all.size() && all[row.end] != u'\n';
        return wrapped && row.end > row.start && IsBlank(all[row.end - 1]) ? row.end - 1 : row.end;
    }
    case Motion::TextStart: return 0;
    case Motion::TextEnd: return all.size();
    }
    return caret;
}

void TextEditor::Move(Motion motion, bool select)
{
    const bool collapse = !select && cursor_.hasSelection() &&
                          (motion == Motion::NextCharacter || motion == Motion::PreviousCharacter);
    if (collapse) {
        // Left or Right with a selection goes to its edge on that side.
        const qsizetype edge = motion == Motion::NextCharacter ? std::max(Anchor(), Caret())
                                                               : std::min(Anchor(), Caret());
        Select(edge, edge);
        return;
    }
    if (motion == Motion::NextPage || motion == Motion::PreviousPage)
        ScrollRows(motion == Motion::NextPage ? PageRows() : -PageRows());
    const qsizetype to = Destination(motion);
    Select(select ? Anchor() : to, to);
}

void TextEditor::CaretMoved()
{
    ShowCaret();
    ScrollToShow(Caret());
    viewport()->update();
    if (Caret() == lastPosition_)
        return;
    lastPosition_ = Caret();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(this, static_cast<int>(Caret()));
        QAccessible::updateAccessibility(&moved);
    }
    emit cursorPositionChanged();
}

void TextEditor::ShowCaret()
{
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
}

void TextEditor::OnContentsChanged()
{
    if (!changed_)
        return;
    changed_ = false;
    TextChanged();
    emit textChanged();
}

// --- keys ---

bool TextEditor::IsTyping(const QKeyEvent* event) const
{
    const QString typed = event->text();
    if (typed.isEmpty())
        return false;
    // Control with Alt is AltGr on many keyboards, which types characters.
    const Qt::KeyboardModifiers chords = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (chords == Qt::ControlModifier || chords == Qt::AltModifier)
        return false;
    const char32_t first = typed.front().isHighSurrogate() && typed.size() > 1
                               ? QChar::surrogateToUcs4(typed[0], typed[1])
                               : typed.front().unicode();
    return QChar::isPrint(first) || (first == u'\t' && !tabChangesFocus_);
}

bool TextEditor::RunKey(QKeyEvent* event, bool dryRun)
{
    using Key = QKeySequence;
    struct Command {
        Key::StandardKey key;
        void (*run)(TextEditor&);
    };
    static const Command commands[] = {
        {Key::Undo, [](TextEditor& e) { e.undo(); }},
        {Key::Redo, [](TextEditor& e) { e.redo(); }},
        {Key::Cut, [](TextEditor& e) { e.cut(); }},
        {Key::Copy, [](TextEditor& e) { e.copy(); }},
        {Key::Paste, [](TextEditor& e) { e.paste(); }},
        {Key::SelectAll, [](TextEditor& e) { e.selectAll(); }},
        {Key::Delete, [](TextEditor& e) { e.DeleteTo(e.NextCharacter(e.Caret())); }},
        {Key::DeleteStartOfWord, [](TextEditor& e) { e.DeleteTo(e.PreviousWord(e.Caret())); }},
        {Key::DeleteEndOfWord, [](TextEditor& e) { e.DeleteTo(e.NextWord(e.Caret())); }},
        {Key::InsertParagraphSeparator, [](TextEditor& e) { e.Insert(QStringLiteral("\n")); }},
        {Key::InsertLineSeparator, [](TextEditor& e) { e.Insert(QString(QChar::LineSeparator)); }},
    };
    struct MotionKey {
        Key::StandardKey move;
        Key::StandardKey select;
        Motion motion;
    };
    static const MotionKey motions[] = {
        {Key::MoveToNextChar, Key::SelectNextChar, Motion::NextCharacter},
        {Key::MoveToPreviousChar, Key::SelectPreviousChar, Motion::PreviousCharacter},
        {Key::MoveToNextWord, Key::SelectNextWord, Motion::NextWord},
        {Key::MoveToPreviousWord, Key::SelectPreviousWord, Motion::PreviousWord},
        {Key::MoveToNextLine, Key::SelectNextLine, Motion::NextRow},
        {Key::MoveToPreviousLine, Key::SelectPreviousLine, Motion::PreviousRow},
        {Key::MoveToNextPage, Key::SelectNextPage, Motion::NextPage},
        {Key::MoveToPreviousPage, Key::SelectPreviousPage, Motion::PreviousPage},
        {Key::MoveToStartOfLine, Key::SelectStartOfLine, Motion::RowStart},
        {Key::MoveToEndOfLine, Key::SelectEndOfLine, Motion::RowEnd},
        {Key::MoveToStartOfDocument, Key::SelectStartOfDocument, Motion::TextStart},
        {Key::MoveToEndOfDocument, Key::SelectEndOfDocument, Motion::TextEnd},
    };
    // Backspace has no standard key of its own on every platform.
    const bool backspace = event->key() == Qt::Key_Backspace &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (backspace) {
        // One code point: a mark typed over a letter goes alone.
        const QStringView all = text();
        qsizetype to = std::max<qsizetype>(Caret() - 1, 0);
        if (to > 0 && all[to].isLowSurrogate() && all[to - 1].isHighSurrogate())
            --to;
        if (!dryRun)
            DeleteTo(to);
        return true;
    }
    for (const Command& command : commands) {
        if (event->matches(command.key)) {
            if (!dryRun)
                command.run(*this);
            return true;
        }
    }
    for (const MotionKey& motion : motions) {
        const bool select = event->matches(motion.select);
        if (select || event->matches(motion.move)) {
            if (!dryRun)
                Move(motion.motion, select);
            return true;
        }
    }
    if (!IsTyping(event))
        return false;
    if (!dryRun)
        Type(event->text());
    return true;
}

bool TextEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the editor takes are not the window's shortcuts while it has
        // the focus: Delete deletes, Ctrl+Z undoes.
        auto* key = static_cast<QKeyEvent*>(event);
        if (RunKey(key, true)) {
            key->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && !tabChangesFocus_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
            Type(QStringLiteral("\t"));
            return true;
        }
    }
    return SlicedTextView::event(event);
}

void TextEditor::keyPressEvent(QKeyEvent* event)
{
    if (RunKey(event, false))
        event->accept();
    else
        event->ignore();
}

void TextEditor::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text arrives whole; it is not shown while being composed.
    if (event->replacementLength() > 0) {
        const qsizetype from = Caret() + event->replacementStart();
        Select(from, from + event->replacementLength());
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0)
        Insert(event->commitString());
    event->accept();
}

QVariant TextEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const Slice slice = SliceAt(Caret());
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImFont: return font();
    case Qt::ImHints: return static_cast<int>(inputMethodHints());
    case Qt::ImCursorRectangle: {
        const std::optional<QRectF> caret = CaretRectangle(Caret());
        return caret ? caret->translated(viewport()->pos()) : QRectF();
    }
    case Qt::ImSurroundingText: return text().mid(slice.start, slice.end - slice.start).toString();
    case Qt::ImCursorPosition: return static_cast<int>(Caret() - slice.start);
    case Qt::ImAnchorPosition:
        return static_cast<int>(std::clamp(Anchor(), slice.start, slice.end) - slice.start);
    case Qt::ImCurrentSelection: return selectedText();
    default: return SlicedTextView::inputMethodQuery(query);
    }
}

// --- drawing ---

qsizetype TextEditor::LineStart(qsizetype position) const
{
    return document_->findBlock(static_cast<int>(position)).position();
}

QList<QTextLayout::FormatRange> TextEditor::FormatsOf(qsizetype start, qsizetype end) const
{
    // The formats a highlight gave the characters; plain text has none.
    QList<QTextLayout::FormatRange> ranges;
    const QTextBlock block = document_->findBlock(static_cast<int>(start));
    for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
        const QTextFragment fragment = piece.fragment();
        const qsizetype from = std::max<qsizetype>(fragment.position(), start);
        const qsizetype to = std::min<qsizetype>(fragment.position() + fragment.length(), end);
        if (fragment.position() >= end)
            break;
        if (from >= to || fragment.charFormat().properties().isEmpty())
            continue;
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(from - start);
        range.length = static_cast<int>(to - from);
        range.format = fragment.charFormat();
        ranges.append(range);
    }
    return ranges;
}

void TextEditor::paintEvent(QPaintEvent* event)
{
    caretSliceStart_ = SliceAt(Caret()).start;
    SlicedTextView::paintEvent(event);
}

void TextEditor::PaintOver(QPainter& painter, const Slice& slice, const QTextLayout& layout,
                           const QPointF& origin)
{
    if (!hasFocus() || !caretShown_ || slice.start != caretSliceStart_)
        return;
    const int offset = static_cast<int>(Caret() - slice.start);
    const QTextLine line = layout.lineAt(RowOf(layout, offset));
    painter.fillRect(QRectF(origin.x() + line.cursorToX(offset), origin.y() + line.y(), 1, line.height()),
                     palette().text());
}

void TextEditor::focusInEvent(QFocusEvent* event)
{
    SlicedTextView::focusInEvent(event);
    ShowCaret();
    viewport()->update();
}

void TextEditor::focusOutEvent(QFocusEvent* event)
{
    SlicedTextView::focusOutEvent(event);
    blink_.stop();
    viewport()->update();
}

void TextEditor::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != blink_.timerId()) {
        SlicedTextView::timerEvent(event);
        return;
    }
    caretShown_ = !caretShown_;
    viewport()->update();
}

void TextEditor::contextMenuEvent(QContextMenuEvent* event)
{
    const bool selected = cursor_.hasSelection();
    QMenu menu(this);
    menu.addAction(tr("&Undo"), QKeySequence::Undo, this, &TextEditor::undo)
        ->setEnabled(document_->isUndoAvailable());
    menu.addAction(tr("&Redo"), QKeySequence::Redo, this, &TextEditor::redo)
        ->setEnabled(document_->isRedoAvailable());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), QKeySequence::Cut, this, &TextEditor::cut)->setEnabled(selected);
    menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &TextEditor::copy)->setEnabled(selected);
    menu.addAction(tr("&Paste"), QKeySequence::Paste, this, &TextEditor::paste)
        ->setEnabled(!QApplication::clipboard()->text().isEmpty());
    menu.addAction(tr("Delete"), this, [this] { DeleteTo(Caret()); })->setEnabled(selected);
    menu.addSeparator();
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &TextEditor::selectAll)
        ->setEnabled(!text().isEmpty());
    menu.exec(event->globalPos());
}
