// The main window's commands: one table row per menu item and tool button,
// and the menu and the tool bar built from it.
#include "Main.h"

#include "AccessibleWidgets.h"
#include "Pictures.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QKeySequence>
#include <QMenuBar>
#include <QToolBar>

#include <cstdlib>
#include <span>

namespace {

using Handler = void (TfrmMain::*)();
using ActionMember = QAction* TfrmMain::*;

// Everything about one command. The text is the menu caption (with its
// access-key mark) or the tool button's hint; picture-only buttons have none.
struct ActionDesign {
    ActionMember member;
    const char* name;        // objectName
    const char* text;
    const char* shortcut;    // "" for none
    const char* icon;        // picture (Pictures.h); "" for none
    bool enabled;
    const char* buttonName;  // accessible name of its tool button; "" off the tool bar
    Handler handler;         // nullptr: the command does nothing yet
};

// In the order the actions are created.
const ActionDesign Actions[] = {
    // Tool bar.
    {&TfrmMain::tbNew, "tbNew", "New", "", ":/toolbar/new", false, "New", nullptr},
    {&TfrmMain::tbOpen, "tbOpen", "Open", "", ":/toolbar/open", false, "Open", nullptr},
    {&TfrmMain::tbSave, "tbSave", "Save", "", ":/toolbar/save", false, "Save", nullptr},
    {&TfrmMain::tbSyntax, "tbSyntax", "Syntax", "", ":/toolbar/syntax", true, "Syntax",
     &TfrmMain::tbSyntaxClick},
    {&TfrmMain::tbAlgorithm, "tbAlgorithm", "Algorithms", "", ":/toolbar/algorithm", true,
     "Algorithms", &TfrmMain::tbAlgorithmClick},
    {&TfrmMain::tbConfig, "tbConfig", "Config", "", ":/toolbar/config", true, "Config",
     &TfrmMain::tbConfigClick},
    {&TfrmMain::ToolButton13, "ToolButton13", "", "", ":/toolbar/help", true,
     "Support and web board", &TfrmMain::ToolButton13Click},
    {&TfrmMain::ToolButton14, "ToolButton14", "", "", ":/toolbar/home", true,
     "Tamarin web site", &TfrmMain::ToolButton14Click},
    {&TfrmMain::tbAbout, "tbAbout", "", "", ":/toolbar/about", true, "About",
     &TfrmMain::tbAboutClick},
    // Menu.
    {&TfrmMain::mnuNew, "mnuNew", "&New", "Ctrl+N", "", false, "", nullptr},
    {&TfrmMain::mnuOpen, "mnuOpen", "&Open", "Ctrl+O", "", false, "", nullptr},
    {&TfrmMain::mnuSave, "mnuSave", "&Save", "Ctrl+S", "", false, "", nullptr},
    {&TfrmMain::mnuSaveAs, "mnuSaveAs", "Save &as...", "", "", false, "", nullptr},
    {&TfrmMain::mnuClose, "mnuClose", "&Close", "", "", false, "", nullptr},
    {&TfrmMain::Exit1, "Exit1", "E&xit", "", "", true, "", &TfrmMain::Exit1Click},
    {&TfrmMain::mnuSyntax, "mnuSyntax", "&Syntax", "", "", true, "", &TfrmMain::mnuSyntaxClick},
    {&TfrmMain::mnuAlgorithms, "mnuAlgorithms", "&Algorithms", "", "", true, "",
     &TfrmMain::mnuAlgorithmsClick},
    {&TfrmMain::mnuConfig, "mnuConfig", "&Config", "", "", true, "", &TfrmMain::mnuConfigClick},
    {&TfrmMain::mnuCreditCardNumberCheck, "mnuCreditCardNumberCheck", "Credit &Card Checker", "",
     "", true, "", &TfrmMain::mnuCreditCardNumberCheckClick},
    {&TfrmMain::mnuRegExpSyntaxTest, "mnuRegExpSyntaxTest", "&RegExp Syntax Test", "", "", true,
     "", &TfrmMain::mnuRegExpSyntaxTestClick},
    {&TfrmMain::mnuMatches, "mnuMatches", "&Matches and Groups", "Ctrl+M", "", true, "",
     &TfrmMain::mnuMatchesClick},
    {&TfrmMain::sampleCredit, "sampleCredit", "Credit Card Number", "", "", true, "",
     &TfrmMain::sampleCreditClick},
    {&TfrmMain::sampleSocial, "sampleSocial", "Social Number", "", "", true, "",
     &TfrmMain::sampleSocialClick},
    {&TfrmMain::HowToUseTamarin1, "HowToUseTamarin1", "How to &Use Tamarin", "", "", false, "",
     nullptr},
    {&TfrmMain::RegularExpressionTutorial1, "RegularExpressionTutorial1",
     "Regular Expression &Tutorial", "", "", false, "", &TfrmMain::RegularExpressionTutorial1Click},
    {&TfrmMain::SupportWebBoard1, "SupportWebBoard1", "&Support && WebBoard", "", "", true, "",
     &TfrmMain::SupportWebBoard1Click},
    {&TfrmMain::TamarinWebSite1, "TamarinWebSite1", "Tamarin &Web Site", "", "", true, "",
     &TfrmMain::TamarinWebSite1Click},
    {&TfrmMain::About1, "About1", "&About...", "F1", "", true, "", &TfrmMain::About1Click},
    // Kept out of the menus; the window holds it so that its key works.
    {&TfrmMain::actReadOutcome, "actReadOutcome", "Read the outcome again", "Ctrl+Shift+O", "", true,
     "", &TfrmMain::actReadOutcomeClick},
};

const ActionDesign& DesignOf(ActionMember member)
{
    for (const ActionDesign& design : Actions)
        if (design.member == member)
            return design;
    std::abort();  // every action the menu or the tool bar names has its row
}

// --- menu ---

struct MenuDesign;

// One entry of a menu: an item, a separator, or a sub-menu.
struct MenuEntry {
    ActionMember action = nullptr;      // the item, or where a sub-menu's own action is kept
    const MenuDesign* submenu = nullptr;
    const char* name = nullptr;         // objectName of a separator or of a sub-menu's action
    bool visible = true;
};

struct MenuDesign {
    const char* name;  // objectName of the menu
    const char* title;
    std::span<const MenuEntry> entries;
};

constexpr MenuEntry Item(ActionMember action) { return {action}; }
constexpr MenuEntry Separator(const char* name = nullptr, bool visible = true)
{
    return {nullptr, nullptr, name, visible};
}
constexpr MenuEntry Submenu(const MenuDesign& menu, ActionMember keptIn, const char* name, bool visible)
{
    return {keptIn, &menu, name, visible};
}

const MenuEntry FileEntries[] = {
    Item(&TfrmMain::mnuNew),  Separator(), Item(&TfrmMain::mnuOpen),   Separator(),
    Item(&TfrmMain::mnuSave), Item(&TfrmMain::mnuSaveAs), Separator(), Item(&TfrmMain::mnuClose),
    Separator(),              Item(&TfrmMain::Exit1),
};
const MenuEntry SettingsEntries[] = {
    Item(&TfrmMain::mnuSyntax), Item(&TfrmMain::mnuAlgorithms), Separator(),
    Item(&TfrmMain::mnuConfig),
};
const MenuEntry SampleEntries[] = {Item(&TfrmMain::sampleCredit), Item(&TfrmMain::sampleSocial)};
const MenuDesign SampleMenu = {"SampleRegExpMenu", "&Sample RegExp", SampleEntries};
// The samples are kept out of sight, their separator with them.
const MenuEntry ToolsEntries[] = {
    Item(&TfrmMain::mnuCreditCardNumberCheck),
    Item(&TfrmMain::mnuRegExpSyntaxTest),
    Item(&TfrmMain::mnuMatches),
    Separator("N10", false),
    Submenu(SampleMenu, &TfrmMain::SampleRegExp1, "SampleRegExp1", false),
};
const MenuEntry HelpEntries[] = {
    Item(&TfrmMain::HowToUseTamarin1), Item(&TfrmMain::RegularExpressionTutorial1), Separator(),
    Item(&TfrmMain::SupportWebBoard1), Item(&TfrmMain::TamarinWebSite1),           Separator(),
    Item(&TfrmMain::About1),
};
const MenuDesign MenuBar[] = {
    {"File1", "&File", FileEntries},
    {"Settings1", "&Settings", SettingsEntries},
    {"Tools1", "&Tools", ToolsEntries},
    {"Help1", "&Help", HelpEntries},
};

// --- tool bar ---

// One entry of the tool bar: a button, a control, a gap or a divider (the
// bar's own separator line).
struct ToolBarEntry {
    enum class Kind { Button, Control, Gap, Divider } kind;
    ActionMember action = nullptr;
    QWidget* (*control)(const TfrmMain&) = nullptr;
};

constexpr ToolBarEntry Button(ActionMember action) { return {ToolBarEntry::Kind::Button, action}; }
constexpr ToolBarEntry Control(QWidget* (*control)(const TfrmMain&))
{
    return {ToolBarEntry::Kind::Control, nullptr, control};
}
constexpr ToolBarEntry Gap{ToolBarEntry::Kind::Gap};
constexpr ToolBarEntry Divider{ToolBarEntry::Kind::Divider};

const ToolBarEntry ToolBarEntries[] = {
    Button(&TfrmMain::tbNew),
    Gap,
    Button(&TfrmMain::tbOpen),
    Button(&TfrmMain::tbSave),
    Divider,
    Button(&TfrmMain::tbSyntax),
    Button(&TfrmMain::tbAlgorithm),
    Button(&TfrmMain::tbConfig),
    Gap,
    Control([](const TfrmMain& window) -> QWidget* { return window.ComboBoxEx1; }),
    Gap,
    Control([](const TfrmMain& window) -> QWidget* { return window.cbCaseSensitive; }),
    Divider,
    Button(&TfrmMain::ToolButton13),
    Button(&TfrmMain::ToolButton14),
    Divider,
    Button(&TfrmMain::tbAbout),
};

constexpr QSize ToolIconSize(24, 24);
constexpr QSize ToolButtonSize(32, 30);  // flat buttons
constexpr int ToolBarMinimumHeight = 33;
constexpr int ToolGapWidth = 8;
constexpr int AlgorithmBoxMinimumWidth = 107;

void AddGap(QToolBar* bar)
{
    auto* gap = new QWidget(bar);
    gap->setFixedWidth(ToolGapWidth);
    bar->addWidget(gap);
}

void AddMenuEntries(TfrmMain& window, QMenu* menu, std::span<const MenuEntry> entries)
{
    for (const MenuEntry& entry : entries) {
        QAction* added = nullptr;
        if (entry.submenu) {
            QMenu* submenu = menu->addMenu(entry.submenu->title);
            submenu->setObjectName(entry.submenu->name);
            AddMenuEntries(window, submenu, entry.submenu->entries);
            added = window.*entry.action = submenu->menuAction();
        } else if (entry.action) {
            menu->addAction(added = window.*entry.action);
        } else {
            added = menu->addSeparator();
        }
        if (entry.name)
            added->setObjectName(entry.name);
        if (!entry.visible)
            added->setVisible(false);
    }
}

void AddToolBarEntry(TfrmMain& window, const ToolBarEntry& entry)
{
    switch (entry.kind) {
    case ToolBarEntry::Kind::Button: {
        const ActionDesign& design = DesignOf(entry.action);
        QAction* action = window.*entry.action;
        window.ToolBar1->addAction(action);
        // The picture-only buttons still need a name for screen readers.
        QWidget* button = window.ToolBar1->widgetForAction(action);
        button->setFixedSize(ToolButtonSize);
        button->setAccessibleName(design.buttonName);
        button->setObjectName(action->objectName() + "Button");
        break;
    }
    case ToolBarEntry::Kind::Control: window.ToolBar1->addWidget(entry.control(window)); break;
    case ToolBarEntry::Kind::Gap: AddGap(window.ToolBar1); break;
    case ToolBarEntry::Kind::Divider: window.ToolBar1->addSeparator(); break;
    }
}

} // namespace

void TfrmMain::CreateActions()
{
    for (const ActionDesign& design : Actions) {
        auto* action = new QAction(QString::fromLatin1(design.text), this);
        action->setObjectName(design.name);
        action->setEnabled(design.enabled);
        if (*design.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(design.shortcut)));
        if (*design.icon)
            action->setIcon(Pictures::Icon(QString::fromLatin1(design.icon)));
        this->*design.member = action;
    }
}

void TfrmMain::ConnectActions()
{
    for (const ActionDesign& design : Actions)
        if (design.handler)
            connect(this->*design.member, &QAction::triggered, this, design.handler);
}

void TfrmMain::CreateMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    for (const MenuDesign& design : MenuBar) {
        QMenu* menu = bar->addMenu(design.title);
        menu->setObjectName(design.name);
        AddMenuEntries(*this, menu, design.entries);
    }
    addAction(actReadOutcome);  // in no menu, but its key works in the whole window
}

void TfrmMain::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setEnabled(false);
    ToolBar1->setIconSize(ToolIconSize);
    ToolBar1->setMinimumHeight(ToolBarMinimumHeight);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    CreateToolBarControls();
    for (const ToolBarEntry& entry : ToolBarEntries)
        AddToolBarEntry(*this, entry);
}

void TfrmMain::CreateToolBarControls()
{
    ComboBoxEx1 = new QComboBox(ToolBar1);
    ComboBoxEx1->setObjectName("ComboBoxEx1");
    ComboBoxEx1->setAccessibleName("Algorithm");
    ComboBoxEx1->addItems({"MATCH", "SEARCH"});
    QFont bold = ComboBoxEx1->font();
    bold.setBold(true);
    ComboBoxEx1->setFont(bold);
    ComboBoxEx1->setMinimumWidth(AlgorithmBoxMinimumWidth);
    ComboBoxEx1->setFocusPolicy(Qt::StrongFocus);
    AccessibleWidgets::SayNewChoices(ComboBoxEx1);

    cbCaseSensitive = new QCheckBox("Case\nSensitive", ToolBar1);
    cbCaseSensitive->setObjectName("cbCaseSensitive");
    cbCaseSensitive->setAccessibleName("Case Sensitive");
}
