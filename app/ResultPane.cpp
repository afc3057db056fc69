#include "ResultPane.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>

namespace {

// The longest piece of one line laid out as a unit. Wrapping and shaping a
// line costs in proportion to its length, with nothing to break at worse;
// a few thousand characters lay out in well under a millisecond.
constexpr qsizetype SliceLength = 2048;
// The space around the text, as an editor's document keeps it.
constexpr int Margin = 4;
constexpr int WheelRowsPerNotch = 3;

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

ResultPane::ResultPane(QWidget* parent) : QAbstractScrollArea(parent)
{
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
    UpdateScrollBar();
}

ResultPane::~ResultPane() = default;

void ResultPane::setText(const QString& source, qsizetype start, qsizetype length)
{
    start = std::clamp<qsizetype>(start, 0, source.size());
    length = std::clamp<qsizetype>(length, 0, source.size() - start);
    // The same text keeps its buffer: the source may be the input's copy,
    // which its next edit would then have to copy whole if it were shared.
    if (QStringView(source).mid(start, length) == text())
        return;
    // A short slice of a long text is copied: shared, it would keep the whole
    // text alive, and the next edit of the source would copy all of it.
    if (length > source.size() / 2) {
        source_ = source;
        start_ = start;
    } else {
        source_ = source.mid(start, length);
        start_ = 0;
    }
    length_ = length;
    anchor_ = caret_ = 0;
    // The view keeps its place, as far as the new text reaches.
    UpdateScrollBar();
    viewport()->update();
    emit textChanged();
}

QStringView ResultPane::text() const
{
    return QStringView(source_).mid(start_, length_);
}

QString ResultPane::selectedText() const
{
    const qsizetype from = std::min(anchor_, caret_);
    return text().mid(from, std::max(anchor_, caret_) - from).toString();
}

void ResultPane::selectAll()
{
    anchor_ = 0;
    caret_ = length_;
    viewport()->update();
}

void ResultPane::copy() const
{
    if (anchor_ != caret_)
        QApplication::clipboard()->setText(selectedText());
}

// --- layout ---

ResultPane::Slice ResultPane::SliceAt(qsizetype position) const
{
    const QStringView all = text();
    position = std::clamp<qsizetype>(position, 0, all.size());
    const qsizetype lineStart = position == 0 ? 0 : all.lastIndexOf(u'\n', position - 1) + 1;
    // Slices of a long line start at fixed steps from its start; a line's
    // break, or its end, belongs to the slice before it.
    qsizetype start = lineStart + (position - lineStart) / SliceLength * SliceLength;
    if (start == position && start > lineStart && (position == all.size() || all[position] == u'\n'))
        start -= SliceLength;
    const qsizetype limit = std::min(start + SliceLength, all.size());
    const qsizetype lineBreak = all.mid(start, limit - start).indexOf(u'\n');
    return {start, lineBreak < 0 ? limit : start + lineBreak};
}

bool ResultPane::NextSlice(Slice& slice) const
{
    const QStringView all = text();
    if (slice.end >= all.size())
        return false;
    slice = SliceAt(all[slice.end] == u'\n' ? slice.end + 1 : slice.end);
    return true;
}

std::unique_ptr<QTextLayout> ResultPane::LayOut(const Slice& slice) const
{
    auto layout = std::make_unique<QTextLayout>(text().mid(slice.start, slice.end - slice.start).toString(),
                                                font(), viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(TextWidth());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

int ResultPane::RowOf(const QTextLayout& layout, qsizetype offset) const
{
    for (int row = 0; row + 1 < layout.lineCount(); ++row) {
        const QTextLine line = layout.lineAt(row);
        if (offset < line.textStart() + line.textLength())
            return row;
    }
    return std::max(layout.lineCount() - 1, 0);
}

template <typename Visit> void ResultPane::ForEachVisibleSlice(Visit&& visit) const
{
    Slice slice = SliceAt(Top());
    std::unique_ptr<QTextLayout> layout = LayOut(slice);
    qreal top = Margin - layout->lineAt(RowOf(*layout, Top() - slice.start)).y();
    for (;;) {
        visit(slice, *layout, top);
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        top += last.y() + last.height();
        if (top >= viewport()->height() || !NextSlice(slice))
            return;
        layout = LayOut(slice);
    }
}

qsizetype ResultPane::PositionAt(const QPoint& point) const
{
    qsizetype position = -1;
    qsizetype lastSeen = 0;
    ForEachVisibleSlice([&](const Slice& slice, const QTextLayout& layout, qreal top) {
        lastSeen = slice.end;
        for (int row = 0; position < 0 && row < layout.lineCount(); ++row) {
            const QTextLine line = layout.lineAt(row);
            if (point.y() < top + line.y() + line.height())
                position = slice.start + line.xToCursor(point.x() - Margin);
        }
    });
    return position < 0 ? lastSeen : position;
}

qsizetype ResultPane::RowStartAfter(qsizetype position, int rows) const
{
    Slice slice = SliceAt(position);
    std::unique_ptr<QTextLayout> layout = LayOut(slice);
    int row = RowOf(*layout, position - slice.start);
    for (; rows > 0; --rows) {
        Slice next = slice;
        if (row + 1 < layout->lineCount()) {
            ++row;
        } else if (NextSlice(next)) {
            slice = next;
            layout = LayOut(slice);
            row = 0;
        } else {
            break;
        }
    }
    return slice.start + layout->lineAt(row).textStart();
}

qsizetype ResultPane::RowStartBefore(qsizetype position, int rows) const
{
    Slice slice = SliceAt(position);
    std::unique_ptr<QTextLayout> layout = LayOut(slice);
    int row = RowOf(*layout, position - slice.start);
    for (; rows > 0; --rows) {
        if (row > 0) {
            --row;
        } else if (slice.start > 0) {
            slice = SliceAt(slice.start - 1);
            layout = LayOut(slice);
            row = layout->lineCount() - 1;
        } else {
            break;
        }
    }
    return slice.start + layout->lineAt(row).textStart();
}

qsizetype ResultPane::Top() const
{
    return std::clamp<qsizetype>(verticalScrollBar()->value(), 0, length_);
}

int ResultPane::TextWidth() const
{
    return std::max(1, viewport()->width() - 2 * Margin);
}

void ResultPane::UpdateScrollBar()
{
    // The last page ends with the text's last row. Only the rows of that
    // page are laid out, however long the text.
    const int rowsPerPage = std::max(1, (viewport()->height() - 2 * Margin) / fontMetrics().lineSpacing());
    const qsizetype lastTop = RowStartBefore(length_, rowsPerPage - 1);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<qsizetype>(lastTop, INT_MAX)));
    const int charactersPerRow = std::max(1, TextWidth() / std::max(1, fontMetrics().averageCharWidth()));
    bar->setPageStep(std::max(1, rowsPerPage * charactersPerRow));
}

// --- events ---

void ResultPane::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // Rows of the first slice above the top row stay out of the top margin.
    painter.setClipRect(viewport()->rect().adjusted(0, Margin, 0, 0));
    painter.setPen(palette().color(QPalette::Text));
    const qsizetype selectionStart = std::min(anchor_, caret_);
    const qsizetype selectionEnd = std::max(anchor_, caret_);
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
        layout.draw(&painter, QPointF(Margin, top), selection);
    });
}

void ResultPane::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

qsizetype ResultPane::TopAfterRows(int rows) const
{
    return rows > 0 ? RowStartAfter(Top(), rows) : RowStartBefore(Top(), -rows);
}

int ResultPane::PageRows() const
{
    // A page keeps one row of the last one in view.
    return std::max(1, viewport()->height() / fontMetrics().lineSpacing() - 1);
}

void ResultPane::ScrollRows(int rows)
{
    verticalScrollBar()->setValue(static_cast<int>(TopAfterRows(rows)));
}

void ResultPane::keyPressEvent(QKeyEvent* event)
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

void ResultPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    caret_ = PositionAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        anchor_ = caret_;
    viewport()->update();
}

void ResultPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past an edge scrolls, a row per move.
    if (point.y() < 0)
        ScrollRows(-1);
    else if (point.y() > viewport()->height())
        ScrollRows(1);
    caret_ = PositionAt(point);
    viewport()->update();
}

void ResultPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QStringView all = text();
    const qsizetype at = PositionAt(event->position().toPoint());
    anchor_ = caret_ = at;
    while (anchor_ > 0 && IsWordCharacter(all[anchor_ - 1]))
        --anchor_;
    while (caret_ < all.size() && IsWordCharacter(all[caret_]))
        ++caret_;
    viewport()->update();
}

void ResultPane::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        ScrollRows(-notches * WheelRowsPerNotch);
    event->accept();
}

void ResultPane::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &ResultPane::copy);
    copyAction->setEnabled(anchor_ != caret_);
    menu.addSeparator();
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &ResultPane::selectAll);
    menu.exec(event->globalPos());
}

void ResultPane::scrollContentsBy(int, int)
{
    viewport()->update();
}
