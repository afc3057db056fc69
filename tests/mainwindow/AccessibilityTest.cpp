// What a screen reader finds in the six windows: it walks each window's
// accessibility tree (menus, tool bar, every page of the page controls) and
// every control it can act on, or a picture or panel it reads, has a name.
#include "WidgetTestSupport.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QSet>
#include <QTabWidget>

using namespace WidgetTest;

namespace {

// Roles a user acts on or reads, which a screen reader must be able to name.
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
    case QAccessible::ToolBar:
    case QAccessible::StatusBar:
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

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void everythingNamed_data() { AddWindowRows(); }
    void everythingNamed();
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

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
