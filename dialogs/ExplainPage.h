#pragma once
// The matches window's "Explain" page: what the pattern says, construct by
// construct, as the library reads it in the syntax and case chosen, with the
// verdict above the tree and the warnings below it. The explanation is made
// on a thread of its own, so a pattern of any length never holds up typing.

#include "PatternExplain.h"
#include "SharedText.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <utility>

class BackgroundRun;
class ExplainTreeModel;
class QLabel;
class QTreeView;

class ExplainPage : public QWidget {
    Q_OBJECT
public:
    explicit ExplainPage(QWidget* parent = nullptr);

    QLabel* lblExplain = nullptr;          // the verdict and its figures
    QTreeView* tvExplain = nullptr;
    QLabel* lblExplainWarnings = nullptr;  // each warning with its place

    ExplainTreeModel* Model() const { return model_; }
    // The explanation shown, or none yet.
    const tamarin::PatternExplanation* Explanation() const;
    // The span of the node chosen in the tree, [begin, end).
    std::optional<std::pair<std::size_t, std::size_t>> ChosenSpan() const;

    // Explains `pattern` anew; the explanation shown stays until the new one comes.
    void Explain(tamarin::SharedText pattern, std::int32_t syntaxIndex, bool caseSensitive);
    // No pattern to explain: an empty tree and `why` as the verdict.
    void ShowNothing(const QString& why);
    void Cancel();
    bool Busy() const { return open_; }
    // Explanations shown so far: what a caller waits on for the next one.
    int Shown() const { return shown_; }
    // Makes group `group`'s node the tree's current one, without taking the focus.
    void ChooseGroup(int group);

signals:
    // A new explanation is shown, or another node chosen: what the pattern's marks show changed.
    void MarksChanged();

private:
    void Show(std::shared_ptr<const tamarin::PatternExplanation> explanation, tamarin::SharedText pattern);
    void ShowWarnings(const tamarin::PatternExplanation& explanation);
    void AnnounceTrouble(const tamarin::PatternExplanation& explanation);

    ExplainTreeModel* model_ = nullptr;
    BackgroundRun* run_ = nullptr;
    QString announced_;  // the error or warnings last read out
    bool open_ = false;
    int shown_ = 0;
};
