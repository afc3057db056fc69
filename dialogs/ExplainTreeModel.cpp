#include "ExplainTreeModel.h"

#include "CellText.h"

#include <vector>

namespace {

// A piece of the pattern longer than this is cut in its cell; its words and
// its position say the rest.
constexpr std::size_t PieceCharacters = 80;

const tamarin::ExplainNode* RootOf(const tamarin::PatternExplanation* explanation)
{
    return explanation ? &explanation->root : nullptr;
}

} // namespace

ExplainTreeModel::ExplainTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void ExplainTreeModel::Show(std::shared_ptr<const tamarin::PatternExplanation> explanation, tamarin::SharedText pattern)
{
    beginResetModel();
    explanation_ = std::move(explanation);
    pattern_ = std::move(pattern);
    parents_.clear();
    // Each node's parent, found once: the view asks for parents all the time.
    std::vector<const tamarin::ExplainNode*> open;
    if (explanation_)
        open.push_back(&explanation_->root);
    while (!open.empty()) {
        const tamarin::ExplainNode* node = open.back();
        open.pop_back();
        for (const tamarin::ExplainNode& child : node->children) {
            parents_.emplace(&child, node);
            open.push_back(&child);
        }
    }
    endResetModel();
}

const tamarin::ExplainNode* ExplainTreeModel::Node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<const tamarin::ExplainNode*>(index.internalPointer()) : nullptr;
}

QModelIndex ExplainTreeModel::IndexOfGroup(int group) const
{
    if (group <= 0 || !explanation_)
        return {};
    std::vector<const tamarin::ExplainNode*> open{&explanation_->root};
    while (!open.empty()) {
        const tamarin::ExplainNode* node = open.back();
        open.pop_back();
        if (node->kind == tamarin::ExplainKind::Group && node->group == group)
            return IndexOf(node);
        // Children in reverse, so that the first group of a number in pattern order is found.
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child)
            open.push_back(&*child);
    }
    return {};
}

QModelIndex ExplainTreeModel::IndexOf(const tamarin::ExplainNode* node, int column) const
{
    if (!node)
        return {};
    const auto parent = parents_.find(node);
    if (parent == parents_.end())
        return createIndex(0, column, node);
    const auto row = static_cast<int>(node - parent->second->children.data());
    return createIndex(row, column, node);
}

QModelIndex ExplainTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount)
        return {};
    if (!parent.isValid())
        return row == 0 && explanation_ ? createIndex(0, column, RootOf(explanation_.get())) : QModelIndex();
    const tamarin::ExplainNode* node = Node(parent);
    if (!node || row >= static_cast<int>(node->children.size()))
        return {};
    return createIndex(row, column, &node->children[static_cast<std::size_t>(row)]);
}

QModelIndex ExplainTreeModel::parent(const QModelIndex& child) const
{
    const auto found = parents_.find(Node(child));
    return found == parents_.end() ? QModelIndex() : IndexOf(found->second);
}

int ExplainTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return explanation_ ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    const tamarin::ExplainNode* node = Node(parent);
    return node ? static_cast<int>(node->children.size()) : 0;
}

int ExplainTreeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QString ExplainTreeModel::PieceOfPattern(const tamarin::ExplainNode& node) const
{
    const std::string_view pattern = pattern_.View();
    const std::size_t begin = std::min(node.begin, pattern.size());
    const std::size_t end = std::min(std::max(node.end, begin), pattern.size());
    const tamarin::CellText cell = tamarin::MakeCellText(pattern.substr(begin, end - begin), PieceCharacters);
    return QString::fromStdU16String(cell.shown);
}

QVariant ExplainTreeModel::data(const QModelIndex& index, int role) const
{
    const tamarin::ExplainNode* node = Node(index);
    if (!node)
        return {};
    // A screen reader reads a row's cells in turn: the figures say what they are.
    if (role == Qt::AccessibleTextRole && index.column() == PositionColumn)
        return QString("position %1").arg(node->begin);
    if (role == Qt::AccessibleTextRole && index.column() == LengthColumn)
        return QString("length %1").arg(node->end - node->begin);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case MeaningColumn: return QString::fromStdString(node->words);
        case PatternColumn: return role == Qt::ToolTipRole ? QVariant() : PieceOfPattern(*node);
        case PositionColumn: return QString::number(node->begin);
        case LengthColumn: return QString::number(node->end - node->begin);
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() >= PositionColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ExplainTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case MeaningColumn: return QString("Meaning");
    case PatternColumn: return QString("Pattern");
    case PositionColumn: return QString("Position");
    case LengthColumn: return QString("Length");
    default: return {};
    }
}
