// The main window's controls, built top to bottom: tool bar, pattern editor,
// the "Real-Time Match" strip and the input editor, the result panes and
// tree and the status bar. The menu and the tool bar are in MainActions.cpp.
#include "Main.h"
#include "OutcomeLine.h"
#include "Pictures.h"
#include "TextEditor.h"

#include "ProductInfo.h"
#include "ItemViewFocus.h"
#include "QtEngineView.h"
#include "ResultPane.h"
#include "ResultTreeDelegate.h"
#include "StatusTexts.h"
#include "Theme.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

// The pictures are linked into a static library; register them explicitly.
static void InitResources()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(tamarin);
        Q_INIT_RESOURCE(tamarin_icon);
        return true;
    }();
    (void)once;
}

namespace {

// The window's designed outer size; the splitters share it out as designed.
constexpr int DesignedWidth = 717;
constexpr int DesignedHeight = 486;
constexpr int PatternHeight = 97;        // the pattern editor
constexpr int MiddleHeight = 200;        // the match strip and the input pages
constexpr int ResultsHeight = 120;       // the result panes and tree
constexpr int BeforePaneHeight = 57;
constexpr int AfterPaneHeight = 60;
constexpr int ResultTreeWidth = 349;
constexpr int SplitterHandleWidth = 3;

constexpr int PatternMinimumHeight = 24;
constexpr int StripLeftMargin = 4;
constexpr int StripMinimumHeight = 25;
constexpr QSize SearchIconSize(16, 16);
constexpr QSize SearchButtonMinimumSize(86, 25);
constexpr int PanePictureSize = 16;
constexpr int PanePictureSpacing = 2;
constexpr int TreeIndentation = 19;

constexpr int StatusPanelCount = 5;
constexpr int ClockPanel = 4;
constexpr int StatusPanelPadding = 14;       // frame and margins around the text
constexpr int StatusPanelMargin = 3;
constexpr int StatusPanelMinimumWidth = 16;  // what a panel gives way to
constexpr int ClockIntervalMs = 900;

const char* const WindowCaption = "Tamarin [PERL<>POSIX Basic<>POSIX Extended]";

TextEditor* NewEditor(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* editor = new TextEditor(parent);
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

QSplitter* NewSplitter(Qt::Orientation orientation, const char* name, QWidget* parent)
{
    auto* splitter = new QSplitter(orientation, parent);
    splitter->setObjectName(name);
    splitter->setHandleWidth(SplitterHandleWidth);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

// A result pane: its 16-pixel picture beside the white text.
QWidget* NewPane(ResultPane* editor, const char* pictureName, const QString& picture,
                 const QString& description)
{
    auto* pane = new QWidget;
    auto* layout = new QHBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(PanePictureSpacing);
    auto* image = new QLabel(pane);
    image->setObjectName(pictureName);
    image->setPixmap(Pictures::Icon(picture).pixmap(PanePictureSize, PanePictureSize));
    image->setFixedWidth(PanePictureSize);
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
    QSize minimumSizeHint() const override
    {
        return {StatusPanelMinimumWidth, QLabel::minimumSizeHint().height()};
    }

private:
    int width_;
};

struct PanelDesign {
    int width;
    const char* text;
    // Accessible description: what the panel tells. Its name is the text it
    // shows, so that a screen reader reads the value.
    const char* description;
};

const PanelDesign StatusPanels[StatusPanelCount] = {
    {130, ProductInfo::Title, "Product"},
    {140, StatusTexts::SyntaxCheck(false), "Syntax check"},
    {110, StatusTexts::Case(false), "Case"},
    {160, StatusTexts::Syntax(0), "Syntax"},
    {160, "", "Date and time"},
};

} // namespace

void TfrmMain::FormCreate()
{
    State.AlgorithmIndex = tamarin::AlgorithmSearch;
    State.SyntaxIndex = 0;
    AlgorithmNames = {"Match", "Search", "Replace"};
    ComboBoxEx1->setCurrentIndex(1);
}

QWidget* TfrmMain::CreateEditors()
{
    mmoSignature = NewEditor("mmoSignature", "Pattern", nullptr);
    mmoSignature->setMinimumHeight(PatternMinimumHeight);

    auto* middle = new QWidget;
    middle->setObjectName("Panel1");
    auto* layout = new QVBoxLayout(middle);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CreateMatchStrip(middle));
    layout->addWidget(CreateInputPages(middle), 1);
    return middle;
}

QWidget* TfrmMain::CreateMatchStrip(QWidget* parent)
{
    auto* strip = new QWidget(parent);
    strip->setObjectName("Panel2");
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(StripLeftMargin, 0, 0, 0);
    cbSimultaneous = new QCheckBox("Real-Time Match", strip);
    cbSimultaneous->setObjectName("cbSimultaneous");
    cbSimultaneous->setAccessibleName("Real-Time Match");
    cbSimultaneous->setChecked(true);
    btnMatch = new QPushButton(Pictures::Icon(":/buttons/search"), "Search", strip);
    btnMatch->setObjectName("btnMatch");
    // Named by the caption it shows, which follows the algorithm.
    btnMatch->setIconSize(SearchIconSize);
    btnMatch->setMinimumSize(SearchButtonMinimumSize);
    btnMatch->setAutoDefault(false);
    CreateOutcomeLine(strip);
    stripLayout->addWidget(cbSimultaneous);
    stripLayout->addWidget(pnOutcome, 1);
    stripLayout->addWidget(btnMatch);
    strip->setFixedHeight(std::max(StripMinimumHeight, strip->sizeHint().height()));
    return strip;
}

void TfrmMain::CreateOutcomeLine(QWidget* strip)
{
    pnOutcome = new QLabel(strip);
    pnOutcome->setObjectName("pnOutcome");
    // A long text is cut, never widens the window; no accessible name of its
    // own, so a screen reader hears the text itself whenever it changes.
    pnOutcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    pnOutcome->setAlignment(Qt::AlignVCenter | Qt::AlignHCenter);
    pnOutcome->setTextFormat(Qt::PlainText);
    pnOutcome->setText(OutcomeText(NothingToDo::NotYet));
}

QWidget* TfrmMain::CreateInputPages(QWidget* parent)
{
    PageControl1 = new QTabWidget(parent);
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
    return PageControl1;
}

QWidget* TfrmMain::CreateResultArea()
{
    QSplitter* area = NewSplitter(Qt::Horizontal, "Splitter3", nullptr);
    QSplitter* panes = NewSplitter(Qt::Vertical, "Splitter4", area);
    what1 = NewResultPane("what1", "Text before the match");
    what0 = NewResultPane("what0", "Text after the match");
    panes->addWidget(NewPane(what1, "Image1", ":/panes/before", "Text before the match"));
    panes->addWidget(NewPane(what0, "Image2", ":/panes/after", "Text after the match"));
    panes->setSizes({BeforePaneHeight, AfterPaneHeight});

    CreateResultTree(area);
    area->addWidget(panes);
    area->addWidget(TreeView1);
    area->setStretchFactor(0, 1);
    area->setStretchFactor(1, 0);
    area->setSizes({DesignedWidth - ResultTreeWidth - SplitterHandleWidth, ResultTreeWidth});
    return area;
}

void TfrmMain::CreateResultTree(QWidget* parent)
{
    TreeView1 = new QTreeWidget(parent);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setAccessibleName("Results");  // read as "Results, tree"
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(TreeIndentation);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setAllColumnsShowFocus(true);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->setItemDelegate(new ResultTreeDelegate(TreeView1));
    ItemViewFocus::KeepCurrentOnlyWhileFocused(TreeView1);
    QFont bold = TreeView1->font();
    bold.setBold(true);
    TreeView1->setFont(bold);
    Theme::KeepWhiteWithDarkText(TreeView1);
    new QTreeWidgetItem(TreeView1, {"Fixed Lists"});
}

void TfrmMain::CreateStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    // The frame resizes the window; the grip would take the clock's room.
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < StatusPanelCount; ++i)
        panels_[i] = CreateStatusPanel(i);
}

QLabel* TfrmMain::CreateStatusPanel(int index)
{
    const PanelDesign& design = StatusPanels[index];
    const bool clock = index == ClockPanel;
    // The designed width, or wider where a font needs more room for the text.
    const QString widest = clock ? QStringLiteral("8888/88/88 88:88:88") : QString(design.text);
    const int needed = StatusBar1->fontMetrics().horizontalAdvance(widest) + StatusPanelPadding;
    const int width = clock ? needed : std::max(design.width, needed);
    auto* panel = new StatusPanelLabel(design.text, width, StatusBar1);
    panel->setObjectName(QString("StatusPanel%1").arg(index));
    panel->setAccessibleDescription(design.description);
    panel->setFrameStyle(index == 0 ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(index == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    panel->setContentsMargins(StatusPanelMargin, 0, StatusPanelMargin, 0);
    // The last panel reaches to the right edge, as a status bar's last part does.
    StatusBar1->addWidget(panel, clock ? 1 : 0);
    return panel;
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

QWidget* TfrmMain::CreateBody()
{
    QSplitter* body = NewSplitter(Qt::Vertical, "Splitter1", this);
    body->addWidget(CreateEditors());
    body->addWidget(CreateResultArea());
    body->insertWidget(0, mmoSignature);
    body->setStretchFactor(0, 0);
    body->setStretchFactor(1, 1);
    body->setStretchFactor(2, 0);
    body->setSizes({PatternHeight, MiddleHeight, ResultsHeight});
    return body;
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    InitResources();
    setObjectName("frmMain");
    setWindowTitle(WindowCaption);
    setWindowIcon(Pictures::Icon(":/icons/tamarin"));
    // System menu, minimise and close, no maximise; the frame stays resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(Theme::DesignedFont());

    CreateActions();
    CreateMenu();
    CreateToolBar();
    setCentralWidget(CreateBody());
    CreateStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(ClockIntervalMs);

    view_ = std::make_unique<QtEngineView>(QtEngineView::Controls{
        reSearch, what0, what1, TreeView1, cbCaseSensitive, this});

    FormCreate();
    ConnectHandlers();
    Timer1->start();
    resize(DesignedWidth, DesignedHeight);
}
