// The editor on its own: keys edit and move as in any plain-text editor, the
// undo history takes typing back a word at a time, and the caret stays in
// view on lines far longer than the piece laid out at a time.
#include "TextEditor.h"

#include <QTest>

#include <vector>

class TextEditorTest : public QObject {
    Q_OBJECT
private slots:
    void keysEdit_data();
    void keysEdit();
    void typingIsUndoneAWordAtATime();
    void caretWalksLongLinesInView_data();
    void caretWalksLongLinesInView();
};

namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
using Keys = std::vector<Key>;

// The caret's place on screen, as the editor tells an input method.
QRect CaretOnScreen(const TextEditor& editor)
{
    return editor.inputMethodQuery(Qt::ImCursorRectangle).toRect();
}

} // namespace

Q_DECLARE_METATYPE(Keys)

void TextEditorTest::keysEdit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("anchorAfter");
    QTest::addColumn<int>("caretAfter");
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier, control = Qt::ControlModifier;
    QTest::newRow("Backspace takes a whole surrogate pair")
        << QString::fromUtf8("a😀b") << 3 << Keys{{Qt::Key_Backspace}} << "ab" << 1 << 1;
    QTest::newRow("Delete takes a letter with its mark")
        << QString::fromUtf8("ae\u0301x") << 1 << Keys{{Qt::Key_Delete}} << "ax" << 1 << 1;
    QTest::newRow("typing replaces a selection")
        << "hello" << 0 << Keys{{Qt::Key_Right, shift}, {Qt::Key_Right, shift}, {Qt::Key_J}} << "jllo" << 1
        << 1;
    QTest::newRow("Left ends a selection at its start")
        << "hello" << 4 << Keys{{Qt::Key_Left, shift}, {Qt::Key_Left, shift}, {Qt::Key_Left}} << "hello" << 2 << 2;
    QTest::newRow("Ctrl+Right goes to the next word")
        << "one two  three" << 0 << Keys{{Qt::Key_Right, control}, {Qt::Key_Right, control}} << "one two  three"
        << 9 << 9;
    QTest::newRow("Ctrl+Shift+Left selects the word before")
        << "one two" << 7 << Keys{{Qt::Key_Left, control | shift}} << "one two" << 7 << 4;
    QTest::newRow("Ctrl+Backspace deletes the word before")
        << "one two" << 7 << Keys{{Qt::Key_Backspace, control}} << "one " << 4 << 4;
    QTest::newRow("Enter breaks the line") << "ab" << 1 << Keys{{Qt::Key_Return}} << "a\nb" << 2 << 2;
    QTest::newRow("Up and Down keep the column")
        << "abcd\nabcd\nab" << 2 << Keys{{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Up}} << "abcd\nabcd\nab" << 7
        << 7;
    QTest::newRow("End and Home of a line")
        << "abcd\nefgh" << 6 << Keys{{Qt::Key_End}, {Qt::Key_Home, shift}} << "abcd\nefgh" << 9 << 5;
    QTest::newRow("Ctrl+End and Ctrl+Home")
        << "ab\ncd" << 1 << Keys{{Qt::Key_End, control}, {Qt::Key_Home, control | shift}} << "ab\ncd" << 5 << 0;
}

void TextEditorTest::keysEdit()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(Keys, keys);
    TextEditor editor;
    editor.resize(300, 120);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setPlainText(text);
    editor.SetSelection(caret, caret);
    for (const Key& key : keys)
        QTest::keyClick(&editor, key.key, key.modifiers);
    QTEST(editor.toPlainText(), "after");
    QTEST(int(editor.selection().anchor()), "anchorAfter");
    QTEST(int(editor.selection().position()), "caretAfter");
}

void TextEditorTest::typingIsUndoneAWordAtATime()
{
    TextEditor editor;
    QTest::keyClicks(&editor, "one two");
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.toPlainText(), QStringLiteral("one"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.toPlainText(), QString());
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor.toPlainText(), QStringLiteral("one"));
    QCOMPARE(editor.selection().position(), 3);
}

void TextEditorTest::caretWalksLongLinesInView_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rowsDown");
    QTest::newRow("one line of words") << QStringLiteral("gamma ").repeated(40000) << 200;
    QTest::newRow("one run without a blank") << QString(120000, u'x') << 200;
    QTest::newRow("line separators inside a paragraph")
        << (QString(3000, u'y') + QChar(QChar::LineSeparator)).repeated(20) << 400;
}

void TextEditorTest::caretWalksLongLinesInView()
{
    // Down moves the caret a row at a time and Up retraces the way; at
    // every step the caret is on screen, and Ctrl+End shows the text's end.
    QFETCH(QString, text);
    QFETCH(int, rowsDown);
    TextEditor editor;
    editor.resize(260, 100);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setFocus();
    editor.setPlainText(text);
    const QRect view = editor.viewport()->geometry();
    std::vector<int> down{0};
    for (int i = 0; i < rowsDown; ++i) {
        QTest::keyClick(&editor, Qt::Key_Down);
        QVERIFY2(editor.selection().position() > down.back(), "a row down did not move");
        QVERIFY(view.contains(CaretOnScreen(editor)));
        down.push_back(editor.selection().position());
    }
    for (auto row = down.rbegin() + 1; row != down.rend(); ++row) {
        QTest::keyClick(&editor, Qt::Key_Up);
        QCOMPARE(editor.selection().position(), *row);
    }
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(editor.selection().position(), text.size());
    QVERIFY(view.contains(CaretOnScreen(editor)));
}

QTEST_MAIN(TextEditorTest)
#include "TextEditorTest.moc"
