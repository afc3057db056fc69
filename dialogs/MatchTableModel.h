#pragma once
// The table of the matches window: one row per listed match, read straight
// from the engine's list while it grows. No row is an object of its own:
// every cell is made when the view asks for it, so ten million rows cost
// the list's memory and nothing more.
#include "MatchListing.h"

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <memory>

class QItemSelection;

class MatchTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Position, Length, Line, ColumnInLine, Match, FirstGroup };
    // What a cell shows at most before its ellipsis, and what a row's sentence reads.
    static constexpr std::size_t ShownCharacters = 200;
    static constexpr std::size_t SpokenCharacters = 100;
    // A cell of a group that matched nothing, and of one that did not take part.
    static const QString EmptyShown;
    static const QString NotTakenShown;

    struct Listing {
        std::shared_ptr<const tamarin::MatchList> list;
        tamarin::SharedText input;
        std::shared_ptr<const tamarin::LinePlaces> lines;
    };

    explicit MatchTableModel(QObject* parent = nullptr);

    // Shows a new listing (its rows so far) in place of the old one, or none.
    void Show(Listing listing);
    void Clear() { Show({}); }
    // Takes in the rows (and the group columns) the list has added since.
    void Grow();

    const tamarin::MatchList* List() const { return listing_.list.get(); }
    // The group a column shows, from 1; 0 for the other columns.
    int GroupOfColumn(int column) const;
    tamarin::MatchSpan Span(int row, int group) const;
    // What a screen reader says for a cell: its part of the row's sentence
    // ("Match 3 of 1,234", "position 25", "length 10", "line 1", "column 26",
    // "text", "group 1 "ab"", "group 2 did not take part"). A screen reader
    // reads a row as its cells in turn, which makes the sentence; were each
    // cell the whole sentence, the row would be read once per column.
    QString CellSpoken(int row, int column) const;
    // The header line and the rows of `selection` (or every row), a line
    // each, cells apart by tabs, as the table shows them but not cut.
    QString TabSeparated(const QItemSelection& selection) const;
    QString TabSeparatedAll() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString GroupHeader(int group) const;
    QString CellShown(int row, int column, std::size_t maxCharacters) const;
    QString PieceSpoken(tamarin::MatchSpan span) const;
    QString HeaderLine() const;
    // Appends rows [first, last] to `out`, counting lines as it goes.
    void AppendRows(QString& out, int first, int last) const;

    Listing listing_;
    int rows_ = 0;
    int groups_ = 0;
};
