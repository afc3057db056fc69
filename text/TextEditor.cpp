#include "TextEditor.h"

#include "HeapPolicy.h"

#include "SlicedTextAccessible.h"
#include "WordBoundaries.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMimeData>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QVersionNumber>

#include <algorithm>
#include <limits>

using words::IsBlank;

TextEditor::TextEditor(QWidget* parent) : SlicedTextView(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    TextChanged();
}

TextEditor::~TextEditor() = default;

QString TextEditor::toPlainText() const
{
    QString plain = text().toString();
    std::replace(plain.begin(), plain.end(), QChar(QChar::Nbsp), QChar(u' '));
    return plain;
}

void TextEditor::setPlainText(const QString& text)
{
    // A new text forgets the undo history, as an editor's new text does.
    const bool wasEmpty = text_.isEmpty();
    const bool large = std::max(text.size(), text_.size()) >= heap::LargeText;
    const QString before = SlicedTextAccessible::Listening() ? text_.Characters().toString() : QString();
    text_.Reset(text);
    if (SlicedTextAccessible::Listening() && !(wasEmpty && text_.isEmpty()))
        TellTextChanged({{0, before, text_.Characters().toString()}});
    verticalScrollBar()->setValue(0);
    pageYKnown_ = false;  // even where the caret stays at the start
    if (wasEmpty && text_.isEmpty())
        Select(0, 0);
    else
        Changed(0, 0);
    if (large)
        heap::ReturnFreedMemory();
}

void TextEditor::insertPlainText(const QString& text)
{
    Insert(text);
}

void TextEditor::SetSelection(qsizetype anchor, qsizetype caret)
{
    Select(anchor, caret);
}

void TextEditor::Select(qsizetype anchor, qsizetype caret)
{
    const qsizetype last = text_.size();
    const qsizetype oldAnchor = std::exchange(anchor_, std::clamp<qsizetype>(anchor, 0, last));
    const qsizetype oldCaret = std::exchange(caret_, std::clamp<qsizetype>(caret, 0, last));
    TellSelectionChanged(oldAnchor, oldCaret);
    if (!preedit_.isEmpty())
        ForgetLayouts();  // the composed text is shown at the caret
    typedUpTo_ = -1;
    caretX_ = -1;
    CaretMoved();
}

void TextEditor::MergeSelectionFormat(const QTextCharFormat& format)
{
    if (!HasSelection())
        return;
    text_.MergeFormat(std::min(anchor_, caret_), std::max(anchor_, caret_), format);
    ForgetLayouts();
    viewport()->update();
}

QTextCharFormat TextEditor::CharFormatAt(qsizetype position) const
{
    return text_.FormatAt(position);
}

// --- editing ---

void TextEditor::Changed(qsizetype anchor, qsizetype caret, qsizetype from)
{
    // The caret is in place before anyone hears of the change: a reaction
    // may look at both, or change the text again. Assistive technology hears
    // of the characters first, then of the caret, as from any editor.
    TextChanged(from);
    TellTextChanged(text_.TakeChanges());
    Select(anchor, caret);
    emit textChanged();
}

void TextEditor::Edit(qsizetype from, qsizetype to, const QString& text, bool joinPrevious)
{
    from = std::clamp<qsizetype>(from, 0, text_.size());
    to = std::clamp<qsizetype>(to, from, text_.size());
    const qsizetype before = text_.size();
    // The standard editor's caret moves with text inserted at it and with
    // text removed before it, even where it ends where it stood, as after
    // typing over a selection of one character: page keys start afresh.
    const bool caretMoves = !text.isEmpty() || Caret() > from;
    NoteChanges();
    if (from < to || !text.isEmpty())
        NoteTopBeforeEdit(from);
    if (!text_.Replace(from, to, text, joinPrevious))
        return;
    if (caretMoves)
        pageYKnown_ = false;
    const qsizetype end = to + text_.size() - before;
    Changed(end, end, from);
}

void TextEditor::Insert(const QString& text, bool joinPrevious)
{
    Edit(std::min(anchor_, caret_), std::max(anchor_, caret_), text, joinPrevious);
}

void TextEditor::Replace(qsizetype from, qsizetype to, const QString& text)
{
    Edit(from, to, text, false);
}

SharedSpan TextEditor::ShareSpan(qsizetype from, qsizetype to) const
{
    // While shared, the version stays as it is: the next edit writes a new one.
    return {text_.Version(), from, to - from};
}

void TextEditor::DeleteJoiningLastStep(qsizetype from, qsizetype to)
{
    const qsizetype anchor = anchor_;
    const qsizetype caret = caret_;
    NoteChanges();
    if (from < to)
        NoteTopBeforeEdit(from);
    if (!text_.Replace(from, to, {}, true))
        return;
    const auto kept = [&](qsizetype at) { return at <= from ? at : std::max(from, at - (to - from)); };
    Changed(kept(anchor), kept(caret), from);
}

void TextEditor::NoteChanges()
{
    // The removed characters are copied only for someone who listens.
    text_.NoteChanges(SlicedTextAccessible::Listening());
}

void TextEditor::TellTextChanged(const std::vector<EditorText::Change>& changes)
{
    for (const EditorText::Change& change : changes) {
        const int at = static_cast<int>(change.at);
        if (change.removed.isEmpty()) {
            QAccessibleTextInsertEvent inserted(this, at, change.inserted);
            SlicedTextAccessible::Tell(inserted);
        } else if (change.inserted.isEmpty()) {
            QAccessibleTextRemoveEvent removed(this, at, change.removed);
            SlicedTextAccessible::Tell(removed);
        } else {
            QAccessibleTextUpdateEvent replaced(this, at, change.removed, change.inserted);
            SlicedTextAccessible::Tell(replaced);
        }
    }
}

void TextEditor::Type(const QString& typed)
{
    const bool afterTyping = typedUpTo_ == Caret() && !HasSelection() &&
                             undoStepsAfterTyping_ == text_.UndoSteps();
    const bool wordEnds = Caret() > 0 && IsBlank(typed.front()) && !IsBlank(text()[Caret() - 1]);
    Insert(typed, afterTyping && !wordEnds);
    typedUpTo_ = Caret();
    undoStepsAfterTyping_ = text_.UndoSteps();
}

void TextEditor::DeleteTo(qsizetype position)
{
    caretX_ = -1;  // even when there is nothing to delete
    if (HasSelection())
        Insert({});
    else if (position != Caret())
        Edit(std::min(position, Caret()), std::max(position, Caret()), {}, false);
}

void TextEditor::DeleteWord(bool forward)
{
    if (HasSelection())
        DeleteSelectingTo(Caret());
    else
        DeleteSelectingTo(forward ? NextWord(Caret()) : PreviousWord(Caret()));
}

void TextEditor::DeleteToLineEnd()
{
    // From the anchor to the line's end; just before the end, the last
    // character alone.
    const TextSpan all = text();
    const qsizetype found = all.indexOf(u'\n', Caret());
    const qsizetype lineEnd = found < 0 ? all.size() : found;
    DeleteSelectingTo(Caret() + 1 == lineEnd ? NextCharacter(Caret()) : lineEnd);
}

void TextEditor::DeleteSelectingTo(qsizetype to)
{
    // As the standard editor deletes words and to the line's end: the caret
    // selects from the anchor to `to`, then the selection goes. Page keys
    // after it start afresh only where that took the caret back from the
    // selection's end: after deleting forward, though the caret ends where
    // it was, but not after deleting backward, though it moved.
    caretX_ = -1;  // even when there is nothing to delete
    const qsizetype anchor = Anchor();
    const bool pageYKnown = pageYKnown_;
    if (to != anchor)
        Edit(std::min(anchor, to), std::max(anchor, to), {}, false);
    else if (to != Caret())
        Select(to, to);  // the selection ended where it started: nothing to delete
    pageYKnown_ = pageYKnown && to <= anchor;
}

void TextEditor::SelectEverything()
{
    // The standard editor selects everything where it stands: the view
    // stays. Up to Qt 6.7 it does not count this as a move of the caret, so
    // page keys after it page from the height they remembered before; from
    // Qt 6.8 on it does, and they page from where the caret is. We follow
    // the Qt that runs, as the user's other editors do.
    static const bool selectingMovesCaret = QLibraryInfo::version() >= QVersionNumber(6, 8);
    const bool pageYKnown = pageYKnown_;
    caretScrollsIntoView_ = false;
    selectAll();
    caretScrollsIntoView_ = true;
    pageYKnown_ = pageYKnown && !selectingMovesCaret;
}

void TextEditor::Undo(bool redo)
{
    NoteChanges();
    const std::optional<EditorText::Stepped> stepped = redo ? text_.Redo() : text_.Undo();
    if (!stepped)
        return;
    if (stepped->edited)
        Changed(stepped->caret, stepped->caret);  // the caret goes where the step changed the text
    else
        ForgetLayouts();  // formats only
    viewport()->update();
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
    if (!HasSelection())
        return;
    copy();
    DeleteTo(Caret());
}

void TextEditor::paste()
{
    qsizetype length = 0;
    {
        const QString pasted = QApplication::clipboard()->text();
        length = pasted.size();
        if (!pasted.isEmpty())
            Insert(pasted);
    }
    if (length >= heap::LargeText)
        heap::ReturnFreedMemory();
}

// --- caret motion ---

qsizetype TextEditor::NextCharacter(qsizetype from) const
{
    const TextSpan all = text();
    if (from >= all.size())
        return all.size();
    qsizetype to = from + 1;
    if (all[from].category() == QChar::Other_Control)
        return to;  // a mark after a line break or a tab stands alone
    if (all[from].isHighSurrogate() && to < all.size() && all[to].isLowSurrogate())
        ++to;
    while (to < all.size() && all[to].isMark())
        ++to;
    return to;
}

qsizetype TextEditor::PreviousCharacter(qsizetype from) const
{
    const TextSpan all = text();
    qsizetype to = std::max<qsizetype>(from - 1, 0);
    while (to > 0 && all[to].isMark() && all[to - 1].category() != QChar::Other_Control)
        --to;
    if (to > 0 && all[to].isLowSurrogate() && all[to - 1].isHighSurrogate())
        --to;
    return to;
}

qsizetype TextEditor::NextWord(qsizetype from) const
{
    // Past the word (or run of separators) at `from`, then past the blanks;
    // a line's end goes on to the next line's start.
    const TextSpan all = text();
    if (from >= all.size())
        return all.size();
    if (all[from] == u'\n')
        return from + 1;
    const Slice line = LineAround(from);
    const TextSpan paragraph = all.mid(line.start, line.end - line.start);
    qsizetype to = words::EndOfWord(paragraph, from - line.start).value_or(from - line.start);
    while (to < paragraph.size() && IsBlank(paragraph[to]))
        ++to;
    return line.start + to;
}

qsizetype TextEditor::PreviousWord(qsizetype from) const
{
    const TextSpan all = text();
    if (from <= 0)
        return 0;
    if (all[from - 1] == u'\n')
        return from - 1;
    const qsizetype start = LineStart(from);
    return start + words::PreviousStop(all.mid(start, from - start), from - start);
}

qsizetype TextEditor::Destination(Motion motion) const
{
    const qsizetype caret = Caret();
    const TextSpan all = text();
    switch (motion) {
    case Motion::NextCharacter: return NextCharacter(caret);
    case Motion::PreviousCharacter: return PreviousCharacter(caret);
    case Motion::NextWord: return NextWord(caret);
    case Motion::PreviousWord: return PreviousWord(caret);
    // On the first or the last row the caret stays.
    case Motion::NextRow: return RowNextTo(caret, true, CaretX()).value_or(caret);
    case Motion::PreviousRow: return RowNextTo(caret, false, CaretX()).value_or(caret);
    case Motion::NextPage:
    case Motion::PreviousPage: return caret;  // see Page
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

qreal TextEditor::CaretX() const
{
    return caretX_ >= 0 ? caretX_ : XOf(Caret());
}

void TextEditor::Move(Motion motion, bool select)
{
    const bool collapse = !select && HasSelection() &&
                          (motion == Motion::NextCharacter || motion == Motion::PreviousCharacter);
    if (collapse) {
        // Left or Right with a selection goes to its edge on that side.
        const qsizetype edge = motion == Motion::NextCharacter ? std::max(Anchor(), Caret())
                                                               : std::min(Anchor(), Caret());
        Select(edge, edge);
        return;
    }
    if (motion == Motion::NextPage || motion == Motion::PreviousPage) {
        Page(motion == Motion::NextPage, select);
        return;
    }
    bool vertical = motion == Motion::NextRow || motion == Motion::PreviousRow;
    if (vertical && !RowNextTo(Caret(), motion == Motion::NextRow, 0)) {
        // Past the first or the last row the caret stays, and so does a
        // selection; Shift selects on to the text's start or end.
        if (!select) {
            ScrollToShow(Caret());
            return;
        }
        motion = motion == Motion::NextRow ? Motion::TextEnd : Motion::TextStart;
        vertical = false;
    }
    const qsizetype to = Destination(motion);
    // Rows up and down keep the column the caret had before them, over
    // shorter rows; every other motion sets it anew.
    const qreal x = vertical ? CaretX() : -1;
    Select(select ? Anchor() : to, to);
    caretX_ = x;
}

void TextEditor::Page(bool down, bool select)
{
    // The view scrolls by what it shows, then the caret goes row by row,
    // keeping its column, until it is as far down the view as it was; at the
    // text's ends, to the first or the last row. Page after page keeps the
    // height the first one started from.
    ScrollToShow(Caret());
    if (!pageYKnown_)
        pageY_ = RowTop(Caret());
    const qreal x = CaretX();
    bool atEnd = false;
    const qsizetype top = PageTop(down, atEnd);
    if (!down || !atEnd)
        ScrollTo(top);
    const qreal y = atEnd ? (down ? std::numeric_limits<qreal>::max() : -1) : pageY_;
    qsizetype to = Caret();
    bool stepped = false;
    for (;;) {
        // The end of a row wrapped inside a word is the start of the next:
        // a step that lands where it started goes no further.
        const std::optional<qsizetype> next = RowNextTo(to, down, x);
        if (!next)
            break;
        stepped = true;
        if (*next == to)
            break;
        to = *next;
        if (down ? RowTop(to) >= y : RowTop(to) <= y)
            break;
    }
    const qreal pageY = pageY_;
    // A caret with no row to go to keeps its selection; one that stepped,
    // if only back to where it was, leaves it as any move does.
    if (stepped)
        Select(select ? Anchor() : to, to);
    else
        ScrollToShow(Caret());
    caretX_ = x;
    pageY_ = pageY;
    pageYKnown_ = true;
}

void TextEditor::CaretMoved()
{
    ShowCaret();
    if (caretScrollsIntoView_)
        ScrollToShow(Caret());
    viewport()->update();
    if (Caret() == lastPosition_)
        return;
    lastPosition_ = Caret();
    pageYKnown_ = false;
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    if (SlicedTextAccessible::Listening()) {
        QAccessibleTextCursorEvent moved(this, static_cast<int>(Caret()));
        SlicedTextAccessible::Tell(moved);
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
        {Key::SelectAll, [](TextEditor& e) { e.SelectEverything(); }},
        {Key::Delete, [](TextEditor& e) { e.DeleteTo(e.NextCharacter(e.Caret())); }},
        {Key::DeleteStartOfWord, [](TextEditor& e) { e.DeleteWord(false); }},
        {Key::DeleteEndOfWord, [](TextEditor& e) { e.DeleteWord(true); }},
        {Key::DeleteEndOfLine, [](TextEditor& e) { e.DeleteToLineEnd(); }},
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
    // Backspace has no standard key of its own on every platform; with
    // Shift it is still Backspace, with any other modifier something else.
    const bool backspace = event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier);
    if (backspace) {
        // One code point: a mark typed over a letter goes alone.
        const TextSpan all = text();
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
    // Text being composed is shown at the caret, not yet in the text;
    // committed text is inserted there.
    if (event->replacementLength() > 0) {
        const qsizetype from = Caret() + event->replacementStart();
        Select(from, from + event->replacementLength());
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0)
        Insert(event->commitString());
    preedit_ = event->preeditString();
    preeditCursor_ = static_cast<int>(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCursor_ = std::clamp(attribute.start, 0, static_cast<int>(preedit_.size()));
    }
    ForgetLayouts();
    viewport()->update();
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

void TextEditor::Dress(QTextLayout& layout, const Slice& slice) const
{
    QList<QTextLayout::FormatRange> formats = text_.FormatsOf(slice.start, slice.end);
    if (!preedit_.isEmpty() && SliceAt(Caret()).start == slice.start) {
        // The layout's text then holds the composed text at the caret, and
        // the formats count it: those after it move on by its length.
        const int at = static_cast<int>(Caret() - slice.start);
        const int length = static_cast<int>(preedit_.size());
        layout.setPreeditArea(at, preedit_);
        for (QTextLayout::FormatRange& range : formats) {
            if (range.start >= at)
                range.start += length;
            else if (range.start + range.length > at)
                range.length += length;
        }
        QTextLayout::FormatRange composed{at, length, {}};
        composed.format.setFontUnderline(true);
        formats.append(composed);
    }
    layout.setFormats(formats);
}

void TextEditor::paintEvent(QPaintEvent* event)
{
    caretSliceStart_ = SliceAt(Caret()).start;
    dropSliceStart_ = dropAt_ >= 0 ? SliceAt(dropAt_).start : -1;
    SlicedTextView::paintEvent(event);
}

void TextEditor::PaintOver(QPainter& painter, const Slice& slice, const QTextLayout& layout,
                           const QPointF& origin)
{
    if (dropAt_ >= 0 && slice.start == dropSliceStart_)
        PaintCaret(painter, layout, origin, static_cast<int>(dropAt_ - slice.start));
    if (!hasFocus() || !caretShown_ || slice.start != caretSliceStart_)
        return;
    const int composing = preedit_.isEmpty() ? 0 : preeditCursor_;
    PaintCaret(painter, layout, origin, static_cast<int>(Caret() - slice.start) + composing);
}

void TextEditor::PaintCaret(QPainter& painter, const QTextLayout& layout, const QPointF& origin,
                            int offset) const
{
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
    preedit_.clear();  // the input method ends the composition with the focus
    ForgetLayouts();
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
    const bool selected = HasSelection();
    QMenu menu(this);
    menu.addAction(tr("&Undo"), QKeySequence::Undo, this, &TextEditor::undo)
        ->setEnabled(text_.CanUndo());
    menu.addAction(tr("&Redo"), QKeySequence::Redo, this, &TextEditor::redo)
        ->setEnabled(text_.CanRedo());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), QKeySequence::Cut, this, &TextEditor::cut)->setEnabled(selected);
    menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &TextEditor::copy)->setEnabled(selected);
    menu.addAction(tr("&Paste"), QKeySequence::Paste, this, &TextEditor::paste)
        ->setEnabled(!QApplication::clipboard()->text().isEmpty());
    menu.addAction(tr("Delete"), this, [this] { DeleteTo(Caret()); })->setEnabled(selected);
    menu.addSeparator();
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, [this] { SelectEverything(); })
        ->setEnabled(!text().isEmpty());
    menu.exec(event->globalPos());
}

void TextEditor::mousePressEvent(QMouseEvent* event)
{
    // A click ends a composition where it is, before the caret moves away.
    if (!preedit_.isEmpty())
        QGuiApplication::inputMethod()->commit();
    SlicedTextView::mousePressEvent(event);
}

void TextEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton)
        PasteSelectionAt(event->position().toPoint());
    else
        SlicedTextView::mouseReleaseEvent(event);
}

void TextEditor::PasteSelectionAt(const QPoint& point)
{
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard->supportsSelection())
        return;
    qsizetype length = 0;
    {
        const QString pasted = clipboard->text(QClipboard::Selection);
        length = pasted.size();
        const qsizetype at = PositionAt(point);
        Select(at, at);
        if (!pasted.isEmpty())
            Insert(pasted);
    }
    if (length >= heap::LargeText)
        heap::ReturnFreedMemory();
}

// --- dropping text ---

bool TextEditor::AcceptsDrop(QDropEvent* event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return false;
    }
    dropAt_ = PositionAt(event->position().toPoint());
    viewport()->update();
    event->acceptProposedAction();
    return true;
}

void TextEditor::dragEnterEvent(QDragEnterEvent* event)
{
    AcceptsDrop(event);
}

void TextEditor::dragMoveEvent(QDragMoveEvent* event)
{
    ScrollForDropAt(event->position().toPoint());
    AcceptsDrop(event);
}

void TextEditor::dragLeaveEvent(QDragLeaveEvent*)
{
    StopScrollingForDrop();
    dropAt_ = -1;
    viewport()->update();
}

void TextEditor::dropEvent(QDropEvent* event)
{
    // Dropped text goes in where it was let go, as one step of the history.
    StopScrollingForDrop();
    if (AcceptsDrop(event)) {
        const qsizetype at = std::exchange(dropAt_, -1);
        if (event->source() == viewport() && event->dropAction() == Qt::MoveAction && HasSelection()) {
            MoveText(std::min(anchor_, caret_), std::max(anchor_, caret_), at);
        } else {
            Select(at, at);
            Insert(event->mimeData()->text());
        }
        setFocus(Qt::MouseFocusReason);
    }
}

void TextEditor::MoveText(qsizetype from, qsizetype to, qsizetype at)
{
    const QString moved = text().mid(from, to - from).toString();
    NoteChanges();
    if (!text_.Replace(from, to, {}))
        return;
    // Where `at` is once the text is taken out; dropped onto itself, the
    // text goes back where it was.
    const qsizetype target = at <= from ? at : at >= to ? at - (to - from) : from;
    text_.Replace(target, target, moved, true);
    const qsizetype end = target + moved.size();
    Changed(end, end);
}
