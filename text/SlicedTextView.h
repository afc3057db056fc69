#pragma once
// A view of a text of any length that lays out only the rows on screen, a
// long line in slices of a few thousand characters, so that megabytes of
// text, or one line without a blank, cost what a screenful costs. It scrolls,
// selects with mouse and keyboard, and copies; the result panes and the
// editors are built on it.
//
// The vertical scroll bar counts characters, not rows: the view starts at the
// row that holds the scroll bar's value.
#include "RowBreaker.h"
#include "SlicedTextAccessible.h"
#include "TextSpan.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QList>
#include <QTextLayout>

#include <array>
#include <map>
#include <memory>
#include <optional>

class SlicedTextView : public QAbstractScrollArea, public AccessibleTextSource {
    Q_OBJECT

public:
    explicit SlicedTextView(QWidget* parent = nullptr);
    ~SlicedTextView() override;

    // The characters shown, each line break as one '\n'.
    TextSpan text() const override = 0;
    QString selectedText() const;
    void selectAll();
    void copy() const;

public slots:
    // The font `range` points larger or smaller, as a standard editor's
    // zoom: Ctrl with the wheel over a view that cannot be edited.
    void zoomIn(int range = 1);
    void zoomOut(int range = 1);

protected:
    // A slice of one line: at most a few thousand characters, no line break.
    // A slice of a long line holds whole rows, whose ends a row breaker gives.
    struct Slice {
        qsizetype start = 0;
        qsizetype end = 0;
        bool rowsGiven = false;
    };

    // The selection runs from the anchor to the caret.
    qsizetype Anchor() const override = 0;
    qsizetype Caret() const override = 0;
    void Select(qsizetype anchor, qsizetype caret) override = 0;
    // Where the line holding `position` starts, and the whole line without
    // its break; the line last asked about is remembered until the text changes.
    qsizetype LineStart(qsizetype position) const;
    Slice LineAround(qsizetype position) const;
    // Replaces [from, to) with `text` for assistive technology; a view that
    // cannot be edited refuses.
    bool IsEditable() const override { return false; }
    void Replace(qsizetype from, qsizetype to, const QString& text) override;
    QWidget* TextArea() const override { return viewport(); }
    // Gives a slice's layout its character formats (and an editor's text
    // being composed) before it is laid out; plain text has none.
    virtual void Dress(QTextLayout& layout, const Slice& slice) const;
    // Drawn over each slice's text, at the slice's top left corner.
    virtual void PaintOver(QPainter& painter, const Slice& slice, const QTextLayout& layout,
                           const QPointF& origin);

    // Call before the text changes from `from` on. The view then starts as
    // the standard editor's does: with the line as many lines from the
    // text's start as before, and its row as many rows into that line,
    // whatever characters they now hold.
    void NoteTopBeforeEdit(qsizetype from);
    // Call when the text changed, from `from` on: the scroll bar and the
    // screen follow.
    void TextChanged(qsizetype from = 0);
    // Call when the selection moved from (oldAnchor, oldCaret): assistive
    // technology hears of it when a selection appears, goes or changes, as
    // from any editor.
    void TellSelectionChanged(qsizetype oldAnchor, qsizetype oldCaret);

    Slice SliceAt(qsizetype position) const;
    // The slice laid out; the last few layouts are kept until the text,
    // its width or its look changes.
    std::shared_ptr<const QTextLayout> LayOut(const Slice& slice) const;
    // Call when what a slice's layout shows changed without the text:
    // formats, or text being composed.
    void ForgetLayouts() const;
    static int RowOf(const QTextLayout& layout, qsizetype offset);
    qsizetype PositionAt(const QPoint& point) const override;
    qsizetype RowStartAfter(qsizetype position, int rows) const;
    // The position `rows` rows below (above, when negative) `position`, as
    // near as the rows allow to where `x` is on them.
    qsizetype RowsAway(qsizetype position, int rows, qreal x) const;
    // The start and end of the row holding `position`.
    Slice RowAround(qsizetype position) const;
    // Where `position` is drawn, in the viewport; nothing when off screen.
    std::optional<QRectF> CaretRectangle(qsizetype position) const override;
    qreal XOf(qsizetype position) const;
    // Brings the row of `position` into view, scrolling as little as it can:
    // a row below the view ends up as low as the view shows it whole.
    void ScrollToShow(qsizetype position) override;
    void ScrollRows(int rows);
    qsizetype Top() const;
    // Starts the view at the row that starts at `rowStart`, or as near as
    // the last page allows.
    void ScrollTo(qsizetype rowStart);
    // The lowest top: the view then ends with the text's last row and the
    // margin under it.
    qsizetype MaxTop() const;
    // Where the view starts after a page key, and whether it is already at
    // that end of the text (down: the text's end is in view; up: the view
    // is at the text's start).
    qsizetype PageTop(bool down, bool& atEnd) const;
    // Where the view starts after a page of scrolling without the caret: a
    // page key in a pane, a click in the scroll bar's page area; nothing
    // when a page down already shows the text's end.
    std::optional<qsizetype> PageScrollTop(bool down) const;
    // The top of the row of `position` in the viewport, for rows within a
    // few pages of the view; farther rows are as far as that.
    qreal RowTop(qsizetype position) const;
    // The position on the row below (`down`) or above that of `position`
    // nearest to `x`; nothing at the text's ends.
    std::optional<qsizetype> RowNextTo(qsizetype position, bool down, qreal x) const;
    // Offers the selection to other programs as the one a middle click
    // pastes (X11's PRIMARY), where the desktop has one. A long selection is
    // offered as a share of the text's version: its characters are made only
    // when a paste asks for them, and a selection changed key by key costs no
    // copy per key.
    void OfferSelection() const;
    // [from, to) of the text as a piece of a version that nobody changes
    // while it is shared; a copy of its own unless the view's text is one.
    virtual SharedSpan ShareSpan(qsizetype from, qsizetype to) const;
    // [from, to) of the text as a version of its own, whatever the view's
    // text is.
    SharedSpan CopySpan(qsizetype from, qsizetype to) const;
    // Drags the selection out as plain text; an editor's drag may move it.
    void DragSelection();
    // While something dragged over the view is held near an edge, the view
    // scrolls towards it; nothing once the drag leaves or drops.
    void ScrollForDropAt(const QPoint& point);
    void StopScrollingForDrop();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    // A row of the text: the slice that holds it, laid out, and its line there.
    struct Row {
        Slice slice;
        std::shared_ptr<const QTextLayout> layout;
        int line = 0;
    };
    struct KeptLayout {
        Slice slice;
        int width = 0;
        std::shared_ptr<const QTextLayout> layout;
    };
    // Where the top row was before an edit: `rows` rows below the line
    // `lineBreaks` breaks after the edit's start, or with none, below
    // `base`, a row start before the edit. A top too many rows down is kept
    // as `offset` characters after that start instead.
    struct TopBeforeEdit {
        qsizetype from = 0;
        qsizetype lineBreaks = 0;
        qsizetype base = 0;
        int rows = 0;
        qsizetype offset = -1;
    };
    bool NextSlice(Slice& slice) const;
    // Where the row holding `step` starts, in a long `line`.
    qsizetype RowStartAtOrBefore(qsizetype step, const Slice& line) const;
    // Gives `line` the rows the row breaker says, from `start` to `end` of
    // the layout's text.
    void GiveRows(QTextLine& line, qsizetype start, qsizetype end) const;
    Row RowAt(qsizetype position) const;
    // The row after (`down`) or before `row`; false at the text's ends.
    bool StepRow(Row& row, bool down) const;
    static qsizetype StartOf(const Row& row);
    static qreal HeightOf(const Row& row);
    // Where the top row is drawn: under the margin at the text's start,
    // at the viewport's edge once scrolled.
    qreal TopRowY() const;
    // After the view's start changed: where its top row shows.
    void NoteTopMoved();
    // Where the view starts after an edit, from where it started before.
    qsizetype TopAfterEdit(const TopBeforeEdit& before) const;
    // How far below the viewport's edge `row` shows when scrolled down to.
    int ShiftScrolledDownTo(Row row) const;
    // Calls `visit` for the slices on screen, top down, with their top edge;
    // stops early when `visit` returns false.
    template <typename Visit> void ForEachVisibleSlice(Visit&& visit) const;
    // Where the view starts `rows` rows down (up, when negative) from now.
    qsizetype TopAfterRows(int rows) const;
    void UpdateScrollBar();
    // The scroll bar's value is a character position: its arrows and page
    // area move the view by rows.
    void ScrollBarAction(int action);
    // Scrolls by the wheel's turn, by rows, or a page with Shift or Ctrl.
    void ScrollByWheel(QWheelEvent* event);
    void ZoomBy(float points);
    int TextWidth() const;
    int RowsPerPage() const;

    // --- mouse ---
    // Whether `point` is on a character, not beside a row or below the text.
    bool IsOnText(const QPoint& point) const;
    struct Selection {
        qsizetype anchor;
        qsizetype caret;
    };
    // Selects from the anchor to `position`, the mouse being at `x`: after a
    // double click by whole words, after a triple click by whole lines, from
    // the one first selected to the one under the mouse.
    void SelectTo(qsizetype position, qreal x);
    void ExtendSelection(qsizetype position, qreal x);
    // Where a selection by words or lines runs; nothing where it stays.
    std::optional<Selection> WordsTo(qsizetype position, qreal x) const;
    std::optional<Selection> LinesTo(qsizetype position) const;
    // The mouse held outside the view while selecting: scroll towards it,
    // the faster the farther it is.
    void AutoScroll();

    bool selecting_ = false;      // the left button went down to select
    bool mightDrag_ = false;      // it went down on the selection
    QPoint pressPoint_;
    QPoint dragPoint_;            // where the mouse was last while selecting
    // What the last double (triple) click selected, until a plain click: a
    // drag or a Shift+click from it goes by words (lines).
    Slice clickedWord_{0, 0};
    Slice clickedLine_{0, 0};
    QBasicTimer tripleClick_;     // a click while it runs is a triple click
    QPoint tripleClickPoint_;
    QBasicTimer autoScroll_;
    bool scrollingForDrop_ = false;
    qreal wheelRows_ = 0;         // a part of a row the wheel has turned
    std::optional<TopBeforeEdit> topBeforeEdit_;
    qsizetype shownTop_ = 0;      // where the view started when last drawn
    int topShift_ = 0;            // how far below the edge its top row shows

    mutable Slice knownLine_{0, -1};  // a line of the text as it is now, or none
    mutable RowBreaker rowBreaker_;
    // Where the row holding each step of a long line starts, as far as asked:
    // a row's start depends on every row before it back to where the line, or
    // its part of a quarter million characters, begins.
    mutable std::map<qsizetype, qsizetype> rowStartAtStep_;
    // A keystroke lays out the caret's slice to scroll, to tell the input
    // method where the caret is and to paint: once is enough.
    mutable std::array<KeptLayout, 4> keptLayouts_;
    mutable std::size_t nextKept_ = 0;
};
