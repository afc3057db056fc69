// What a screen reader finds in the six windows: it walks each window's
// accessibility tree (menus, tool bar, every page of the page controls) and
// every control it can act on, or a picture or panel it reads, has a name.
// Then what a screen reader hears: the outcome of each evaluation as the
// focused editor's description, selectors by their names and values, one-line
// boxes and labels read whole, no unnamed stack of pages, links as links, and
// one focused object at a time.
#include "WidgetTestSupport.h"
#include "LinkLabel.h"
#include "Main.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QSignalSpy>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTabWidget>

using namespace WidgetTest;

namespace {

// Roles a user acts on or reads, which a screen reader must be able to name.
// A tool bar or a status bar is not among them: its role says what it is, and
// a name such as "Tool bar" would only repeat it.
bool MustBeNamed(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Link:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Tree:
    case QAccessible::List:
    case QAccessible::StaticText:
    case QAccessible::Graphic:
    case QAccessible::Grouping:
        return true;
    default:
        return false;
    }
}

bool Hidden(QAccessibleInterface* node)
{
    if (auto* action = qobject_cast<QAction*>(node->object()))
        return !action->isVisible();
    // A menu is a hidden pop-up until opened; its items are still there.
    if (qobject_cast<QMenu*>(node->object()))
        return false;
    if (auto* widget = qobject_cast<QWidget*>(node->object()))
        return !widget->isVisible();
    return node->state().invisible;
}

QString Describe(QAccessibleInterface* node)
{
    QObject* object = node->object();
    QString name = object ? object->objectName() : QString();
    if (name.isEmpty() && object)
        name = QString("unnamed %1").arg(object->metaObject()->className());
    if (auto* action = qobject_cast<QAction*>(object); action && name.startsWith("unnamed"))
        name = "action \"" + action->text() + "\"";
    return QString("%1 (role 0x%2)").arg(name).arg(int(node->role()), 0, 16);
}

// Walks the tree below `node`, recording every object met and every one that
// must be named but is not.
void Walk(QAccessibleInterface* node, QSet<QObject*>& met, QStringList& unnamed, int depth = 0)
{
    if (!node || !node->isValid() || depth > 30 || Hidden(node))
        return;
    if (node->object())
        met.insert(node->object());
    if (MustBeNamed(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << Describe(node);
    for (int i = 0; i < node->childCount(); ++i)
        Walk(node->child(i), met, unnamed, depth + 1);
}

void AddWindowRows()
{
    QTest::addColumn<QString>("window");
    for (const char* name : {"frmMain", "frmSettings", "frmConfig", "frmSyntax", "frmCredit", "frmAbout"})
        QTest::newRow(name) << QString(name);
}

QWidget* Window(const QString& name)
{
    for (QWidget* window : std::initializer_list<QWidget*>{frmMain, frmSettings, frmConfig, frmSyntax,
                                                         frmCredit, frmAbout})
        if (window->objectName() == name)
            return window;
    return nullptr;
}

// The objects of `window`'s accessibility tree that say they have the focus.
// A focused item view's current item is its active descendant, not a second
// focus, and is not counted.
void CollectFocused(QAccessibleInterface* node, QStringList& focused, int depth = 0)
{
    if (!node || !node->isValid() || depth > 30 || Hidden(node))
        return;
    if (node->state().focused)
        focused << Describe(node) + " " + node->text(QAccessible::Name);
    const bool itemView = node->role() == QAccessible::Tree || node->role() == QAccessible::Table
                          || node->role() == QAccessible::List;
    if (itemView && node->state().focused)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        CollectFocused(node->child(i), focused, depth + 1);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void everythingNamed_data() { AddWindowRows(); }
    void everythingNamed();
    void outcomeIsTheFocusedControlsDescription();
    void selectorsLabelsAndLinks();
    void oneLineBoxesReadWhole();
    void namesFollowWhatIsShown();
    void oneFocusedObject_data() { AddWindowRows(); }
    void oneFocusedObject();
};

void AccessibilityTest::everythingNamed()
{
    QFETCH(QString, window);
    QWidget* shown = Window(window);
    QVERIFY(shown);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));

    QSet<QObject*> met;
    QStringList unnamed;
    // Each page of a page control is read while it is the one shown.
    const QList<QTabWidget*> pageControls = shown->findChildren<QTabWidget*>();
    const int pages = pageControls.isEmpty() ? 1 : pageControls.first()->count();
    QStringList missed;
    for (int page = 0; page < pages; ++page) {
        if (!pageControls.isEmpty())
            pageControls.first()->setCurrentIndex(page);
        QApplication::processEvents();
        Walk(QAccessible::queryAccessibleInterface(shown), met, unnamed);
        // The walk reached every control, not just some: each visible
        // control with a name in the code (and below, each menu item).
        for (QWidget* widget : shown->findChildren<QWidget*>()) {
            const bool control = widget->inherits("QAbstractButton") || widget->inherits("QComboBox") ||
                                 widget->inherits("QLineEdit") ||
                                 widget->inherits("QAbstractScrollArea") || widget->inherits("QLabel");
            if (control && !widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_") &&
                widget->isVisible() && !met.contains(widget))
                missed << widget->objectName();
        }
    }
    unnamed.removeDuplicates();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));

    for (QMenu* menu : shown->findChildren<QMenu*>()) {
        if (!menu->menuAction()->isVisible())
            continue;  // a hidden submenu: none of it can be reached
        for (QAction* item : menu->actions())
            if (!item->isSeparator() && item->isVisible() && !met.contains(item))
                missed << item->objectName();
    }
    QVERIFY2(missed.isEmpty(), qPrintable("not reached: " + missed.join(", ")));
    if (shown != frmMain)
        shown->hide();
}

// Offscreen, Qt passes no events on to assistive technology; the events
// themselves are counted out of process (tests/atspi/).
void AccessibilityTest::outcomeIsTheFocusedControlsDescription()
{
    QVERIFY(ShowActive(frmMain));
    Type(frmMain->reSearch, "aab");
    frmMain->mmoSignature->setFocus();
    Type(frmMain->mmoSignature, "b");
    for (QWidget* carrier : std::initializer_list<QWidget*>{frmMain->mmoSignature, frmMain->reSearch, frmMain->btnMatch})
        QCOMPARE(QAccessible::queryAccessibleInterface(carrier)->text(QAccessible::Description),
                 QString("Match at 2, length 1"));
    // The line still shows the time, and reads as what it shows.
    QVERIFY(frmMain->pnOutcome->text().startsWith("Match at 2, length 1 \u00B7 "));
    QCOMPARE(QAccessible::queryAccessibleInterface(frmMain->pnOutcome)->text(QAccessible::Name),
             frmMain->pnOutcome->text());
    // Ctrl+Shift+O says it again: it types nothing and evaluates nothing.
    EvaluationCounter evaluations;
    QSignalSpy readAgain(frmMain->actReadOutcome, &QAction::triggered);
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(readAgain.count(), 1);
    QCOMPARE(frmMain->mmoSignature->text().toString(), QString("b"));
    QCOMPARE(evaluations.count(), 0);
    Type(frmMain->mmoSignature, "(");
    QCOMPARE(frmMain->mmoSignature->accessibleDescription(), QString("The pattern does not compile"));
    QCOMPARE(QApplication::focusWidget(), frmMain->mmoSignature);
}

void AccessibilityTest::selectorsLabelsAndLinks()
{
    // A selector reads as its name, and its value as text that follows the choice.
    const std::pair<QComboBox*, const char*> selectors[] = {{frmMain->ComboBoxEx1, "Algorithm"},
                                                            {frmSyntax->ComboBoxEx1, "Syntax"}};
    for (const auto& [selector, name] : selectors) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(selector);
        QCOMPARE(node->role(), QAccessible::ComboBox);
        QCOMPARE(node->text(QAccessible::Name), QString(name));
        for (int index : {1, 0}) {
            selector->setCurrentIndex(index);
            QCOMPARE(node->text(QAccessible::Value), selector->currentText());
            QCOMPARE(node->textInterface()->text(0, node->textInterface()->characterCount()), selector->currentText());
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
            auto* attributes = static_cast<QAccessibleAttributesInterface*>(
                node->interface_cast(QAccessible::AttributesInterface));
            QVERIFY(attributes);
            const auto custom = attributes->attributeValue(QAccessible::Attribute::Custom).value<QHash<QString, QString>>();
            QCOMPARE(custom.value("valuetext"), selector->currentText());
#endif
        }
        // The list is there while it is dropped down, and only then: a
        // hidden list's current item would say it has the focus too.
        QCOMPARE(node->childCount(), 0);
        QCOMPARE(node->child(0), nullptr);
        selector->window()->show();
        selector->showPopup();
        QTRY_VERIFY(selector->view()->isVisible());
        QCOMPARE(node->child(0)->object(), selector->view());
        QCOMPARE(node->indexOfChild(node->child(0)), 0);
        selector->hidePopup();
        QTRY_COMPARE(node->childCount(), 0);
    }
    frmMain->ComboBoxEx1->setCurrentIndex(1);
    // A label that shows a value reads as it; its description says what it is.
    frmMain->cbCaseSensitive->setChecked(true);
    const std::pair<QLabel*, const char*> values[] = {
        {frmMain->StatusPanel(1), "Syntax check"}, {frmMain->StatusPanel(2), "Case"},
        {frmMain->StatusPanel(4), "Date and time"}, {frmAbout->Panel2, "Version"}, {frmCredit->pnValidate, "Verdict"}};
    for (const auto& [label, description] : values) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(label);
        QCOMPARE(node->text(QAccessible::Name), label->text());
        QCOMPARE(node->text(QAccessible::Description), QString(description));
    }
    QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case Sensitive"));
    // Links are links that open their page when pressed.
    BrowserStandIn browser;
    for (LinkLabel* link : frmMain->findChildren<LinkLabel*>()) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(link);
        QCOMPARE(node->role(), QAccessible::Link);
        QVERIFY(node->state().focusable && !node->text(QAccessible::Description).isEmpty());
        const qsizetype opened = browser.opened.size();
        node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(browser.opened.size(), opened + 1);
    }
}

// Read as Qt reads them, but one attribute run covers the text, so a screen
// reader builds the whole line from it; a character's place is where a click
// would put the caret before it.
void AccessibilityTest::oneLineBoxesReadWhole()
{
    QVERIFY(ShowActive(frmSyntax));
    QLineEdit* box = frmSyntax->Edit2;
    box->setText("Invalid Regular Expression");
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
    QAccessibleTextInterface* text = node->textInterface();
    QVERIFY(text && node->editableTextInterface());
    QCOMPARE(node->text(QAccessible::Name), QString("Verdict"));
    QCOMPARE(node->text(QAccessible::Value), box->text());
    for (int offset : {0, 10, 26}) {
        int start = -1, end = -1;
        text->attributes(offset, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 26));
    }
    for (int offset : {0, 8, 25}) {
        const QRect place = text->characterRect(offset);
        QVERIFY2(place.width() > 0, qPrintable(QString::number(offset)));
        QCOMPARE(text->offsetAtPoint(place.topLeft() + QPoint(1, place.height() / 2)), offset);
    }
    text->setSelection(0, 8, 15);
    QCOMPARE(box->selectedText(), QString("Regular"));
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(8, 15));
    node->editableTextInterface()->replaceText(8, 15, "Odd");
    QCOMPARE(box->text(), QString("Invalid Odd Expression"));
    box->undo();  // an edit like a typed one
    QCOMPARE(box->text(), QString("Invalid Regular Expression"));
    frmSyntax->hide();
}

// The search button says the caption it shows; the About box says the name
// and version when it opens, on Close; no unnamed stack of pages is read as a
// layered pane, and the card types are reference text, not loose labels.
void AccessibilityTest::namesFollowWhatIsShown()
{
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(frmMain->btnMatch);
    for (int index : {0, 1}) {
        frmMain->ComboBoxEx1->setCurrentIndex(index);
        QCOMPARE(button->text(QAccessible::Name), QString(index == 0 ? "Match" : "Search"));
    }
    QVERIFY(ShowActive(frmAbout));
    QCOMPARE(QApplication::focusWidget(), frmAbout->Button1);
    QCOMPARE(QAccessible::queryAccessibleInterface(frmAbout)->text(QAccessible::Description),
             QString("Tamarin ") + frmAbout->Panel2->text());
    frmAbout->hide();
    for (QStackedWidget* stack : frmMain->findChildren<QStackedWidget*>())
        QCOMPARE(QAccessible::queryAccessibleInterface(stack)->role(), QAccessible::Client);
    for (QLabel* line : {frmCredit->Panel5, frmCredit->Panel6, frmCredit->Panel9}) {
        QCOMPARE(QAccessible::queryAccessibleInterface(line)->role(), QAccessible::Paragraph);
        QCOMPARE(QAccessible::queryAccessibleInterface(line)->text(QAccessible::Name), line->text());
    }
}

void AccessibilityTest::oneFocusedObject()
{
    QFETCH(QString, window);
    QWidget* shown = Window(window);
    QVERIFY(ShowActive(shown));
    // Every Tab stop round the window, and back to the first.
    QWidget* first = QApplication::focusWidget();
    for (int stop = 0; first && stop < 30; ++stop) {
        QStringList focused;
        CollectFocused(QAccessible::queryAccessibleInterface(shown), focused);
        QVERIFY2(focused.size() == 1, qPrintable(QString("stop %1: %2").arg(stop).arg(focused.join(", "))));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
    }
    if (shown != frmMain)
        shown->hide();
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
