#pragma once
// A result pane whose text carries marks (the matches window's input, its
// replaced text and its copy of the pattern). The marks are asked for only
// for the rows on screen, so a text of a hundred million characters with as
// many marks costs what a screenful of them costs.
#include "ResultPane.h"

#include <QList>
#include <QTextCharFormat>

#include <functional>
#include <vector>

class QAction;

class MarkedPane : public ResultPane {
    Q_OBJECT
public:
    struct Mark {
        qsizetype start = 0;
        qsizetype length = 0;
        QTextCharFormat format;
    };
    // Appends the marks that fall (at least partly) in [from, to), in the
    // order they are to be drawn: a later mark draws over an earlier one.
    using MarkSource = std::function<void(qsizetype from, qsizetype to, std::vector<Mark>& marks)>;

    explicit MarkedPane(QWidget* parent = nullptr);

    void SetMarkSource(MarkSource source);
    // The marks are no longer what they were: the rows on screen are drawn anew.
    void MarksChanged();
    // Scrolls as little as it can so that `position` is on screen.
    void ShowPosition(qsizetype position);
    // The marks of [from, to), as the pane draws them.
    void CollectMarks(qsizetype from, qsizetype to, std::vector<Mark>& marks) const;
    // An item of the pane's context menu after its own Copy and Select All.
    void AddMenuAction(QAction* action);

protected:
    void Dress(QTextLayout& layout, const Slice& slice) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    MarkSource source_;
    QList<QAction*> menuActions_;
};
