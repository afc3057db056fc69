// The About box: name, version, picture, link, and how it closes.
#include "WidgetTestSupport.h"
#include "LinkLabel.h"
#include "Unitabout.h"
#include "WebLinks.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

using namespace WidgetTest;

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        frmMain->show();
    }
    void cleanupTestCase() { DestroyWindows(); }

    // The version is the one the main window's first status panel shows
    // after the product's name.
    void showsNameAndVersion()
    {
        QCOMPARE(frmAbout->Panel1->text(), QString("Tamarin"));
        QVERIFY(frmAbout->Panel1->font().bold());
        QCOMPARE(frmAbout->Panel2->text(), QString("1.2.0.1 (Beta)"));
        QCOMPARE(frmMain->StatusPanel(0)->text(),
                 frmAbout->Panel1->text() + " " + frmAbout->Panel2->text());
        QCOMPARE(frmAbout->Panel6->text(), QString::fromLatin1(WebLinks::HomePage));
        QCOMPARE(frmAbout->Image1->size(), QSize(153, 233));
        QCOMPARE(frmAbout->Panel8->height(), 2);
        QCOMPARE(frmAbout->Panel8->frameShadow(), QFrame::Sunken);
    }

    // Opened modally by the menu item, the tool button and F1; Close, the
    // close box and Escape end the run and keep the box.
    void opensModallyAndCloses_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("how");
        QTest::newRow("Help > About, Close") << "About1" << "button";
        QTest::newRow("tool button, close box") << "tbAbout" << "close";
        QTest::newRow("F1, Escape") << "F1" << "escape";
        QTest::newRow("Help > About, Enter") << "About1" << "enter";
    }
    void opensModallyAndCloses()
    {
        QFETCH(QString, command);
        QFETCH(QString, how);
        QPointer<TfrmAbout> dialog = frmAbout;
        if (command == "F1")
            QVERIFY(ShowActive(frmMain));
        const auto start = [&] {
            if (command == "F1") {
                QTest::keyClick(frmMain, Qt::Key_F1);
            } else {
                frmMain->findChild<QAction*>(command)->trigger();
            }
        };
        bool modal = false;
        QVERIFY(DuringModalRun(frmAbout, start, [&] {
            modal = QApplication::activeModalWidget() == frmAbout;
            if (how == "button")
                QTest::mouseClick(frmAbout->Button1, Qt::LeftButton);
            else if (how == "escape")
                QTest::keyClick(frmAbout, Qt::Key_Escape);
            else if (how == "enter")
                QTest::keyClick(frmAbout, Qt::Key_Return);
            else
                frmAbout->close();
        }));
        QVERIFY(modal);
        QApplication::processEvents();
        QVERIFY(dialog);
        QVERIFY(frmAbout->isHidden());
    }

    // The link opens the maker's site and leaves the box open.
    void linkOpensTheMakersSite()
    {
        BrowserStandIn browser;
        QVERIFY(ShowActive(frmAbout));
        QTest::mouseClick(frmAbout->Panel6, Qt::LeftButton);
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(QString::fromLatin1(WebLinks::HomePage))});
        QVERIFY(frmAbout->isVisible());
        // A press that is released elsewhere is no click.
        QTest::mousePress(frmAbout->Panel6, Qt::LeftButton);
        QTest::mouseRelease(frmAbout->Panel6, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(browser.opened.size(), 1);
        QCOMPARE(frmAbout->Panel6->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(frmAbout->Panel6->font().underline());
        frmAbout->reject();
    }

    // One page per press of Space or Enter, not per auto-repeat of a held key.
    void linkOpensOncePerKeyPress()
    {
        BrowserStandIn browser;
        QVERIFY(ShowActive(frmAbout));
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            for (const bool repeated : {false, true, true}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeated);
                QApplication::sendEvent(frmAbout->Panel6, &press);
            }
        QCOMPARE(browser.opened.size(), 3);
        frmAbout->reject();
    }
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
