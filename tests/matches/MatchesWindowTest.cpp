// The matches window: opened from the Tools menu, hidden and never destroyed,
// following the main window live without running its evaluation, listing on
// a thread of its own, copying, replacing and reading each row as a sentence.
#include "WidgetTestSupport.h"

#include "MarkedPane.h"
#include "MatchTableModel.h"
#include "MatchTexts.h"
#include "Unitmatches.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

using namespace WidgetTest;

namespace {

// Sets the main window's pattern and input as a paste would, with real-time
// match off, so that only the matches window works.
void GiveMainWindow(const QString& pattern, const QString& input)
{
    frmMain->cbSimultaneous->setChecked(false);
    frmMain->mmoSignature->setPlainText(pattern);
    frmMain->reSearch->setPlainText(input);
}

bool ListingDone()
{
    return QTest::qWaitFor([] { return !frmMatches->Busy(); }, 20000);
}

QString Cell(int row, int column)
{
    return frmMatches->Model()->index(row, column).data().toString();
}

void OpenWindow()
{
    frmMain->mnuMatches->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(frmMatches));
}

} // namespace

class MatchesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        QVERIFY(ShowActive(frmMain));
    }
    void cleanupTestCase() { DestroyWindows(); }

    void isCreatedHiddenWithItsControls()
    {
        QVERIFY(frmMatches);
        QVERIFY(!frmMatches->isVisible());
        QCOMPARE(frmMatches->objectName(), QString("frmMatches"));
        QCOMPARE(frmMatches->metaObject()->className(), "TfrmMatches");
        QCOMPARE(frmMatches->windowTitle(), QString("Matches and Groups"));
        QCOMPARE(frmMatches->pcMatches->count(), 3);
        QCOMPARE(frmMatches->pcMatches->tabText(0), QString("Matches"));
        QCOMPARE(frmMatches->pcMatches->tabText(1), QString("Replace"));
        QCOMPARE(frmMatches->pcMatches->tabText(2), QString("Explain"));
        QStringList formats;
        for (int i = 0; i < frmMatches->cbReplaceFormat->count(); ++i)
            formats << frmMatches->cbReplaceFormat->itemText(i);
        QCOMPARE(formats, (QStringList{"Perl", "sed", "Boost extended", "Literal"}));
        QCOMPARE(frmMatches->cbFirstOnly->text(), QString("First match only"));
        QCOMPARE(frmMatches->cbNoCopy->text(), QString("Matched parts only"));
        QCOMPARE(frmMatches->btnClose->text(), QString("&Close"));
        for (const char* name : {"rePattern", "lblMatchCount", "pcMatches", "tvMatches", "reMatches", "edReplaceWith",
                                 "cbReplaceFormat", "cbFirstOnly", "cbNoCopy", "reReplaced", "lblReplaceCount", "lblExplain",
                                 "tvExplain", "btnClose"})
            QVERIFY2(frmMatches->findChild<QWidget*>(name), name);
        QVERIFY(frmMatches->rePattern->isReadOnly());
    }

    // Ctrl+M shows it modelessly with the focus; Close, Escape and the close
    // box hide the same window, which a second Ctrl+M brings back.
    void ctrlMShowsAndEveryCloseHides_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Close button") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void ctrlMShowsAndEveryCloseHides()
    {
        QFETCH(int, how);
        TfrmMatches* const window = frmMatches;
        QTest::keyClick(frmMain, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window));
        QVERIFY(!window->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        if (how == 0)
            QTest::mouseClick(window->btnClose, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            window->close();
        QVERIFY(window->isHidden());
        QCOMPARE(frmMatches, window);
        frmMain->mnuMatches->trigger();
        QVERIFY(window->isVisible());
        window->hide();
    }

    // Every match in order, positions from 0, lines and columns from 1,
    // groups that did not take part apart from those that matched nothing.
    void listsEveryMatchWithItsGroups()
    {
        GiveMainWindow("(a)(x)?(y*)", "ab\n aay");
        EvaluationCounter evaluations;
        OpenWindow();
        QVERIFY(ListingDone());
        MatchTableModel* model = frmMatches->Model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->columnCount(), 9);
        QCOMPARE(model->headerData(6, Qt::Horizontal).toString(), QString("1"));
        const QStringList expected[] = {
            {"1", "0", "1", "1", "1", "a", "a", MatchTableModel::NotTakenShown, MatchTableModel::EmptyShown},
            {"2", "4", "1", "2", "2", "a", "a", MatchTableModel::NotTakenShown, MatchTableModel::EmptyShown},
            {"3", "5", "2", "2", "3", "ay", "a", MatchTableModel::NotTakenShown, "y"},
        };
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 9; ++column)
                QCOMPARE(Cell(row, column), expected[row].at(column));
        QVERIFY(frmMatches->lblMatchCount->text().startsWith("3 matches \u00B7 3 groups \u00B7 "));
        QCOMPARE(frmMatches->rePattern->toPlainText(), QString("(a)(x)?(y*)"));
        QCOMPARE(frmMatches->reMatches->toPlainText(), QString("ab\n aay"));
        // The main window evaluated nothing.
        QCOMPARE(evaluations.count(), 0);
    }

    // Named groups are headed by name and number; Match lists the whole input only.
    void namesAndTheWholeInputMatch()
    {
        GiveMainWindow("(?<year>\\d+)-(\\d+)", "2024-07");
        OpenWindow();
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->Model()->headerData(6, Qt::Horizontal).toString(), QString("year (1)"));
        QCOMPARE(frmMatches->Model()->headerData(7, Qt::Horizontal).toString(), QString("2"));
        frmMain->mmoSignature->setPlainText("\\d+");
        frmMain->ComboBoxEx1->setCurrentIndex(0);  // Match: the whole input or nothing
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->Model()->rowCount(), 0);
        frmMain->reSearch->setPlainText("2024");
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->Model()->rowCount(), 1);
        QCOMPARE(Cell(0, MatchTableModel::Match), QString("2024"));
    }

    void countLineSaysWhereThingsStand_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("start");
        QTest::newRow("one match") << "b" << "abc" << "1 match \u00B7 0 groups \u00B7 ";
        QTest::newRow("no match") << "z" << "abc" << "0 matches \u00B7 0 groups \u00B7 ";
        QTest::newRow("does not compile") << "ab(c" << "abc" << "The pattern does not compile: ";
        QTest::newRow("empty pattern") << "" << "abc" << "Nothing to do: the pattern is empty";
        QTest::newRow("empty input") << "a" << "" << "Nothing to do: the input is empty";
    }
    void countLineSaysWhereThingsStand()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, input);
        QFETCH(QString, start);
        GiveMainWindow(pattern, input);
        OpenWindow();
        QVERIFY(ListingDone());
        QVERIFY2(frmMatches->lblMatchCount->text().startsWith(start), qPrintable(frmMatches->lblMatchCount->text()));
        // Where a pattern fails to compile is marked in it, and only then.
        std::vector<MarkedPane::Mark> marks;
        frmMatches->rePattern->CollectMarks(0, pattern.size(), marks);
        QCOMPARE(marks.size(), std::size_t(start.startsWith("The pattern does not compile") ? 1 : 0));
    }

    // The pattern is listed as the main window evaluates it: without its
    // line breaks, whatever "Real-Time Match" says.
    void patternLineBreaksAreRemoved()
    {
        GiveMainWindow("a\nb", "xab");
        OpenWindow();
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->rePattern->toPlainText(), QString("ab"));
        QCOMPARE(frmMatches->Model()->rowCount(), 1);
        QCOMPARE(Cell(0, MatchTableModel::Position), QString("1"));
    }

    // Hidden, it lists nothing; shown again, it lists the main window's state.
    void hiddenItDoesNoWork()
    {
        GiveMainWindow("a", "aaa");
        OpenWindow();
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->Model()->rowCount(), 3);
        frmMatches->hide();
        frmMain->reSearch->setPlainText("aaaaa");
        frmMain->cbCaseSensitive->setChecked(true);
        QTest::qWait(50);
        QVERIFY(!frmMatches->Busy());
        QCOMPARE(frmMatches->Model()->rowCount(), 3);
        OpenWindow();
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->Model()->rowCount(), 5);
    }

    // A change stops the running listing at once, and what is finally shown
    // is the new state's, never the old one's.
    void aChangeStopsTheListingAndNoStaleRowIsShown()
    {
        GiveMainWindow("a", QString(4'000'000, 'a'));
        OpenWindow();
        QTRY_VERIFY(frmMatches->Model()->rowCount() > 0);
        QVERIFY(frmMatches->Busy());
        QElapsedTimer clock;
        clock.start();
        frmMain->mmoSignature->setPlainText("aa");
        QVERIFY(clock.elapsed() < 10);
        QCOMPARE(frmMatches->Model()->rowCount(), 0);
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->Model()->rowCount(), 2'000'000);
        QCOMPARE(Cell(1, MatchTableModel::Position), QString("2"));
        QCOMPARE(Cell(1, MatchTableModel::Length), QString("2"));
        QVERIFY(frmMatches->lblMatchCount->text().startsWith("2,000,000 matches"));
    }

    // Ctrl+C copies the selected rows, the menu every row: tab-separated, with a header.
    void copiesRowsAsTabSeparatedText()
    {
        GiveMainWindow("(\\w)(\\d)?", "a1 b\tc");
        OpenWindow();
        QVERIFY(ListingDone());
        QTableView* table = frmMatches->tvMatches;
        table->setFocus();
        table->selectRow(1);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QString header = "#\tPosition\tLength\tLine\tColumn\tMatch\t1\t2\n";
        QCOMPARE(QApplication::clipboard()->text(),
                 header + "2\t3\t1\t1\t4\tb\tb\t" + MatchTableModel::NotTakenShown + "\n");
        auto* all = table->findChild<QAction*>("actCopyAllMatches");
        QVERIFY(all);
        QCOMPARE(all->text(), QString("Copy all matches"));
        all->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 header + "1\t0\t2\t1\t1\ta1\ta\t1\n" + "2\t3\t1\t1\t4\tb\tb\t" + MatchTableModel::NotTakenShown +
                     "\n" + "3\t5\t1\t1\t6\tc\tc\t" + MatchTableModel::NotTakenShown + "\n");
    }

    // A row is read as one sentence, its cells in turn, each once; invisible
    // characters by their names.
    void aRowReadsAsOneSentence()
    {
        GiveMainWindow("(a)(x)?(\\t)", "za\t");
        OpenWindow();
        QVERIFY(ListingDone());
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(frmMatches->tvMatches);
        QVERIFY(table && table->tableInterface());
        QStringList cells;
        for (int column = 0; column < frmMatches->Model()->columnCount(); ++column) {
            QAccessibleInterface* cell = table->tableInterface()->cellAt(0, column);
            QVERIFY(cell);
            cells << cell->text(QAccessible::Name);
        }
        QCOMPARE(cells.join(", "), QString("Match 1 of 1, position 1, length 2, line 1, column 2, \"a tab\", "
                                           "group 1 \"a\", group 2 did not take part, group 3 \"tab\""));
        // The count line is also where the keyboard is, once, as a description.
        QCOMPARE(frmMatches->tvMatches->accessibleDescription(), frmMatches->lblMatchCount->text());
    }

    // Selecting a group cell marks the group's span in the pattern.
    void aGroupCellMarksTheGroupInThePattern()
    {
        GiveMainWindow("x(ab)(c)", "xabc");
        OpenWindow();
        QVERIFY(ListingDone());
        frmMatches->tvMatches->setCurrentIndex(frmMatches->Model()->index(0, MatchTableModel::FirstGroup + 1));
        std::vector<MarkedPane::Mark> marks;
        // The pane asks its source for the marks of what it shows.
        const auto spans = [&] {
            QStringList found;
            for (const MarkedPane::Mark& mark : marks)
                found << QString("%1+%2").arg(mark.start).arg(mark.length);
            return found;
        };
        frmMatches->rePattern->CollectMarks(0, 8, marks);
        QCOMPARE(spans(), QStringList{"5+3"});
    }

    void replacesAsTheLibraryDoes_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("firstOnly");
        QTest::addColumn<bool>("noCopy");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("count");
        QTest::newRow("Perl") << "$2 at $1" << 0 << false << false << "b at a, d at c." << "2 replacements";
        QTest::newRow("sed") << "\\2&" << 1 << false << false << "ba@b, dc@d." << "2 replacements";
        QTest::newRow("Boost extended") << "(?2[$2]:none)" << 2 << false << false << "[b], [d]." << "2 replacements";
        QTest::newRow("Literal") << "$1" << 3 << false << false << "$1, $1." << "2 replacements";
        QTest::newRow("first only") << "<$&>" << 0 << true << false << "<a@b>, c@d." << "1 replacement";
        QTest::newRow("matched parts only") << "<$1>" << 0 << false << true << "<a><c>" << "2 replacements";
    }
    void replacesAsTheLibraryDoes()
    {
        QFETCH(QString, format);
        QFETCH(int, kind);
        QFETCH(bool, firstOnly);
        QFETCH(bool, noCopy);
        QFETCH(QString, result);
        QFETCH(QString, count);
        GiveMainWindow("(\\w)@(\\w)", "a@b, c@d.");
        OpenWindow();
        frmMatches->pcMatches->setCurrentIndex(1);
        frmMatches->cbReplaceFormat->setCurrentIndex(kind);
        frmMatches->cbFirstOnly->setChecked(firstOnly);
        frmMatches->cbNoCopy->setChecked(noCopy);
        frmMatches->edReplaceWith->setText(format);
        QVERIFY(ListingDone());
        QCOMPARE(frmMatches->reReplaced->toPlainText(), result);
        QVERIFY2(frmMatches->lblReplaceCount->text().startsWith(count + " \u00B7 "),
                 qPrintable(frmMatches->lblReplaceCount->text()));
    }

    void numbersAndSizes_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("size");
        QTest::newRow("small") << qint64(1) << "1" << "1 byte";
        QTest::newRow("thousands") << qint64(1234) << "1,234" << "1.2 KB";
        QTest::newRow("millions") << qint64(2'202'010) << "2,202,010" << "2.1 MB";
    }
    void numbersAndSizes()
    {
        QFETCH(qint64, value);
        QFETCH(QString, number);
        QFETCH(QString, size);
        QCOMPARE(MatchTexts::Number(value), number);
        QCOMPARE(MatchTexts::Size(value), size);
    }
};

QTEST_MAIN(MatchesWindowTest)
#include "MatchesWindowTest.moc"
