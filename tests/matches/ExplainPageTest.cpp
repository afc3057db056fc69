// The matches window's Explain page: the verdict and the tree follow the main
// window's pattern, syntax and case; a node, a group chosen on the Matches
// page and the warnings are marked in the pattern; the tree is read as its words.
#include "WidgetTestSupport.h"

#include "ExplainPage.h"
#include "ExplainTreeModel.h"
#include "MarkedPane.h"
#include "MatchTableModel.h"
#include "Unitmatches.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

using namespace WidgetTest;

namespace {

constexpr int ExplainTab = 2;

void GiveMainWindow(const QString& pattern, const QString& input, int syntax = 0)
{
    frmMain->cbSimultaneous->setChecked(false);
    frmMain->State.SyntaxIndex = syntax;
    frmMain->mmoSignature->setPlainText(pattern);
    frmMain->reSearch->setPlainText(input);
    if (frmMatches->isVisible())
        frmMatches->MainWindowChange();
}

bool Done()
{
    return QTest::qWaitFor([] { return !frmMatches->Busy(); }, 20000);
}

void OpenOnExplain()
{
    frmMain->mnuMatches->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(frmMatches));
    frmMatches->pcMatches->setCurrentIndex(ExplainTab);
    QVERIFY(Done());
}

// Every node's words, depth first.
QStringList AllWords(const QAbstractItemModel& model, const QModelIndex& parent = {})
{
    QStringList words;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex node = model.index(row, 0, parent);
        words << node.data().toString() << AllWords(model, node);
    }
    return words;
}

QStringList MarkedSpans(std::vector<MarkedPane::Mark> marks)
{
    QStringList spans;
    for (const MarkedPane::Mark& mark : marks)
        spans << QString("%1+%2%3").arg(mark.start).arg(mark.length).arg(
                     mark.format.underlineStyle() == QTextCharFormat::WaveUnderline ? " wave" : "");
    return spans;
}

QStringList PatternMarks()
{
    std::vector<MarkedPane::Mark> marks;
    frmMatches->rePattern->CollectMarks(0, frmMatches->rePattern->text().size(), marks);
    return MarkedSpans(marks);
}

} // namespace

class ExplainPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void init()
    {
        RecreateWindows();
        QVERIFY(ShowActive(frmMain));
    }
    void cleanupTestCase() { DestroyWindows(); }

    // The same characters in each syntax, read as the library reads them;
    // an error with its position even when nothing can be listed.
    void verdictAndWordsFollowTheSyntax_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("syntax");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("someWords");
        QTest::newRow("Perl groups") << "(a+)(?<n>b)" << "aab" << 0 << "Compiles \u00B7 2 groups" << "Group 1, capturing";
        QTest::newRow("Basic + and ( plain") << "(a+)" << "(a+)" << 1 << "Compiles \u00B7 0 groups" << "the text \"(a+)\"";
        QTest::newRow("Extended group") << "(a+)" << "aa" << 2 << "Compiles \u00B7 1 group" << "Group 1, capturing";
        QTest::newRow("unclosed, no input") << "ab(c" << "" << 0 << "Stops compiling at position 4: " << "the text \"ab\"";
        QTest::newRow("a warning") << "(a+)+b" << "ab" << 0 << "Compiles \u00B7 1 group \u00B7 2 warnings" << "Group 1";
        QTest::newRow("beyond ASCII") << "\u00E9\u20AC+" << "x" << 0 << "Compiles \u00B7 0 groups" << "\"\u20AC\"";
    }
    void verdictAndWordsFollowTheSyntax()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, input);
        QFETCH(int, syntax);
        QFETCH(QString, verdict);
        QFETCH(QString, someWords);
        GiveMainWindow(pattern, input, syntax);
        OpenOnExplain();
        QVERIFY2(frmMatches->lblExplain->text().startsWith(verdict), qPrintable(frmMatches->lblExplain->text()));
        const QStringList words = AllWords(*frmMatches->tvExplain->model());
        QVERIFY2(words.join('\n').contains(someWords), qPrintable(words.join('\n')));
        const tamarin::PatternExplanation* explanation = frmMatches->Explainer()->Explanation();
        QVERIFY(explanation);
        // An error at the end is marked on the last character.
        if (!explanation->compiles)
            QVERIFY(PatternMarks().contains(
                QString("%1+1").arg(std::min<qsizetype>(explanation->errorPosition, pattern.size() - 1))));
    }

    // The tree follows typing; an emptied pattern leaves nothing to explain.
    void followsThePatternLive()
    {
        GiveMainWindow("a", "a");
        OpenOnExplain();
        QCOMPARE(frmMatches->lblExplain->text(), QString("Compiles \u00B7 0 groups"));
        frmMain->mmoSignature->setPlainText("(a)(b)(c");
        QTRY_VERIFY(frmMatches->lblExplain->text().startsWith("Stops compiling at position 8"));
        QCOMPARE(frmMatches->tvExplain->accessibleDescription(), frmMatches->lblExplain->text());
        frmMain->mmoSignature->setPlainText("(a)(b)(c)");
        QTRY_COMPARE(frmMatches->lblExplain->text(), QString("Compiles \u00B7 3 groups"));
        // What a screen reader finds on the tree is never an error that is gone.
        QCOMPARE(frmMatches->tvExplain->accessibleDescription(), QString());
        frmMain->mmoSignature->setPlainText("");
        QTRY_COMPARE(frmMatches->lblExplain->text(), QString("Nothing to do: the pattern is empty"));
        QCOMPARE(frmMatches->tvExplain->model()->rowCount(), 0);
    }

    // A node chosen marks its span, and warnings are underlined, on the
    // Explain page only; a group chosen on the Matches page chooses its node.
    void nodesGroupsAndWarningsAreMarked()
    {
        GiveMainWindow("x(a+)+|(b)", "xaa b");
        OpenOnExplain();
        QCOMPARE(PatternMarks(), (QStringList{"1+5 wave", "1+5 wave"}));
        auto* model = static_cast<ExplainTreeModel*>(frmMatches->tvExplain->model());
        frmMatches->tvExplain->setCurrentIndex(model->IndexOfGroup(2));
        QCOMPARE(PatternMarks(), (QStringList{"1+5 wave", "1+5 wave", "7+3"}));

        frmMatches->pcMatches->setCurrentIndex(0);
        QCOMPARE(PatternMarks(), QStringList{});
        QTableView* table = frmMatches->tvMatches;
        QTRY_VERIFY(table->model()->rowCount() == 2);
        int column = 0;
        while (frmMatches->Model()->GroupOfColumn(column) != 1)
            QVERIFY(++column < table->model()->columnCount());
        table->setCurrentIndex(table->model()->index(0, column));
        const tamarin::ExplainNode* chosen = model->Node(frmMatches->tvExplain->currentIndex());
        QVERIFY(chosen);
        QCOMPARE(chosen->group, 1);
        QCOMPARE(chosen->begin, std::size_t(1));
        QCOMPARE(chosen->end, std::size_t(5));
        QVERIFY(!frmMatches->tvExplain->hasFocus());
    }

    // A screen reader reads each node as its words.
    void treeIsReadAsItsWords()
    {
        GiveMainWindow("(\\w+)", "ab");
        OpenOnExplain();
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(frmMatches->tvExplain);
        QVERIFY(tree);
        QStringList names;
        for (int i = 0; i < tree->childCount(); ++i)
            if (QAccessibleInterface* child = tree->child(i))
                names << child->text(QAccessible::Name);
        const QString words = "Group 1, capturing: one or more times (as many as possible): a word character "
                              "(letter, digit or _)";
        const qsizetype at = names.indexOf(words);
        QVERIFY2(at >= 0, qPrintable(names.join('\n')));
        // The rest of its row: the piece, then figures that say what they are.
        QCOMPARE(names.mid(at + 1, 3), (QStringList{"(\\w+)", "position 0", "length 5"}));
    }
};

QTEST_MAIN(ExplainPageTest)
#include "ExplainPageTest.moc"
