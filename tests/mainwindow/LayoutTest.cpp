// The main window as it starts: window, tool bar, menu, controls, status bar,
// clock, and what a user of a dark theme or a screen reader gets.
#include "WidgetTestSupport.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

using namespace WidgetTest;

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void window();
    void initialState();
    void arrangement();
    void statusPanels_data();
    void statusPanels();
    void toolBar();
    void toolBarHints_data();
    void toolBarHints();
    void menus_data();
    void menus();
    void menuItems_data();
    void menuItems();
    void sampleItemsHidden();
    void clockFormat_data();
    void clockFormat();
    void clockRuns();
    void readableInDarkTheme();
    void accessibleNames();
    void captionsNotClipped();
};

void LayoutTest::window()
{
    QCOMPARE(frmMain->objectName(), QString("frmMain"));
    QCOMPARE(frmMain->windowTitle(), QString("Tamarin [PERL<>POSIX Basic<>POSIX Extended]"));
    QCOMPARE(QApplication::applicationName(), QString("Tamarin 1.2.0.1 (Beta)"));
    QVERIFY(!frmMain->windowIcon().isNull());
    const Qt::WindowFlags flags = frmMain->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    // Resizable by its frame: no fixed size.
    QVERIFY(frmMain->minimumSize() != frmMain->maximumSize());
    frmMain->resize(900, 600);
    QTRY_COMPARE(frmMain->size(), QSize(900, 600));
    // ... and made smaller than designed: nothing holds it at its first size.
    QVERIFY(frmMain->minimumSizeHint().width() < 500);
    QVERIFY(frmMain->minimumSizeHint().height() < 420);
    frmMain->resize(480, 420);
    QTRY_COMPARE(frmMain->size(), QSize(480, 420));

    // Designed outer size, centred on the screen.
    CloseWindows();
    QVERIFY(OpenWindows());
    QCOMPARE(frmMain->frameGeometry().size(), QSize(717, 486));
    const QPoint screenCentre = frmMain->screen()->availableGeometry().center();
    QVERIFY((frmMain->frameGeometry().center() - screenCentre).manhattanLength() <= 2);

    // All six windows exist; the dialogs stay hidden.
    QVERIFY(frmAbout && frmSyntax && frmSettings && frmConfig && frmCredit);
    for (QWidget* dialog : std::initializer_list<QWidget*>{frmAbout, frmSyntax, frmSettings, frmConfig,
                                                         frmCredit})
        QVERIFY(!dialog->isVisible());
}

void LayoutTest::initialState()
{
    QCOMPARE(frmMain->State.AlgorithmIndex, 1);
    QCOMPARE(frmMain->State.SyntaxIndex, 0);
    QVERIFY(frmMain->State.InputSnapshot.empty());
    QVERIFY(frmMain->State.PatternSnapshot.empty());
    QCOMPARE(AlgorithmNames[0], QString("Match"));
    QCOMPARE(AlgorithmNames[1], QString("Search"));
    QCOMPARE(AlgorithmNames[2], QString("Replace"));

    QComboBox* combo = frmMain->ComboBoxEx1;
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QString("MATCH"));
    QCOMPARE(combo->itemText(1), QString("SEARCH"));
    QCOMPARE(combo->currentText(), QString("SEARCH"));
    QVERIFY(combo->font().bold());
    QVERIFY(combo->width() >= 107);

    QVERIFY(!frmMain->cbCaseSensitive->isChecked());
    QCOMPARE(frmMain->cbCaseSensitive->text(), QString("Case\nSensitive"));
    QVERIFY(frmMain->cbSimultaneous->isChecked());
    QCOMPARE(frmMain->cbSimultaneous->text(), QString("Real-Time Match"));
    QCOMPARE(frmMain->btnMatch->text(), QString("Search"));
    QVERIFY(!frmMain->btnMatch->icon().isNull());
    QVERIFY(frmMain->btnMatch->width() >= 86);
    QVERIFY(frmMain->btnMatch->height() >= 25);
    // Shown: the keyboard focus is on the button.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(frmMain->btnMatch));

    QVERIFY(frmMain->mmoSignature->toPlainText().isEmpty());
    QVERIFY(frmMain->reSearch->toPlainText().isEmpty());
    QVERIFY(frmMain->what0->toPlainText().isEmpty());
    QVERIFY(frmMain->what1->toPlainText().isEmpty());
    QCOMPARE(ResultCount(), 1);
    QCOMPARE(ResultText(), QString("Fixed Lists"));
    QCOMPARE(frmMain->TreeView1->topLevelItem(0)->childCount(), 0);
    QVERIFY(frmMain->TreeView1->font().bold());
    QCOMPARE(frmMain->TreeView1->indentation(), 19);
    QCOMPARE(frmMain->mmoSignature->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(frmMain->Timer1->interval(), 900);
    QVERIFY(frmMain->Timer1->isActive());
}

void LayoutTest::arrangement()
{
    auto top = [](QWidget* w) { return w->mapTo(frmMain, QPoint(0, 0)).y(); };
    auto left = [](QWidget* w) { return w->mapTo(frmMain, QPoint(0, 0)).x(); };

    // Top to bottom: tool bar, pattern, strip, input, result area, status bar.
    QVERIFY(top(frmMain->ToolBar1) < top(frmMain->mmoSignature));
    QVERIFY(top(frmMain->mmoSignature) < top(frmMain->cbSimultaneous));
    auto middle = [&](QWidget* w) { return top(w) + w->height() / 2; };
    QVERIFY(qAbs(middle(frmMain->cbSimultaneous) - middle(frmMain->btnMatch)) <= 3);
    QVERIFY(left(frmMain->cbSimultaneous) < left(frmMain->btnMatch));
    QVERIFY(top(frmMain->btnMatch) < top(frmMain->reSearch));
    QVERIFY(top(frmMain->reSearch) < top(frmMain->what1));
    QVERIFY(top(frmMain->what1) < top(frmMain->what0));
    QVERIFY(left(frmMain->what1) < left(frmMain->TreeView1));
    QVERIFY(top(frmMain->what0) < top(frmMain->StatusBar1));
    QVERIFY(frmMain->ToolBar1->height() >= 33);
    QCOMPARE(frmMain->mmoSignature->height(), 97);

    // The input editor on the only page, "Input String", its tab at the bottom.
    QTabWidget* pages = frmMain->PageControl1;
    QCOMPARE(pages->count(), 1);
    QCOMPARE(pages->tabText(0), QString("Input String"));
    QCOMPARE(pages->tabPosition(), QTabWidget::South);
    QVERIFY(pages->widget(0)->isAncestorOf(frmMain->reSearch));

    // A picture beside each result pane.
    for (const char* name : {"Image1", "Image2"}) {
        auto* picture = frmMain->findChild<QLabel*>(name);
        QVERIFY2(picture, name);
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(picture->width(), 16);
    }
}

void LayoutTest::statusPanels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("product") << 0 << "Tamarin 1.2.0.1 (Beta)" << 130;
    QTest::newRow("syntax check") << 1 << "Syntax Check : OFF" << 140;
    QTest::newRow("case") << 2 << "Case InSensitive" << 110;
    QTest::newRow("syntax") << 3 << "Syntax : Perl" << 160;
}

void LayoutTest::statusPanels()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, width);
    QLabel* panel = frmMain->StatusPanel(index);
    QCOMPARE(panel->parentWidget(), static_cast<QWidget*>(frmMain->StatusBar1));
    QCOMPARE(panel->text(), text);
    QVERIFY2(panel->width() >= width, qPrintable(QString::number(panel->width())));
    // The clock panel takes what is left, at least room for its text.
    QLabel* clock = frmMain->StatusPanel(4);
    QString widths;
    for (int i = 0; i < 5; ++i)
        widths += QString::number(frmMain->StatusPanel(i)->width()) + " ";
    widths += "of " + QString::number(frmMain->StatusBar1->width());
    QVERIFY2(clock->contentsRect().width() >= clock->fontMetrics().horizontalAdvance("8888/88/88 88:88:88"),
             qPrintable(widths));
    QVERIFY(clock->geometry().right() >= frmMain->StatusBar1->width() - 24);
    // Five panels, left to right in index order.
    const QList<QLabel*> labels = frmMain->StatusBar1->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), 5);
    for (int i = 0; i + 1 < 5; ++i)
        QVERIFY(frmMain->StatusPanel(i)->x() < frmMain->StatusPanel(i + 1)->x());
    QVERIFY(frmMain->StatusPanel(0)->alignment() & Qt::AlignHCenter);
    QCOMPARE(frmMain->StatusPanel(0)->frameShape(), QFrame::NoFrame);
}

void LayoutTest::toolBar()
{
    // Left to right, with gaps ("|") and divider lines ("-").
    QStringList order;
    for (QAction* action : frmMain->ToolBar1->actions()) {
        if (action->isSeparator())
            order << "-";
        else if (!action->objectName().isEmpty())
            order << action->objectName();
        else if (QWidget* widget = frmMain->ToolBar1->widgetForAction(action))
            order << (widget->objectName().isEmpty() ? QString("|") : widget->objectName());
    }
    const QStringList expected = {"tbNew",        "|",       "tbOpen",       "tbSave",  "-",
                                  "tbSyntax",     "tbAlgorithm", "tbConfig", "|",       "ComboBoxEx1",
                                  "|",            "cbCaseSensitive", "-",     "ToolButton13", "ToolButton14",
                                  "-",            "tbAbout"};
    QCOMPARE(order, expected);
    QCOMPARE(frmMain->ToolBar1->iconSize(), QSize(24, 24));
}

void LayoutTest::toolBarHints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("tbNew") << "tbNew" << "New" << false;
    QTest::newRow("tbOpen") << "tbOpen" << "Open" << false;
    QTest::newRow("tbSave") << "tbSave" << "Save" << false;
    QTest::newRow("tbSyntax") << "tbSyntax" << "Syntax" << true;
    QTest::newRow("tbAlgorithm") << "tbAlgorithm" << "Algorithms" << true;
    QTest::newRow("tbConfig") << "tbConfig" << "Config" << true;
    QTest::newRow("ToolButton13") << "ToolButton13" << "" << true;
    QTest::newRow("ToolButton14") << "ToolButton14" << "" << true;
    QTest::newRow("tbAbout") << "tbAbout" << "" << true;
}

void LayoutTest::toolBarHints()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    auto* action = frmMain->findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->toolTip(), hint);
    QCOMPARE(action->isEnabled(), enabled);
    QVERIFY(!action->icon().isNull());
    auto* button = qobject_cast<QToolButton*>(frmMain->ToolBar1->widgetForAction(action));
    QVERIFY(button);
    QCOMPARE(button->size(), QSize(32, 30));
    QVERIFY(button->autoRaise());
    QVERIFY(!button->accessibleName().isEmpty());
}

void LayoutTest::menus_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");  // "-" is a separator
    QTest::newRow("File") << "&File"
                          << QStringList{"mnuNew", "-", "mnuOpen", "-", "mnuSave", "mnuSaveAs", "-",
                                         "mnuClose", "-", "Exit1"};
    QTest::newRow("Settings") << "&Settings" << QStringList{"mnuSyntax", "mnuAlgorithms", "-", "mnuConfig"};
    QTest::newRow("Tools") << "&Tools"
                           << QStringList{"mnuCreditCardNumberCheck", "mnuRegExpSyntaxTest", "mnuMatches",
                                          "-", "SampleRegExp1"};
    QTest::newRow("Help") << "&Help"
                          << QStringList{"HowToUseTamarin1", "RegularExpressionTutorial1", "-",
                                         "SupportWebBoard1", "TamarinWebSite1", "-", "About1"};
}

void LayoutTest::menus()
{
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QMenu* menu = nullptr;
    QStringList titles;
    for (QAction* action : frmMain->menuBar()->actions()) {
        titles << action->text();
        if (action->text() == title)
            menu = action->menu();
    }
    QCOMPARE(titles, (QStringList{"&File", "&Settings", "&Tools", "&Help"}));
    QVERIFY(menu);
    QStringList found;
    for (QAction* action : menu->actions())
        found << (action->isSeparator() ? QString("-") : action->objectName());
    QCOMPARE(found, items);
}

void LayoutTest::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("mnuNew") << "mnuNew" << "&New" << QKeySequence("Ctrl+N") << false;
    QTest::newRow("mnuOpen") << "mnuOpen" << "&Open" << QKeySequence("Ctrl+O") << false;
    QTest::newRow("mnuSave") << "mnuSave" << "&Save" << QKeySequence("Ctrl+S") << false;
    QTest::newRow("mnuSaveAs") << "mnuSaveAs" << "Save &as..." << QKeySequence() << false;
    QTest::newRow("mnuClose") << "mnuClose" << "&Close" << QKeySequence() << false;
    QTest::newRow("Exit1") << "Exit1" << "E&xit" << QKeySequence() << true;
    QTest::newRow("mnuSyntax") << "mnuSyntax" << "&Syntax" << QKeySequence() << true;
    QTest::newRow("mnuAlgorithms") << "mnuAlgorithms" << "&Algorithms" << QKeySequence() << true;
    QTest::newRow("mnuConfig") << "mnuConfig" << "&Config" << QKeySequence() << true;
    QTest::newRow("mnuCreditCardNumberCheck") << "mnuCreditCardNumberCheck" << "Credit &Card Checker"
                                              << QKeySequence() << true;
    QTest::newRow("mnuRegExpSyntaxTest") << "mnuRegExpSyntaxTest" << "&RegExp Syntax Test"
                                         << QKeySequence() << true;
    QTest::newRow("mnuMatches") << "mnuMatches" << "&Matches and Groups" << QKeySequence("Ctrl+M") << true;
    QTest::newRow("HowToUseTamarin1") << "HowToUseTamarin1" << "How to &Use Tamarin" << QKeySequence()
                                      << false;
    QTest::newRow("RegularExpressionTutorial1") << "RegularExpressionTutorial1"
                                                << "Regular Expression &Tutorial" << QKeySequence() << false;
    QTest::newRow("SupportWebBoard1") << "SupportWebBoard1" << "&Support && WebBoard" << QKeySequence()
                                      << true;
    QTest::newRow("TamarinWebSite1") << "TamarinWebSite1" << "Tamarin &Web Site" << QKeySequence() << true;
    QTest::newRow("About1") << "About1" << "&About..." << QKeySequence(Qt::Key_F1) << true;
}

void LayoutTest::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    auto* action = frmMain->findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(action->isEnabled(), enabled);
    QVERIFY(action->isVisible());
}

void LayoutTest::sampleItemsHidden()
{
    QVERIFY(!frmMain->SampleRegExp1->isVisible());
    QCOMPARE(frmMain->SampleRegExp1->text(), QString("&Sample RegExp"));
    // The separator before the submenu is hidden with it.
    auto* tools = frmMain->findChild<QMenu*>("Tools1");
    QVERIFY(tools);
    const QList<QAction*> items = tools->actions();
    QCOMPARE(items.size(), 5);
    QVERIFY(items.at(3)->isSeparator());
    QVERIFY(!items.at(3)->isVisible());
    QMenu* samples = frmMain->SampleRegExp1->menu();
    QVERIFY(samples);
    QCOMPARE(samples->actions(), (QList<QAction*>{frmMain->sampleCredit, frmMain->sampleSocial}));
    QCOMPARE(frmMain->sampleCredit->text(), QString("Credit Card Number"));
    QCOMPARE(frmMain->sampleSocial->text(), QString("Social Number"));
}

void LayoutTest::clockFormat_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("text");
    QTest::newRow("evening") << QDateTime(QDate(2007, 8, 28), QTime(22, 4, 45)) << "2007/08/28 22:04:45";
    QTest::newRow("hour padded with a space") << QDateTime(QDate(2026, 1, 2), QTime(9, 5, 7))
                                              << "2026/01/02  9:05:07";
    QTest::newRow("midnight") << QDateTime(QDate(1999, 12, 31), QTime(0, 0, 0)) << "1999/12/31  0:00:00";
}

void LayoutTest::clockFormat()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    QCOMPARE(ClockText(when), text);
}

void LayoutTest::clockRuns()
{
    static const QRegularExpression format(R"(^\d{4}/\d\d/\d\d [ \d]\d:\d\d:\d\d$)");
    QLabel* clock = frmMain->StatusPanel(4);
    // Filled at once when the window is shown.
    QVERIFY2(format.match(clock->text()).hasMatch(), qPrintable(clock->text()));
    clock->setText("stale");
    QTRY_VERIFY_WITH_TIMEOUT(format.match(clock->text()).hasMatch(), 2000);
    const QDateTime shown = QDateTime::fromString(clock->text().replace("  ", " 0"), "yyyy/MM/dd HH:mm:ss");
    QVERIFY(shown.isValid());
    QVERIFY(qAbs(shown.secsTo(QDateTime::currentDateTime())) <= 2);
}

void LayoutTest::readableInDarkTheme()
{
    CloseWindows();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(dark);
    QVERIFY(OpenWindows());
    for (QWidget* editor : std::initializer_list<QWidget*>{frmMain->mmoSignature, frmMain->reSearch, frmMain->what0,
                                                         frmMain->what1, frmMain->TreeView1}) {
        QCOMPARE(editor->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(editor->palette().color(QPalette::Text), QColor(Qt::black));
    }
    QApplication::setPalette(saved);
}

void LayoutTest::accessibleNames()
{
    const std::pair<QWidget*, const char*> named[] = {
        {frmMain->mmoSignature, "Pattern"},
        {frmMain->reSearch, "Input string"},
        {frmMain->what1, "Text before the match"},
        {frmMain->what0, "Text after the match"},
        {frmMain->TreeView1, "Results"},
    };
    for (const auto& [widget, name] : named)
        QCOMPARE(widget->accessibleName(), QString(name));
    // Every control and every status panel has a name.
    for (QWidget* widget : frmMain->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<SlicedTextView*>(widget) || qobject_cast<QTreeWidget*>(widget) ||
                             widget->parentWidget() == frmMain->StatusBar1;
        if (control && qobject_cast<QLabel*>(widget) == nullptr && widget->parentWidget() == frmMain->StatusBar1)
            continue;  // the status bar's own size grip
        if (widget->objectName().startsWith("qt_"))
            continue;  // Qt's own helpers, such as the menu bar's overflow button
        // A status panel reads as the text it shows, and its description
        // says what that is.
        if (control && qobject_cast<QLabel*>(widget))
            QVERIFY2(widget->accessibleName().isEmpty() && !widget->accessibleDescription().isEmpty(),
                     qPrintable(widget->objectName()));
        else if (control)  // by its own name or, as a button, by its caption
            QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName()));
    }
}

void LayoutTest::captionsNotClipped()
{
    // Each caption fits its control as laid out.
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{frmMain->cbCaseSensitive,
                                                                         frmMain->cbSimultaneous, frmMain->btnMatch}) {
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->objectName()));
        QVERIFY2(button->height() >= button->sizeHint().height(), qPrintable(button->objectName()));
    }
    QVERIFY(frmMain->ComboBoxEx1->width() >= frmMain->ComboBoxEx1->sizeHint().width());
    for (int i = 0; i < 4; ++i) {
        QLabel* panel = frmMain->StatusPanel(i);
        QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(panel->text()),
                 qPrintable(panel->text()));
    }
    QLabel* clock = frmMain->StatusPanel(4);
    QVERIFY(clock->contentsRect().width() >= clock->fontMetrics().horizontalAdvance("8888/88/88 88:88:88"));
    QVERIFY(frmMain->PageControl1->tabBar()->tabRect(0).width() >=
            frmMain->PageControl1->fontMetrics().horizontalAdvance("Input String"));
}

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
