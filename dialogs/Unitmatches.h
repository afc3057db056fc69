#pragma once
// The matches window: every match of the main window's pattern over its
// input, with the groups of each, and a replacement preview. It follows the
// main window live (pattern, input, syntax, case and algorithm) but never
// runs the main window's evaluation: it lists on a thread of its own, and
// does nothing while hidden. Shown modelessly.

#include "MarkedPane.h"
#include "MatchListing.h"
#include "Replacement.h"

#include <QDialog>

#include <memory>
#include <vector>

class BackgroundRun;
class ExplainPage;
class MatchTableModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTabWidget;
class QTableView;
class QTreeView;
struct TextVersion;

class TfrmMatches : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMatches(QWidget* parent = nullptr);
    ~TfrmMatches() override;

    MarkedPane* rePattern = nullptr;   // the pattern listed, read-only
    QLabel* lblMatchCount = nullptr;   // where the listing stands
    QTabWidget* pcMatches = nullptr;   // "Matches", "Replace" and "Explain"
    QTableView* tvMatches = nullptr;
    MarkedPane* reMatches = nullptr;   // the input, every match marked
    QLineEdit* edReplaceWith = nullptr;
    QComboBox* cbReplaceFormat = nullptr;  // entry index = tamarin::FormatKind
    QCheckBox* cbFirstOnly = nullptr;
    QCheckBox* cbNoCopy = nullptr;
    QLabel* lblReplaceWarning = nullptr;   // tokens the replacement takes literally
    MarkedPane* reReplaced = nullptr;
    QLabel* lblReplaceCount = nullptr;
    QLabel* lblExplain = nullptr;          // on the Explain page (ExplainPage)
    QTreeView* tvExplain = nullptr;
    QPushButton* btnClose = nullptr;

    MatchTableModel* Model() const { return model_; }
    ExplainPage* Explainer() const { return explain_; }
    // Whether a listing or a replacement that still counts is running.
    bool Busy() const;

    // The main window changed what is listed: stop at once, list again soon.
    void MainWindowChange();
    // The replacement's text or options changed.
    void ReplaceOptionsChange();
    void pcMatchesChange(int page);
    void btnCloseClick();
    // Ctrl+C in the table: the selected rows; the context menu's "Copy all matches".
    void CopySelectedRows();
    void CopyAllMatches();
    void CopyResult();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void CreateControls();
    void CreateMatchesPage();
    void CreateReplacePage();
    void LayOutControls();
    void ConnectHandlers();
    void FollowMainWindow();

    // The main window's state as a query, the pattern's line breaks removed.
    tamarin::ListingQuery ReadMainWindow() const;
    // Lists anew, when shown; a change while hidden waits for the showing.
    void ScheduleRefresh();
    void StopRuns();
    void Refresh();
    void StartListing();
    void ListingProgress(const std::shared_ptr<const tamarin::MatchList>& list,
                         const std::shared_ptr<const tamarin::LinePlaces>& lines);
    void ShowCount(const QString& text, bool final);
    void StartReplace();
    void ShowReplaced(tamarin::ReplaceResult result);
    void ShowFormatWarnings();

    // What the panes mark.
    void SetMarkSources();
    void CurrentCellChange(const QModelIndex& current);
    void MarkPatternGroup(int group);
    void MarkPatternError();
    void ShowPattern(const tamarin::SharedText& pattern);
    void MarkPatternTrouble(std::vector<MarkedPane::Mark>& marks) const;
    void MarkExplainedNode(std::vector<MarkedPane::Mark>& marks) const;
    void ExplainMarksChange();

    MatchTableModel* model_ = nullptr;
    ExplainPage* explain_ = nullptr;
    BackgroundRun* listing_ = nullptr;
    BackgroundRun* replacing_ = nullptr;
    tamarin::ListingQuery query_;
    std::shared_ptr<const TextVersion> inputVersion_;
    std::shared_ptr<const tamarin::LinePlaces> lines_;  // for inputVersion_, once made
    std::int32_t listedSyntax_ = -1;
    std::vector<tamarin::ReplacedPiece> replacedPieces_;
    int selectedRow_ = -1;
    int markedGroup_ = 0;
    bool stale_ = true;            // the main window changed since the last listing
    bool replaceStale_ = true;     // the replacement is not that of the listing shown
    bool refreshPending_ = false;
    bool listingOpen_ = false;     // a listing runs whose end is not shown yet
    bool replaceOpen_ = false;
    bool placed_ = false;
};
