#include "Unitmatches.h"

#include "BackgroundRun.h"
#include "CodePageText.h"
#include "DescriptionAnnouncer.h"
#include "DialogSupport.h"
#include "ExplainPage.h"
#include "Main.h"
#include "MarkedPane.h"
#include "MatchTableModel.h"
#include "MatchTexts.h"
#include "OutcomeLine.h"
#include "QtEngineView.h"
#include "Theme.h"
#include "Unitsettings.h"
#include "Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace {

constexpr QSize InitialSize(780, 560);
constexpr QSize MinimumSize(420, 320);
constexpr int ContentMargin = 6;
constexpr int ContentSpacing = 4;
constexpr int PatternRows = 2;
constexpr int ReplacePage = 1;
constexpr int ExplainPageIndex = 2;
// More marks than this in one slice of a pane are not drawn: the table lists them all.
constexpr std::size_t MarksPerSlice = 4000;

// Two tints that tell adjacent matches apart on the white ground, the
// selected match stronger, and a colour for each of its groups in turn.
const QColor MatchTints[2] = {QColor(0xcf, 0xe6, 0xff), QColor(0xff, 0xe1, 0xb8)};
const QColor SelectedGround(0x0b, 0x4f, 0xb3);
const QColor SelectedText(Qt::white);
const QColor GroupGrounds[] = {QColor(0xff, 0xd5, 0x4f), QColor(0x9c, 0xe0, 0x9f), QColor(0xf8, 0xa5, 0xc8),
                               QColor(0x80, 0xde, 0xea), QColor(0xd7, 0xb4, 0xf0), QColor(0xff, 0xb7, 0x93)};
const QColor ErrorGround(0xff, 0x8a, 0x80);
const QColor WarningLine(0xe0, 0x6c, 0x00);

QTextCharFormat Tint(const QColor& ground)
{
    QTextCharFormat format;
    format.setBackground(ground);
    return format;
}

QTextCharFormat SelectedMatchFormat()
{
    QTextCharFormat format = Tint(SelectedGround);
    format.setForeground(SelectedText);
    format.setFontUnderline(true);
    return format;
}

QTextCharFormat WarningFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(WarningLine);
    return format;
}

QTextCharFormat GroupFormat(int group)
{
    QTextCharFormat format = Tint(GroupGrounds[(group - 1) % std::size(GroupGrounds)]);
    format.setForeground(QColor(Qt::black));
    format.setFontUnderline(true);
    return format;
}

// A version of the engine's 8-bit text, for a pane to show.
std::shared_ptr<const TextVersion> VersionOf(std::string bytes)
{
    auto version = std::make_shared<TextVersion>();
    version->bytes = std::move(bytes);
    return version;
}

// The pattern as the main window lists it: its line breaks removed (the
// editor keeps each as one '\n'), shared when it has none.
tamarin::SharedText PatternWithoutBreaks(const TextEditor& editor)
{
    const std::string& bytes = editor.Content().Bytes();
    if (bytes.find('\n') == std::string::npos)
        return QtEngineView::ShareBytes(editor.Content());
    std::string joined;
    joined.reserve(bytes.size());
    std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(joined), [](char c) { return c != '\n'; });
    return joined;
}

MarkedPane* NewPane(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* pane = new MarkedPane(parent);
    pane->setObjectName(name);
    pane->setAccessibleName(accessibleName);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Theme::KeepWhiteWithDarkText(pane);
    return pane;
}

QCheckBox* NewCheckBox(const char* name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

TfrmMatches::TfrmMatches(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmMatches");
    setWindowTitle("Matches and Groups");
    setFont(Theme::DesignedFont());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    // Left open, it does not keep the program running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(MinimumSize);
    resize(InitialSize);
    model_ = new MatchTableModel(this);
    listing_ = new BackgroundRun(this);
    replacing_ = new BackgroundRun(this);
    CreateControls();
    LayOutControls();
    SetMarkSources();
    ConnectHandlers();
    FollowMainWindow();
}

TfrmMatches::~TfrmMatches() = default;

// --- controls ---

void TfrmMatches::CreateControls()
{
    rePattern = NewPane("rePattern", "Pattern", this);
    rePattern->setFixedHeight(rePattern->fontMetrics().lineSpacing() * PatternRows + 2 * rePattern->frameWidth() + 8);
    lblMatchCount = DialogSupport::CreateResultLabel("lblMatchCount", this);
    pcMatches = new QTabWidget(this);
    pcMatches->setObjectName("pcMatches");
    CreateMatchesPage();
    CreateReplacePage();
    explain_ = new ExplainPage;
    lblExplain = explain_->lblExplain;
    tvExplain = explain_->tvExplain;
    pcMatches->addTab(explain_, "Explain");
    btnClose = new QPushButton("&Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setAccessibleName("Close");
    btnClose->setAutoDefault(false);
}

void TfrmMatches::CreateMatchesPage()
{
    auto* page = new QSplitter(Qt::Vertical);
    page->setObjectName("pnMatchesPage");
    page->setChildrenCollapsible(false);
    tvMatches = new QTableView(page);
    tvMatches->setObjectName("tvMatches");
    tvMatches->setAccessibleName("Matches");
    tvMatches->setModel(model_);
    tvMatches->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvMatches->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tvMatches->setWordWrap(false);
    tvMatches->setTextElideMode(Qt::ElideRight);
    tvMatches->setTabKeyNavigation(false);
    tvMatches->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Rows of one height, no row header: a view over millions of rows stays light.
    QHeaderView* rows = tvMatches->verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(tvMatches->fontMetrics().height() + 6);
    tvMatches->horizontalHeader()->setSectionsClickable(true);
    tvMatches->horizontalHeader()->setHighlightSections(false);
    tvMatches->horizontalHeader()->setDefaultSectionSize(90);
    tvMatches->horizontalHeader()->setMinimumSectionSize(36);
    Theme::KeepWhiteWithDarkText(tvMatches);
    // The corner button selects every row; it is a control of its own and is named as one.
    if (auto* corner = tvMatches->findChild<QAbstractButton*>())
        corner->setAccessibleName("Select all matches");
    reMatches = NewPane("reMatches", "Input with the matches marked", page);
    page->addWidget(tvMatches);
    page->addWidget(reMatches);
    page->setStretchFactor(0, 3);
    page->setStretchFactor(1, 2);
    pcMatches->addTab(page, "Matches");
}

void TfrmMatches::CreateReplacePage()
{
    auto* page = new QWidget;
    page->setObjectName("pnReplacePage");
    auto* label = new QLabel("Replace &with:", page);
    edReplaceWith = new QLineEdit(page);
    edReplaceWith->setObjectName("edReplaceWith");
    edReplaceWith->setAccessibleName("Replace with");
    label->setBuddy(edReplaceWith);
    Theme::KeepWhiteWithDarkText(edReplaceWith);
    cbReplaceFormat = new QComboBox(page);
    cbReplaceFormat->setObjectName("cbReplaceFormat");
    cbReplaceFormat->setAccessibleName("Replacement format");
    cbReplaceFormat->addItems({"Perl", "sed", "Boost extended", "Literal"});
    cbFirstOnly = NewCheckBox("cbFirstOnly", "First match only", page);
    cbNoCopy = NewCheckBox("cbNoCopy", "Matched parts only", page);
    lblReplaceWarning = DialogSupport::CreateResultLabel("lblReplaceWarning", page);
    reReplaced = NewPane("reReplaced", "Replaced text", page);
    lblReplaceCount = DialogSupport::CreateResultLabel("lblReplaceCount", page);

    auto* format = new QHBoxLayout;
    format->addWidget(label);
    format->addWidget(edReplaceWith, 1);
    format->addWidget(cbReplaceFormat);
    auto* options = new QHBoxLayout;
    options->addWidget(cbFirstOnly);
    options->addWidget(cbNoCopy);
    options->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(ContentMargin, ContentMargin, ContentMargin, ContentMargin);
    layout->setSpacing(ContentSpacing);
    layout->addLayout(format);
    layout->addLayout(options);
    layout->addWidget(lblReplaceWarning);
    layout->addWidget(reReplaced, 1);
    layout->addWidget(lblReplaceCount);
    pcMatches->addTab(page, "Replace");
}

void TfrmMatches::LayOutControls()
{
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblMatchCount, 1);
    foot->addWidget(btnClose, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ContentMargin, ContentMargin, ContentMargin, ContentMargin);
    layout->setSpacing(ContentSpacing);
    layout->addWidget(rePattern);
    layout->addWidget(pcMatches, 1);
    layout->addLayout(foot);
}

void TfrmMatches::ConnectHandlers()
{
    connect(btnClose, &QPushButton::clicked, this, &TfrmMatches::btnCloseClick);
    connect(pcMatches, &QTabWidget::currentChanged, this, &TfrmMatches::pcMatchesChange);
    connect(edReplaceWith, &QLineEdit::textChanged, this, &TfrmMatches::ReplaceOptionsChange);
    connect(cbReplaceFormat, &QComboBox::currentIndexChanged, this, &TfrmMatches::ReplaceOptionsChange);
    connect(cbFirstOnly, &QCheckBox::toggled, this, &TfrmMatches::ReplaceOptionsChange);
    connect(cbNoCopy, &QCheckBox::toggled, this, &TfrmMatches::ReplaceOptionsChange);
    connect(tvMatches->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { CurrentCellChange(current); });
    connect(explain_, &ExplainPage::MarksChanged, this, &TfrmMatches::ExplainMarksChange);
    connect(tvMatches->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { MarkPatternGroup(model_->GroupOfColumn(column)); });

    auto* copyRows = new QAction("&Copy", tvMatches);
    copyRows->setObjectName("actCopyRows");
    copyRows->setShortcut(QKeySequence::Copy);
    copyRows->setShortcutContext(Qt::WidgetShortcut);
    connect(copyRows, &QAction::triggered, this, &TfrmMatches::CopySelectedRows);
    auto* copyAll = new QAction("Copy all matches", tvMatches);
    copyAll->setObjectName("actCopyAllMatches");
    connect(copyAll, &QAction::triggered, this, &TfrmMatches::CopyAllMatches);
    tvMatches->addActions({copyRows, copyAll});

    auto* copyResult = new QAction("Copy result", reReplaced);
    copyResult->setObjectName("actCopyResult");
    connect(copyResult, &QAction::triggered, this, &TfrmMatches::CopyResult);
    reReplaced->AddMenuAction(copyResult);
}

void TfrmMatches::FollowMainWindow()
{
    // Every change of what the main window would evaluate, whether or not it
    // evaluates it now.
    connect(frmMain->mmoSignature, &TextEditor::textChanged, this, &TfrmMatches::MainWindowChange);
    connect(frmMain->reSearch, &TextEditor::textChanged, this, &TfrmMatches::MainWindowChange);
    connect(frmMain->cbCaseSensitive, &QCheckBox::toggled, this, &TfrmMatches::MainWindowChange);
    connect(frmMain->ComboBoxEx1, &QComboBox::currentIndexChanged, this, &TfrmMatches::MainWindowChange);
    // The syntax is chosen in the settings dialog; it is read when that closes.
    if (frmSettings)
        connect(frmSettings, &QDialog::finished, this, [this] {
            if (frmMain->State.SyntaxIndex != listedSyntax_)
                MainWindowChange();
        });
}

// --- showing and hiding ---

void TfrmMatches::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!placed_) {
        placed_ = true;
        move(frmMain->geometry().center() - rect().center());
    }
    if (frmMain->State.SyntaxIndex != listedSyntax_)
        stale_ = true;
    if (stale_)
        ScheduleRefresh();
}

void TfrmMatches::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    // Hidden, the window does no work: what runs stops and starts again at the next showing.
    if (listingOpen_ || replaceOpen_ || explain_->Busy())
        stale_ = true;
    StopRuns();
}

void TfrmMatches::StopRuns()
{
    listing_->Cancel();
    replacing_->Cancel();
    explain_->Cancel();
    listingOpen_ = false;
    replaceOpen_ = false;
}

void TfrmMatches::btnCloseClick()
{
    close();
}

bool TfrmMatches::Busy() const
{
    return refreshPending_ || listingOpen_ || replaceOpen_ || explain_->Busy();
}

// --- following the main window ---

void TfrmMatches::MainWindowChange()
{
    // Stop at once: nothing of the state left behind is shown from now on.
    StopRuns();
    stale_ = true;
    if (!isVisible())
        return;
    selectedRow_ = -1;
    model_->Clear();
    reMatches->MarksChanged();
    ShowCount(MatchTexts::ListingProgress(0), false);
    ScheduleRefresh();
}

void TfrmMatches::ScheduleRefresh()
{
    if (!isVisible() || refreshPending_)
        return;
    // A pattern edit that removes line breaks, or a paste, sends several
    // changes in a row: one listing follows them all.
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        if (isVisible())
            Refresh();
    });
}

tamarin::ListingQuery TfrmMatches::ReadMainWindow() const
{
    tamarin::ListingQuery query;
    query.pattern = PatternWithoutBreaks(*frmMain->mmoSignature);
    query.input = QtEngineView::ShareBytes(frmMain->reSearch->Content());
    query.syntaxIndex = frmMain->State.SyntaxIndex;
    query.caseSensitive = frmMain->cbCaseSensitive->isChecked();
    query.algorithmIndex = frmMain->State.AlgorithmIndex;
    return query;
}

void TfrmMatches::Refresh()
{
    stale_ = false;
    query_ = ReadMainWindow();
    listedSyntax_ = query_.syntaxIndex;
    const std::shared_ptr<const TextVersion> input = frmMain->reSearch->Content().Version();
    if (input != inputVersion_) {
        inputVersion_ = input;
        lines_.reset();
        reMatches->setText(input, 0, static_cast<qsizetype>(input->bytes.size()));
    }
    ShowPattern(query_.pattern);
    selectedRow_ = -1;
    markedGroup_ = 0;
    model_->Clear();
    reMatches->MarksChanged();
    replaceStale_ = true;
    StartListing();
    if (pcMatches->currentIndex() == ReplacePage)
        StartReplace();
    // The explanation follows the pattern whatever the page: a group chosen
    // on the Matches page chooses its node.
    if (query_.pattern.empty())
        explain_->ShowNothing(OutcomeText(NothingToDo::EmptyPattern));
    else
        explain_->Explain(query_.pattern, query_.syntaxIndex, query_.caseSensitive);
}

void TfrmMatches::ShowPattern(const tamarin::SharedText& pattern)
{
    rePattern->setText(VersionOf(std::string(pattern.View())), 0, static_cast<qsizetype>(pattern.size()));
    rePattern->MarksChanged();
}

// --- the listing ---

void TfrmMatches::StartListing()
{
    if (query_.pattern.empty()) {
        ShowCount(OutcomeText(NothingToDo::EmptyPattern), true);
        return;
    }
    if (query_.algorithmIndex != tamarin::AlgorithmMatch && query_.algorithmIndex != tamarin::AlgorithmSearch) {
        ShowCount(OutcomeText(NothingToDo::NoRunner), true);
        return;
    }
    if (query_.input.empty()) {
        ShowCount(OutcomeText(NothingToDo::EmptyInput), true);
        return;
    }
    ShowCount(MatchTexts::ListingProgress(0), false);
    listingOpen_ = true;
    auto list = std::make_shared<tamarin::MatchList>();
    listing_->Start([this, query = query_, list, lines = lines_](const std::atomic<bool>& cancel,
                                                                   const BackgroundRun::Post& post) {
        // Lines are counted once per input, on this thread.
        const std::shared_ptr<const tamarin::LinePlaces> places =
            lines ? lines : std::make_shared<const tamarin::LinePlaces>(query.input);
        tamarin::RunListing(query, *list, cancel, [&] { post([this, list, places] { ListingProgress(list, places); }); });
    });
}

void TfrmMatches::ListingProgress(const std::shared_ptr<const tamarin::MatchList>& list,
                                  const std::shared_ptr<const tamarin::LinePlaces>& lines)
{
    // Read before the rows: once the list has ended, the rows read next are all of them.
    const bool ended = list->Ended();
    if (model_->List() != list.get()) {
        lines_ = lines;
        model_->Show({list, query_.input, lines});
        MarkPatternError();
        ShowFormatWarnings();
    } else {
        model_->Grow();
    }
    reMatches->MarksChanged();
    if (ended) {
        listingOpen_ = false;
        ShowCount(MatchTexts::ListingFinal(*list), true);
    }
    else
        ShowCount(MatchTexts::ListingProgress(list->Counted()), false);
}

void TfrmMatches::ShowCount(const QString& text, bool final)
{
    lblMatchCount->setText(text);
    // Heard once, when the count is final; the progress is there to be read.
    if (final)
        DescriptionAnnouncer::Announce({tvMatches, rePattern, reMatches, edReplaceWith, btnClose}, text);
}

// --- marks ---

void TfrmMatches::SetMarkSources()
{
    reMatches->SetMarkSource([this](qsizetype from, qsizetype to, std::vector<MarkedPane::Mark>& marks) {
        const int rows = model_->rowCount();
        // The matches come in order and do not overlap: the first that ends after `from`.
        int low = 0;
        int high = rows;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const tamarin::MatchSpan span = model_->Span(middle, 0);
            if (span.position + span.length <= from && span.position < from)
                low = middle + 1;
            else
                high = middle;
        }
        for (int row = low; row < rows && marks.size() < MarksPerSlice; ++row) {
            const tamarin::MatchSpan span = model_->Span(row, 0);
            if (span.position >= to)
                break;
            if (row != selectedRow_)
                marks.push_back({span.position, span.length, Tint(MatchTints[row % 2])});
        }
        if (selectedRow_ < 0 || selectedRow_ >= rows)
            return;
        const tamarin::MatchSpan selected = model_->Span(selectedRow_, 0);
        marks.push_back({selected.position, selected.length, SelectedMatchFormat()});
        const int groups = model_->List() ? model_->List()->GroupCount() : 0;
        for (int group = 1; group <= groups; ++group) {
            const tamarin::MatchSpan span = model_->Span(selectedRow_, group);
            if (span.Matched())
                marks.push_back({span.position, span.length, GroupFormat(group)});
        }
    });
    rePattern->SetMarkSource([this](qsizetype, qsizetype, std::vector<MarkedPane::Mark>& marks) {
        MarkPatternTrouble(marks);
        MarkExplainedNode(marks);
        const tamarin::MatchList* list = model_->List();
        if (!list || (list->Listed() == 0 && !list->Ended()))
            return;
        const tamarin::PatternFacts& facts = list->Facts();
        const auto index = static_cast<std::size_t>(markedGroup_ - 1);
        if (markedGroup_ > 0 && index < facts.groups.size() && facts.groups[index].patternStart >= 0)
            marks.push_back({facts.groups[index].patternStart, facts.groups[index].patternLength,
                             GroupFormat(markedGroup_)});
    });
}

// Where the pattern stops compiling, from the listing, or from the
// explanation when nothing is listed (an empty input, say); on the Explain
// page also the warnings' spans.
void TfrmMatches::MarkPatternTrouble(std::vector<MarkedPane::Mark>& marks) const
{
    const qsizetype last = rePattern->text().size() - 1;
    const tamarin::MatchList* list = model_->List();
    const tamarin::PatternExplanation* explanation = explain_->Explanation();
    if (list && (list->Listed() > 0 || list->Ended())) {
        const tamarin::PatternFacts& facts = list->Facts();
        if (!facts.compiles && facts.errorPosition >= 0)
            marks.push_back({std::min<qsizetype>(facts.errorPosition, last), 1, Tint(ErrorGround)});
    } else if (explanation && !explanation->compiles && last >= 0) {
        marks.push_back({std::min<qsizetype>(static_cast<qsizetype>(explanation->errorPosition), last), 1,
                         Tint(ErrorGround)});
    }
    if (pcMatches->currentIndex() != ExplainPageIndex || !explanation)
        return;
    for (const tamarin::ExplainWarning& warning : explanation->warnings)
        marks.push_back({static_cast<qsizetype>(warning.begin), static_cast<qsizetype>(warning.end - warning.begin),
                         WarningFormat()});
}

// The node chosen in the explanation, on the Explain page.
void TfrmMatches::MarkExplainedNode(std::vector<MarkedPane::Mark>& marks) const
{
    if (pcMatches->currentIndex() != ExplainPageIndex)
        return;
    if (const auto span = explain_->ChosenSpan(); span && span->second > span->first)
        marks.push_back({static_cast<qsizetype>(span->first), static_cast<qsizetype>(span->second - span->first),
                         SelectedMatchFormat()});
}

void TfrmMatches::ExplainMarksChange()
{
    if (pcMatches->currentIndex() == ExplainPageIndex)
        if (const auto span = explain_->ChosenSpan())
            rePattern->ShowPosition(static_cast<qsizetype>(span->first));
    rePattern->MarksChanged();
}

void TfrmMatches::CurrentCellChange(const QModelIndex& current)
{
    selectedRow_ = current.isValid() ? current.row() : -1;
    if (selectedRow_ >= 0)
        reMatches->ShowPosition(model_->Span(selectedRow_, 0).position);
    reMatches->MarksChanged();
    MarkPatternGroup(current.isValid() ? model_->GroupOfColumn(current.column()) : 0);
}

void TfrmMatches::MarkPatternGroup(int group)
{
    markedGroup_ = group;
    if (group > 0)
        explain_->ChooseGroup(group);
    rePattern->MarksChanged();
}

void TfrmMatches::MarkPatternError()
{
    rePattern->MarksChanged();
}

// --- the replacement ---

void TfrmMatches::pcMatchesChange(int page)
{
    if (page == ReplacePage && replaceStale_ && isVisible() && !stale_)
        StartReplace();
    // The warnings and the chosen node are marked on the Explain page only.
    rePattern->MarksChanged();
}

void TfrmMatches::ReplaceOptionsChange()
{
    replacing_->Cancel();
    replaceOpen_ = false;
    replaceStale_ = true;
    ShowFormatWarnings();
    if (pcMatches->currentIndex() == ReplacePage && isVisible() && !stale_)
        StartReplace();
}

void TfrmMatches::StartReplace()
{
    replaceStale_ = false;
    replacedPieces_.clear();
    reReplaced->setPlainText({});
    reReplaced->MarksChanged();
    const bool runs = !query_.pattern.empty() && !query_.input.empty() &&
                      (query_.algorithmIndex == tamarin::AlgorithmMatch || query_.algorithmIndex == tamarin::AlgorithmSearch);
    if (!runs) {
        lblReplaceCount->setText(lblMatchCount->text());
        return;
    }
    lblReplaceCount->setText("Replacing...");
    replaceOpen_ = true;
    tamarin::ReplaceRequest request;
    request.format = CodePageText::ToCodePage(edReplaceWith->text());
    request.kind = static_cast<tamarin::FormatKind>(std::max(0, cbReplaceFormat->currentIndex()));
    request.firstOnly = cbFirstOnly->isChecked();
    request.noCopy = cbNoCopy->isChecked();
    replacing_->Start([this, query = query_, request](const std::atomic<bool>& cancel, const BackgroundRun::Post& post) {
        auto result = std::make_shared<tamarin::ReplaceResult>(tamarin::Replace(query, request, cancel));
        post([this, result] { ShowReplaced(std::move(*result)); });
    });
}

void TfrmMatches::ShowReplaced(tamarin::ReplaceResult result)
{
    replaceOpen_ = false;
    lblReplaceCount->setText(MatchTexts::ReplaceFinal(result));
    replacedPieces_ = std::move(result.pieces);
    const auto length = static_cast<qsizetype>(result.text.size());
    reReplaced->setText(VersionOf(std::move(result.text)), 0, length);
    reReplaced->SetMarkSource([this](qsizetype from, qsizetype to, std::vector<MarkedPane::Mark>& marks) {
        auto piece = std::lower_bound(replacedPieces_.begin(), replacedPieces_.end(), from,
                                      [](const tamarin::ReplacedPiece& p, qsizetype at) { return p.start + p.length <= at; });
        for (; piece != replacedPieces_.end() && piece->start < to && marks.size() < MarksPerSlice; ++piece)
            marks.push_back({piece->start, piece->length,
                             Tint(MatchTints[(piece - replacedPieces_.begin()) % 2])});
    });
}

void TfrmMatches::ShowFormatWarnings()
{
    const tamarin::MatchList* list = model_->List();
    QStringList words;
    if (list && (list->Listed() > 0 || list->Ended()) && !edReplaceWith->text().isEmpty()) {
        const auto kind = static_cast<tamarin::FormatKind>(std::max(0, cbReplaceFormat->currentIndex()));
        for (const tamarin::FormatWarning& warning :
             tamarin::FormatWarnings(CodePageText::ToCodePage(edReplaceWith->text()), kind, list->Facts()))
            words << QString("At %1: %2").arg(warning.start).arg(QString::fromStdString(warning.words));
    }
    lblReplaceWarning->setText(words.join('\n'));
    lblReplaceWarning->setVisible(!words.isEmpty());
}

// --- copying ---

void TfrmMatches::CopySelectedRows()
{
    const QItemSelection selection = tvMatches->selectionModel()->selection();
    if (!selection.isEmpty())
        QApplication::clipboard()->setText(model_->TabSeparated(selection));
}

void TfrmMatches::CopyAllMatches()
{
    QApplication::clipboard()->setText(model_->TabSeparatedAll());
}

void TfrmMatches::CopyResult()
{
    QApplication::clipboard()->setText(reReplaced->toPlainText());
}
