#pragma once
// A read-only view of a text of any length: a result pane. It shares the
// characters it is given (setting a slice of the input costs nothing) and
// lays out only the rows on screen, a long line in slices of a few thousand
// characters, so that a pane of megabytes, or one line without a blank, costs
// what a screenful costs. The user can scroll, select and copy.
//
// The vertical scroll bar counts characters, not rows: the view starts at the
// row that holds the scroll bar's value.
#include <QAbstractScrollArea>
#include <QString>

#include <memory>

class QTextLayout;

class ResultPane : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText NOTIFY textChanged)
    Q_PROPERTY(bool readOnly READ isReadOnly CONSTANT)
public:
    explicit ResultPane(QWidget* parent = nullptr);
    ~ResultPane() override;

    // Shows `length` characters of `source` from `start`, sharing its buffer.
    void setText(const QString& source, qsizetype start, qsizetype length);
    void setPlainText(const QString& text) { setText(text, 0, text.size()); }
    QStringView text() const;
    QString toPlainText() const { return text().toString(); }
    bool isReadOnly() const { return true; }

    QString selectedText() const;
    void selectAll();
    void copy() const;

signals:
    void textChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // A slice of one line: at most SliceLength characters, never a line break.
    struct Slice {
        qsizetype start = 0;
        qsizetype end = 0;
    };
    Slice SliceAt(qsizetype position) const;
    bool NextSlice(Slice& slice) const;
    std::unique_ptr<QTextLayout> LayOut(const Slice& slice) const;
    int RowOf(const QTextLayout& layout, qsizetype offset) const;
    // Calls `visit` for the slices on screen, top down, with their top edge.
    template <typename Visit> void ForEachVisibleSlice(Visit&& visit) const;
    qsizetype PositionAt(const QPoint& point) const;
    qsizetype RowStartAfter(qsizetype position, int rows) const;
    qsizetype RowStartBefore(qsizetype position, int rows) const;
    // Where the view starts `rows` rows down (up, when negative) from now.
    qsizetype TopAfterRows(int rows) const;
    int PageRows() const;
    void ScrollRows(int rows);
    void UpdateScrollBar();
    int TextWidth() const;
    qsizetype Top() const;

    QString source_;
    qsizetype start_ = 0;
    qsizetype length_ = 0;
    qsizetype anchor_ = 0;  // selection: from anchor_ to caret_
    qsizetype caret_ = 0;
};
