#pragma once
// Draws a result tree node on one line and measures and paints only as much
// of its text as a row can show: a match may be megabytes long and span many
// lines, and laying all of it out on every paint would stall the window.
#include <QStyledItemDelegate>

class ResultTreeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The most characters a row shows; the item keeps the whole text.
    static constexpr qsizetype ShownCharacters = 1000;

    // The text a row shows for a node text.
    static QString ShownText(const QString& text);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
