// The main window's view for the engine: the input editor's text as the
// engine reads it, selection and formatting, the tree operations, and panes
// that are only rewritten where their text changed.
#include "WidgetTestSupport.h"
#include "QtEngineView.h"
#include "ResultPane.h"
#include "TextEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>

#include <stdexcept>

using namespace WidgetTest;
using namespace tamarin;

class EngineViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void longMatchNode();
    void selection_data();
    void selection();
    void style();
    void tree();
    void panesRewriteOnlyChanges_data();
    void panesRewriteOnlyChanges();
    void paneIsReadOnlyAndCopiesExactly();
};


// A match of many characters is a node that shares the input: its text is
// the input's characters, also once the input has changed on.
void EngineViewTest::longMatchNode()
{
    QtEngineView& view = frmMain->EngineView();
    QString input;
    for (int i = 0; i < 6000; ++i)
        input += QString::fromUtf8(i % 2 ? "中" : "a\n");
    frmMain->reSearch->setPlainText(input);
    const std::string bytes = view.GetText(TextControl::reSearch);
    view.ClearTree();
    view.AddNodeFromInput(1, std::string_view(bytes).substr(1));
    QCOMPARE(ResultText(0), input.mid(1));
    frmMain->reSearch->setFocus();
    QTest::keyClicks(frmMain->reSearch, "typed");
    QCOMPARE(ResultText(0), input.mid(1));
    QCOMPARE(frmMain->reSearch->toPlainText(), "typed" + input);
}

void EngineViewTest::selection_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("selected");  // length read back
    QTest::newRow("inside") << 1 << 2 << 2;
    QTest::newRow("empty") << 0 << 0 << 0;
    QTest::newRow("clipped at the end") << 4 << 10 << 2;
    QTest::newRow("start past the end") << 50 << 3 << 0;
    QTest::newRow("negative start") << -3 << 2 << 2;
}

void EngineViewTest::selection()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, selected);
    frmMain->reSearch->setPlainText("banana");
    QtEngineView& view = frmMain->EngineView();
    view.SetSelStart(start);
    view.SetSelLength(length);
    QCOMPARE(view.GetSelLength(), selected);
    QCOMPARE(frmMain->reSearch->selectedText().size(), selected);
}

void EngineViewTest::style()
{
    frmMain->reSearch->setPlainText("banana");
    QtEngineView& view = frmMain->EngineView();
    view.SetSelStart(1);
    view.SetSelLength(3);
    view.SetSelStyle(fsItalic | fsUnderline);
    QCOMPARE(view.GetSelStyle(), FontStyle(fsItalic | fsUnderline));
    view.SetSelStyle(view.GetSelStyle() | fsBold);
    QCOMPARE(view.GetSelStyle(), FontStyle(fsBold | fsItalic | fsUnderline));
    view.SetSelStyle(fsBold | fsStrikeOut);
    QCOMPARE(view.GetSelStyle(), FontStyle(fsBold | fsStrikeOut));
    view.SetSelColor(0x008000);  // 0x00BBGGRR
    view.SetSelColor(0x0000FF);
    QCOMPARE(frmMain->reSearch->CharFormatAt(2).foreground().color(), QColor(255, 0, 0));
    // Outside the selection: untouched.
    QCOMPARE(frmMain->reSearch->CharFormatAt(5).fontWeight(), int(QFont::Normal));
    QCOMPARE(frmMain->reSearch->toPlainText(), QString("banana"));
}

void EngineViewTest::tree()
{
    QtEngineView& view = frmMain->EngineView();
    view.ClearTree();
    QCOMPARE(ResultCount(), 0);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, view.NodeByIndex(0));
    const TreeNodeRef first = view.AddNode("first");
    view.AddChildNode(first, "child of first");
    view.AddNode(std::string("caf\xE9", 4));
    // Display order over the whole tree, children counted.
    view.AddChildNode(view.NodeByIndex(2), "child of second");
    view.AddChildNode(view.NodeByIndex(1), "grandchild");
    QCOMPARE(ResultCount(), 2);
    QCOMPARE(ResultText(1), QString::fromUtf8("café"));
    QCOMPARE(ResultChildText(1), QString("child of second"));
    QCOMPARE(frmMain->TreeView1->topLevelItem(0)->child(0)->child(0)->text(0), QString("grandchild"));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, view.NodeByIndex(5));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, view.NodeByIndex(-1));
}

void EngineViewTest::panesRewriteOnlyChanges_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("rewritten");
    QTest::newRow("same text") << "line one\nline two" << "line one\nline two" << false;
    QTest::newRow("one character more") << "line one\nline two" << "line one\nline twos" << true;
    QTest::newRow("one character less at the start") << "xline one\nline two" << "line one\nline two" << true;
    QTest::newRow("new line in the middle") << "abcdef" << "abc\ndef" << true;
    QTest::newRow("all new") << "abc" << "xyz" << true;
    QTest::newRow("emptied") << "abc" << "" << true;
    QTest::newRow("carriage return") << "a\r\nb" << "a\r\nbc" << true;
}

void EngineViewTest::panesRewriteOnlyChanges()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, rewritten);
    QtEngineView& view = frmMain->EngineView();
    const std::string oldText = before.toStdString();
    const std::string newText = after.toStdString();
    view.SetText(TextControl::what1, oldText);
    QSignalSpy changes(frmMain->what1, &ResultPane::textChanged);

    // As an evaluation does: empty both panes, then refill them.
    view.BeginBatch();
    view.SetText(TextControl::what1, "");
    view.SetText(TextControl::what1, newText);
    QCOMPARE(view.GetText(TextControl::what1), newText);
    QCOMPARE(changes.count(), 0);  // nothing shown until the batch closes
    view.EndBatch();

    QCOMPARE(changes.count() > 0, rewritten);
    // The pane shows the text exactly, a carriage return included.
    QCOMPARE(view.GetText(TextControl::what1), newText);
    QCOMPARE(frmMain->what1->toPlainText(), after);
}

void EngineViewTest::paneIsReadOnlyAndCopiesExactly()
{
    // Typing into a pane changes nothing; its text copies as it is, the
    // input's own characters included.
    QtEngineView& view = frmMain->EngineView();
    const QString input = QString::fromUtf8("prix : 5 € — café 中\nnext line");
    frmMain->reSearch->setPlainText(input);
    view.SetTextFromInput(TextControl::what0, 0, view.GetText(TextControl::reSearch));
    QCOMPARE(frmMain->what0->toPlainText(), input);
    frmMain->what0->setFocus();
    QTest::keyClicks(frmMain->what0, "!!");
    QTest::keyClick(frmMain->what0, Qt::Key_Backspace);
    QCOMPARE(frmMain->what0->toPlainText(), input);
    QApplication::clipboard()->clear();
    QTest::keySequence(frmMain->what0, QKeySequence::SelectAll);
    QTest::keySequence(frmMain->what0, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), input);
}

QTEST_MAIN(EngineViewTest)
#include "EngineViewTest.moc"
