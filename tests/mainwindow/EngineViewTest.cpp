// The main window's view for the engine: the input editor's text (its
// characters and its 8-bit text) through every edit, undo, selection and
// formatting, the tree operations, and panes that are only rewritten where
// their text changed.
#include "WidgetTestSupport.h"
#include "CodePageText.h"
#include "EditorText.h"
#include "QtEngineView.h"
#include "ResultPane.h"
#include "TextEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>

#include <random>
#include <stdexcept>

using namespace WidgetTest;
using namespace tamarin;

class EngineViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void editorTextFollowsEdits();
    void editorTextFormats_data();
    void editorTextFormats();
    void longMatchNode();
    void selection_data();
    void selection();
    void style();
    void tree();
    void panesRewriteOnlyChanges_data();
    void panesRewriteOnlyChanges();
    void paneIsReadOnlyAndCopiesExactly();
};

namespace {

// What the editor's text holds once a cursor inserted `text`: every kind of
// line break one '\n'.
QString Plain(QString text)
{
    return text.replace("\r\n", "\n").replace('\r', '\n').replace(QChar::ParagraphSeparator, '\n')
        .replace(QChar::LineSeparator, '\n');
}

} // namespace

// Random edits, undos and redos against a model of the text after each step
// of the history; a version someone kept (as a pane keeps one) never changes.
void EngineViewTest::editorTextFollowsEdits()
{
    EditorText text;
    std::mt19937 random(7);
    const QString pieces[] = {"a",  "bc", "\n", "x\r\ny", QString::fromUtf8("é"), QString::fromUtf8("αβ"),
                              " ",  "\u00A0", "line one\rline two\n", QString(QChar::LineSeparator), "\t",
                              QString::fromUtf8("€—😀中"), QString(QChar::ParagraphSeparator)};
    std::vector<QString> history{QString()};  // the text after each step
    std::size_t done = 0;
    std::shared_ptr<const TextVersion> kept = text.Version();
    QString keptText;
    const auto push = [&](const QString& next, bool join) {
        history.resize(done + 1);
        if (join && done > 0) {
            history[done] = next;
        } else {
            history.push_back(next);
            ++done;
        }
    };
    for (int step = 0; step < 3000; ++step) {
        const QString now = history[done];
        if (step % 7 == 0) {
            kept = text.Version();
            keptText = now;
        }
        const auto length = static_cast<unsigned>(now.size());
        const qsizetype first = random() % (length + 1);
        const qsizetype span = random() % (std::min<qsizetype>(5, length - first) + 1);
        switch (random() % 6) {
        case 0:
        case 1:
        case 2: {
            const QString piece = pieces[random() % std::size(pieces)];
            const bool join = random() % 3 == 0;
            QVERIFY(text.Replace(first, first + span, piece, join));
            push(QString(now).replace(first, span, Plain(piece)), join);
            break;
        }
        case 3:
            QCOMPARE(text.Replace(first, first + span, {}), span > 0);
            if (span > 0)
                push(QString(now).remove(first, span), false);
            break;
        case 4:
            QCOMPARE(text.Undo().has_value(), done > 0);
            done -= done > 0 ? 1 : 0;
            break;
        case 5:
            QCOMPARE(text.Redo().has_value(), done + 1 < history.size());
            done += done + 1 < history.size() ? 1 : 0;
            break;
        }
        if (step % 100 == 50 && span > 0) {
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            text.MergeFormat(first, first + span, bold);
            push(history[done], false);  // a step of its own that leaves the text
        }
        QCOMPARE(text.Characters().toString(), history[done]);
        QCOMPARE(text.Bytes(), CodePageText::ToCodePage(history[done]));
        QCOMPARE(TextSpan(*kept).toString(), keptText);
    }
}

// Formats move with the text as a rich editor's do: typing takes the format
// of the character before the caret (at a line's start, of the one after),
// and undoing a format is a step that changes no character.
void EngineViewTest::editorTextFormats_data()
{
    // "banana\nsplit" with [boldFrom, boldTo) bold; then "xy" is typed at
    // `at` and [removeFrom, removeTo) deleted; `bold` marks the bold characters.
    QTest::addColumn<int>("boldFrom");
    QTest::addColumn<int>("boldTo");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removeFrom");
    QTest::addColumn<int>("removeTo");
    QTest::addColumn<QString>("bold");
    QTest::newRow("typed inside") << 1 << 4 << 2 << 0 << 0 << ".BBBBB..\n.....";
    QTest::newRow("typed right after") << 1 << 4 << 4 << 0 << 0 << ".BBBBB..\n.....";
    QTest::newRow("typed right before") << 1 << 4 << 1 << 0 << 0 << "...BBB..\n.....";
    QTest::newRow("removed across its start") << 1 << 4 << 12 << 0 << 2 << "BB..\n.......";
    QTest::newRow("removed whole") << 1 << 4 << 12 << 1 << 4 << "...\n.......";
    QTest::newRow("line start takes the next") << 7 << 9 << 7 << 0 << 0 << "......\nBBBB...";
}

void EngineViewTest::editorTextFormats()
{
    QFETCH(int, boldFrom);
    QFETCH(int, boldTo);
    QFETCH(int, at);
    QFETCH(int, removeFrom);
    QFETCH(int, removeTo);
    QFETCH(QString, bold);
    EditorText text;
    text.Reset(u"banana\nsplit");
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    text.MergeFormat(boldFrom, boldTo, format);
    text.Replace(at, at, u"xy");
    text.Replace(removeFrom, removeTo, {});
    QString marks = text.Characters().toString();
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const QList<QTextLayout::FormatRange> formats = text.FormatsOf(i, i + 1);
        if (marks[i] != u'\n')
            marks[i] = !formats.isEmpty() && formats.front().format.fontWeight() == QFont::Bold ? u'B' : u'.';
    }
    QCOMPARE(marks, bold);
    // Undoing everything takes back the characters, then the format alone.
    while (text.CanUndo()) {
        const std::optional<EditorText::Stepped> undone = text.Undo();
        QCOMPARE(undone->edited, text.CanUndo());
    }
    QCOMPARE(text.Characters().toString(), QString("banana\nsplit"));
    QVERIFY(text.FormatsOf(0, text.size()).isEmpty());
}

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
