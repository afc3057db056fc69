#include "SlicedTextView.h"

#include "SlicedTextAccessible.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace {

// The longest piece of one line laid out as a unit. Wrapping and shaping a
// line costs in proportion to its length, with nothing to break at worse;
// a few thousand characters lay out in well under a millisecond.
constexpr qsizetype SliceLength = 2048;
// Rows of a long line are worked out from its start, each from the one
// before; they start afresh every so many characters (with one short row
// there, one in some two thousand rows), so that working out a row never
// walks more of a line than this: about a millisecond.
constexpr qsizetype RowRestart = 128 * SliceLength;
static_assert(2 * RowBreaker::LongestRow <= SliceLength);
// The space around the text, as an editor's document keeps it.
constexpr int Margin = 4;
constexpr int WheelRowsPerNotch = 3;

} // namespace

SlicedTextView::SlicedTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    SlicedTextAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    // The scroll bar's arrows and page clicks move by rows; its value is a
    // character position, so a step of characters would often show nothing.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        const int rows = action == QAbstractSlider::SliderSingleStepAdd ? 1
                         : action == QAbstractSlider::SliderSingleStepSub ? -1
                         : action == QAbstractSlider::SliderPageStepAdd ? PageRows()
                         : action == QAbstractSlider::SliderPageStepSub ? -PageRows()
                                                                         : 0;
        if (rows != 0)
            verticalScrollBar()->setSliderPosition(static_cast<int>(TopAfterRows(rows)));
    });
}

SlicedTextView::~SlicedTextView() = default;

bool SlicedTextView::IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

QString SlicedTextView::selectedText() const
{
    const qsizetype from = std::min(Anchor(), Caret());
    return text().mid(from, std::max(Anchor(), Caret()) - from).toString();
}

void SlicedTextView::selectAll()
{
    Select(0, text().size());
}

void SlicedTextView::copy() const
{
    if (Anchor() != Caret())
        QApplication::clipboard()->setText(selectedText());
}

void SlicedTextView::TextChanged(qsizetype from)
{
    knownLine_ = {0, -1};
    // The rows of the steps well before the change stay as they were: a
    // row's end depends on no more than a row of the text after it.
    rowStartAtStep_.erase(rowStartAtStep_.lower_bound(from - SliceLength), rowStartAtStep_.end());
    ForgetLayouts();
    UpdateScrollBar();
    viewport()->update();
}

qsizetype SlicedTextView::LineStart(qsizetype position) const
{
    return LineAround(position).start;
}

SlicedTextView::Slice SlicedTextView::LineAround(qsizetype position) const
{
    // The line last asked about is remembered: a screenful of one long line
    // asks for it many times, and each search would cross the line.
    if (position >= knownLine_.start && position <= knownLine_.end)
        return knownLine_;
    const TextSpan all = text();
    const qsizetype start = position == 0 ? 0 : all.lastIndexOf(u'\n', position - 1) + 1;
    const qsizetype end = all.indexOf(u'\n', position);
    knownLine_ = {start, end < 0 ? all.size() : end};
    return knownLine_;
}

void SlicedTextView::Dress(QTextLayout&, const Slice&) const {}

void SlicedTextView::PaintOver(QPainter&, const Slice&, const QTextLayout&, const QPointF&) {}

void SlicedTextView::Replace(qsizetype, qsizetype, const QString&) {}

// --- layout ---

SlicedTextView::Slice SlicedTextView::SliceAt(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, text().size());
    const Slice line = LineAround(position);
    if (line.end - line.start <= SliceLength)
        return line;
    // A long line is cut near fixed steps from its start, where the row
    // holding the step starts, so that every row of a slice is a whole row
    // of the line. The line's end belongs to its last slice.
    const auto boundary = [&](qsizetype index) {
        const qsizetype step = line.start + index * SliceLength;
        return step >= line.end ? line.end : RowStartAtOrBefore(step, line);
    };
    const qsizetype at = std::min(position, line.end - 1);
    qsizetype index = (at - line.start) / SliceLength;
    qsizetype start = boundary(index);
    qsizetype end = boundary(index + 1);
    if (at >= end) {
        start = end;
        end = boundary(index + 2);
    }
    return {start, end, true};
}

qsizetype SlicedTextView::RowStartAtOrBefore(qsizetype step, const Slice& line) const
{
    if (rowBreaker_.Prepare(font(), viewport(), TextWidth()))
        rowStartAtStep_.clear();
    const qsizetype restart = line.start + (step - line.start) / RowRestart * RowRestart;
    if (step == restart)
        return step;
    // Go on from the nearest step before it whose row is known, or from
    // where the rows last started afresh.
    qsizetype row = restart;
    qsizetype nextStep = restart + SliceLength;
    auto known = rowStartAtStep_.upper_bound(step);
    if (known != rowStartAtStep_.begin() && std::prev(known)->first >= restart) {
        --known;
        if (known->first == step)
            return known->second;
        row = known->second;
        nextStep = known->first + SliceLength;
    }
    const TextSpan all = text();
    const qsizetype limit = std::min(restart + RowRestart, line.end);
    for (;;) {
        const qsizetype rowEnd = std::max(rowBreaker_.RowEnd(all, row, limit), row + 1);
        for (; nextStep < rowEnd; nextStep += SliceLength) {
            rowStartAtStep_[nextStep] = row;
            if (nextStep == step)
                return row;
        }
        row = rowEnd;
    }
}

bool SlicedTextView::NextSlice(Slice& slice) const
{
    const TextSpan all = text();
    if (slice.end >= all.size())
        return false;
    slice = SliceAt(all[slice.end] == u'\n' ? slice.end + 1 : slice.end);
    return true;
}

void SlicedTextView::ForgetLayouts() const
{
    keptLayouts_.fill({});
}

std::shared_ptr<const QTextLayout> SlicedTextView::LayOut(const Slice& slice) const
{
    const int width = TextWidth();
    for (const KeptLayout& kept : keptLayouts_) {
        if (kept.layout && kept.slice.start == slice.start && kept.slice.end == slice.end && kept.width == width)
            return kept.layout;
    }
    auto layout = std::make_shared<QTextLayout>(text().mid(slice.start, slice.end - slice.start).toString(),
                                                font(), viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    Dress(*layout, slice);
    // Text being composed makes the layout's text longer than the slice: its
    // rows are then left to the layout.
    const bool rowsGiven = slice.rowsGiven && layout->text().size() == slice.end - slice.start;
    if (rowsGiven && rowBreaker_.Prepare(font(), viewport(), TextWidth()))
        rowStartAtStep_.clear();
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        if (rowsGiven)
            GiveRows(line, slice.start, slice.end);
        else
            line.setLineWidth(TextWidth());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    keptLayouts_[nextKept_++ % keptLayouts_.size()] = {slice, width, layout};
    return layout;
}

void SlicedTextView::GiveRows(QTextLine& line, qsizetype start, qsizetype end) const
{
    const qsizetype rowStart = start + line.textStart();
    const int wanted = static_cast<int>(rowBreaker_.RowEnd(text(), rowStart, end) - rowStart);
    // Mostly the layout breaks the row where the breaker does; where not,
    // the row is given its characters. The layout counts clusters of glyphs,
    // not characters: a ligature or a pair of surrogates is one. A second
    // try or two makes up the difference.
    line.setLineWidth(TextWidth());
    if (line.textLength() == wanted)
        return;
    int columns = wanted;
    for (int attempt = 0; attempt < 4; ++attempt) {
        line.setNumColumns(columns);
        const int got = line.textLength();
        if (got == wanted)
            return;
        columns = std::max(1, columns + wanted - got);
    }
}

int SlicedTextView::RowOf(const QTextLayout& layout, qsizetype offset)
{
    for (int row = 0; row + 1 < layout.lineCount(); ++row) {
        const QTextLine line = layout.lineAt(row);
        if (offset < line.textStart() + line.textLength())
            return row;
    }
    return std::max(layout.lineCount() - 1, 0);
}

template <typename Visit> void SlicedTextView::ForEachVisibleSlice(Visit&& visit) const
{
    Slice slice = SliceAt(Top());
    std::shared_ptr<const QTextLayout> layout = LayOut(slice);
    qreal top = Margin - layout->lineAt(RowOf(*layout, Top() - slice.start)).y();
    for (;;) {
        if (!visit(slice, *layout, top))
            return;
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        top += last.y() + last.height();
        if (top >= viewport()->height() || !NextSlice(slice))
            return;
        layout = LayOut(slice);
    }
}

qsizetype SlicedTextView::PositionAt(const QPoint& point) const
{
    qsizetype position = -1;
    qsizetype lastSeen = 0;
    ForEachVisibleSlice([&](const Slice& slice, const QTextLayout& layout, qreal top) {
        lastSeen = slice.end;
        for (int row = 0; row < layout.lineCount(); ++row) {
            const QTextLine line = layout.lineAt(row);
            if (point.y() < top + line.y() + line.height()) {
                position = slice.start + line.xToCursor(point.x() - Margin);
                return false;
            }
        }
        return true;
    });
    return position < 0 ? lastSeen : position;
}

qsizetype SlicedTextView::RowsAway(qsizetype position, int rows, qreal x) const
{
    Row row{SliceAt(position), nullptr, 0};
    row.layout = LayOut(row.slice);
    row.line = RowOf(*row.layout, position - row.slice.start);
    for (; rows > 0; --rows) {
        Slice next = row.slice;
        if (row.line + 1 < row.layout->lineCount()) {
            ++row.line;
        } else if (NextSlice(next)) {
            row = {next, LayOut(next), 0};
        } else {
            return x < 0 ? row.slice.start + row.layout->lineAt(row.line).textStart() : text().size();
        }
    }
    for (; rows < 0; ++rows) {
        if (row.line > 0) {
            --row.line;
        } else if (row.slice.start > 0) {
            row.slice = SliceAt(row.slice.start - 1);
            row.layout = LayOut(row.slice);
            row.line = row.layout->lineCount() - 1;
        } else {
            return 0;
        }
    }
    const QTextLine line = row.layout->lineAt(row.line);
    return row.slice.start + (x < 0 ? line.textStart() : line.xToCursor(x));
}

qsizetype SlicedTextView::RowStartAfter(qsizetype position, int rows) const
{
    return RowsAway(position, rows, -1);
}

qsizetype SlicedTextView::RowStartBefore(qsizetype position, int rows) const
{
    return RowsAway(position, -rows, -1);
}

SlicedTextView::Slice SlicedTextView::RowAround(qsizetype position) const
{
    const Slice slice = SliceAt(position);
    const std::shared_ptr<const QTextLayout> layout = LayOut(slice);
    const QTextLine line = layout->lineAt(RowOf(*layout, position - slice.start));
    const qsizetype start = slice.start + line.textStart();
    return {start, start + line.textLength()};
}

qreal SlicedTextView::XOf(qsizetype position) const
{
    const Slice slice = SliceAt(position);
    const std::shared_ptr<const QTextLayout> layout = LayOut(slice);
    const int offset = static_cast<int>(position - slice.start);
    return layout->lineAt(RowOf(*layout, offset)).cursorToX(offset);
}

std::optional<QRectF> SlicedTextView::CaretRectangle(qsizetype position) const
{
    const Slice home = SliceAt(position);
    std::optional<QRectF> found;
    ForEachVisibleSlice([&](const Slice& slice, const QTextLayout& layout, qreal top) {
        if (slice.start != home.start)
            return true;
        const int offset = static_cast<int>(position - slice.start);
        const QTextLine line = layout.lineAt(RowOf(layout, offset));
        const QRectF rectangle(Margin + line.cursorToX(offset), top + line.y(), 1, line.height());
        if (rectangle.top() >= Margin - 1 && rectangle.bottom() <= viewport()->height())
            found = rectangle;
        return false;
    });
    return found;
}

void SlicedTextView::ScrollToShow(qsizetype position)
{
    if (CaretRectangle(position))
        return;
    const qsizetype rowStart = RowAround(position).start;
    const qsizetype top = rowStart <= Top() ? rowStart : RowStartBefore(rowStart, RowsPerPage() - 1);
    verticalScrollBar()->setValue(static_cast<int>(std::min<qsizetype>(top, INT_MAX)));
}

qsizetype SlicedTextView::Top() const
{
    return std::clamp<qsizetype>(verticalScrollBar()->value(), 0, text().size());
}

int SlicedTextView::TextWidth() const
{
    return std::max(1, viewport()->width() - 2 * Margin);
}

int SlicedTextView::RowsPerPage() const
{
    return std::max(1, (viewport()->height() - 2 * Margin) / fontMetrics().lineSpacing());
}

void SlicedTextView::UpdateScrollBar()
{
    // The last page ends with the text's last row. Only the rows of that
    // page are laid out, however long the text.
    const qsizetype size = text().size();
    const qsizetype lastTop = RowStartBefore(size, RowsPerPage() - 1);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<qsizetype>(lastTop, INT_MAX)));
    // The thumb is to the track what a page is to the text: the characters
    // of the last page are the page step.
    bar->setPageStep(static_cast<int>(std::clamp<qsizetype>(size - lastTop, 1, INT_MAX)));
}

qsizetype SlicedTextView::TopAfterRows(int rows) const
{
    return RowsAway(Top(), rows, -1);
}

int SlicedTextView::PageRows() const
{
    // A page keeps one row of the last one in view.
    return std::max(1, viewport()->height() / fontMetrics().lineSpacing() - 1);
}

void SlicedTextView::ScrollRows(int rows)
{
    verticalScrollBar()->setValue(static_cast<int>(TopAfterRows(rows)));
}

// --- events ---

void SlicedTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // Rows of the first slice above the top row stay out of the top margin.
    painter.setClipRect(viewport()->rect().adjusted(0, Margin, 0, 0));
    painter.setPen(palette().color(QPalette::Text));
    const qsizetype selectionStart = std::min(Anchor(), Caret());
    const qsizetype selectionEnd = std::max(Anchor(), Caret());
    ForEachVisibleSlice([&](const Slice& slice, const QTextLayout& layout, qreal top) {
        QList<QTextLayout::FormatRange> selection;
        const qsizetype from = std::max(selectionStart, slice.start);
        const qsizetype to = std::min(selectionEnd, slice.end);
        // A selected line break shows as a narrow box after the line's last
        // row: the layout draws one when the range runs past its text.
        const TextSpan all = text();
        const bool breakSelected = selectionStart <= slice.end && selectionEnd > slice.end &&
                                   slice.end < all.size() && all[slice.end] == u'\n';
        if (from < to || breakSelected) {
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(from - slice.start);
            range.length = static_cast<int>(to - from) + (breakSelected ? 1 : 0);
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selection.append(range);
        }
        const QPointF origin(Margin, top);
        layout.draw(&painter, origin, selection);
        PaintOver(painter, slice, layout, origin);
        return true;
    });
}

void SlicedTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void SlicedTextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        TextChanged();
}

void SlicedTextView::keyPressEvent(QKeyEvent* event)
{
    const int page = PageRows();
    if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event->key() == Qt::Key_Down) {
        ScrollRows(1);
    } else if (event->key() == Qt::Key_Up) {
        ScrollRows(-1);
    } else if (event->key() == Qt::Key_PageDown) {
        ScrollRows(page);
    } else if (event->key() == Qt::Key_PageUp) {
        ScrollRows(-page);
    } else if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(0);
    } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void SlicedTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype at = PositionAt(event->position().toPoint());
    Select(event->modifiers() & Qt::ShiftModifier ? Anchor() : at, at);
}

void SlicedTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past an edge scrolls, a row per move.
    if (point.y() < 0)
        ScrollRows(-1);
    else if (point.y() > viewport()->height())
        ScrollRows(1);
    Select(Anchor(), PositionAt(point));
}

void SlicedTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const TextSpan all = text();
    const qsizetype at = PositionAt(event->position().toPoint());
    qsizetype from = at;
    qsizetype to = at;
    while (from > 0 && IsWordCharacter(all[from - 1]))
        --from;
    while (to < all.size() && IsWordCharacter(all[to]))
        ++to;
    Select(from, to);
}

void SlicedTextView::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        ScrollRows(-notches * WheelRowsPerNotch);
    event->accept();
}

void SlicedTextView::scrollContentsBy(int, int)
{
    viewport()->update();
}
