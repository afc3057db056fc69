#include "SlicedTextView.h"

#include "SharedTextMimeData.h"
#include "SlicedTextAccessible.h"
#include "WordBoundaries.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
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
// there, one in some five hundred rows), so that working out a row never
// walks more of a line than this. A keystroke at the start of a long line
// works out the last rows of the editor and of a pane from their last
// restart: at a quarter million characters that cost more than a 10 MB
// search.
constexpr qsizetype RowRestart = 32 * SliceLength;
static_assert(2 * RowBreaker::LongestRow <= SliceLength);
// Selections up to this long are offered to other programs as a copy;
// longer ones share the text (OfferSelection). A copy this long takes
// microseconds.
constexpr qsizetype CopiedSelection = 64 * 1024;
// The space around the text, as an editor's document keeps it.
constexpr int Margin = 4;

} // namespace

SlicedTextView::SlicedTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    SlicedTextAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &SlicedTextView::ScrollBarAction);
    // The wheel over the scroll bar scrolls rows as over the text; the bar
    // itself would step characters.
    verticalScrollBar()->installEventFilter(this);
}

SlicedTextView::~SlicedTextView() = default;

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

void SlicedTextView::zoomIn(int range)
{
    ZoomBy(static_cast<float>(range));
}

void SlicedTextView::zoomOut(int range)
{
    ZoomBy(-static_cast<float>(range));
}

void SlicedTextView::ZoomBy(float points)
{
    // As the standard editors zoom: by points, never to nothing. The font
    // change lays the text out afresh; the view keeps its top character.
    QFont zoomed = font();
    const float size = static_cast<float>(zoomed.pointSizeF()) + points;
    if (points == 0 || size <= 0)
        return;
    zoomed.setPointSizeF(size);
    setFont(zoomed);
}

void SlicedTextView::NoteTopBeforeEdit(qsizetype from)
{
    topBeforeEdit_.reset();
    const qsizetype top = Top();
    const Slice line = LineAround(top);
    if (from > line.end)
        return;  // the top's line stays as it is
    TopBeforeEdit before;
    before.from = from;
    if (from < line.start) {
        const std::string_view bytes = text().Bytes();
        before.lineBreaks = std::count(bytes.begin() + from, bytes.begin() + line.start, '\n');
        before.base = line.start;
    } else {
        // The rows before the one the edit starts in stay, but for the end
        // of the row just before it: a character typed at a row's start may
        // fit at the end of the row above.
        Row row = RowAt(std::min(from, top));
        Row above = row;
        if (StartOf(row) > line.start && StepRow(above, false))
            row = above;
        before.base = StartOf(row);
    }
    // Counted row by row, as far as a few pages of rows.
    constexpr int mostRows = 1000;
    Row row = RowAt(before.base);
    while (StartOf(row) < top && before.rows < mostRows && StepRow(row, true))
        ++before.rows;
    if (StartOf(row) != top)
        before.offset = top - before.base;
    topBeforeEdit_ = before;
}

qsizetype SlicedTextView::TopAfterEdit(const TopBeforeEdit& before) const
{
    const TextSpan all = text();
    qsizetype base = before.base;
    if (before.lineBreaks > 0) {
        base = before.from;
        for (qsizetype breaks = before.lineBreaks; breaks > 0; --breaks) {
            const qsizetype at = all.indexOf(u'\n', base);
            if (at < 0)
                return all.size();  // no such line now: the view ends with the text
            base = at + 1;
        }
    }
    if (before.offset >= 0)
        return std::min(base + before.offset, all.size());
    Row row = RowAt(base);
    for (int rows = 0; rows < before.rows; ++rows) {
        if (!StepRow(row, true))
            break;
    }
    return StartOf(row);
}

void SlicedTextView::TextChanged(qsizetype from)
{
    knownLine_ = {0, -1};
    // The rows of the steps well before the change stay as they were: a
    // row's end depends on no more than a row of the text after it.
    rowStartAtStep_.erase(rowStartAtStep_.lower_bound(from - SliceLength), rowStartAtStep_.end());
    ForgetLayouts();
    // The top row as the edit left it, when it was noted before.
    std::optional<qsizetype> kept;
    if (topBeforeEdit_ && topBeforeEdit_->from == from)
        kept = TopAfterEdit(*topBeforeEdit_);
    topBeforeEdit_.reset();
    const int shift = topShift_;
    UpdateScrollBar();
    // An edit before the top row's start, such as joining it to the row
    // above, leaves the view starting inside a row: it starts with that row,
    // so that the text's first row keeps its margin above.
    const qsizetype top = RowAround(kept.value_or(Top())).start;
    if (top != Top())
        verticalScrollBar()->setValue(static_cast<int>(top));
    if (kept && Top() == top) {
        // The same row, where it showed before.
        shownTop_ = top;
        topShift_ = shift;
    }
    viewport()->update();
}

void SlicedTextView::TellSelectionChanged(qsizetype oldAnchor, qsizetype oldCaret)
{
    if (!SlicedTextAccessible::Listening() || (oldAnchor == Anchor() && oldCaret == Caret()))
        return;
    const bool hadSelection = oldAnchor != oldCaret;
    const bool hasSelection = Anchor() != Caret();
    if (!hadSelection && !hasSelection)
        return;  // only the caret moved
    QAccessibleTextSelectionEvent selected(this, static_cast<int>(Anchor()), static_cast<int>(Caret()));
    SlicedTextAccessible::Tell(selected);
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
    return Top() == 0 ? Margin : topShift_;
}

void SlicedTextView::NoteTopMoved()
{
    // The standard editor scrolls by whole pixels to where the row before
    // the top one ends, which for a row that goes on a line is the row's top
    // less what its line height was rounded up by. Scrolling down it stops
    // short of that, by less than a pixel, so the row shows a pixel lower;
    // up, it goes past it, so the row shows at the edge. The page keys
    // measure from there, so ours show the rows where it does.
    const qsizetype top = Top();
    if (top == shownTop_)
        return;
    topShift_ = top > shownTop_ ? ShiftScrolledDownTo(RowAt(top)) : 0;
    shownTop_ = top;
}

int SlicedTextView::ShiftScrolledDownTo(Row row) const
{
    // A long line's slices after its first go on the line too.
    const bool goesOnLine = row.line > 0 || (row.slice.start > 0 && text()[row.slice.start - 1] != u'\n');
    if (!goesOnLine || !StepRow(row, false))
        return 0;
    const QTextLine before = row.layout->lineAt(row.line);
    return before.naturalTextRect().height() < before.height() ? 1 : 0;
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
    // margin above them, others the pixel a row inside a line shows lower.
    Row row = caretRow;
    qsizetype best = StartOf(row);
    qreal below = HeightOf(row);
    while (StepRow(row, false)) {
        below += HeightOf(row);
        const qreal margin = LineStart(StartOf(row)) == 0 ? Margin : ShiftScrolledDownTo(row);
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
    const qsizetype size = text().size();
    const qsizetype lastTop = MaxTop();
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

std::optional<qsizetype> SlicedTextView::PageScrollTop(bool down) const
{
    bool atEnd = false;
    const qsizetype top = PageTop(down, atEnd);
    if (down && atEnd)
        return std::nullopt;
    return std::min(top, MaxTop());
}

void SlicedTextView::ScrollBarAction(int action)
{
    // Called before the bar takes its slider's new position, which is set
    // here: a step of characters would often show nothing new.
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        bar->setSliderPosition(static_cast<int>(TopAfterRows(1)));
        break;
    case QAbstractSlider::SliderSingleStepSub:
        bar->setSliderPosition(static_cast<int>(TopAfterRows(-1)));
        break;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub: {
        // A page as the page keys scroll it: by the rows shown whole.
        const bool down = action == QAbstractSlider::SliderPageStepAdd;
        bar->setSliderPosition(static_cast<int>(PageScrollTop(down).value_or(bar->value())));
        break;
    }
    default:
        break;
    }
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
    if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event->key() == Qt::Key_Down) {
        ScrollRows(1);
    } else if (event->key() == Qt::Key_Up) {
        ScrollRows(-1);
    } else if (event->key() == Qt::Key_PageDown) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->key() == Qt::Key_PageUp) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(0);
    } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

bool SlicedTextView::event(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QAbstractScrollArea::event(event);
    // A selection made with the keyboard is offered to other programs as
    // one made with the mouse is.
    const qsizetype anchor = Anchor();
    const qsizetype caret = Caret();
    const bool handled = QAbstractScrollArea::event(event);
    if (Anchor() != anchor || Caret() != caret)
        OfferSelection();
    return handled;
}

void SlicedTextView::mousePressEvent(QMouseEvent* event)
{
    mightDrag_ = false;
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    pressPoint_ = dragPoint_ = point;
    selecting_ = true;
    scrollingForDrop_ = false;
    if (tripleClick_.isActive() && (point - tripleClickPoint_).manhattanLength() < QApplication::startDragDistance()) {
        // The line with its break, from where the double click left the caret.
        tripleClick_.stop();
        const Slice paragraph = LineAround(Caret());
        clickedLine_ = {paragraph.start, std::min(paragraph.end + 1, text().size())};
        Select(clickedLine_.start, clickedLine_.end);
        return;
    }
    const qsizetype at = PositionAt(point);
    if (event->modifiers() == Qt::ShiftModifier) {
        SelectTo(at, point.x());
        return;
    }
    const qsizetype from = std::min(Anchor(), Caret());
    const qsizetype to = std::max(Anchor(), Caret());
    if (from < to && at >= from && at <= to && IsOnText(point)) {
        // A press on the selection may start to drag it; a release without
        // a drag places the caret.
        mightDrag_ = true;
        return;
    }
    clickedWord_ = clickedLine_ = {0, 0};
    Select(at, at);
}

void SlicedTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    QPoint point = event->position().toPoint();
    if (mightDrag_) {
        if ((point - pressPoint_).manhattanLength() > QApplication::startDragDistance()) {
            mightDrag_ = selecting_ = false;
            DragSelection();
        }
        return;
    }
    if (!selecting_)
        return;
    dragPoint_ = point;
    if (viewport()->rect().contains(point))
        autoScroll_.stop();
    else if (!autoScroll_.isActive())
        autoScroll_.start(100, this);
    // Above or below the view, the row at its edge is the one selected to.
    point.setY(std::clamp(point.y(), 0, viewport()->height() - 1));
    const qsizetype at = PositionAt(point);
    // The view stays where it is: only the timer above scrolls it, a row at
    // a time, however the caret's row fits.
    const int top = verticalScrollBar()->value();
    SelectTo(at, point.x());
    verticalScrollBar()->setValue(top);
}

void SlicedTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (autoScroll_.isActive()) {
        autoScroll_.stop();
        ScrollToShow(Caret());
    }
    if (mightDrag_ && event->button() == Qt::LeftButton) {
        mightDrag_ = selecting_ = false;
        const qsizetype at = PositionAt(event->position().toPoint());
        Select(at, at);
        return;
    }
    if (selecting_) {
        selecting_ = false;
        OfferSelection();
    }
}

void SlicedTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    mightDrag_ = false;
    selecting_ = true;
    const QPoint point = event->position().toPoint();
    const qsizetype at = PositionAt(point);
    // An empty row has no word to select; the caret goes there.
    clickedWord_ = {at, at};
    clickedLine_ = {0, 0};
    const Slice row = RowAround(at);
    if (row.end > row.start) {
        const Slice paragraph = LineAround(at);
        const words::Range word =
            words::WordUnder(text().mid(paragraph.start, paragraph.end - paragraph.start), at - paragraph.start);
        clickedWord_ = {paragraph.start + word.start, paragraph.start + word.end};
    }
    Select(clickedWord_.start, clickedWord_.end);
    tripleClickPoint_ = point;
    tripleClick_.start(QApplication::doubleClickInterval(), this);
    OfferSelection();
}

void SlicedTextView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == tripleClick_.timerId())
        tripleClick_.stop();
    else if (event->timerId() == autoScroll_.timerId())
        AutoScroll();
    else
        QAbstractScrollArea::timerEvent(event);
}

void SlicedTextView::ScrollForDropAt(const QPoint& point)
{
    dragPoint_ = point;
    scrollingForDrop_ = true;
    if (!autoScroll_.isActive())
        autoScroll_.start(100, this);
}

void SlicedTextView::StopScrollingForDrop()
{
    scrollingForDrop_ = false;
    autoScroll_.stop();
}

void SlicedTextView::AutoScroll()
{
    QRect visible = viewport()->rect();
    const QPoint point = dragPoint_;
    if (scrollingForDrop_) {
        // A drop scrolls from a band inside the edges, the mouse being inside.
        const int dx = std::min(visible.width() / 3, 20);
        const int dy = std::min(visible.height() / 3, 20);
        visible.adjust(dx, dy, -dx, -dy);
    }
    const int deltaY = std::max(point.y() - visible.top(), visible.bottom() - point.y()) - visible.height();
    const int deltaX = std::max(point.x() - visible.left(), visible.right() - point.x()) - visible.width();
    const int delta = std::max(deltaX, deltaY);
    if (delta < 0) {
        if (!scrollingForDrop_)
            autoScroll_.stop();
        return;
    }
    // A row every 100 ms near the edge, faster farther out.
    const int near = std::max(delta, 7);
    autoScroll_.start(4900 / (near * near), this);
    if (deltaY > 0)
        ScrollRows(point.y() < visible.center().y() ? -1 : 1);
    if (scrollingForDrop_)
        return;
    // The selection follows to where the mouse now points in the text.
    QMouseEvent move(QEvent::MouseMove, point, viewport()->mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                     QGuiApplication::keyboardModifiers());
    mouseMoveEvent(&move);
}

bool SlicedTextView::IsOnText(const QPoint& point) const
{
    bool on = false;
    ForEachVisibleSlice([&](const Slice&, const QTextLayout& layout, qreal top) {
        for (int row = 0; row < layout.lineCount(); ++row) {
            const QTextLine line = layout.lineAt(row);
            if (point.y() >= top + line.y() && point.y() < top + line.y() + line.height()) {
                const qreal x = point.x() - Margin;
                on = x >= line.x() && x <= line.x() + line.naturalTextWidth();
                return false;
            }
        }
        return true;
    });
    return on;
}

void SlicedTextView::SelectTo(qsizetype position, qreal x)
{
    if (clickedLine_.end > clickedLine_.start || clickedWord_.end > clickedWord_.start)
        ExtendSelection(position, x);
    else
        Select(Anchor(), position);
}

void SlicedTextView::ExtendSelection(qsizetype position, qreal x)
{
    const bool byLines = clickedLine_.end > clickedLine_.start;
    const Slice first = byLines ? clickedLine_ : clickedWord_;
    const qsizetype anchor = Anchor();
    const qsizetype caret = Caret();
    if (position >= first.start && position <= first.end) {
        Select(first.start, first.end);
        return;
    }
    const std::optional<Selection> extended = byLines ? LinesTo(position) : WordsTo(position, x);
    if (!extended)
        return;
    Select(extended->anchor, extended->caret);
    if (Anchor() != anchor || Caret() != caret)
        OfferSelection();
}

std::optional<SlicedTextView::Selection> SlicedTextView::WordsTo(qsizetype position, qreal x) const
{
    // The word under the mouse, if the mouse is over it on its row; nearer
    // its start, the selection ends there, else at its end.
    const Slice paragraph = LineAround(position);
    const TextSpan words = text().mid(paragraph.start, paragraph.end - paragraph.start);
    const std::optional<qsizetype> start = words::StartOfWord(words, position - paragraph.start);
    if (!start)
        return std::nullopt;
    const std::optional<qsizetype> end = words::EndOfWord(words, *start);
    if (!end)
        return std::nullopt;
    const qsizetype wordStart = paragraph.start + *start;
    const qsizetype wordEnd = paragraph.start + *end;
    if (RowAround(wordStart).start != RowAround(wordEnd).start)
        return std::nullopt;
    const qreal startX = Margin + XOf(wordStart);
    const qreal endX = Margin + XOf(wordEnd);
    if (x < startX || x > endX)
        return std::nullopt;
    // The word first selected stays selected on either side.
    const qsizetype kept = position < clickedWord_.end ? clickedWord_.end : clickedWord_.start;
    return Selection{kept, x - startX < endX - x ? wordStart : wordEnd};
}

std::optional<SlicedTextView::Selection> SlicedTextView::LinesTo(qsizetype position) const
{
    const Slice paragraph = LineAround(position);
    if (position < clickedLine_.end)
        return Selection{clickedLine_.end, paragraph.start};
    return Selection{clickedLine_.start, std::min(paragraph.end + 1, text().size())};
}

SharedSpan SlicedTextView::CopySpan(qsizetype from, qsizetype to) const
{
    return {std::make_shared<const TextVersion>(text().mid(from, to - from).Copy()), 0, to - from};
}

SharedSpan SlicedTextView::ShareSpan(qsizetype from, qsizetype to) const
{
    return CopySpan(from, to);
}

void SlicedTextView::OfferSelection() const
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (Anchor() == Caret() || !clipboard->supportsSelection())
        return;
    const qsizetype from = std::min(Anchor(), Caret());
    const qsizetype to = std::max(Anchor(), Caret());
    // A short selection is copied: shared, it would keep a long text alive,
    // and an editor's next edit would copy the whole text instead of
    // changing it in place.
    const SharedSpan offered = to - from <= CopiedSelection ? CopySpan(from, to) : ShareSpan(from, to);
    clipboard->setMimeData(new SharedTextMimeData(offered), QClipboard::Selection);
}

void SlicedTextView::DragSelection()
{
    const qsizetype from = std::min(Anchor(), Caret());
    const qsizetype to = std::max(Anchor(), Caret());
    const QString dragged = selectedText();
    auto* data = new QMimeData;
    data->setText(dragged);
    auto* drag = new QDrag(viewport());
    drag->setMimeData(data);
    const Qt::DropAction action = IsEditable() ? drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction)
                                               : drag->exec(Qt::CopyAction, Qt::CopyAction);
    // A drop into this view moved the text itself. Moved anywhere else,
    // into another widget or another program (no target here), the text
    // leaves this view, as from any editor, unless what the drop set off
    // changed it meanwhile; undo brings it back.
    if (action == Qt::MoveAction && drag->target() != viewport() &&
        text().mid(from, to - from).toString() == dragged)
        Replace(from, to, {});
}

void SlicedTextView::wheelEvent(QWheelEvent* event)
{
    // Read-only text zooms with Ctrl, as in the standard editors; editable
    // text scrolls a page.
    if (!IsEditable() && (event->modifiers() & Qt::ControlModifier)) {
        ZoomBy(static_cast<float>(event->angleDelta().y() / qreal(QWheelEvent::DefaultDeltasPerStep)));
        return;
    }
    ScrollByWheel(event);
}

bool SlicedTextView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        // A turn the view does not take (at an end) goes on to whoever
        // holds the view, as from the bar.
        ScrollByWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void SlicedTextView::ScrollByWheel(QWheelEvent* event)
{
    // Rows to scroll: a touchpad's pixels in rows of the font; a wheel's
    // notch (120) turns the desktop's number of rows. What is left of a row
    // waits for the next turn the same way, so that small steps add up.
    const QPoint pixels = event->pixelDelta();
    const int notchRows = std::max(1, QApplication::wheelScrollLines());
    const qreal rows = !pixels.isNull()
                           ? -pixels.y() / qreal(fontMetrics().lineSpacing())
                           : -event->angleDelta().y() / qreal(QWheelEvent::DefaultDeltasPerStep) * notchRows;
    const int page = RowsPerPage();
    int whole = 0;
    if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
        // A page a notch, as a scroll bar does.
        whole = std::clamp(static_cast<int>(rows / notchRows * page), -page, page);
        wheelRows_ = 0;
    } else {
        if (wheelRows_ != 0 && (rows < 0) != (wheelRows_ < 0))
            wheelRows_ = 0;  // the wheel turned back
        wheelRows_ += rows;
        whole = std::clamp(static_cast<int>(wheelRows_), -page, page);
        wheelRows_ -= static_cast<int>(wheelRows_);
    }
    const int before = verticalScrollBar()->value();
    if (whole != 0)
        ScrollRows(whole);
    // At an end the turn goes to whoever holds the view.
    const bool atEnd = rows < 0 ? before <= verticalScrollBar()->minimum() : before >= verticalScrollBar()->maximum();
    if (verticalScrollBar()->value() != before || (wheelRows_ != 0 && !atEnd))
        event->accept();
    else
        event->ignore();
    if (atEnd)
        wheelRows_ = 0;
}

void SlicedTextView::scrollContentsBy(int, int)
{
    NoteTopMoved();
    viewport()->update();
}
