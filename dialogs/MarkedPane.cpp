#include "MarkedPane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include <algorithm>

MarkedPane::MarkedPane(QWidget* parent) : ResultPane(parent) {}

void MarkedPane::SetMarkSource(MarkSource source)
{
    source_ = std::move(source);
    MarksChanged();
}

void MarkedPane::MarksChanged()
{
    ForgetLayouts();
    viewport()->update();
}

void MarkedPane::ShowPosition(qsizetype position)
{
    ScrollToShow(std::clamp<qsizetype>(position, 0, text().size()));
}

void MarkedPane::AddMenuAction(QAction* action)
{
    menuActions_.append(action);
}

void MarkedPane::CollectMarks(qsizetype from, qsizetype to, std::vector<Mark>& marks) const
{
    if (source_)
        source_(from, to, marks);
}

void MarkedPane::Dress(QTextLayout& layout, const Slice& slice) const
{
    if (!source_)
        return;
    std::vector<Mark> marks;
    source_(slice.start, slice.end, marks);
    QList<QTextLayout::FormatRange> formats;
    formats.reserve(static_cast<qsizetype>(marks.size()));
    for (const Mark& mark : marks) {
        const qsizetype from = std::max(mark.start, slice.start);
        const qsizetype to = std::min(mark.start + mark.length, slice.end);
        if (from < to)
            formats.append({static_cast<int>(from - slice.start), static_cast<int>(to - from), mark.format});
    }
    layout.setFormats(formats);
}

void MarkedPane::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &MarkedPane::copy);
    copyAction->setEnabled(Anchor() != Caret());
    menu.addSeparator();
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &MarkedPane::selectAll);
    if (!menuActions_.isEmpty()) {
        menu.addSeparator();
        menu.addActions(menuActions_);
    }
    menu.exec(event->globalPos());
}
