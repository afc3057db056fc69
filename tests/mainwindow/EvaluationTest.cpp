// Evaluating as a user does: typing with real-time match on and off, the
// "Search" button, MATCH/SEARCH, the case box, line breaks in the pattern,
// empty texts, text through the code page, which edits evaluate and when, the
// syntax check's message and the highlight.
#include "WidgetTestSupport.h"
#include "CodePageText.h"
#include "QtEngineView.h"
#include "Unitconfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>

using namespace WidgetTest;

class EvaluationTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenWindows()); }
    void cleanup() { CloseWindows(); }

    void typingRealTime_data();
    void typingRealTime();
    void inputBeforePattern();
    void realTimeOffUsesButton();
    void realTimeToggleEvaluatesOnce();
    void matchSearchSelector();
    void caseBox();
    void enterInPattern_data();
    void enterInPattern();
    void pastedLineBreaks();
    void undoGoesPastRemovedLineBreak();
    void redoAfterUndoingRemovedLineBreak();
    void emptyPatternOrInputKeepsResult();
    void lineBreaksInInput();
    void textThroughCodePage_data();
    void textThroughCodePage();
    void everyEditEvaluatesOnce();
    void evaluatesAfterTheDocumentChange();
    void tabLeavesTheEditors();
    void invalidPatternMessage();
    void highlightIsNotAnEdit();
};

// Each row: what the user types, and what the window then shows.
void EvaluationTest::typingRealTime_data()
{
    QTest::addColumn<int>("algorithm");  // selector index: 0 MATCH, 1 SEARCH
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("node");  // empty: no result at all
    QTest::addColumn<QString>("child");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("search finds the first") << 1 << false << "a" << "banana" << "a" << "Pos : 1  Len : 1" << "b" << "nana";
    QTest::newRow("search at the end") << 1 << false << "c" << "abc" << "c" << "Pos : 2  Len : 1" << "ab" << "";
    QTest::newRow("whole match only") << 1 << false << "(a)(b)" << "xab" << "ab" << "Pos : 1  Len : 2" << "x" << "";
    QTest::newRow("match whole input") << 0 << false << "abc" << "abc" << "abc" << "Pos : 0  Len : 3" << "" << "";
    QTest::newRow("match needs all") << 0 << false << "b" << "abc" << "" << "" << "" << "";
    QTest::newRow("case-insensitive") << 1 << false << "B" << "abc" << "b" << "Pos : 1  Len : 1" << "a" << "c";
    QTest::newRow("case-sensitive") << 1 << true << "B" << "abc" << "" << "" << "" << "";
    QTest::newRow("no match") << 1 << false << "z" << "abc" << "" << "" << "" << "";
    QTest::newRow("empty match") << 1 << false << "x*" << "abc" << "" << "Pos : 0  Len : 0" << "" << "abc";
    QTest::newRow("latin-1 letters") << 1 << false << QString::fromUtf8("é") << QString::fromUtf8("café au lait")
                                     << QString::fromUtf8("é") << "Pos : 3  Len : 1" << "caf" << " au lait";
}

void EvaluationTest::typingRealTime()
{
    QFETCH(int, algorithm);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, pattern);
    QFETCH(QString, input);
    QFETCH(QString, node);
    QFETCH(QString, child);
    QFETCH(QString, before);
    QFETCH(QString, after);

    frmMain->ComboBoxEx1->setCurrentIndex(algorithm);
    if (caseSensitive)
        QTest::mouseClick(frmMain->cbCaseSensitive, Qt::LeftButton);
    QCOMPARE(frmMain->cbCaseSensitive->isChecked(), caseSensitive);

    Type(frmMain->reSearch, input);
    Type(frmMain->mmoSignature, pattern);

    if (node.isEmpty() && child.isEmpty()) {
        QCOMPARE(ResultCount(), 0);
    } else {
        QCOMPARE(ResultCount(), 1);
        QCOMPARE(ResultText(), node);
        QCOMPARE(ResultChildText(), child);
        QVERIFY(frmMain->TreeView1->topLevelItem(0)->isExpanded());
    }
    QCOMPARE(frmMain->what1->toPlainText(), before);
    QCOMPARE(frmMain->what0->toPlainText(), after);
    QCOMPARE(std::string(frmMain->State.PatternSnapshot.View()), CodePageText::ToCodePage(pattern));
    QCOMPARE(std::string(frmMain->State.InputSnapshot.View()), CodePageText::ToCodePage(input));
}

void EvaluationTest::inputBeforePattern()
{
    EvaluationCounter evaluations;
    Type(frmMain->reSearch, "hello world");
    // No pattern yet: nothing is evaluated, the tree keeps its first node.
    QCOMPARE(evaluations.count(), 0);
    QCOMPARE(ResultText(), QString("Fixed Lists"));
    QVERIFY(frmMain->State.InputSnapshot.empty());

    Type(frmMain->mmoSignature, "w");
    QCOMPARE(evaluations.count(), 1);
    QCOMPARE(ResultText(), QString("w"));
    QCOMPARE(ResultChildText(), QString("Pos : 6  Len : 1"));
}

void EvaluationTest::realTimeOffUsesButton()
{
    QTest::mouseClick(frmMain->cbSimultaneous, Qt::LeftButton);
    QVERIFY(!frmMain->cbSimultaneous->isChecked());

    EvaluationCounter evaluations;
    Type(frmMain->mmoSignature, "o+");
    Type(frmMain->reSearch, "foo");
    QCOMPARE(evaluations.count(), 0);
    QCOMPARE(ResultText(), QString("Fixed Lists"));

    QTest::mouseClick(frmMain->btnMatch, Qt::LeftButton);
    QCOMPARE(evaluations.count(), 1);
    QCOMPARE(ResultText(), QString("oo"));
    QCOMPARE(ResultChildText(), QString("Pos : 1  Len : 2"));
    QCOMPARE(frmMain->what1->toPlainText(), QString("f"));

    // The keyboard reaches the button as well.
    frmMain->btnMatch->setFocus();
    QTest::keyClick(frmMain->btnMatch, Qt::Key_Space);
    QCOMPARE(evaluations.count(), 2);
}

void EvaluationTest::realTimeToggleEvaluatesOnce()
{
    QTest::mouseClick(frmMain->cbSimultaneous, Qt::LeftButton);  // off
    Type(frmMain->mmoSignature, "b");
    Type(frmMain->reSearch, "abc");

    EvaluationCounter evaluations;
    QTest::mouseClick(frmMain->cbSimultaneous, Qt::LeftButton);  // on
    QCOMPARE(evaluations.count(), 1);
    QCOMPARE(ResultText(), QString("b"));
    QTest::mouseClick(frmMain->cbSimultaneous, Qt::LeftButton);  // off
    QCOMPARE(evaluations.count(), 2);

    // Set from code (as the match options dialog does): only a real change reacts.
    frmMain->cbSimultaneous->setChecked(false);
    QCOMPARE(evaluations.count(), 2);
    frmMain->cbSimultaneous->setChecked(true);
    QCOMPARE(evaluations.count(), 3);
}

void EvaluationTest::matchSearchSelector()
{
    Type(frmMain->mmoSignature, "b");
    Type(frmMain->reSearch, "abc");
    QCOMPARE(ResultText(), QString("b"));

    EvaluationCounter evaluations;
    // Pick MATCH with the keyboard.
    frmMain->ComboBoxEx1->setFocus();
    QTest::keyClick(frmMain->ComboBoxEx1, Qt::Key_Up);
    QCOMPARE(frmMain->ComboBoxEx1->currentText(), QString("MATCH"));
    QCOMPARE(frmMain->btnMatch->text(), QString("Match"));
    QCOMPARE(frmMain->State.AlgorithmIndex, 0);
    // No evaluation yet: the old result stays.
    QCOMPARE(evaluations.count(), 0);
    QCOMPARE(ResultText(), QString("b"));

    // The next edit uses Match: "b" is not the whole of "abcd".
    Type(frmMain->reSearch, "d");
    QCOMPARE(ResultCount(), 0);

    // Back to SEARCH, as the settings dialog would do it.
    frmMain->ComboBoxEx1->setCurrentIndex(1);
    QCOMPARE(frmMain->btnMatch->text(), QString("Search"));
    QCOMPARE(frmMain->State.AlgorithmIndex, 1);
    QTest::mouseClick(frmMain->btnMatch, Qt::LeftButton);
    QCOMPARE(ResultText(), QString("b"));
}

void EvaluationTest::caseBox()
{
    Type(frmMain->mmoSignature, "B");
    Type(frmMain->reSearch, "abc");
    QCOMPARE(ResultText(), QString("b"));

    EvaluationCounter evaluations;
    QSignalSpy toggles(frmMain->cbCaseSensitive, &QCheckBox::toggled);
    QTest::mouseClick(frmMain->cbCaseSensitive, Qt::LeftButton);
    QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case Sensitive"));
    QCOMPARE(evaluations.count(), 0);  // no evaluation
    QCOMPARE(ResultText(), QString("b"));
    QTest::mouseClick(frmMain->btnMatch, Qt::LeftButton);
    QCOMPARE(ResultCount(), 0);  // now case-sensitive

    QTest::mouseClick(frmMain->cbCaseSensitive, Qt::LeftButton);
    QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case InSensitive"));

    // From code: the reaction runs on a change only.
    frmMain->StatusPanel(2)->setText("untouched");
    frmMain->cbCaseSensitive->setChecked(false);
    QCOMPARE(frmMain->StatusPanel(2)->text(), QString("untouched"));
    frmMain->cbCaseSensitive->setChecked(true);
    QCOMPARE(frmMain->StatusPanel(2)->text(), QString("Case Sensitive"));
    QCOMPARE(toggles.count(), 3);
}

void EvaluationTest::enterInPattern_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("caretBeforeEnter");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("at the end") << "an" << 2 << 2;
    QTest::newRow("in the middle") << "an" << 1 << 1;
    QTest::newRow("at the start") << "an" << 0 << 0;
}

void EvaluationTest::enterInPattern()
{
    QFETCH(QString, typed);
    QFETCH(int, caretBeforeEnter);
    QFETCH(int, caretAfter);

    Type(frmMain->reSearch, "banana");
    Type(frmMain->mmoSignature, typed);
    SetCaret(frmMain->mmoSignature, caretBeforeEnter);

    EvaluationCounter evaluations;
    QSignalSpy edits(frmMain->mmoSignature, &TextEditor::textChanged);
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_Return);

    // Removed at once, evaluated once, one result, the caret where it was.
    QCOMPARE(frmMain->mmoSignature->toPlainText(), typed);
    QCOMPARE(frmMain->mmoSignature->text().indexOf(u'\n'), -1);
    QCOMPARE(frmMain->mmoSignature->selection().position(), caretAfter);
    QCOMPARE(evaluations.count(), 1);
    QCOMPARE(ResultCount(), 1);
    QCOMPARE(ResultText(), QString("an"));
    QCOMPARE(ResultChildText(), QString("Pos : 1  Len : 2"));
    QCOMPARE(std::string(frmMain->State.PatternSnapshot.View()), std::string("an"));
    QCOMPARE(edits.count(), 2);  // the Enter and its removal

    // Typing goes on at the caret.
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_X);
    QString expected = typed;
    expected.insert(caretAfter, 'x');
    QCOMPARE(frmMain->mmoSignature->toPlainText(), expected);
}

void EvaluationTest::pastedLineBreaks()
{
    Type(frmMain->reSearch, "one two");
    frmMain->mmoSignature->setFocus();
    // A pasted pattern over several lines, Windows, Unix and old Mac style.
    frmMain->mmoSignature->insertPlainText("t\r\nw\no\r");
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("two"));
    QCOMPARE(frmMain->mmoSignature->selection().position(), 3);
    QCOMPARE(ResultText(), QString("two"));
    QCOMPARE(ResultCount(), 1);

    // Shift+Enter (a line break inside a paragraph) goes too.
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("two"));
    // A pasted tab stays.
    frmMain->mmoSignature->insertPlainText("\t");
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("two\t"));
}

void EvaluationTest::undoGoesPastRemovedLineBreak()
{
    Type(frmMain->reSearch, "xxabcxx");
    Type(frmMain->mmoSignature, "ab");
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_Return);
    Type(frmMain->mmoSignature, "c");
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("abc"));

    // Undoing the removal must not bring back a line break that the next
    // evaluation removes again as a new edit: Ctrl+Z would then never get
    // past it. Undo reaches the empty editor.
    for (int i = 0; i < 8 && !frmMain->mmoSignature->toPlainText().isEmpty(); ++i)
        QTest::keyClick(frmMain->mmoSignature, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString());
    // Redo brings the one-line pattern back, never a line break.
    for (int i = 0; i < 8 && frmMain->mmoSignature->isRedoAvailable(); ++i) {
        QTest::keyClick(frmMain->mmoSignature, Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(frmMain->mmoSignature->text().indexOf(u'\n'), -1);
    }
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("abc"));
    QCOMPARE(ResultText(), QString("abc"));
}

void EvaluationTest::redoAfterUndoingRemovedLineBreak()
{
    // The line break stays while the input is empty; typing the input
    // removes it. Undo brings it back and the evaluation removes it again,
    // yet redo still gets to the pattern after every step.
    Type(frmMain->mmoSignature, "ab");
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_Return);
    Type(frmMain->mmoSignature, "cd");
    Type(frmMain->reSearch, "xabcdx");
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("abcd"));
    frmMain->mmoSignature->setFocus();
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(frmMain->mmoSignature, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("ab"));
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(frmMain->mmoSignature, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(frmMain->mmoSignature->toPlainText(), QString("abcd"));
    QCOMPARE(ResultText(), QString("abcd"));
}

void EvaluationTest::emptyPatternOrInputKeepsResult()
{
    Type(frmMain->mmoSignature, "b");
    Type(frmMain->reSearch, "abc");
    QCOMPARE(ResultText(), QString("b"));

    EvaluationCounter evaluations;
    // Empty the input: nothing is evaluated; the last result stays.
    frmMain->reSearch->selectAll();
    QTest::keyClick(frmMain->reSearch, Qt::Key_Delete);
    QVERIFY(frmMain->reSearch->toPlainText().isEmpty());
    QCOMPARE(evaluations.count(), 0);
    QCOMPARE(ResultText(), QString("b"));
    QCOMPARE(frmMain->what1->toPlainText(), QString("a"));
    QTest::mouseClick(frmMain->btnMatch, Qt::LeftButton);
    QCOMPARE(evaluations.count(), 0);

    Type(frmMain->reSearch, "xbx");
    QVERIFY(evaluations.count() > 0);
    QCOMPARE(frmMain->what1->toPlainText(), QString("x"));
    const int evaluated = evaluations.count();

    // Empty the pattern: the same.
    frmMain->mmoSignature->setFocus();
    frmMain->mmoSignature->selectAll();
    QTest::keyClick(frmMain->mmoSignature, Qt::Key_Backspace);
    QVERIFY(frmMain->mmoSignature->toPlainText().isEmpty());
    QCOMPARE(evaluations.count(), evaluated);
    QCOMPARE(ResultText(), QString("b"));
}

void EvaluationTest::lineBreaksInInput()
{
    // The input's line breaks count as one character, as in the editor.
    frmMain->reSearch->setFocus();
    QTest::keyClicks(frmMain->reSearch, "first");
    QTest::keyClick(frmMain->reSearch, Qt::Key_Return);
    QTest::keyClicks(frmMain->reSearch, "second");
    QTest::keyClick(frmMain->reSearch, Qt::Key_Return);
    QTest::keyClicks(frmMain->reSearch, "third");
    Type(frmMain->mmoSignature, "d\\nt");
    QCOMPARE(ResultText(), QString("d\nt"));
    QCOMPARE(ResultChildText(), QString("Pos : 11  Len : 3"));
    QCOMPARE(frmMain->reSearch->toPlainText().indexOf("d\nt"), 11);
    QCOMPARE(frmMain->what1->toPlainText(), QString("first\nsecon"));
    QCOMPARE(frmMain->what0->toPlainText(), QString("hird"));
    QCOMPARE(frmMain->State.InputSnapshot, std::string("first\nsecond\nthird"));
}

// Typed into both editors; the panes and the tree show the user's characters.
void EvaluationTest::textThroughCodePage_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shown");  // node, child, before, after; "" without a result
    QTest::newRow("euro is not ?") << "x€" << "x" << "";
    QTest::newRow("\\? is no stand-in") << "\\?" << "€中?" << "? Pos : 2  Len : 1 €中 ";
    QTest::newRow("dot over pi") << "b.c" << "ωabπcdπ" << "bπc Pos : 2  Len : 3 ωa dπ";
    QTest::newRow("emoji, two positions") << "😀" << "a😀b" << "😀 Pos : 1  Len : 2 a b";
    QTest::newRow("no-break space is no blank") << " " << "a\u00A0b c" << "  Pos : 3  Len : 1 a\u00A0b c";
}

void EvaluationTest::textThroughCodePage()
{
    QFETCH(QString, pattern);
    QFETCH(QString, input);
    QFETCH(QString, shown);
    Type(frmMain->reSearch, input);
    Type(frmMain->mmoSignature, pattern);
    const QString panes = frmMain->what1->toPlainText() + " " + frmMain->what0->toPlainText();
    QCOMPARE(ResultCount() ? ResultText() + " " + ResultChildText() + " " + panes : QString(), shown);
    QCOMPARE(frmMain->State.InputSnapshot.size(), std::size_t(input.size()));
}

// Each edit of the input's characters evaluates once, after the edit, also
// one that leaves the 8-bit text as it was.
void EvaluationTest::everyEditEvaluatesOnce()
{
    TextEditor* editor = frmMain->reSearch;
    const auto select = [editor](int from, int to) { editor->SetSelection(from, to); };
    const struct {
        const char* edit;
        std::function<void()> act;
        int evaluations;
        const char* node;  // afterwards
    } edits[] = {
        {"type a character", [editor] { Type(editor, "x"); }, 1, "ban"},
        {"type a character over the same", [&] { select(1, 2); Type(editor, "a"); }, 1, "ban"},
        {"undo that", [editor] { editor->undo(); }, 1, "ban"},
        {"paste the same text over all", [editor] { editor->selectAll(); editor->insertPlainText(editor->toPlainText()); }, 1, "ban"},
        {"set the same text", [editor] { editor->setPlainText(editor->toPlainText()); }, 1, "ban"},
        {"set, then type over a character the page lacks another",
         [&] { editor->setPlainText("b中n"); select(1, 2); Type(editor, "文"); }, 2, "b文n"},
    };
    Type(editor, "banana");
    Type(frmMain->mmoSignature, "b.n");
    for (const auto& e : edits) {
        EvaluationCounter evaluations;
        e.act();
        QVERIFY2(evaluations.count() == e.evaluations && ResultText() == QString::fromUtf8(e.node), e.edit);
    }
}

// An input edit evaluates once the document has finished the change (its
// report of the change is over); a message shown then sees the whole edit.
void EvaluationTest::evaluatesAfterTheDocumentChange()
{
    frmConfig->cfgSyntaxCheck->setChecked(true);
    Type(frmMain->mmoSignature, "(");
    EvaluationCounter evaluations;
    QString seen;
    QVERIFY(WhileModal([] { Type(frmMain->reSearch, "a"); }, [&](QWidget*) {
        seen = frmMain->reSearch->toPlainText() + QString::number(frmMain->reSearch->selection().position());
    }));
    QCOMPARE(seen, QString("a1"));
    QCOMPARE(evaluations.count(), 1);
}

void EvaluationTest::tabLeavesTheEditors()
{
    QVERIFY(QTest::qWaitForWindowActive(frmMain));
    for (TextEditor* editor : {frmMain->mmoSignature, frmMain->reSearch})
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            editor->setFocus();
            QTest::keyClick(editor, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QVERIFY2(!editor->hasFocus() && editor->toPlainText().isEmpty(), qPrintable(editor->objectName()));
        }
}

void EvaluationTest::invalidPatternMessage()
{
    QVERIFY(frmConfig && frmConfig->cfgSyntaxCheck);
    frmConfig->cfgSyntaxCheck->setChecked(true);
    Type(frmMain->reSearch, "abc");

    QString text;
    int buttons = 0;
    bool messageBox = false;
    WhileModal([] { Type(frmMain->mmoSignature, "("); },
                                [&](QWidget* box) {
                                    auto* message = qobject_cast<QMessageBox*>(box);
                                    if (!message)
                                        return;
                                    messageBox = true;
                                    text = message->text();
                                    buttons = static_cast<int>(message->buttons().size());
                                    QMetaObject::invokeMethod(message, [message] {
                                        message->button(QMessageBox::Ok)->click();
                                    }, Qt::QueuedConnection);
                                });
    QVERIFY(messageBox);
    QCOMPARE(text, QString("Invalid Regular Expression"));
    QCOMPARE(buttons, 1);
    QCOMPARE(ResultCount(), 0);
    QVERIFY(frmMain->what0->toPlainText().isEmpty());

    // With the check off the same pattern fails quietly.
    frmConfig->cfgSyntaxCheck->setChecked(false);
    QWidget* none = WhileModal([] { QTest::mouseClick(frmMain->btnMatch, Qt::LeftButton); });
    QVERIFY(!none);
}

void EvaluationTest::highlightIsNotAnEdit()
{
    // The highlight option ships disabled; switch it on as a later version may.
    QVERIFY(frmConfig && frmConfig->cfgHighLight);
    frmConfig->cfgHighLight->setEnabled(true);
    frmConfig->cfgHighLight->setChecked(true);
    frmMain->cbSimultaneous->setEnabled(true);
    frmMain->cbSimultaneous->setChecked(true);

    Type(frmMain->reSearch, "banana");
    QSignalSpy edits(frmMain->reSearch, &TextEditor::textChanged);
    EvaluationCounter evaluations;
    Type(frmMain->mmoSignature, "an");
    QCOMPARE(evaluations.count(), 2);  // one per keystroke, none for the formatting
    QCOMPARE(edits.count(), 0);
    QCOMPARE(frmMain->reSearch->toPlainText(), QString("banana"));

    const TextSelection selection = frmMain->reSearch->selection();
    QCOMPARE(selection.selectionStart(), 1);
    QCOMPARE(selection.selectionEnd(), 3);
    // A caret after character 1 types with its format.
    QCOMPARE(frmMain->reSearch->CharFormatAt(2).foreground().color(), QColor(0, 128, 0));
    QCOMPARE(frmMain->reSearch->CharFormatAt(2).fontWeight(), int(QFont::Bold));
    QVERIFY(frmMain->reSearch->CharFormatAt(5).fontWeight() != QFont::Bold);

    // Undoing the marking in the input editor is no edit either: nothing is
    // evaluated (which would mark the match again and defeat the undo).
    frmMain->reSearch->setFocus();
    QTest::keyClick(frmMain->reSearch, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(frmMain->reSearch->toPlainText(), QString("banana"));
    QCOMPARE(evaluations.count(), 2);
    QCOMPARE(edits.count(), 0);
}

QTEST_MAIN(EvaluationTest)
#include "EvaluationTest.moc"
