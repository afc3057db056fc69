#pragma once
// The explanation of a pattern as a tree for a view: one row per construct,
// nested as the pattern nests, with its words, its piece of the pattern and
// where that piece stands. It reads the engine's tree in place: an
// explanation shown is never changed, only replaced.

#include "PatternExplain.h"
#include "SharedText.h"

#include <QAbstractItemModel>

#include <memory>
#include <unordered_map>

class ExplainTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { MeaningColumn, PatternColumn, PositionColumn, LengthColumn, ColumnCount };

    explicit ExplainTreeModel(QObject* parent = nullptr);

    void Show(std::shared_ptr<const tamarin::PatternExplanation> explanation, tamarin::SharedText pattern);
    const tamarin::PatternExplanation* Explanation() const { return explanation_.get(); }
    // Rows in the tree, the root's included.
    std::size_t Nodes() const { return parents_.size() + (explanation_ ? 1 : 0); }

    const tamarin::ExplainNode* Node(const QModelIndex& index) const;
    // The row of group `group`'s node, or an invalid index.
    QModelIndex IndexOfGroup(int group) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QModelIndex IndexOf(const tamarin::ExplainNode* node, int column = 0) const;
    QString PieceOfPattern(const tamarin::ExplainNode& node) const;

    std::shared_ptr<const tamarin::PatternExplanation> explanation_;
    tamarin::SharedText pattern_;
    std::unordered_map<const tamarin::ExplainNode*, const tamarin::ExplainNode*> parents_;
};
