// The main window's controls, built top to bottom: tool bar, pattern editor,
// the "Real-Time Match" strip and the input editor, the result panes and
// tree, the status bar, and the menu.
#include "Main.h"
#include "OutcomeLine.h"
#include "PlainTextEditor.h"

#include "ProductInfo.h"
#include "QtEngineView.h"
#include "ResultPane.h"
#include "ResultTreeDelegate.h"
#include "StatusTexts.h"
#include "Theme.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// The pictures are linked into a static library; register them explicitly.
static void InitResources()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(tamarin);
        return true;
    }();
    (void)once;
}

namespace {

constexpr int DesignedWidth = 717;
constexpr int DesignedHeight = 486;

const char* const WindowCaption = "Tamarin [PERL<>POSIX Basic<>POSIX Extended]";

QAction* NewAction(QObject* parent, const char* name, const QString& text, bool enabled = true)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(name);
    action->setEnabled(enabled);
    return action;
}

QPlainTextEdit* NewEditor(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* editor = new PlainTextEditor(parent);
    editor->setObjectName(name);
    editor->setAccessibleName(accessibleName);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab and Shift+Tab leave the editor, so that the keyboard gets past it;
    // a tab character can still be pasted, and written as \t in a pattern.
    editor->setTabChangesFocus(true);
    Theme::KeepWhiteWithDarkText(editor);
    return editor;
}

ResultPane* NewResultPane(const char* name, const QString& accessibleName)
{
    auto* pane = new ResultPane;
    pane->setObjectName(name);
    pane->setAccessibleName(accessibleName);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Theme::KeepWhiteWithDarkText(pane);
    return pane;
}

// A result pane: its 16-pixel picture beside the white text.
QWidget* NewPane(ResultPane* editor, const char* pictureName, const QString& picture,
                 const QString& description)
{
    auto* pane = new QWidget;
    auto* layout = new QHBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* image = new QLabel(pane);
    image->setObjectName(pictureName);
    image->setPixmap(QIcon(picture).pixmap(16, 16));
    image->setFixedWidth(16);
    image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    image->setToolTip(description);
    image->setAccessibleName(description);
    layout->addWidget(image);
    editor->setParent(pane);
    layout->addWidget(editor);
    return pane;
}

// A status panel keeps its designed width while the window has room for it,
// and gives way (clipping its text) when the window is made narrower, as a
// status bar panel does; a fixed width would stop the window from shrinking.
class StatusPanelLabel : public QLabel {
public:
    StatusPanelLabel(const QString& text, int width, QWidget* parent)
        : QLabel(text, parent), width_(width)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {width_, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {16, QLabel::minimumSizeHint().height()}; }

private:
    int width_;
};

// A gap between tool-bar groups (a divider is the bar's own separator line).
void AddGap(QToolBar* bar)
{
    auto* gap = new QWidget(bar);
    gap->setFixedWidth(8);
    bar->addWidget(gap);
}

} // namespace

void TfrmMain::FormCreate()
{
    State.AlgorithmIndex = tamarin::AlgorithmSearch;
    State.SyntaxIndex = 0;
    AlgorithmNames = {"Match", "Search", "Replace"};
    ComboBoxEx1->setCurrentIndex(1);
}

void TfrmMain::CreateActions()
{
    tbNew = NewAction(this, "tbNew", "New", false);
    tbOpen = NewAction(this, "tbOpen", "Open", false);
    tbSave = NewAction(this, "tbSave", "Save", false);
    tbSyntax = NewAction(this, "tbSyntax", "Syntax");
    tbAlgorithm = NewAction(this, "tbAlgorithm", "Algorithms");
    tbConfig = NewAction(this, "tbConfig", "Config");
    // These three carry pictures only: no hint.
    ToolButton13 = NewAction(this, "ToolButton13", QString());
    ToolButton14 = NewAction(this, "ToolButton14", QString());
    tbAbout = NewAction(this, "tbAbout", QString());

    const std::pair<QAction*, const char*> pictures[] = {
        {tbNew, ":/toolbar/new.svg"},          {tbOpen, ":/toolbar/open.svg"},
        {tbSave, ":/toolbar/save.svg"},        {tbSyntax, ":/toolbar/syntax.svg"},
        {tbAlgorithm, ":/toolbar/algorithm.svg"}, {tbConfig, ":/toolbar/config.svg"},
        {ToolButton13, ":/toolbar/help.svg"},  {ToolButton14, ":/toolbar/home.svg"},
        {tbAbout, ":/toolbar/about.svg"},
    };
    for (const auto& [action, picture] : pictures)
        action->setIcon(QIcon(picture));

    mnuNew = NewAction(this, "mnuNew", "&New", false);
    mnuNew->setShortcut(QKeySequence("Ctrl+N"));
    mnuOpen = NewAction(this, "mnuOpen", "&Open", false);
    mnuOpen->setShortcut(QKeySequence("Ctrl+O"));
    mnuSave = NewAction(this, "mnuSave", "&Save", false);
    mnuSave->setShortcut(QKeySequence("Ctrl+S"));
    mnuSaveAs = NewAction(this, "mnuSaveAs", "Save &as...", false);
    mnuClose = NewAction(this, "mnuClose", "&Close", false);
    Exit1 = NewAction(this, "Exit1", "E&xit");
    mnuSyntax = NewAction(this, "mnuSyntax", "&Syntax");
    mnuAlgorithms = NewAction(this, "mnuAlgorithms", "&Algorithms");
    mnuConfig = NewAction(this, "mnuConfig", "&Config");
    mnuCreditCardNumberCheck = NewAction(this, "mnuCreditCardNumberCheck", "Credit &Card Checker");
    mnuRegExpSyntaxTest = NewAction(this, "mnuRegExpSyntaxTest", "&RegExp Syntax Test");
    sampleCredit = NewAction(this, "sampleCredit", "Credit Card Number");
    sampleSocial = NewAction(this, "sampleSocial", "Social Number");
    HowToUseTamarin1 = NewAction(this, "HowToUseTamarin1", "How to &Use Tamarin", false);
    RegularExpressionTutorial1 =
        NewAction(this, "RegularExpressionTutorial1", "Regular Expression &Tutorial", false);
    SupportWebBoard1 = NewAction(this, "SupportWebBoard1", "&Support && WebBoard");
    TamarinWebSite1 = NewAction(this, "TamarinWebSite1", "Tamarin &Web Site");
    About1 = NewAction(this, "About1", "&About...");
    About1->setShortcut(QKeySequence(Qt::Key_F1));
}

void TfrmMain::CreateMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("File1");
    file->addAction(mnuNew);
    file->addSeparator();
    file->addAction(mnuOpen);
    file->addSeparator();
    file->addAction(mnuSave);
    file->addAction(mnuSaveAs);
    file->addSeparator();
    file->addAction(mnuClose);
    file->addSeparator();
    file->addAction(Exit1);

    QMenu* settings = bar->addMenu("&Settings");
    settings->setObjectName("Settings1");
    settings->addAction(mnuSyntax);
    settings->addAction(mnuAlgorithms);
    settings->addSeparator();
    settings->addAction(mnuConfig);

    QMenu* tools = bar->addMenu("&Tools");
    tools->setObjectName("Tools1");
    tools->addAction(mnuCreditCardNumberCheck);
    tools->addAction(mnuRegExpSyntaxTest);
    QAction* sampleSeparator = tools->addSeparator();
    sampleSeparator->setObjectName("N10");
    QMenu* samples = tools->addMenu("&Sample RegExp");
    samples->setObjectName("SampleRegExpMenu");
    samples->addAction(sampleCredit);
    samples->addAction(sampleSocial);
    SampleRegExp1 = samples->menuAction();
    SampleRegExp1->setObjectName("SampleRegExp1");
    // The samples are kept out of sight, their separator with them.
    sampleSeparator->setVisible(false);
    SampleRegExp1->setVisible(false);

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("Help1");
    help->addAction(HowToUseTamarin1);
    help->addAction(RegularExpressionTutorial1);
    help->addSeparator();
    help->addAction(SupportWebBoard1);
    help->addAction(TamarinWebSite1);
    help->addSeparator();
    help->addAction(About1);
}

void TfrmMain::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setAccessibleName("Tool bar");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setEnabled(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setMinimumHeight(33);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ComboBoxEx1 = new QComboBox(ToolBar1);
    ComboBoxEx1->setObjectName("ComboBoxEx1");
    ComboBoxEx1->setAccessibleName("Algorithm");
    ComboBoxEx1->addItems({"MATCH", "SEARCH"});
    QFont bold = ComboBoxEx1->font();
    bold.setBold(true);
    ComboBoxEx1->setFont(bold);
    ComboBoxEx1->setMinimumWidth(107);
    ComboBoxEx1->setFocusPolicy(Qt::StrongFocus);

    cbCaseSensitive = new QCheckBox("Case\nSensitive", ToolBar1);
    cbCaseSensitive->setObjectName("cbCaseSensitive");
    cbCaseSensitive->setAccessibleName("Case Sensitive");

    ToolBar1->addAction(tbNew);
    AddGap(ToolBar1);
    ToolBar1->addAction(tbOpen);
    ToolBar1->addAction(tbSave);
    ToolBar1->addSeparator();
    ToolBar1->addAction(tbSyntax);
    ToolBar1->addAction(tbAlgorithm);
    ToolBar1->addAction(tbConfig);
    AddGap(ToolBar1);
    ToolBar1->addWidget(ComboBoxEx1);
    AddGap(ToolBar1);
    ToolBar1->addWidget(cbCaseSensitive);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton13);
    ToolBar1->addAction(ToolButton14);
    ToolBar1->addSeparator();
    ToolBar1->addAction(tbAbout);

    // Flat 32 x 30 buttons; the picture-only ones still need a name for screen readers.
    const std::pair<QAction*, const char*> buttons[] = {
        {tbNew, "New"},       {tbOpen, "Open"},         {tbSave, "Save"},
        {tbSyntax, "Syntax"}, {tbAlgorithm, "Algorithms"}, {tbConfig, "Config"},
        {ToolButton13, "Support and web board"}, {ToolButton14, "Tamarin web site"},
        {tbAbout, "About"},
    };
    for (const auto& [action, name] : buttons) {
        QWidget* button = ToolBar1->widgetForAction(action);
        button->setFixedSize(32, 30);
        button->setAccessibleName(name);
        button->setObjectName(action->objectName() + "Button");
    }
}

QWidget* TfrmMain::CreateEditors()
{
    mmoSignature = NewEditor("mmoSignature", "Pattern", nullptr);
    mmoSignature->setMinimumHeight(24);

    auto* middle = new QWidget;
    middle->setObjectName("Panel1");
    auto* layout = new QVBoxLayout(middle);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* strip = new QWidget(middle);
    strip->setObjectName("Panel2");
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 0, 0, 0);
    cbSimultaneous = new QCheckBox("Real-Time Match", strip);
    cbSimultaneous->setObjectName("cbSimultaneous");
    cbSimultaneous->setAccessibleName("Real-Time Match");
    cbSimultaneous->setChecked(true);
    btnMatch = new QPushButton(QIcon(":/buttons/search.svg"), "Search", strip);
    btnMatch->setObjectName("btnMatch");
    btnMatch->setAccessibleName("Search");
    btnMatch->setIconSize(QSize(16, 16));
    btnMatch->setMinimumSize(86, 25);
    btnMatch->setAutoDefault(false);
    pnOutcome = new QLabel(strip);
    pnOutcome->setObjectName("pnOutcome");
    // A long text is cut, never widens the window; no accessible name of its
    // own, so a screen reader hears the text itself whenever it changes.
    pnOutcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    pnOutcome->setAlignment(Qt::AlignVCenter | Qt::AlignHCenter);
    pnOutcome->setTextFormat(Qt::PlainText);
    pnOutcome->setText(OutcomeText(NothingToDo::NotYet));
    stripLayout->addWidget(cbSimultaneous);
    stripLayout->addWidget(pnOutcome, 1);
    stripLayout->addWidget(btnMatch);
    strip->setFixedHeight(std::max(25, strip->sizeHint().height()));
    layout->addWidget(strip);

    PageControl1 = new QTabWidget(middle);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setAccessibleName("Input pages");
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setDocumentMode(false);
    reSearch = NewEditor("reSearch", "Input string", nullptr);
    auto* tab = new QWidget;
    tab->setObjectName("TabSheet1");
    auto* tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->addWidget(reSearch);
    PageControl1->addTab(tab, "Input String");
    layout->addWidget(PageControl1, 1);
    return middle;
}

QWidget* TfrmMain::CreateResultArea()
{
    auto* area = new QSplitter(Qt::Horizontal);
    area->setObjectName("Splitter3");
    area->setHandleWidth(3);
    area->setChildrenCollapsible(false);

    auto* panes = new QSplitter(Qt::Vertical, area);
    panes->setObjectName("Splitter4");
    panes->setHandleWidth(3);
    panes->setChildrenCollapsible(false);
    what1 = NewResultPane("what1", "Text before the match");
    what0 = NewResultPane("what0", "Text after the match");
    panes->addWidget(NewPane(what1, "Image1", ":/panes/before.svg", "Text before the match"));
    panes->addWidget(NewPane(what0, "Image2", ":/panes/after.svg", "Text after the match"));
    panes->setSizes({57, 60});

    TreeView1 = new QTreeWidget(area);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setAccessibleName("Result tree");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(19);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setAllColumnsShowFocus(true);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->setItemDelegate(new ResultTreeDelegate(TreeView1));
    QFont bold = TreeView1->font();
    bold.setBold(true);
    TreeView1->setFont(bold);
    Theme::KeepWhiteWithDarkText(TreeView1);
    new QTreeWidgetItem(TreeView1, {"Fixed Lists"});

    area->addWidget(panes);
    area->addWidget(TreeView1);
    area->setStretchFactor(0, 1);
    area->setStretchFactor(1, 0);
    area->setSizes({DesignedWidth - 349 - 3, 349});
    return area;
}

void TfrmMain::CreateStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setAccessibleName("Status bar");
    // The frame resizes the window; the grip would take the clock's room.
    StatusBar1->setSizeGripEnabled(false);
    struct PanelDesign {
        int width;
        const char* text;
        const char* name;
    };
    const PanelDesign designs[5] = {
        {130, ProductInfo::Title, "Product"},
        {140, StatusTexts::SyntaxCheck(false), "Syntax check"},
        {110, StatusTexts::Case(false), "Case"},
        {160, StatusTexts::Syntax(0), "Syntax"},
        {160, "", "Date and time"},
    };
    for (int i = 0; i < 5; ++i) {
        // The designed width, or wider where a font needs more room for the text.
        const QString widest = i == 4 ? QStringLiteral("8888/88/88 88:88:88") : QString(designs[i].text);
        const int needed = StatusBar1->fontMetrics().horizontalAdvance(widest) + 14;
        const int width = i == 4 ? needed : std::max(designs[i].width, needed);
        auto* panel = new StatusPanelLabel(designs[i].text, width, StatusBar1);
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        panel->setAccessibleName(designs[i].name);
        panel->setFrameStyle(i == 0 ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(i == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        panel->setContentsMargins(3, 0, 3, 0);
        // The last panel reaches to the right edge, as a status bar's last part does.
        StatusBar1->addWidget(panel, i == 4 ? 1 : 0);
        panels_[i] = panel;
    }
}

void TfrmMain::PlaceOnScreen()
{
    // The designed size is the outer size; subtract the frame once it is known.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(DesignedWidth - frame.width(), DesignedHeight - frame.height());
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        QRect outer(QPoint(), QSize(DesignedWidth, DesignedHeight));
        outer.moveCenter(available.center());
        move(outer.topLeft());
    }
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    InitResources();
    setObjectName("frmMain");
    setWindowTitle(WindowCaption);
    setWindowIcon(QIcon(":/icons/tamarin.svg"));
    // System menu, minimise and close, no maximise; the frame stays resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(Theme::DesignedFont());

    CreateActions();
    CreateMenu();
    CreateToolBar();

    auto* body = new QSplitter(Qt::Vertical, this);
    body->setObjectName("Splitter1");
    body->setHandleWidth(3);
    body->setChildrenCollapsible(false);
    body->addWidget(CreateEditors());
    body->addWidget(CreateResultArea());
    body->insertWidget(0, mmoSignature);
    body->setStretchFactor(0, 0);
    body->setStretchFactor(1, 1);
    body->setStretchFactor(2, 0);
    body->setSizes({97, 200, 120});
    setCentralWidget(body);

    CreateStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(900);

    view_ = std::make_unique<QtEngineView>(QtEngineView::Controls{
        reSearch, what0, what1, TreeView1, cbCaseSensitive, this});

    FormCreate();
    ConnectHandlers();
    Timer1->start();
    resize(DesignedWidth, DesignedHeight);
}
