#include "ExplainPage.h"

#include "BackgroundRun.h"
#include "DescriptionAnnouncer.h"
#include "DialogSupport.h"
#include "ExplainTreeModel.h"
#include "Theme.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int ContentMargin = 6;
constexpr int ContentSpacing = 4;
// Trees up to this many rows open whole; larger ones open their first levels,
// since opening every row of a huge pattern would hold up the window.
constexpr std::size_t RowsOpenedWhole = 2000;
constexpr int LevelsOpened = 2;
// Warnings past this many are counted, not listed.
constexpr std::size_t WarningsListed = 20;

QString WarningLine(const tamarin::ExplainWarning& warning)
{
    return QString("At %1, length %2: %3")
        .arg(warning.begin)
        .arg(warning.end - warning.begin)
        .arg(QString::fromStdString(warning.words));
}

} // namespace

ExplainPage::ExplainPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("pnExplainPage");
    model_ = new ExplainTreeModel(this);
    run_ = new BackgroundRun(this);
    lblExplain = DialogSupport::CreateResultLabel("lblExplain", this);
    tvExplain = new QTreeView(this);
    tvExplain->setObjectName("tvExplain");
    tvExplain->setAccessibleName("Explanation");
    tvExplain->setModel(model_);
    tvExplain->setUniformRowHeights(true);
    tvExplain->setTextElideMode(Qt::ElideRight);
    tvExplain->setAllColumnsShowFocus(true);
    tvExplain->header()->setStretchLastSection(false);
    tvExplain->header()->setSectionResizeMode(ExplainTreeModel::MeaningColumn, QHeaderView::Stretch);
    tvExplain->header()->resizeSection(ExplainTreeModel::PatternColumn, 140);
    tvExplain->header()->resizeSection(ExplainTreeModel::PositionColumn, 64);
    tvExplain->header()->resizeSection(ExplainTreeModel::LengthColumn, 56);
    Theme::KeepWhiteWithDarkText(tvExplain);
    lblExplainWarnings = DialogSupport::CreateResultLabel("lblExplainWarnings", this);
    lblExplainWarnings->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ContentMargin, ContentMargin, ContentMargin, ContentMargin);
    layout->setSpacing(ContentSpacing);
    layout->addWidget(lblExplain);
    layout->addWidget(tvExplain, 1);
    layout->addWidget(lblExplainWarnings);

    connect(tvExplain->selectionModel(), &QItemSelectionModel::currentChanged, this, &ExplainPage::MarksChanged);
}

const tamarin::PatternExplanation* ExplainPage::Explanation() const
{
    return model_->Explanation();
}

std::optional<std::pair<std::size_t, std::size_t>> ExplainPage::ChosenSpan() const
{
    const tamarin::ExplainNode* node = model_->Node(tvExplain->currentIndex());
    if (!node)
        return std::nullopt;
    return std::make_pair(node->begin, node->end);
}

void ExplainPage::Explain(tamarin::SharedText pattern, std::int32_t syntaxIndex, bool caseSensitive)
{
    open_ = true;
    run_->Start([this, pattern, syntaxIndex, caseSensitive](const std::atomic<bool>&, const BackgroundRun::Post& post) {
        auto explanation = std::make_shared<const tamarin::PatternExplanation>(
            tamarin::ExplainPattern(pattern.View(), syntaxIndex, caseSensitive));
        post([this, explanation, pattern] { Show(explanation, pattern); });
    });
}

void ExplainPage::ShowNothing(const QString& why)
{
    Cancel();
    model_->Show(nullptr, {});
    lblExplain->setText(why);
    lblExplain->setToolTip({});
    lblExplainWarnings->clear();
    lblExplainWarnings->setVisible(false);
    announced_.clear();
    DescriptionAnnouncer::Announce({tvExplain}, {});
    emit MarksChanged();
}

void ExplainPage::Cancel()
{
    run_->Cancel();
    open_ = false;
}

void ExplainPage::Show(std::shared_ptr<const tamarin::PatternExplanation> explanation, tamarin::SharedText pattern)
{
    open_ = false;
    ++shown_;
    model_->Show(explanation, std::move(pattern));
    if (model_->Nodes() <= RowsOpenedWhole)
        tvExplain->expandAll();
    else
        tvExplain->expandToDepth(LevelsOpened - 1);
    lblExplain->setText(QString::fromStdString(tamarin::ExplanationVerdict(*explanation)));
    lblExplain->setToolTip(explanation->unsure ? "Unsure: " + QString::fromStdString(explanation->unsureWhy)
                                               : QString());
    ShowWarnings(*explanation);
    AnnounceTrouble(*explanation);
    emit MarksChanged();
}

void ExplainPage::ShowWarnings(const tamarin::PatternExplanation& explanation)
{
    QStringList lines;
    for (const tamarin::ExplainWarning& warning : explanation.warnings) {
        if (static_cast<std::size_t>(lines.size()) == WarningsListed) {
            lines << QString("and %1 more").arg(explanation.warnings.size() - WarningsListed);
            break;
        }
        lines << WarningLine(warning);
    }
    if (explanation.unsure)
        lines << "Unsure: " + QString::fromStdString(explanation.unsureWhy);
    lblExplainWarnings->setText(lines.join('\n'));
    lblExplainWarnings->setVisible(!lines.isEmpty());
}

void ExplainPage::AnnounceTrouble(const tamarin::PatternExplanation& explanation)
{
    // The error and the warnings are read once each time they change; a
    // pattern that compiles cleanly says nothing, its tree is there to be read.
    QString trouble;
    if (!explanation.compiles)
        trouble = lblExplain->text();
    else if (!explanation.warnings.empty())
        trouble = lblExplain->text() + ". " + WarningLine(explanation.warnings.front());
    if (trouble == announced_)
        return;
    announced_ = trouble;
    // Trouble gone, the tree's description is emptied (and nothing is said),
    // so that it never tells of an error that is no more.
    DescriptionAnnouncer::Announce({tvExplain}, trouble);
}

void ExplainPage::ChooseGroup(int group)
{
    const QModelIndex node = model_->IndexOfGroup(group);
    if (!node.isValid())
        return;
    tvExplain->selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tvExplain->scrollTo(node);
}
