// The main window's handlers: the evaluation trigger and its three callers,
// algorithm and case choices, dialogs, web links and the status-bar clock.
#include "Main.h"

#include "BacktrackMemory.h"
#include "DescriptionAnnouncer.h"
#include "Engine.h"
#include "OutcomeLine.h"
#include "QtEngineView.h"
#include "Samples.h"
#include "StatusTexts.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitmatches.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"
#include "WebLinks.h"
#include "Windows.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QShowEvent>

#include <algorithm>

std::array<QString, 3> AlgorithmNames;

namespace {

// Restores a flag however the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace

QString ClockText(const QDateTime& now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    return QString::asprintf("%d/%02d/%02d %2d:%02d:%02d", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

TfrmMain::~TfrmMain() = default;

QLabel* TfrmMain::StatusPanel(int index) const
{
    return panels_.at(static_cast<std::size_t>(index));
}

void TfrmMain::ConnectHandlers()
{
    connect(btnMatch, &QPushButton::clicked, this, &TfrmMain::btnMatchClick);
    // Every edit of the characters, once the editor has taken it; the
    // highlight's formatting is not an edit.
    connect(reSearch, &TextEditor::textChanged, this, &TfrmMain::reSearchChange);
    connect(mmoSignature, &TextEditor::textChanged, this, &TfrmMain::mmoSignatureChange);
    connect(cbSimultaneous, &QCheckBox::toggled, this, &TfrmMain::cbSimultaneousClick);
    connect(cbCaseSensitive, &QCheckBox::toggled, this, &TfrmMain::cbCaseSensitiveClick);
    connect(ComboBoxEx1, &QComboBox::currentIndexChanged, this, &TfrmMain::ComboBoxEx1Change);

    ConnectActions();
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
}

// --- evaluation ---

void TfrmMain::EvaluationTrigger()
{
    // One evaluation at a time: a message box inside one must not start another.
    if (evaluating_)
        return;
    FlagScope evaluating(evaluating_);

    if (mmoSignature->isEmpty()) {
        ShowOutcome(OutcomeText(NothingToDo::EmptyPattern));
        return;
    }
    const int algorithm = State.AlgorithmIndex;
    const bool hasRunner = algorithm == tamarin::AlgorithmMatch || algorithm == tamarin::AlgorithmSearch;
    if (hasRunner) {
        if (reSearch->isEmpty()) {
            // No search to keep backtracking memory for: the system has it back.
            tamarin::backtrack_memory::KeepAtMost(0);
            ShowOutcome(OutcomeText(NothingToDo::EmptyInput));
            return;
        }
        State.InputSnapshot = view_->ShareText(tamarin::TextControl::reSearch);
    }
    RemovePatternLineBreaks();
    // Shared, not copied: a pattern may be megabytes long.
    State.PatternSnapshot = QtEngineView::ShareBytes(mmoSignature->Content());
    view_->ClearTree();
    EvaluateAndTell(hasRunner);
}

void TfrmMain::EvaluateAndTell(bool hasRunner)
{
    view_->BeginBatch();
    tamarin::EvaluationOutcome outcome;
    QElapsedTimer clock;
    clock.start();
    tamarin::Evaluate({*view_, State, &outcome});
    const qint64 elapsed = clock.nsecsElapsed();
    view_->EndBatch();
    TreeView1->expandAll();
    if (hasRunner)
        ShowOutcome(OutcomeText(outcome, elapsed), OutcomeSummary(outcome));
    else
        ShowOutcome(OutcomeText(NothingToDo::NoRunner));
}

void TfrmMain::ShowOutcome(const QString& text, const QString& spoken)
{
    // The line, unnamed, reads as its text (the label reports the change
    // itself); but a screen reader presents changes of the focused object
    // only, and the line never has the focus. So the outcome is also the
    // description of the editors and the button, spoken for the focused one.
    pnOutcome->setText(text);
    DescriptionAnnouncer::Announce(OutcomeCarriers(), spoken);
}

QList<QWidget*> TfrmMain::OutcomeCarriers() const
{
    return {mmoSignature, reSearch, btnMatch};
}

void TfrmMain::actReadOutcomeClick()
{
    DescriptionAnnouncer::AnnounceAgain(OutcomeCarriers());
}

bool TfrmMain::RemovePatternLineBreaks()
{
    // The editor keeps every line break as one '\n'.
    if (mmoSignature->text().indexOf(u'\n') < 0)
        return false;

    // Delete the breaks in place, last first: the caret keeps its place in
    // the text and the change starts no evaluation. The deletion joins the
    // edit that brought the break in, so that undo takes back both at once;
    // undone alone, it would return a break that the next evaluation
    // deletes again, and undo would never get past it.
    FlagScope stripping(strippingPattern_);
    for (qsizetype at = mmoSignature->text().lastIndexOf(u'\n'); at >= 0;
         at = at > 0 ? mmoSignature->text().lastIndexOf(u'\n', at - 1) : -1)
        mmoSignature->DeleteJoiningLastStep(at, at + 1);
    return true;
}

void TfrmMain::btnMatchClick()
{
    EvaluationTrigger();
}

void TfrmMain::reSearchChange()
{
    if (cbSimultaneous->isChecked())
        EvaluationTrigger();
}

void TfrmMain::mmoSignatureChange()
{
    if (strippingPattern_)
        return;
    if (cbSimultaneous->isChecked())
        EvaluationTrigger();
}

void TfrmMain::cbSimultaneousClick()
{
    btnMatch->click();
}

void TfrmMain::ComboBoxEx1Change(int index)
{
    if (index < 0 || index >= static_cast<int>(AlgorithmNames.size()))
        return;  // no selection: nothing to apply
    State.AlgorithmIndex = index;
    btnMatch->setText(AlgorithmNames[static_cast<std::size_t>(index)]);
}

void TfrmMain::cbCaseSensitiveClick()
{
    StatusPanel(2)->setText(StatusTexts::Case(cbCaseSensitive->isChecked()));
}

// --- dialogs ---

void TfrmMain::ShowSettings(int page)
{
    if (!frmSettings)
        return;
    frmSettings->pcSyntax->setCurrentIndex(page);
    frmSettings->exec();
    UpdateSyntaxPanel();
}

void TfrmMain::UpdateSyntaxPanel()
{
    if (const char* text = StatusTexts::Syntax(State.SyntaxIndex))
        StatusPanel(3)->setText(text);
}

void TfrmMain::mnuSyntaxClick() { ShowSettings(0); }
void TfrmMain::tbSyntaxClick() { ShowSettings(0); }
void TfrmMain::mnuAlgorithmsClick() { ShowSettings(1); }
void TfrmMain::tbAlgorithmClick() { ShowSettings(1); }

void TfrmMain::mnuConfigClick()
{
    if (frmConfig)
        frmConfig->exec();
}

void TfrmMain::tbConfigClick() { mnuConfigClick(); }

void TfrmMain::mnuCreditCardNumberCheckClick()
{
    if (frmCredit)
        frmCredit->exec();
}

void TfrmMain::mnuRegExpSyntaxTestClick()
{
    if (!frmSyntax)
        return;
    frmSyntax->show();
    frmSyntax->raise();
    frmSyntax->activateWindow();
}

void TfrmMain::mnuMatchesClick()
{
    if (!frmMatches)
        return;
    frmMatches->show();
    frmMatches->raise();
    frmMatches->activateWindow();
}

void TfrmMain::About1Click()
{
    if (frmAbout)
        frmAbout->exec();
}

void TfrmMain::tbAboutClick() { About1Click(); }

void TfrmMain::Exit1Click()
{
    close();
}

// --- samples (their menu is hidden) ---

void TfrmMain::sampleCreditClick()
{
    mmoSignature->setPlainText(Samples::CreditCardNumber);
}

void TfrmMain::sampleSocialClick()
{
    mmoSignature->setPlainText(Samples::SocialNumber);
}

// --- web links ---

void TfrmMain::ToolButton13Click() { WebLinks::Open(WebLinks::SupportBoard); }
void TfrmMain::SupportWebBoard1Click() { WebLinks::Open(WebLinks::SupportBoard); }
void TfrmMain::ToolButton14Click() { WebLinks::Open(WebLinks::HomePage); }
void TfrmMain::TamarinWebSite1Click() { WebLinks::Open(WebLinks::HomePage); }

void TfrmMain::RegularExpressionTutorial1Click()
{
    // The tutorial is not written yet; its menu item stays disabled.
}

// --- showing and the clock ---

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        PlaceOnScreen();
        // The frame is known only once the window manager has framed the window.
        QTimer::singleShot(0, this, [this] {
            if (frameGeometry().size() != geometry().size())
                PlaceOnScreen();
        });
    }
    // Coming back from the task bar is not a showing of the window.
    if (!event->spontaneous())
        FormShow();
}

void TfrmMain::FormShow()
{
    UpdateClock();
    btnMatch->setFocus();
}

void TfrmMain::Timer1Timer()
{
    UpdateClock();
}

void TfrmMain::UpdateClock()
{
    StatusPanel(4)->setText(ClockText(QDateTime::currentDateTime()));
}
