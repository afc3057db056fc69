// The main window's view for the engine: the copies of the input (its
// characters and its 8-bit text) that follow every edit, selection and
// formatting of the input editor, the tree operations, and panes that are
// only rewritten where their text changed.
#include "WidgetTestSupport.h"
#include "CodePageMirror.h"
#include "QtEngineView.h"
#include "ResultPane.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>

#include <random>
#include <stdexcept>

using namespace WidgetTest;
using namespace tamarin;

class EngineViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void mirrorFollowsEdits();
    void mirrorIgnoresFormatting();
    void selection_data();
    void selection();
    void style();
    void tree();
    void panesRewriteOnlyChanges_data();
    void panesRewriteOnlyChanges();
    void paneIsReadOnlyAndCopiesExactly();
};

namespace {

std::string Expected(const QTextDocument& document)
{
    return CodePageMirror::ToCodePage(document.toRawText());
}

} // namespace

void EngineViewTest::mirrorFollowsEdits()
{
    QTextDocument document;
    CodePageMirror mirror(&document);
    QSignalSpy edits(&mirror, &CodePageMirror::edited);
    std::mt19937 random(7);
    const QString pieces[] = {"a",  "bc", "\n",   "x\ny", QString::fromUtf8("é"), QString::fromUtf8("αβ"),
                              " ",  "\u00A0", "line one\nline two\n", QString(QChar::LineSeparator), "\t",
                              QString::fromUtf8("€—😀中")};
    int changes = 0;
    QString shared;  // as a result pane holds the mirror's characters
    for (int step = 0; step < 400; ++step) {
        if (step % 7 == 0)
            shared = mirror.Characters();
        QTextCursor cursor(&document);
        const int length = document.characterCount() - 1;
        const int first = length > 0 ? static_cast<int>(random() % (length + 1)) : 0;
        const int span = length > first ? static_cast<int>(random() % std::min(5, length - first + 1)) : 0;
        cursor.setPosition(first);
        cursor.setPosition(first + span, QTextCursor::KeepAnchor);
        if (step % 50 == 25) {
            // A paste over everything, line breaks of both kinds in it.
            cursor.select(QTextCursor::Document);
            cursor.insertText(pieces[random() % std::size(pieces)] + "\u2029" + pieces[random() % std::size(pieces)]);
            ++changes;
        } else switch (random() % 4) {
        case 0:
        case 1: cursor.insertText(pieces[random() % std::size(pieces)]); ++changes; break;
        case 2:
            if (span > 0) {
                cursor.removeSelectedText();
                ++changes;
            }
            break;
        case 3:
            if (step % 50 == 0) {
                document.setPlainText(QString("reset %1\nnew text").arg(step));
                ++changes;
            } else {
                document.undo();
            }
            break;
        }
        QCOMPARE(mirror.Text(), Expected(document));
        QCOMPARE(mirror.Characters(), CodePageMirror::PlainCharacters(document.toRawText()));
    }
    QVERIFY(edits.count() > 0);
    QVERIFY(edits.count() <= changes + 400);
}

void EngineViewTest::mirrorIgnoresFormatting()
{
    QTextDocument document;
    document.setPlainText("banana split");
    CodePageMirror mirror(&document);
    QSignalSpy edits(&mirror, &CodePageMirror::edited);

    QTextCursor cursor(&document);
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
    QCOMPARE(edits.count(), 0);
    document.undo();  // undoing the formatting is no edit either
    QCOMPARE(edits.count(), 0);

    // Overwriting with the same number of other characters is an edit, and
    // with the same characters, too.
    cursor.insertText("AN");
    QCOMPARE(edits.count(), 1);
    QCOMPARE(mirror.Text(), std::string("bANana split"));
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    cursor.insertText("AN");
    QCOMPARE(edits.count(), 2);
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
    QCOMPARE(frmMain->reSearch->textCursor().selectedText().size(), selected);
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
    QTextCursor probe(frmMain->reSearch->document());
    probe.setPosition(2);
    QCOMPARE(probe.charFormat().foreground().color(), QColor(255, 0, 0));
    probe.setPosition(5);  // outside the selection: untouched
    QCOMPARE(probe.charFormat().fontWeight(), int(QFont::Normal));
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
