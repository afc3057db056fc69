#include "MatchTableModel.h"

#include "CellText.h"
#include "MatchTexts.h"

#include <QColor>
#include <QFont>
#include <QItemSelection>

#include <algorithm>
#include <cstring>

namespace {

// Readable on the table's white ground (more than 4.5 : 1).
const QColor AbsentColour(0x5f, 0x5f, 0x5f);

QString FromUtf16(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString Quoted(const QString& text)
{
    return '"' + text + '"';
}

} // namespace

const QString MatchTableModel::EmptyShown = QStringLiteral("(empty)");
const QString MatchTableModel::NotTakenShown = QStringLiteral("\u2014");

MatchTableModel::MatchTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void MatchTableModel::Show(Listing listing)
{
    beginResetModel();
    listing_ = std::move(listing);
    rows_ = 0;
    groups_ = 0;
    endResetModel();
    Grow();
}

void MatchTableModel::Grow()
{
    if (!listing_.list)
        return;
    const tamarin::MatchList& list = *listing_.list;
    // The pattern's facts are complete once a row is listed or the listing ended.
    const auto listed = static_cast<int>(std::min<std::int64_t>(list.Listed(), INT32_MAX));
    if (listed == 0 && !list.Ended())
        return;
    const int groups = list.GroupCount();
    if (groups > groups_) {
        beginInsertColumns({}, FirstGroup + groups_, FirstGroup + groups - 1);
        groups_ = groups;
        endInsertColumns();
    }
    if (listed > rows_) {
        beginInsertRows({}, rows_, listed - 1);
        rows_ = listed;
        endInsertRows();
    }
}

int MatchTableModel::GroupOfColumn(int column) const
{
    return column >= FirstGroup && column < FirstGroup + groups_ ? column - FirstGroup + 1 : 0;
}

tamarin::MatchSpan MatchTableModel::Span(int row, int group) const
{
    if (!listing_.list || row < 0 || row >= rows_ || group < 0 || group > groups_)
        return {};
    return listing_.list->Span(row, group);
}

int MatchTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int MatchTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FirstGroup + groups_;
}

QString MatchTableModel::GroupHeader(int group) const
{
    const std::vector<tamarin::GroupFacts>& facts = listing_.list->Facts().groups;
    const auto at = static_cast<std::size_t>(group - 1);
    if (at < facts.size() && !facts[at].name.empty())
        return QString("%1 (%2)").arg(QString::fromStdString(facts[at].name)).arg(group);
    return QString::number(group);
}

QVariant MatchTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number: return "#";
    case Position: return "Position";
    case Length: return "Length";
    case Line: return "Line";
    case ColumnInLine: return "Column";
    case Match: return "Match";
    default: return GroupOfColumn(section) ? QVariant(GroupHeader(GroupOfColumn(section))) : QVariant();
    }
}

QString MatchTableModel::CellShown(int row, int column, std::size_t maxCharacters) const
{
    const tamarin::MatchSpan whole = Span(row, 0);
    switch (column) {
    case Number: return MatchTexts::Number(row + 1);
    case Position: return MatchTexts::Number(whole.position);
    case Length: return MatchTexts::Number(whole.length);
    case Line:
    case ColumnInLine: {
        if (!listing_.lines)
            return {};
        const tamarin::LinePlaces::Place place = listing_.lines->At(whole.position);
        return MatchTexts::Number(column == Line ? place.line : place.column);
    }
    default: break;
    }
    const tamarin::MatchSpan span = column == Match ? whole : Span(row, GroupOfColumn(column));
    const tamarin::CellText cell = tamarin::MakeCellText(listing_.input.View(), span, maxCharacters);
    switch (cell.kind) {
    case tamarin::CellText::Kind::Empty: return EmptyShown;
    case tamarin::CellText::Kind::NotTaken: return NotTakenShown;
    case tamarin::CellText::Kind::Text: break;
    }
    return FromUtf16(cell.shown);
}

QVariant MatchTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    const bool piece = column >= Match;
    switch (role) {
    case Qt::DisplayRole: return CellShown(row, column, ShownCharacters);
    case Qt::AccessibleTextRole: return CellSpoken(row, column);
    case Qt::ToolTipRole:
        if (!piece)
            return {};
        return PieceSpoken(column == Match ? Span(row, 0) : Span(row, GroupOfColumn(column)));
    case Qt::TextAlignmentRole:
        return piece ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
    case Qt::FontRole: {
        if (!piece)
            return {};
        const tamarin::MatchSpan span = column == Match ? Span(row, 0) : Span(row, GroupOfColumn(column));
        if (span.Matched() && span.length > 0)
            return {};
        if (role == Qt::ForegroundRole)
            return AbsentColour;
        QFont italic;
        italic.setItalic(true);
        return italic;
    }
    default: return {};
    }
}

QString MatchTableModel::PieceSpoken(tamarin::MatchSpan span) const
{
    const tamarin::CellText cell = tamarin::MakeCellText(listing_.input.View(), span, SpokenCharacters);
    const QString spoken = FromUtf16(cell.spoken);
    return cell.kind == tamarin::CellText::Kind::Text ? Quoted(spoken) : spoken;
}

QString MatchTableModel::CellSpoken(int row, int column) const
{
    if (row < 0 || row >= rows_)
        return {};
    switch (column) {
    case Number:
        return QString("Match %1 of %2").arg(MatchTexts::Number(row + 1), MatchTexts::Number(listing_.list->Counted()));
    case Position: return "position " + CellShown(row, column, 0);
    case Length: return "length " + CellShown(row, column, 0);
    case Line: return listing_.lines ? "line " + CellShown(row, column, 0) : QString();
    case ColumnInLine: return listing_.lines ? "column " + CellShown(row, column, 0) : QString();
    case Match: return PieceSpoken(Span(row, 0));
    default: break;
    }
    const int group = GroupOfColumn(column);
    return QString("group %1 %2").arg(GroupHeader(group), PieceSpoken(Span(row, group)));
}

QString MatchTableModel::HeaderLine() const
{
    QStringList headers;
    for (int column = 0; column < columnCount(); ++column)
        headers << headerData(column, Qt::Horizontal).toString();
    return headers.join('\t') + '\n';
}

void MatchTableModel::AppendRows(QString& out, int first, int last) const
{
    // Rows come in the order of their positions: the line is counted on from
    // the row before instead of being looked up for each row.
    const std::string_view input = listing_.input.View();
    std::int64_t at = Span(first, 0).position;
    tamarin::LinePlaces::Place place = listing_.lines ? listing_.lines->At(at) : tamarin::LinePlaces::Place{};
    constexpr std::size_t Uncut = 1 << 20;
    for (int row = first; row <= last; ++row) {
        const tamarin::MatchSpan whole = Span(row, 0);
        while (at < whole.position) {
            const void* lineEnd = std::memchr(input.data() + at, '\n', static_cast<std::size_t>(whole.position - at));
            if (!lineEnd) {
                place.column += whole.position - at;
                break;
            }
            const std::int64_t next = static_cast<const char*>(lineEnd) - input.data() + 1;
            ++place.line;
            place.column = 1;
            at = next;
        }
        at = whole.position;
        QStringList cells{QString::number(row + 1), QString::number(whole.position), QString::number(whole.length),
                          QString::number(place.line), QString::number(place.column)};
        for (int column = Match; column < columnCount(); ++column)
            cells << CellShown(row, column, Uncut);
        out += cells.join('\t');
        out += '\n';
    }
}

QString MatchTableModel::TabSeparated(const QItemSelection& selection) const
{
    QString out = HeaderLine();
    // Each row once, in order, however the selection was made.
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : selection)
        ranges.emplace_back(range.top(), range.bottom());
    std::sort(ranges.begin(), ranges.end());
    int next = 0;
    for (auto [top, bottom] : ranges) {
        top = std::max(top, next);
        if (top <= bottom)
            AppendRows(out, top, bottom);
        next = std::max(next, bottom + 1);
    }
    return out;
}

QString MatchTableModel::TabSeparatedAll() const
{
    QString out = HeaderLine();
    if (rows_ > 0)
        AppendRows(out, 0, rows_ - 1);
    return out;
}
