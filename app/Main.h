#pragma once
// The main window: pattern and input editors, result panes and tree, tool bar,
// menu and status bar, and the handlers that start evaluations.
#include "EvaluationState.h"
#include "ResultPane.h"
#include "TextEditor.h"

// The controls other windows use, complete for them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QString>

#include <array>
#include <memory>

class QAction;
class QDateTime;
class QMenu;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;
class QTreeWidget;
class QtEngineView;

// The captions of the evaluation button, indexed by AlgorithmIndex.
// Filled when the main window is created.
extern std::array<QString, 3> AlgorithmNames;

// The clock panel's text: "%d/%02d/%02d %2d:%02d:%02d" (year first, hour
// padded with a space).
QString ClockText(const QDateTime& now);

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    tamarin::EvaluationState State;

    // --- tool bar ---
    QToolBar* ToolBar1 = nullptr;
    QAction* tbNew = nullptr;
    QAction* tbOpen = nullptr;
    QAction* tbSave = nullptr;
    QAction* tbSyntax = nullptr;
    QAction* tbAlgorithm = nullptr;
    QAction* tbConfig = nullptr;
    QComboBox* ComboBoxEx1 = nullptr;
    QCheckBox* cbCaseSensitive = nullptr;
    QAction* ToolButton13 = nullptr;
    QAction* ToolButton14 = nullptr;
    QAction* tbAbout = nullptr;

    // --- editors, results ---
    TextEditor* mmoSignature = nullptr;
    QCheckBox* cbSimultaneous = nullptr;
    QPushButton* btnMatch = nullptr;
    QLabel* pnOutcome = nullptr;  // how the last evaluation ended; passive
    QTabWidget* PageControl1 = nullptr;
    TextEditor* reSearch = nullptr;
    ResultPane* what1 = nullptr;
    ResultPane* what0 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;

    // --- menu ---
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuClose = nullptr;
    QAction* Exit1 = nullptr;
    QAction* mnuSyntax = nullptr;
    QAction* mnuAlgorithms = nullptr;
    QAction* mnuConfig = nullptr;
    QAction* mnuCreditCardNumberCheck = nullptr;
    QAction* mnuRegExpSyntaxTest = nullptr;
    QAction* mnuMatches = nullptr;
    QAction* SampleRegExp1 = nullptr;
    QAction* sampleCredit = nullptr;
    QAction* sampleSocial = nullptr;
    QAction* HowToUseTamarin1 = nullptr;
    QAction* RegularExpressionTutorial1 = nullptr;
    QAction* SupportWebBoard1 = nullptr;
    QAction* TamarinWebSite1 = nullptr;
    QAction* About1 = nullptr;
    // Not in a menu: says the last outcome again where the focus is.
    QAction* actReadOutcome = nullptr;

    // Status bar panel 0..4, left to right.
    QLabel* StatusPanel(int index) const;

    // The evaluation trigger: the whole of btnMatchClick. Stops on an empty
    // pattern (or input), writes both snapshots, removes the pattern's line
    // breaks, clears the tree, evaluates and expands the tree.
    void EvaluationTrigger();

    // The window's view of itself for the engine.
    QtEngineView& EngineView() { return *view_; }

public slots:
    void btnMatchClick();
    void reSearchChange();
    void mmoSignatureChange();
    void cbSimultaneousClick();
    void ComboBoxEx1Change(int index);
    void cbCaseSensitiveClick();
    void mnuSyntaxClick();
    void tbSyntaxClick();
    void mnuAlgorithmsClick();
    void tbAlgorithmClick();
    void mnuConfigClick();
    void tbConfigClick();
    void mnuCreditCardNumberCheckClick();
    void mnuRegExpSyntaxTestClick();
    void mnuMatchesClick();
    void About1Click();
    void tbAboutClick();
    void Exit1Click();
    void sampleCreditClick();
    void sampleSocialClick();
    void ToolButton13Click();
    void SupportWebBoard1Click();
    void ToolButton14Click();
    void TamarinWebSite1Click();
    void RegularExpressionTutorial1Click();
    void actReadOutcomeClick();
    void FormShow();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Construction, in MainLayout.cpp; the commands in MainActions.cpp.
    void FormCreate();
    void CreateActions();
    void ConnectActions();
    void CreateMenu();
    void CreateToolBar();
    void CreateToolBarControls();
    QWidget* CreateBody();
    QWidget* CreateEditors();
    QWidget* CreateMatchStrip(QWidget* parent);
    void CreateOutcomeLine(QWidget* strip);
    QWidget* CreateInputPages(QWidget* parent);
    QWidget* CreateResultArea();
    void CreateResultTree(QWidget* parent);
    void CreateStatusBar();
    QLabel* CreateStatusPanel(int index);
    void ConnectHandlers();
    void PlaceOnScreen();

    // Named operations behind the handlers.
    void ShowSettings(int page);
    void UpdateSyntaxPanel();
    void UpdateClock();
    bool RemovePatternLineBreaks();
    // Evaluates the snapshots, expands the tree and tells the outcome line.
    void EvaluateAndTell(bool hasRunner);
    // Shows `text` in the outcome line and announces `spoken` (the same
    // without the time) where the focus is.
    void ShowOutcome(const QString& text, const QString& spoken);
    void ShowOutcome(const QString& text) { ShowOutcome(text, text); }
    // The controls whose accessible description is the outcome: where the
    // user types or starts an evaluation.
    QList<QWidget*> OutcomeCarriers() const;

    std::array<QLabel*, 5> panels_ = {};
    std::unique_ptr<QtEngineView> view_;
    bool strippingPattern_ = false;  // our own edit of the pattern: no evaluation
    bool evaluating_ = false;        // an evaluation runs (a message box may be up)
    bool placed_ = false;            // sized and centred at the first showing
};
