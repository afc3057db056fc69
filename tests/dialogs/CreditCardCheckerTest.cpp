// The credit card checker: the Luhn check over every character, the focus
// moving on through the boxes, when the verdict is cleared, "?" and the link.
#include "WidgetTestSupport.h"
#include "LinkLabel.h"
#include "LuhnCheck.h"
#include "Unitcredit.h"
#include "WebLinks.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>

using namespace WidgetTest;

namespace {

const QString Valid = "Credit Card Number";
const QString Invalid = "Invalid Card Number";

// Types into whichever box has the focus, one key at a time, as a user does.
void Type(const QString& keys)
{
    for (QChar key : keys) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClicks(focus, QString(key));
    }
}

QString Verdict()
{
    return frmCredit->pnValidate->text();
}

} // namespace

class CreditCardCheckerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        frmMain->show();
        QVERIFY(ShowActive(frmCredit));
    }
    void cleanup()
    {
        if (frmCredit)
            frmCredit->hide();
    }
    void cleanupTestCase() { DestroyWindows(); }

    // The checksum itself: every character counts, digits by value, anything
    // else as 0, every second one from the end doubled.
    void luhnSum_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<qint64>("sum");
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("18: 8, 1 doubled") << "0000000000000018" << qint64(10);
        QTest::newRow("81: 1, 8 doubled less 9") << "0000000000000081" << qint64(8);
        QTest::newRow("59: 9, 5 doubled less 9") << "0000000000000059" << qint64(10);
        QTest::newRow("letter counts 0") << "00000000000000a0" << qint64(0);
        QTest::newRow("fifth digit in the last box") << "00000000000000180" << qint64(8);
        QTest::newRow("all nines") << "9999" << qint64(36);
        QTest::newRow("blank and dash take a place") << "1 -8" << qint64(10);
        QTest::newRow("other scripts' digits are not digits") << QString::fromUtf8("1\u0668") << qint64(2);
        QTest::newRow("a character beyond 16 bits is one character")
            << QString::fromUtf8("1\U0001F600" "8") << qint64(9);
        QTest::newRow("classic example") << "79927398713" << qint64(70);
    }
    void luhnSum()
    {
        QFETCH(QString, number);
        QFETCH(qint64, sum);
        QCOMPARE(LuhnSum(number), sum);
        QCOMPARE(PassesLuhnCheck(number), sum % 10 == 0);
    }

    // Numbers typed into the four boxes, with the verdict they get.
    void typedNumbers_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("0018") << QStringList{"0000", "0000", "0000", "0018"} << Valid;
        QTest::newRow("0081") << QStringList{"0000", "0000", "0000", "0081"} << Invalid;
        QTest::newRow("0059") << QStringList{"0000", "0000", "0000", "0059"} << Valid;
        QTest::newRow("00a0") << QStringList{"0000", "0000", "0000", "00a0"} << Valid;
        QTest::newRow("00180") << QStringList{"0000", "0000", "0000", "00180"} << Invalid;
        QTest::newRow("VISA test number") << QStringList{"4111", "1111", "1111", "1111"} << Valid;
        QTest::newRow("VISA, last digit off") << QStringList{"4111", "1111", "1111", "1112"} << Invalid;
        QTest::newRow("15 digits") << QStringList{"3782", "8224", "6310", "005"} << Valid;
        QTest::newRow("one digit in the last box") << QStringList{"0000", "0000", "0001", "8"} << Valid;
    }
    void typedNumbers()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, verdict);
        QCOMPARE(Verdict(), QString("Input Credit Card Number"));
        QCOMPARE(QApplication::focusWidget(), frmCredit->Edit1);
        // Typed in one go: the focus moves on after each full box.
        for (int i = 0; i < 4; ++i)
            Type(boxes[i]);
        QCOMPARE(frmCredit->Edit1->text(), boxes[0]);
        QCOMPARE(frmCredit->Edit2->text(), boxes[1]);
        QCOMPARE(frmCredit->Edit3->text(), boxes[2]);
        QCOMPARE(frmCredit->Edit4->text(), boxes[3]);
        QCOMPARE(Verdict(), verdict);
    }

    // The fourth character moves on; deleting from a full box does not.
    void focusMovesOnAFullBox_data()
    {
        QTest::addColumn<int>("box");
        QTest::newRow("Edit1 to Edit2") << 0;
        QTest::newRow("Edit2 to Edit3") << 1;
        QTest::newRow("Edit3 to Edit4") << 2;
    }
    void focusMovesOnAFullBox()
    {
        QFETCH(int, box);
        QLineEdit* boxes[] = {frmCredit->Edit1, frmCredit->Edit2, frmCredit->Edit3, frmCredit->Edit4};
        boxes[box]->setFocus();
        Type("123");
        QCOMPARE(QApplication::focusWidget(), boxes[box]);
        Type("4");
        QCOMPARE(QApplication::focusWidget(), boxes[box + 1]);
        boxes[box]->setFocus();
        QTest::keyClick(boxes[box], Qt::Key_Backspace);
        QCOMPARE(boxes[box]->text(), QString("123"));
        QCOMPARE(QApplication::focusWidget(), boxes[box]);
        // A fifth character does not fit.
        QTest::keyClicks(boxes[box], "45");
        QCOMPARE(boxes[box]->text(), QString("1234"));
    }

    // The last box takes any length and keeps the focus.
    void lastBoxTakesAnyLength()
    {
        frmCredit->Edit4->setFocus();
        Type("12345678901234567890");
        QCOMPARE(frmCredit->Edit4->text(), QString("12345678901234567890"));
        QCOMPARE(QApplication::focusWidget(), frmCredit->Edit4);
    }

    // A change of an earlier box empties the verdict; it stays empty until
    // the last box changes, although every box is filled.
    void verdictWaitsForTheLastBox()
    {
        Type("0000000000000018");
        QCOMPARE(Verdict(), Valid);
        frmCredit->Edit2->setFocus();
        QTest::keyClick(frmCredit->Edit2, Qt::Key_Backspace);
        QCOMPARE(Verdict(), QString());
        Type("0");
        QCOMPARE(frmCredit->Edit2->text(), QString("0000"));
        QCOMPARE(Verdict(), QString());
        QCOMPARE(QApplication::focusWidget(), frmCredit->Edit3);
        frmCredit->Edit4->setFocus();
        QTest::keyClick(frmCredit->Edit4, Qt::Key_End);
        Type("0");
        QCOMPARE(Verdict(), Invalid);  // 00180
    }

    // Cutting and pasting are changes too.
    void cutAndPasteAreChanges()
    {
        Type("0000000000000018");
        QCOMPARE(Verdict(), Valid);
        frmCredit->Edit3->setFocus();
        frmCredit->Edit3->selectAll();
        frmCredit->Edit3->cut();
        QCOMPARE(Verdict(), QString());
        frmCredit->Edit3->paste();
        QCOMPARE(frmCredit->Edit3->text(), QString("0000"));
        QCOMPARE(Verdict(), QString());
        frmCredit->Edit4->selectAll();
        QApplication::clipboard()->setText("0059");
        frmCredit->Edit4->paste();
        QCOMPARE(Verdict(), Valid);
    }

    // Emptying the last box checks nothing: the verdict for its previous
    // text stays.
    void emptiedLastBoxKeepsTheVerdict()
    {
        Type("0000000000018");
        QCOMPARE(frmCredit->Edit4->text(), QString("8"));
        QCOMPARE(Verdict(), Valid);
        QTest::keyClick(frmCredit->Edit4, Qt::Key_Backspace);
        QCOMPARE(frmCredit->Edit4->text(), QString());
        QCOMPARE(Verdict(), Valid);
        Type("7");
        QCOMPARE(Verdict(), Invalid);
        QTest::keyClick(frmCredit->Edit4, Qt::Key_Backspace);
        QCOMPARE(Verdict(), Invalid);
    }

    // With an empty box the number is not checked.
    void incompleteNumberIsNotChecked()
    {
        frmCredit->Edit4->setFocus();
        Type("0018");
        QCOMPARE(Verdict(), QString("Input Credit Card Number"));
        frmCredit->Edit1->setFocus();
        Type("0000");
        QCOMPARE(Verdict(), QString());
        frmCredit->Edit4->setFocus();
        Type("0");
        QCOMPARE(Verdict(), QString());
    }

    // Closing and reopening shows the number and verdict as they were.
    void reopeningKeepsEverything()
    {
        frmCredit->hide();
        QVERIFY(DuringModalRun(frmCredit, [] { frmMain->mnuCreditCardNumberCheck->trigger(); }, [] {
            QVERIFY(QApplication::activeModalWidget() == frmCredit);
            frmCredit->Edit1->setText("0000");
            frmCredit->Edit2->setText("0000");
            frmCredit->Edit3->setText("0000");
            frmCredit->Edit4->setText("0081");
            QTest::keyClick(frmCredit->Edit4, Qt::Key_Escape);
        }));
        QVERIFY(DuringModalRun(frmCredit, [] { frmMain->mnuCreditCardNumberCheck->trigger(); }, [] {
            QCOMPARE(frmCredit->Edit1->text(), QString("0000"));
            QCOMPARE(frmCredit->Edit4->text(), QString("0081"));
            QCOMPARE(Verdict(), Invalid);
            frmCredit->close();
        }));
    }

    // Enter in a box does not pop up the table.
    void enterDoesNothing()
    {
        Type("0000");
        auto message = AnswerNextMessageBox();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::qWait(50);
        QVERIFY(!message->shown);
        QVERIFY(frmCredit->isVisible());
    }

    // "?": the issuer-digit table in a plain message box with one OK.
    void questionMarkShowsTheTable()
    {
        auto message = AnswerNextMessageBox();
        QTest::mouseClick(frmCredit->Button3, Qt::LeftButton);
        QVERIFY(message->shown);
        QCOMPARE(message->text, QString("Mll Digit Value (First Digit)\n"
                                        "\n"
                                        "0 : ISO/TC 68 and other industry assignments\n"
                                        "1 : Airlines\n"
                                        "2 : Airlines and other industry assignments\n"
                                        "3 : Travel and entertainment\n"
                                        "4 : Banking and Financial\n"
                                        "5 : Banking and Financial\n"
                                        "6 : Merchandizing and banking\n"
                                        "7 : Petroleum\n"
                                        "8 : Telecommunications and other industry assignments\n"
                                        "9 : National assignment"));
        QCOMPARE(message->buttonCount, 1);
        QVERIFY(message->hasOk);
        QVERIFY(message->modal);
        QVERIFY(frmCredit->isVisible());
    }

    // The link opens the product page, by mouse or keyboard.
    void linkOpensTheProductPage()
    {
        BrowserStandIn browser;
        QTest::mouseClick(frmCredit->Panel11, Qt::LeftButton);
        frmCredit->Panel11->setFocus();
        QTest::keyClick(frmCredit->Panel11, Qt::Key_Return);
        QCOMPARE(browser.opened.size(), 2);
        for (const QUrl& url : browser.opened)
            QCOMPARE(url, QUrl(QString::fromLatin1(WebLinks::ProductPage)));
        QCOMPARE(frmCredit->Panel11->cursor().shape(), Qt::PointingHandCursor);
    }

    void looksAsDocumented()
    {
        QCOMPARE(frmCredit->Image1->size(), QSize(17, 217));
        QCOMPARE(frmCredit->Image2->size(), QSize(50, 31));
        QCOMPARE(frmCredit->pnValidate->size(), QSize(201, 25));
        QCOMPARE(frmCredit->Button3->size(), QSize(17, 21));
        for (QLineEdit* box : {frmCredit->Edit1, frmCredit->Edit2, frmCredit->Edit3, frmCredit->Edit4}) {
            QCOMPARE(box->width(), 57);
            QVERIFY(box->font().bold());
        }
        QCOMPARE(frmCredit->Edit4->maxLength(), 32767);
        QCOMPARE(frmCredit->pnValidate->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(frmCredit->pnValidate->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QVERIFY(frmCredit->pnValidate->font().bold());
        QVERIFY(frmCredit->Panel4->font().italic());
        QCOMPARE(frmCredit->Button3->cursor().shape(), Qt::WhatsThisCursor);
        const QStringList types = {
            "Diner's Club/Carte Blanche - 300xxx-305xxx,36xxxx,38xxxx - 14",
            "American Express - 34xxxx, 37xxxx - 15",
            "VISA - 4xxxxx - 13/16",
            "MasterCard - 51xxxx-55xxxx -16",
            "Discover - 6011xx - 16",
        };
        QLabel* lines[] = {frmCredit->Panel6, frmCredit->Panel7, frmCredit->Panel8,
                           frmCredit->Panel9, frmCredit->Panel5};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(lines[i]->text(), types[i]);
            QVERIFY(lines[i]->font().italic());
            if (i > 0)
                QVERIFY(lines[i]->y() > lines[i - 1]->y());
        }
    }
};

QTEST_MAIN(CreditCardCheckerTest)
#include "CreditCardCheckerTest.moc"
