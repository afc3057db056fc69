// What assistive technology hears of the editors and the panes: every change
// of the characters with its offset and text, in the order it happened, and
// a selection when it appears, changes or goes, as from any editor.
#include "ResultPane.h"
#include "SlicedTextAccessible.h"
#include "TextEditor.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <functional>

class TextAccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void editsAreHeard_data();
    void editsAreHeard();
    void selectionsAreHeard();
    void paneTextIsHeard();
    void textIsOneAttributeRun();
};

namespace {

// The events heard since the last call, one line each: "+3 'x'" inserted,
// "-3 'x'" removed, "~3 'old'>'new'" replaced, "sel 1 4" selected.
QStringList heard;

void Hear(QAccessibleEvent* event)
{
    switch (event->type()) {
    case QAccessible::TextInserted: {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
        heard << QStringLiteral("+%1 '%2'").arg(e->changePosition()).arg(e->textInserted());
        break;
    }
    case QAccessible::TextRemoved: {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
        heard << QStringLiteral("-%1 '%2'").arg(e->changePosition()).arg(e->textRemoved());
        break;
    }
    case QAccessible::TextUpdated: {
        auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
        heard << QStringLiteral("~%1 '%2'>'%3'").arg(e->changePosition()).arg(e->textRemoved(), e->textInserted());
        break;
    }
    case QAccessible::TextSelectionChanged: {
        auto* e = static_cast<QAccessibleTextSelectionEvent*>(event);
        heard << QStringLiteral("sel %1 %2").arg(e->selectionStart()).arg(e->selectionEnd());
        break;
    }
    default:
        break;
    }
}

QStringList TakeHeard()
{
    return std::exchange(heard, {});
}

} // namespace

void TextAccessibilityTest::initTestCase()
{
    SlicedTextAccessible::ListenInProcess(Hear);
}

void TextAccessibilityTest::cleanupTestCase()
{
    SlicedTextAccessible::ListenInProcess(nullptr);
}

using Action = std::function<void(TextEditor&)>;
Q_DECLARE_METATYPE(Action)

void TextAccessibilityTest::editsAreHeard_data()
{
    // Each row starts from "one two" with the caret at the end.
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("expected");
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return Action([k, m](TextEditor& e) { QTest::keyClick(&e, k, m); });
    };
    QTest::newRow("typed") << Action([](TextEditor& e) {
        for (const QChar c : QString::fromUtf8("é中"))
            QTest::sendKeyEvent(QTest::Click, &e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    })
                           << QStringList{QString::fromUtf8("+7 'é'"), QString::fromUtf8("+8 '中'")};
    QTest::newRow("backspace") << key(Qt::Key_Backspace) << QStringList{"-6 'o'"};
    QTest::newRow("word deleted") << key(Qt::Key_Backspace, Qt::ControlModifier) << QStringList{"-4 'two'"};
    QTest::newRow("selection replaced") << Action([](TextEditor& e) {
        e.SetSelection(0, 3);
        TakeHeard();
        QTest::keyClicks(&e, "1");
    }) << QStringList{"~0 'one'>'1'", "sel 1 1"};
    QTest::newRow("pasted") << Action([](TextEditor& e) {
        QApplication::clipboard()->setText("a\r\nb");
        e.paste();
    }) << QStringList{"+7 'a\nb'"};
    QTest::newRow("undone and redone") << Action([](TextEditor& e) {
        QTest::keyClicks(&e, "!");
        TakeHeard();
        e.undo();
        e.redo();
    }) << QStringList{"-7 '!'", "+7 '!'"};
    QTest::newRow("new text") << Action([](TextEditor& e) { e.setPlainText("x"); })
                              << QStringList{"~0 'one two'>'x'"};
}

void TextAccessibilityTest::editsAreHeard()
{
    QFETCH(Action, action);
    TextEditor editor;
    editor.resize(300, 100);
    editor.show();
    editor.setPlainText("one two");
    editor.SetSelection(7, 7);
    editor.setFocus();
    TakeHeard();
    action(editor);
    QTEST(TakeHeard(), "expected");
}

void TextAccessibilityTest::selectionsAreHeard()
{
    TextEditor editor;
    editor.setPlainText("one two");
    editor.show();
    editor.setFocus();
    editor.SetSelection(0, 0);
    TakeHeard();
    QTest::keyClick(&editor, Qt::Key_Right);  // the caret alone: no selection to tell of
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Left);
    QCOMPARE(TakeHeard(), (QStringList{"sel 1 2", "sel 1 7", "sel 1 1"}));
}

void TextAccessibilityTest::paneTextIsHeard()
{
    ResultPane pane;
    pane.setPlainText("before");
    TakeHeard();
    pane.setPlainText("after");
    pane.setPlainText("after");  // the same text is no change
    QCOMPARE(TakeHeard(), QStringList{"~0 'before'>'after'"});
}

// A screen reader builds the line it speaks from the attribute runs: each
// offset of the text, its end included, lies in one run over all of it.
void TextAccessibilityTest::textIsOneAttributeRun()
{
    TextEditor editor;
    editor.setPlainText("aab\nb+");
    ResultPane pane;
    pane.setPlainText("aa");
    for (QWidget* view : std::initializer_list<QWidget*>{&editor, &pane}) {
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(view)->textInterface();
        QVERIFY(text);
        const int count = text->characterCount();
        for (int offset = 0; offset <= count; ++offset) {
            int start = -1, end = -1;
            text->attributes(offset, &start, &end);
            QCOMPARE(std::pair(start, end), std::pair(0, count));
        }
        int start = -1, end = -1;
        text->attributes(count + 1, &start, &end);  // past the end: no run
        QCOMPARE(std::pair(start, end), std::pair(count + 1, count + 1));
    }
}

QTEST_MAIN(TextAccessibilityTest)
#include "TextAccessibilityTest.moc"
