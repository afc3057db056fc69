#include "ResultPane.h"

#include "EditorText.h"

#include "SlicedTextAccessible.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>

#include <algorithm>
#include <utility>

ResultPane::ResultPane(QWidget* parent)
    : SlicedTextView(parent), source_(std::make_shared<const TextVersion>())
{
    TextChanged();
}

void ResultPane::setText(std::shared_ptr<const TextVersion> source, qsizetype start, qsizetype length)
{
    const TextSpan all(*source);
    const TextSpan shown = all.mid(start, length);
    const bool same = shown == text();
    const QString before = !same && SlicedTextAccessible::Listening() ? text().toString() : QString();
    // A short slice of a long text is copied: shared, it would keep the whole
    // text alive, and the source's next edit would have to copy all of it.
    if (shown.size() > all.size() / 2) {
        source_ = std::move(source);
        start_ = shown.Bytes().data() - all.Bytes().data();
    } else if (!same || source_->bytes.size() != shown.Bytes().size()) {
        // A copy of its own; a copy the pane already has of the same text serves on.
        source_ = std::make_shared<const TextVersion>(shown.Copy());
        start_ = 0;
    }
    length_ = shown.size();
    // The same text is no change: the view keeps its place and selection.
    if (same)
        return;
    anchor_ = caret_ = 0;
    // The view keeps its place, as far as the new text reaches.
    TextChanged();
    if (SlicedTextAccessible::Listening()) {
        QAccessibleTextUpdateEvent replaced(this, 0, before, text().toString());
        SlicedTextAccessible::Tell(replaced);
    }
    emit textChanged();
}

void ResultPane::setPlainText(const QString& text)
{
    const std::shared_ptr<const TextVersion> version = EditorText::MakeVersion(text);
    setText(version, 0, TextSpan(*version).size());
}

TextSpan ResultPane::text() const
{
    return TextSpan(*source_).mid(start_, length_);
}

SharedSpan ResultPane::ShareSpan(qsizetype from, qsizetype to) const
{
    // The pane never changes its source; a new text is a new source.
    return {source_, start_ + from, to - from};
}

void ResultPane::Select(qsizetype anchor, qsizetype caret)
{
    const qsizetype oldAnchor = std::exchange(anchor_, std::clamp<qsizetype>(anchor, 0, length_));
    const qsizetype oldCaret = std::exchange(caret_, std::clamp<qsizetype>(caret, 0, length_));
    TellSelectionChanged(oldAnchor, oldCaret);
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
