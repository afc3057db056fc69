#include "ResultPane.h"

#include <QContextMenuEvent>
#include <QMenu>

#include <algorithm>

ResultPane::ResultPane(QWidget* parent) : SlicedTextView(parent)
{
    TextChanged();
}

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
    TextChanged();
    emit textChanged();
}

QStringView ResultPane::text() const
{
    return QStringView(source_).mid(start_, length_);
}

void ResultPane::Select(qsizetype anchor, qsizetype caret)
{
    anchor_ = std::clamp<qsizetype>(anchor, 0, length_);
    caret_ = std::clamp<qsizetype>(caret, 0, length_);
    viewport()->update();
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
