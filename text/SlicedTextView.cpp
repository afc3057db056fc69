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
// How far before a step a slice looks for a blank to end at.
constexpr qsizetype BlankLookBack = 128;
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

void SlicedTextView::TextChanged()
{
    knownLine_ = {0, -1};
    ForgetLayouts();
    UpdateScrollBar();
    viewport()->update();
}

qsizetype SlicedTextView::LineStart(qsizetype position) const
{
    // The line last asked about is remembered: a screenful of one long line
    // asks for its start many times, and each search would cross the line.
    if (position >= knownLine_.start && position <= knownLine_.end)
        return knownLine_.start;
    const TextSpan all = text();
    const qsizetype start = position == 0 ? 0 : all.lastIndexOf(u'\n', position - 1) + 1;
    const qsizetype end = all.indexOf(u'\n', position);
    knownLine_ = {start, end < 0 ? all.size() : end};
    return start;
}

void SlicedTextView::Dress(QTextLayout&, const Slice&) const {}

void SlicedTextView::PaintOver(QPainter&, const Slice&, const QTextLayout&, const QPointF&) {}

void SlicedTextView::Replace(qsizetype, qsizetype, const QString&) {}

// --- layout ---

SlicedTextView::Slice SlicedTextView::SliceAt(qsizetype position) const
{
    const TextSpan all = text();
    position = std::clamp<qsizetype>(position, 0, all.size());
    const qsizetype lineStart = LineStart(position);
    // Slices of a long line end near fixed steps from its start: just after
    // the last blank before the step, where a row would wrap anyway, or at
    // the step itself in a run without blanks.
    const auto boundary = [&](qsizetype index) {
        const qsizetype step = lineStart + index * SliceLength;
        if (index <= 0 || step >= all.size())
            return std::min(step, all.size());
        const qsizetype from = step - BlankLookBack;
        for (qsizetype i = step - 1; i >= from; --i) {
            if (all[i].isSpace())
                return i + 1;
        }
        return step;
    };
    qsizetype index = (position - lineStart) / SliceLength;
    if (position < boundary(index))
        --index;
    else if (position >= boundary(index + 1))
        ++index;
    // A line's break, or its end, belongs to the slice before it.
    if (index > 0 && position == boundary(index) && (position == all.size() || all[position] == u'\n'))
        --index;
    const qsizetype step = boundary(index);
    // A line start that is only a lower bound (a paragraph's start, with a
    // line separator inside it) still gives a slice that holds `position`,
    // within the same steps.
    const qsizetype innerBreak = all.mid(step, position - step).lastIndexOf(u'\n');
    const qsizetype start = innerBreak < 0 ? step : step + innerBreak + 1;
    const qsizetype limit = boundary(index + 1);
    const qsizetype lineBreak = all.mid(start, limit - start).indexOf(u'\n');
    return {start, lineBreak < 0 ? limit : start + lineBreak};
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
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(TextWidth());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    keptLayouts_[nextKept_++ % keptLayouts_.size()] = {slice, width, layout};
    return layout;
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
    qreal top = TopRowY() - layout->lineAt(RowOf(*layout, Top() - slice.start)).y();
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
    Row row = RowAt(position);
    for (; rows > 0; --rows) {
        if (!StepRow(row, true))
            return x < 0 ? StartOf(row) : text().size();
    }
    for (; rows < 0; ++rows) {
        if (!StepRow(row, false))
            return 0;
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
        if (rectangle.top() >= 0 && rectangle.bottom() <= viewport()->height())
            found = rectangle;
        return false;
    });
    return found;
}

SlicedTextView::Row SlicedTextView::RowAt(qsizetype position) const
{
    Row row{SliceAt(position), nullptr, 0};
    row.layout = LayOut(row.slice);
    row.line = RowOf(*row.layout, position - row.slice.start);
    return row;
}

bool SlicedTextView::StepRow(Row& row, bool down) const
{
    if (down) {
        Slice next = row.slice;
        if (row.line + 1 < row.layout->lineCount())
            ++row.line;
        else if (NextSlice(next))
            row = {next, LayOut(next), 0};
        else
            return false;
        return true;
    }
    if (row.line > 0) {
        --row.line;
    } else if (row.slice.start > 0) {
        row.slice = SliceAt(row.slice.start - 1);
        row.layout = LayOut(row.slice);
        row.line = row.layout->lineCount() - 1;
    } else {
        return false;
    }
    return true;
}

qsizetype SlicedTextView::StartOf(const Row& row)
{
    return row.slice.start + row.layout->lineAt(row.line).textStart();
}

qreal SlicedTextView::HeightOf(const Row& row)
{
    return row.layout->lineAt(row.line).height();
}

qreal SlicedTextView::TopRowY() const
{
    return Top() == 0 ? Margin : 0;
}

qreal SlicedTextView::RowTop(qsizetype position) const
{
    // Counted from the top row, up or down, as far as a few pages.
    const qreal far = 4.0 * std::max(1, viewport()->height());
    const qsizetype start = RowAround(position).start;
    Row row = RowAt(Top());
    qreal y = TopRowY();
    if (start >= StartOf(row)) {
        while (StartOf(row) < start && y < far) {
            y += HeightOf(row);
            if (!StepRow(row, true))
                break;
        }
        return y;
    }
    while (StartOf(row) > start && y > -far) {
        if (!StepRow(row, false))
            break;
        y -= HeightOf(row);
    }
    return y;
}

void SlicedTextView::ScrollToShow(qsizetype position)
{
    const qreal height = viewport()->height();
    const qreal top = RowTop(position);
    const Row caretRow = RowAt(position);
    if (top >= 0 && top + HeightOf(caretRow) <= height)
        return;
    if (top < 0) {
        ScrollTo(StartOf(caretRow));
        return;
    }
    // The caret's row goes to the bottom: the view starts at the highest
    // row that shows it whole; rows of the text's first line count the
    // margin above them.
    Row row = caretRow;
    qsizetype best = StartOf(row);
    qreal below = HeightOf(row);
    while (StepRow(row, false)) {
        below += HeightOf(row);
        const qreal margin = LineStart(StartOf(row)) == 0 ? Margin : 0;
        if (below + margin > height)
            break;
        best = StartOf(row);
    }
    ScrollTo(best);
}

void SlicedTextView::ScrollTo(qsizetype rowStart)
{
    const qsizetype top = std::min(rowStart, MaxTop());
    verticalScrollBar()->setValue(static_cast<int>(std::min<qsizetype>(top, INT_MAX)));
}

qsizetype SlicedTextView::MaxTop() const
{
    // From the text's end up: the rows whose tops are within the viewport's
    // height, less a margin and a pixel, of the margin under the last row.
    const qreal room = viewport()->height() - Margin - 1;
    Row row = RowAt(text().size());
    qsizetype top = StartOf(row);
    qreal fromBottom = Margin;
    for (;;) {
        fromBottom += HeightOf(row);
        if (fromBottom > room)
            return top;
        top = StartOf(row);
        if (!StepRow(row, false))
            return top;
    }
}

qsizetype SlicedTextView::PageTop(bool down, bool& atEnd) const
{
    const qreal height = viewport()->height();
    Row row = RowAt(Top());
    atEnd = false;
    if (down) {
        // The first row that the view does not show whole; when every row
        // to the end fits with the margin under the last, the view stays.
        qreal y = TopRowY();
        for (;;) {
            y += HeightOf(row);
            if (y > height)
                return StartOf(row);
            Row next = row;
            if (!StepRow(next, true)) {
                atEnd = y + Margin <= height;
                return StartOf(row);
            }
            row = next;
        }
    }
    // The highest row whose top is at most a viewport's height above the
    // view. When that is the first row of the top row's line, the page
    // starts one row higher, with the last row of the line before.
    atEnd = Top() == 0;
    qreal y = TopRowY();
    qsizetype best = StartOf(row);
    while (StepRow(row, false)) {
        y -= HeightOf(row);
        if (y < -height)
            return best == LineStart(Top()) ? StartOf(row) : best;
        best = StartOf(row);
    }
    return best;
}

std::optional<qsizetype> SlicedTextView::RowNextTo(qsizetype position, bool down, qreal x) const
{
    Row row = RowAt(position);
    if (!StepRow(row, down))
        return std::nullopt;
    return row.slice.start + row.layout->lineAt(row.line).xToCursor(x);
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
    const qsizetype lastTop = MaxTop();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<qsizetype>(lastTop, INT_MAX)));
    const int charactersPerRow = std::max(1, TextWidth() / std::max(1, fontMetrics().averageCharWidth()));
    bar->setPageStep(std::max(1, RowsPerPage() * charactersPerRow));
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
    painter.setClipRect(viewport()->rect().adjusted(0, static_cast<int>(TopRowY()), 0, 0));
    painter.setPen(palette().color(QPalette::Text));
    const qsizetype selectionStart = std::min(Anchor(), Caret());
    const qsizetype selectionEnd = std::max(Anchor(), Caret());
    ForEachVisibleSlice([&](const Slice& slice, const QTextLayout& layout, qreal top) {
        QList<QTextLayout::FormatRange> selection;
        const qsizetype from = std::max(selectionStart, slice.start);
        const qsizetype to = std::min(selectionEnd, slice.end);
        if (from < to) {
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(from - slice.start);
            range.length = static_cast<int>(to - from);
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
