// What the five dialogs share: frame, caption, size, face, centring,
// modality, hiding on close, pictures, accessible names, captions that fit,
// and the keyboard (tab order, access keys, Escape, Enter).
#include "WidgetTestSupport.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

using namespace WidgetTest;

namespace {

QDialog* Dialog(const QString& name)
{
    return frmMain->findChild<QDialog*>(name, Qt::FindDirectChildrenOnly);
}

QString NameOf(const QWidget* widget)
{
    if (!widget)
        return "<none>";
    // The tab bar inside a page control stands for the page control.
    if (auto* bar = qobject_cast<const QTabBar*>(widget))
        return bar->parentWidget()->objectName();
    return widget->objectName();
}

// Tabs through the dialog from its first control and returns the names met,
// up to the first repetition.
QStringList TabWalk(QDialog* dialog, QWidget* first)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList seen;
    for (int i = 0; i < 40; ++i) {
        QWidget* focus = QApplication::focusWidget();
        const QString name = NameOf(focus);
        if (seen.contains(name) || !focus || focus->window() != dialog)
            break;
        seen << name;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return seen;
}

// Every control of the dialog's visible part that a keyboard user must be
// able to reach.
QStringList ReachableControls(QDialog* dialog)
{
    QStringList names;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        // Unchecked choices are no tab stops but must be reachable all the same.
        const bool choice = qobject_cast<QRadioButton*>(widget) != nullptr;
        if ((!choice && !(widget->focusPolicy() & Qt::TabFocus)) || !widget->isEnabled()
            || !widget->isVisibleTo(dialog) || widget->focusProxy())
            continue;
        // The page control's own widget hands the focus to its tab bar.
        if (qobject_cast<QTabWidget*>(widget))
            continue;
        names << NameOf(widget);
    }
    names.removeDuplicates();
    return names;
}

void AddDialogRows()
{
    QTest::addColumn<QString>("dialog");
    for (const char* name : {"frmSettings", "frmConfig", "frmSyntax", "frmCredit", "frmAbout"})
        QTest::newRow(name) << QString(name);
}

} // namespace

class DialogFrameKeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        frmMain->show();
    }
    void cleanupTestCase() { DestroyWindows(); }

    void frame_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("clientSize");
        QTest::newRow("settings") << "frmSettings" << "Syntax" << QSize(530, 410);
        QTest::newRow("match options") << "frmConfig" << "Config" << QSize(486, 362);
        QTest::newRow("syntax test") << "frmSyntax" << "Syntax Error Test" << QSize(477, 189);
        QTest::newRow("credit card checker") << "frmCredit" << "Credit Card Checker" << QSize(379, 219);
        QTest::newRow("About") << "frmAbout" << "About Tamarin" << QSize(541, 314);
    }
    void frame()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, caption);
        QFETCH(QSize, clientSize);
        QDialog* window = Dialog(dialog);
        QVERIFY(window);
        QVERIFY(window->isHidden());
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->minimumSize(), clientSize);
        QCOMPARE(window->maximumSize(), clientSize);
        QVERIFY(!window->testAttribute(Qt::WA_DeleteOnClose));
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QCOMPARE(window->font().family(), QString("Verdana"));
        QCOMPARE(window->font().pointSize(), 8);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->size(), clientSize);
        window->hide();
    }

    // Every control carries its name, once, and its caption exactly.
    void namedControlsAndCaptions_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");  // null: the control has none to check
        const auto row = [](const char* dialog, const char* control, const char* caption = nullptr) {
            QTest::addRow("%s.%s", dialog, control)
                << QString(dialog) << QString(control)
                << (caption ? QString::fromUtf8(caption) : QString());
        };
        row("frmSettings", "pcSyntax");
        row("frmSettings", "TabSheet1", "Syntax");
        row("frmSettings", "rbPerl", "Perl Regular Expression ");
        row("frmSettings", "Memo1");
        row("frmSettings", "rbBasic", "POSIX Basic Regular Expression ");
        row("frmSettings", "Memo3");
        row("frmSettings", "rbExtended", "POSIX-Extended Regular Expression");
        row("frmSettings", "Memo2");
        row("frmSettings", "TabSheet2", "Algorithm");
        row("frmSettings", "rbMatch", "Match");
        row("frmSettings", "Memo4");
        row("frmSettings", "rbSearch", "Search");
        row("frmSettings", "Memo5");
        row("frmSettings", "rbGrep", "Grep");
        row("frmSettings", "Memo6");
        row("frmSettings", "reReplace", "Replace");
        row("frmSettings", "Memo7");
        row("frmSettings", "Button1", "&OK");
        row("frmSettings", "Button2", "&Cancel");
        row("frmConfig", "PageControl1");
        row("frmConfig", "TabSheet2", "Match Option");
        row("frmConfig", "cbCaseSensitive", "Case Sensitive");
        row("frmConfig", "cfgSyntaxCheck", "Syntax Check");
        row("frmConfig", "GroupBox1", "HightLight && Focus");
        row("frmConfig", "cfgHighLight", "HightLight && Focus");
        row("frmConfig", "cbSimultaneous", "Real-Time Match");
        row("frmConfig", "Button1", "&OK");
        row("frmConfig", "Button2", "&Cancel");
        row("frmSyntax", "Image1");
        row("frmSyntax", "Panel2", "Regular Expression Syntax Error Test");
        row("frmSyntax", "mnoSignature");
        row("frmSyntax", "Edit2", "");
        row("frmSyntax", "ComboBoxEx1");
        row("frmSyntax", "Button2", "&Test");
        row("frmSyntax", "Button1", "&Close");
        row("frmCredit", "Image1");
        row("frmCredit", "Panel11", "Tamarin");
        row("frmCredit", "Panel4", "Mll Digit Value");
        row("frmCredit", "Button3", "?");
        row("frmCredit", "pnValidate", "Input Credit Card Number");
        for (const char* box : {"Edit1", "Edit2", "Edit3", "Edit4"})
            row("frmCredit", box, "");
        for (const char* separator : {"Panel1", "Panel2", "Panel3"})
            row("frmCredit", separator, "-");
        row("frmCredit", "Panel6", "Diner's Club/Carte Blanche - 300xxx-305xxx,36xxxx,38xxxx - 14");
        row("frmCredit", "Panel7", "American Express - 34xxxx, 37xxxx - 15");
        row("frmCredit", "Panel8", "VISA - 4xxxxx - 13/16");
        row("frmCredit", "Panel9", "MasterCard - 51xxxx-55xxxx -16");
        row("frmCredit", "Panel5", "Discover - 6011xx - 16");
        row("frmCredit", "Image2");
        row("frmAbout", "Image1");
        row("frmAbout", "Panel1", "Tamarin");
        row("frmAbout", "Panel2", "1.2.0.1 (Beta)");
        row("frmAbout", "Panel6");
        row("frmAbout", "Panel8");
        row("frmAbout", "Button1", "&Close");
    }
    void namedControlsAndCaptions()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, control);
        QFETCH(QString, caption);
        const QList<QWidget*> found = Dialog(dialog)->findChildren<QWidget*>(control);
        QCOMPARE(found.size(), 1);
        if (caption.isNull())
            return;
        QWidget* widget = found.first();
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            text = group->title();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            text = edit->text();
        else if (auto* pages = Dialog(dialog)->findChild<QTabWidget*>(); pages && pages->indexOf(widget) >= 0)
            text = pages->tabText(pages->indexOf(widget));
        else
            QFAIL("no caption to compare");
        QCOMPARE(text, caption);
    }

    // The windows are created in start-up order, each dialog owned by the
    // main window.
    void creationOrder()
    {
        QStringList order;
        for (QObject* child : frmMain->children())
            if (qobject_cast<QDialog*>(child))
                order << child->objectName();
        QCOMPARE(order, QStringList({"frmAbout", "frmSyntax", "frmSettings", "frmConfig", "frmCredit"}));
    }

    // Centred on the screen at every showing, wherever it was before.
    void centredOnShowing_data() { AddDialogRows(); }
    void centredOnShowing()
    {
        QFETCH(QString, dialog);
        QDialog* window = Dialog(dialog);
        frmMain->move(0, 0);
        for (int showing = 0; showing < 2; ++showing) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QPoint centre = window->screen()->availableGeometry().center();
            const QPoint offset = window->frameGeometry().center() - centre;
            QVERIFY2(offset.manhattanLength() <= 2,
                     qPrintable(QString("off by %1,%2").arg(offset.x()).arg(offset.y())));
            window->move(10, 10);
            window->hide();
        }
    }

    // The main window shows the syntax test modelessly, every other modally.
    void modality_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("modal");
        QTest::newRow("settings") << "frmSettings" << "mnuSyntax" << true;
        QTest::newRow("match options") << "frmConfig" << "mnuConfig" << true;
        QTest::newRow("credit card checker") << "frmCredit" << "mnuCreditCardNumberCheck" << true;
        QTest::newRow("About") << "frmAbout" << "About1" << true;
        QTest::newRow("syntax test") << "frmSyntax" << "mnuRegExpSyntaxTest" << false;
    }
    void modality()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, command);
        QFETCH(bool, modal);
        QDialog* window = Dialog(dialog);
        auto* action = frmMain->findChild<QAction*>(command);
        QVERIFY(action);
        if (modal) {
            bool wasModal = false;
            QVERIFY(DuringModalRun(window, [&] { action->trigger(); }, [&] {
                wasModal = QApplication::activeModalWidget() == window;
                window->close();
            }));
            QVERIFY(wasModal);
        } else {
            action->trigger();
            QVERIFY(window->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
            window->close();
        }
        QVERIFY(window->isHidden());
        QVERIFY(Dialog(dialog));
    }

    // Escape closes (hides) each dialog, as its close box does.
    void escapeCloses_data() { AddDialogRows(); }
    void escapeCloses()
    {
        QFETCH(QString, dialog);
        QDialog* window = Dialog(dialog);
        QVERIFY(ShowActive(window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(window->isHidden());
        QCOMPARE(window->result(), int(QDialog::Rejected));
    }

    // Tab walks the controls top to bottom, left to right, and reaches every
    // enabled control (a group of choices through its checked member).
    void tabOrder_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("settings, Syntax")
            << "frmSettings" << 0
            << QStringList{"pcSyntax", "rbPerl", "Memo1", "Memo3", "Memo2", "pnRegexDocumentation",
                           "Button1", "Button2"};
        QTest::newRow("settings, Algorithm")
            << "frmSettings" << 1
            << QStringList{"pcSyntax", "Memo4", "rbSearch", "Memo5", "Memo6", "Memo7",
                           "pnRegexDocumentation", "Button1", "Button2"};
        QTest::newRow("match options")
            << "frmConfig" << 0
            << QStringList{"PageControl1", "cbCaseSensitive", "cfgSyntaxCheck", "cbSimultaneous",
                           "Button1", "Button2"};
        QTest::newRow("syntax test")
            << "frmSyntax" << 0
            << QStringList{"mnoSignature", "Edit2", "ComboBoxEx1", "Button2", "Button1"};
        QTest::newRow("credit card checker")
            << "frmCredit" << 0
            << QStringList{"Panel11", "Button3", "Edit1", "Edit2", "Edit3", "Edit4"};
        QTest::newRow("About") << "frmAbout" << 0 << QStringList{"Panel6", "Button1"};
    }
    void tabOrder()
    {
        QFETCH(QString, dialog);
        QFETCH(int, page);
        QFETCH(QStringList, order);
        QDialog* window = Dialog(dialog);
        if (auto* pages = window->findChild<QTabWidget*>())
            pages->setCurrentIndex(page);
        QVERIFY(ShowActive(window));
        QWidget* first = window->findChild<QWidget*>(order.first());
        if (auto* pages = qobject_cast<QTabWidget*>(first))
            first = pages->tabBar();
        const QStringList walk = TabWalk(window, first);
        QCOMPARE(walk, order);

        // Nothing reachable is left out: the other members of a group of
        // choices are reached with the arrow keys from the checked one.
        QStringList missing;
        for (const QString& name : ReachableControls(window))
            if (!walk.contains(name))
                missing << name;
        for (const QString& name : walk) {
            auto* choice = window->findChild<QRadioButton*>(name);
            if (!choice)
                continue;
            for (Qt::Key arrow : {Qt::Key_Down, Qt::Key_Up}) {
                choice->setFocus(Qt::TabFocusReason);
                for (int i = 0; i < 4; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), arrow);
                    missing.removeAll(NameOf(QApplication::focusWidget()));
                }
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
        window->reject();
    }

    // The access keys the captions mark work with Alt.
    void accessKeys_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("settings Alt+O") << "frmSettings" << int(Qt::Key_O) << "accepted";
        QTest::newRow("settings Alt+C") << "frmSettings" << int(Qt::Key_C) << "rejected";
        QTest::newRow("match options Alt+O") << "frmConfig" << int(Qt::Key_O) << "accepted";
        QTest::newRow("match options Alt+C") << "frmConfig" << int(Qt::Key_C) << "rejected";
        QTest::newRow("syntax test Alt+T") << "frmSyntax" << int(Qt::Key_T) << "tested";
        QTest::newRow("syntax test Alt+C") << "frmSyntax" << int(Qt::Key_C) << "rejected";
        QTest::newRow("About Alt+C") << "frmAbout" << int(Qt::Key_C) << "accepted";
    }
    void accessKeys()
    {
        QFETCH(QString, dialog);
        QFETCH(int, key);
        QFETCH(QString, effect);
        QDialog* window = Dialog(dialog);
        QVERIFY(ShowActive(window));
        window->setResult(-1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
        // An access key presses its button visibly, so the click comes a moment later.
        if (effect == "tested") {
            QTRY_COMPARE(frmSyntax->Edit2->text(), QString("Regular Expression"));
            QVERIFY(window->isVisible());
            window->close();
            return;
        }
        QTRY_VERIFY(window->isHidden());
        QCOMPARE(window->result(), effect == "accepted" ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }

    // Enter presses the default button of the dialogs that have OK.
    void defaultButtons()
    {
        QVERIFY(frmSettings->Button1->isDefault());
        QVERIFY(frmConfig->Button1->isDefault());
        QVERIFY(frmAbout->Button1->isDefault());
        QVERIFY(!frmCredit->Button3->isDefault());
        QVERIFY(!frmCredit->Button3->autoDefault());
    }

    // Every named control tells assistive technology what it is.
    void accessibleNames_data() { AddDialogRows(); }
    void accessibleNames()
    {
        QFETCH(QString, dialog);
        QStringList unnamed;
        for (QWidget* widget : Dialog(dialog)->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            // A label that shows a value reads as that value, and its
            // description says what it is.
            const bool valueLabel = qobject_cast<QLabel*>(widget) && !qobject_cast<QLabel*>(widget)->text().isEmpty()
                                    && !widget->accessibleDescription().isEmpty();
            if (!name.isEmpty() && !name.startsWith("qt_") && widget->accessibleName().isEmpty() && !valueLabel)
                unnamed << name;
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }

    // No caption is cut: every text control is at least as large as its text
    // needs, on every page.
    void captionsFit_data() { AddDialogRows(); }
    void captionsFit()
    {
        QFETCH(QString, dialog);
        QDialog* window = Dialog(dialog);
        QVERIFY(ShowActive(window));
        auto* pages = window->findChild<QTabWidget*>();
        QStringList clipped;
        for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
            if (pages)
                pages->setCurrentIndex(page);
            QApplication::processEvents();
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                if (!widget->isVisible())
                    continue;
                QString text;
                if (auto* label = qobject_cast<QLabel*>(widget))
                    text = label->text();
                else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    text = button->text();
                else if (auto* group = qobject_cast<QGroupBox*>(widget))
                    text = group->title();
                if (text.isEmpty())
                    continue;
                QSize need = widget->sizeHint();
                // A push button's size hint has a minimum width; only its text counts.
                if (auto* button = qobject_cast<QPushButton*>(widget))
                    need.setWidth(button->fontMetrics().horizontalAdvance(
                                      QString(text).remove('&')) + 4);
                if (widget->width() < need.width() || widget->height() < need.height())
                    clipped << QString("%1 (%2x%3 < %4x%5)")
                                   .arg(widget->objectName())
                                   .arg(widget->width())
                                   .arg(widget->height())
                                   .arg(need.width())
                                   .arg(need.height());
                // Nor is it pushed out of the dialog.
                const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
                if (!window->rect().contains(inWindow))
                    clipped << widget->objectName() + " outside the window";
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
        window->reject();
    }

    // The pictures are drawn: each has visible pixels of more than one colour.
    void picturesAreDrawn_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("size");
        QTest::newRow("syntax test icon") << "frmSyntax" << "Image1" << QSize(24, 24);
        QTest::newRow("card strip") << "frmCredit" << "Image1" << QSize(17, 217);
        QTest::newRow("card") << "frmCredit" << "Image2" << QSize(50, 31);
        QTest::newRow("About picture") << "frmAbout" << "Image1" << QSize(153, 233);
    }
    void picturesAreDrawn()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, picture);
        QFETCH(QSize, size);
        auto* label = Dialog(dialog)->findChild<QLabel*>(picture);
        QVERIFY(label);
        QCOMPARE(label->size(), size);
        const QImage image = label->pixmap().toImage();
        QCOMPARE(image.size() / image.devicePixelRatio(), size);
        QSet<QRgb> colours;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) > 0) {
                    ++opaque;
                    colours.insert(pixel);
                }
            }
        QVERIFY(opaque > image.width() * image.height() / 4);
        QVERIFY(colours.size() > 2);
    }
};

QTEST_MAIN(DialogFrameKeyboardTest)
#include "DialogFrameKeyboardTest.moc"
