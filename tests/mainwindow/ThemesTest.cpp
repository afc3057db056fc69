// Every text of the six windows stands out from its ground in a light and in
// a dark desktop theme, whether the theme was there when Tamarin started or
// changed while it runs; links keep their designed colours where they read.
#include "LinkLabel.h"
#include "WidgetTestSupport.h"
#include "Theme.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleFactory>
#include <QTabWidget>

using namespace WidgetTest;

namespace {

QList<QWidget*> AllWindows()
{
    return {frmMain, frmSettings, frmConfig, frmSyntax, frmCredit, frmAbout};
}

// The colour painted behind a widget that fills no background of its own.
QColor GroundBehind(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    return widget->palette().color(QPalette::Window);
}

struct Sample {
    QString what;
    QColor text;
    QColor ground;
    double needed;
};

// The text colour and ground of each text a user reads in `widget`.
QList<Sample> Samples(QWidget* widget)
{
    const QPalette& palette = widget->palette();
    const QString name = widget->window()->objectName() + "." + widget->objectName();
    QList<Sample> samples;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        const QWidget* viewport = area->viewport();
        const QColor ground = viewport->palette().color(viewport->backgroundRole());
        samples << Sample{name, palette.color(QPalette::Text), ground, Theme::ReadableContrast};
        // A tree's expand arrows: marks, which need less than text does.
        if (widget->inherits("QTreeView"))
            samples << Sample{name + " arrows", palette.color(QPalette::WindowText), ground, 3.0};
    } else if (qobject_cast<QLineEdit*>(widget)) {
        samples << Sample{name, palette.color(QPalette::Text), palette.color(QPalette::Base),
                          Theme::ReadableContrast};
    } else if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
        samples << Sample{name, palette.color(label->foregroundRole()), GroundBehind(label),
                          Theme::ReadableContrast};
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
               button && !button->text().isEmpty()) {
        const bool push = button->inherits("QPushButton") || button->inherits("QToolButton");
        const QColor ground = push ? palette.color(QPalette::Button) : GroundBehind(button);
        samples << Sample{name, palette.color(button->foregroundRole()), ground,
                          Theme::ReadableContrast};
    } else if (qobject_cast<QComboBox*>(widget)) {
        samples << Sample{name, palette.color(QPalette::ButtonText), palette.color(QPalette::Button),
                          Theme::ReadableContrast};
    } else if (auto* group = qobject_cast<QGroupBox*>(widget); group && !group->title().isEmpty()) {
        samples << Sample{name, palette.color(QPalette::WindowText), GroundBehind(group),
                          Theme::ReadableContrast};
    }
    return samples;
}

// Shows each window, each page of its page controls in turn, and lists the
// enabled texts that do not stand out from their ground. (Disabled texts are
// meant to recede.)
QStringList UnreadableTexts()
{
    QStringList unreadable;
    int checked = 0;
    for (QWidget* window : AllWindows()) {
        window->show();
        QList<QTabWidget*> pageControls = window->findChildren<QTabWidget*>();
        const int pages = pageControls.isEmpty() ? 1 : pageControls.first()->count();
        for (int page = 0; page < pages; ++page) {
            if (!pageControls.isEmpty())
                pageControls.first()->setCurrentIndex(page);
            QApplication::processEvents();
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                if (!widget->isVisible() || !widget->isEnabled())
                    continue;
                for (const Sample& sample : Samples(widget)) {
                    ++checked;
                    const double contrast = Theme::Contrast(sample.text, sample.ground);
                    if (contrast < sample.needed)
                        unreadable << QString("%1: %2 on %3 (%4 : 1)")
                                          .arg(sample.what, sample.text.name(), sample.ground.name())
                                          .arg(contrast, 0, 'f', 1);
                }
            }
        }
        if (window != frmMain)
            window->hide();
    }
    if (checked < 60)
        unreadable << QString("only %1 texts looked at").arg(checked);
    unreadable.removeDuplicates();
    return unreadable;
}

} // namespace

class ThemesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // What a desktop without its own style plugin gives a Qt program.
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        light_ = QApplication::palette();
    }
    void cleanup()
    {
        CloseWindows();
        QApplication::setPalette(light_);
    }

    void contrast_data();
    void contrast();
    void textsReadable_data();
    void textsReadable();
    void linksKeepTheirDesignedColours();

private:
    QPalette light_;
};

void ThemesTest::contrast_data()
{
    QTest::addColumn<QColor>("first");
    QTest::addColumn<QColor>("second");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("same colour") << QColor(120, 40, 200) << QColor(120, 40, 200) << 1.0;
    QTest::newRow("order does not matter") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("blue on white") << QColor(0, 0, 255) << QColor(Qt::white) << 8.59;
    QTest::newRow("mid grey on white") << QColor(118, 118, 118) << QColor(Qt::white) << 4.54;
}

void ThemesTest::contrast()
{
    QFETCH(QColor, first);
    QFETCH(QColor, second);
    QFETCH(double, ratio);
    QVERIFY2(qAbs(Theme::Contrast(first, second) - ratio) < 0.01,
             qPrintable(QString::number(Theme::Contrast(first, second))));
}

void ThemesTest::textsReadable_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("changedWhileRunning");
    QTest::newRow("light") << false << false;
    QTest::newRow("dark at start") << true << false;
    QTest::newRow("dark while running") << true << true;
    QTest::newRow("dark, then light again") << false << true;
}

void ThemesTest::textsReadable()
{
    QFETCH(bool, dark);
    QFETCH(bool, changedWhileRunning);
    const QPalette wanted = dark ? Theme::DarkDesktopPalette() : light_;
    const QPalette before = dark ? light_ : Theme::DarkDesktopPalette();
    QApplication::setPalette(changedWhileRunning ? before : wanted);
    QVERIFY(OpenWindows());
    if (changedWhileRunning) {
        QApplication::setPalette(wanted);
        QApplication::processEvents();
    }
    // The fields keep their white ground and dark text in every theme.
    for (QWidget* field : std::initializer_list<QWidget*>{
             frmMain->mmoSignature, frmMain->reSearch, frmMain->what0, frmMain->what1,
             frmMain->TreeView1, frmSyntax->mnoSignature, frmSyntax->Edit2, frmCredit->Edit1,
             frmCredit->Edit4}) {
        QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::black));
    }
    // The descriptions are in the dialog's face colour, whichever it is now.
    QCOMPARE(frmSettings->Memo1->viewport()->palette().color(frmSettings->Memo1->viewport()->backgroundRole()),
             wanted.color(QPalette::Window));
    const QStringList unreadable = UnreadableTexts();
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join("\n")));
}

void ThemesTest::linksKeepTheirDesignedColours()
{
    QVERIFY(OpenWindows());
    QCOMPARE(frmSettings->pnRegexDocumentation->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(frmAbout->Panel6->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(frmCredit->Panel11->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    // On a dark face they take the theme's link colour, made readable.
    QApplication::setPalette(Theme::DarkDesktopPalette());
    QApplication::processEvents();
    for (QLabel* link : std::initializer_list<QLabel*>{frmSettings->pnRegexDocumentation, frmAbout->Panel6,
                                                     frmCredit->Panel11}) {
        const QColor colour = link->palette().color(QPalette::WindowText);
        QVERIFY2(Theme::Contrast(colour, link->palette().color(QPalette::Window)) >= Theme::ReadableContrast,
                 qPrintable(link->objectName() + " " + colour.name()));
        QVERIFY2(colour.blue() > colour.red(), qPrintable(colour.name()));  // still looks like a link
    }
}

QTEST_MAIN(ThemesTest)
#include "ThemesTest.moc"
