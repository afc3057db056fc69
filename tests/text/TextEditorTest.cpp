// The editor on its own: keys edit and move as in any plain-text editor, the
// undo history takes typing back a word at a time, the caret stays in view
// on lines far longer than the piece laid out at a time, and text comes in
// from an input method, a drop and the context menu as it does elsewhere.
#include "EditorText.h"
#include "TextEditor.h"
#include "WordBoundaries.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTimer>

#include <memory>
#include <vector>

class TextEditorTest : public QObject {
    Q_OBJECT
private slots:
    void keysEdit_data();
    void keysEdit();
    void wordStopsAreTheTextLayouts();
    void typingIsUndoneAWordAtATime();
    void caretWalksLongLinesInView_data();
    void caretWalksLongLinesInView();
    void formatsShowAsSoonAsSet();
    void inputMethodComposesAtTheCaret();
    void dropInsertsWhereLetGo();
    void contextMenuActsOnTheSelection();
    void clicksSelectWordsAndLines_data();
    void clicksSelectWordsAndLines();
    void dragAfterDoubleClickGoesByWords();
    void clickOnTheSelectionPlacesTheCaret();
    void selectionHeldBelowKeepsScrolling();
    void wheelStepsAddUp();
    void selectingOffersPrimaryAndMiddleClickPastesIt();
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

// Where the caret stands at `position`, in the editor's viewport.
QPoint PointAt(TextEditor& editor, qsizetype position)
{
    const TextSelection kept = editor.selection();
    editor.SetSelection(position, position);
    const QRect caret = CaretOnScreen(editor);
    editor.SetSelection(kept.anchor(), kept.position());
    return QPoint(caret.x(), caret.center().y()) - editor.viewport()->pos();
}

// One, two or three clicks as a desktop sends them: a double click is a
// press followed by a double-click event.
void Click(QWidget* view, QPoint point, int clicks, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(view, Qt::LeftButton, modifiers, point);
    if (clicks < 2)
        return;
    QTest::mousePress(view, Qt::LeftButton, modifiers, point);
    QTest::mouseDClick(view, Qt::LeftButton, modifiers, point);
    QTest::mouseRelease(view, Qt::LeftButton, modifiers, point);
    if (clicks > 2)
        QTest::mouseClick(view, Qt::LeftButton, modifiers, point);
}

TextEditor* ShownEditor(const QString& text, QSize size = {300, 120})
{
    auto* editor = new TextEditor;
    editor->resize(size);
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor))
        return editor;
    editor->setPlainText(text);
    return editor;
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
    QTest::newRow("Ctrl+Left over a run of punctuation")
        << "a -=" << 4 << Keys{{Qt::Key_Left, control}} << "a -=" << 2 << 2;
    QTest::newRow("Ctrl+Left over a blank to the punctuation before it")
        << "? w" << 2 << Keys{{Qt::Key_Left, control}} << "? w" << 0 << 0;
    QTest::newRow("Ctrl+Left: a letter beyond Latin-1 is part of the word")
        << QString::fromUtf8("é€t") << 2 << Keys{{Qt::Key_Left, control}} << QString::fromUtf8("é€t") << 0 << 0;
    QTest::newRow("Ctrl+Backspace stops at a backslash")
        << "wW2yzHO\\jV1" << 11 << Keys{{Qt::Key_Backspace, control}} << "wW2yzHO\\" << 8 << 8;
    QTest::newRow("Ctrl+Backspace takes punctuation with the blank after it")
        << "RNa! " << 5 << Keys{{Qt::Key_Backspace, control}} << "RNa" << 3 << 3;
    QTest::newRow("Ctrl+Right crosses a line end one position")
        << "ab\ncd" << 2 << Keys{{Qt::Key_Right, control}} << "ab\ncd" << 3 << 3;
    QTest::newRow("Up on the first row and Down on the last stay")
        << "abcd\nab" << 2 << Keys{{Qt::Key_Up}, {Qt::Key_Right}, {Qt::Key_Down}, {Qt::Key_Down}} << "abcd\nab" << 7
        << 7;
    QTest::newRow("Shift+Down on the last row selects to the end")
        << "abcd" << 1 << Keys{{Qt::Key_Down, shift}} << "abcd" << 1 << 4;
    QTest::newRow("the column stays over an empty and a short line")
        << "abcdefgh\n\nab\nabcdefgh" << 6 << Keys{{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Down}}
        << "abcdefgh\n\nab\nabcdefgh" << 19 << 19;
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

void TextEditorTest::wordStopsAreTheTextLayouts()
{
    // Each character of the Basic Multilingual Plane between two words: word
    // steps back from the end and from just after it, which tell blanks,
    // separators and word characters apart, stop where the text layout's do.
    for (char16_t unit = 1; unit != 0; ++unit) {
        if (QChar::isSurrogate(unit) || unit == u'\n' || unit == u'\r' || unit == 0x2028 || unit == 0x2029)
            continue;
        const QString text = QStringLiteral("ab") + QChar(unit) + QStringLiteral("cd");
        const QTextLayout layout(text);
        for (const int from : {5, 3})
            QVERIFY2(words::PreviousStop(*EditorText::MakeVersion(text), from) ==
                         layout.previousCursorPosition(from, QTextLayout::SkipWords),
                     qPrintable(QStringLiteral("U+%1 from %2").arg(int(unit), 4, 16, QChar(u'0')).arg(from)));
    }
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

void TextEditorTest::formatsShowAsSoonAsSet()
{
    // A highlight, and its undo, show at once although the text stays.
    TextEditor editor;
    editor.resize(200, 60);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setPlainText("banana");
    const QImage plain = editor.grab().toImage();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    editor.SetSelection(1, 4);
    editor.MergeSelectionFormat(bold);
    editor.SetSelection(0, 0);
    QVERIFY(editor.grab().toImage() != plain);
    editor.undo();
    QCOMPARE(editor.grab().toImage(), plain);
    QCOMPARE(editor.toPlainText(), QStringLiteral("banana"));
}

void TextEditorTest::inputMethodComposesAtTheCaret()
{
    // Composed text shows at the caret without entering the text; the
    // committed text replaces what the input method says it replaces.
    TextEditor editor;
    editor.resize(200, 60);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setPlainText("ab");
    editor.SetSelection(1, 1);
    const QImage plain = editor.grab().toImage();
    QInputMethodEvent composing(QString::fromUtf8("中文"), {{QInputMethodEvent::Cursor, 1, 1, {}}});
    QApplication::sendEvent(&editor, &composing);
    QCOMPARE(editor.toPlainText(), QStringLiteral("ab"));
    QVERIFY(editor.grab().toImage() != plain);
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf8("中"), -1, 1);
    QApplication::sendEvent(&editor, &committed);
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("中b"));
    QCOMPARE(int(editor.selection().position()), 1);
    editor.undo();
    QCOMPARE(editor.toPlainText(), QStringLiteral("ab"));
}

void TextEditorTest::dropInsertsWhereLetGo()
{
    TextEditor editor;
    editor.resize(300, 60);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setPlainText("one two");
    QMimeData dragged;
    dragged.setText("dropped ");
    const auto dropAt = [&](QPoint point) {
        QDragEnterEvent enter(point, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &enter);
        QDropEvent drop(point, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &drop);
        return drop.isAccepted();
    };
    QVERIFY(dropAt({1, 8}));  // before the first character
    QCOMPARE(editor.toPlainText(), QStringLiteral("dropped one two"));
    QVERIFY(dropAt({editor.viewport()->width() - 2, 8}));  // past the end of the line
    QCOMPARE(editor.toPlainText(), QStringLiteral("dropped one twodropped "));
    editor.undo();
    QCOMPARE(editor.toPlainText(), QStringLiteral("dropped one two"));
    QMimeData picture;
    picture.setImageData(QImage(4, 4, QImage::Format_RGB32));
    QDropEvent image(QPointF(1, 8), Qt::CopyAction, &picture, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &image);
    QVERIFY(!image.isAccepted());
}

void TextEditorTest::contextMenuActsOnTheSelection()
{
    // Each row: what is selected, the action chosen, the text after; the
    // actions that need a selection are disabled without one.
    const struct {
        int from, to;
        const char* action;
        const char* after;
    } rows[] = {
        {1, 3, "Delete", "o two"},
        {0, 3, "Cu&t", " two"},
        {4, 7, "&Paste", "one one"},
        {0, 0, "Select All", "one two"},
    };
    for (const auto& row : rows) {
        TextEditor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.setPlainText("oXne two");
        editor.SetSelection(1, 2);
        QTest::keyClick(&editor, Qt::Key_Delete);  // something to undo
        editor.SetSelection(row.from, row.to);
        QApplication::clipboard()->setText("one");
        QStringList disabled;
        QTimer::singleShot(0, &editor, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && !action->isEnabled())
                    disabled << action->text();
                if (action->text() == row.action)
                    action->trigger();
            }
            menu->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), editor.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(editor.viewport(), &click);
        QCOMPARE(editor.toPlainText(), QString::fromUtf8(row.after));
        const QStringList withoutSelection{"&Redo", "Cu&t", "&Copy", "Delete"};
        QCOMPARE(disabled, row.from == row.to ? withoutSelection : QStringList{"&Redo"});
    }
}

void TextEditorTest::clicksSelectWordsAndLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::newRow("a word") << "alpha beta" << 8 << 2 << 6 << 10;
    QTest::newRow("a comma") << "alpha, beta" << 5 << 2 << 5 << 6;
    QTest::newRow("a run of marks") << "gamma;; delta" << 6 << 2 << 5 << 7;
    QTest::newRow("a blank: the word before") << "beta  gamma" << 5 << 2 << 0 << 4;
    QTest::newRow("the end of a line") << "one two\nx" << 7 << 2 << 4 << 7;
    QTest::newRow("an empty line: the caret") << "a\n\nb" << 2 << 2 << 2 << 2;
    QTest::newRow("after a last mark: the caret") << "abc def;\nx" << 8 << 2 << 8 << 8;
    QTest::newRow("after last blanks: the caret") << "uvw  \nx" << 5 << 2 << 5 << 5;
    QTest::newRow("a line with its break") << "one\ntwo two\nthree" << 6 << 3 << 4 << 12;
    QTest::newRow("the last line") << "one\nthree" << 6 << 3 << 4 << 9;
}

void TextEditorTest::clicksSelectWordsAndLines()
{
    QFETCH(QString, text);
    QFETCH(int, at);
    QFETCH(int, clicks);
    std::unique_ptr<TextEditor> editor(ShownEditor(text));
    Click(editor->viewport(), PointAt(*editor, at), clicks);
    QTEST(int(editor->selection().anchor()), "anchor");
    QTEST(int(editor->selection().position()), "caret");
}

void TextEditorTest::dragAfterDoubleClickGoesByWords()
{
    // Each step: where the mouse moves to with the button held after a
    // double click on "beta", and the selection then: the nearer end of the
    // word under the mouse, with "beta" kept.
    std::unique_ptr<TextEditor> editor(ShownEditor("alpha beta gamma delta"));
    QWidget* view = editor->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, PointAt(*editor, 7));
    QTest::mousePress(view, Qt::LeftButton, {}, PointAt(*editor, 7));
    QTest::mouseDClick(view, Qt::LeftButton, {}, PointAt(*editor, 7));
    const struct {
        int at, anchor, caret;
    } steps[] = {{13, 6, 11}, {15, 6, 16}, {8, 6, 10}, {1, 10, 0}, {4, 10, 5}};
    for (const auto& step : steps) {
        QTest::mouseMove(view, PointAt(*editor, step.at));
        QCOMPARE(editor->selection().anchor(), step.anchor);
        QCOMPARE(editor->selection().position(), step.caret);
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, PointAt(*editor, 4));
}

void TextEditorTest::clickOnTheSelectionPlacesTheCaret()
{
    std::unique_ptr<TextEditor> editor(ShownEditor("one two three"));
    editor->SetSelection(4, 13);
    Click(editor->viewport(), PointAt(*editor, 6), 1);
    QCOMPARE(editor->selection().anchor(), 6);
    QCOMPARE(editor->selection().position(), 6);
}

void TextEditorTest::selectionHeldBelowKeepsScrolling()
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("row %1").arg(i, 3, 10, QChar(u'0'));
    std::unique_ptr<TextEditor> editor(ShownEditor(lines.join(u'\n')));
    QWidget* view = editor->viewport();
    QScrollBar* bar = editor->verticalScrollBar();
    QTest::mousePress(view, Qt::LeftButton, {}, PointAt(*editor, 2));
    QTest::mouseMove(view, QPoint(20, view->height() + 10));
    const int firstStop = bar->value();
    QTest::qWait(600);
    // About a row each 50 ms this far out, without a move of the mouse;
    // nothing else scrolls meanwhile.
    const int rows = (bar->value() - firstStop) / 8;
    QVERIFY2(rows >= 5 && rows <= 13, qPrintable(QString::number(rows)));
    QVERIFY(editor->selection().position() > bar->value());
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(20, view->height() + 10));
    const int released = bar->value();
    QTest::qWait(300);
    QCOMPARE(bar->value(), released);
    QCOMPARE(editor->selection().anchor(), 2);
}

void TextEditorTest::wheelStepsAddUp()
{
    // Each row: the turns, an angle or else pixels as a touchpad sends them,
    // and the rows scrolled down after them.
    struct Turn {
        int angle, pixels;
    };
    const int notch = QApplication::wheelScrollLines();
    const int half = TextEditor().fontMetrics().lineSpacing() / 2;
    const struct {
        std::vector<Turn> turns;
        int rows;
    } rows[] = {{{{-120, 0}}, notch}, {std::vector<Turn>(4, {-30, 0}), notch},
                {{{-240, 0}, {120, 0}}, notch}, {{{-120, -half}, {-120, -half - 1}, {-120, -half}}, 1}};
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines << QStringLiteral("row %1").arg(i, 3, 10, QChar(u'0'));
    for (const auto& row : rows) {
        std::unique_ptr<TextEditor> editor(ShownEditor(lines.join(u'\n')));
        for (const Turn& turn : row.turns) {
            QWheelEvent wheel(QPointF(10, 10), editor->viewport()->mapToGlobal(QPointF(10, 10)),
                              QPoint(0, turn.pixels), QPoint(0, turn.angle), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(editor->viewport(), &wheel);
        }
        QCOMPARE(editor->verticalScrollBar()->value(), row.rows * 8);  // a row is 8 characters
    }
}

void TextEditorTest::selectingOffersPrimaryAndMiddleClickPastesIt()
{
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard->supportsSelection())
        QSKIP("this desktop has no selection for a middle click to paste");
    std::unique_ptr<TextEditor> editor(ShownEditor("alpha beta gamma"));
    QWidget* view = editor->viewport();
    Click(view, PointAt(*editor, 7), 2);
    QTRY_COMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("beta"));
    editor->setFocus();
    editor->SetSelection(0, 0);
    QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTRY_COMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("a"));
    clipboard->setText("PRIMARY", QClipboard::Selection);
    QTest::mouseClick(view, Qt::MiddleButton, {}, PointAt(*editor, 11));
    QCOMPARE(editor->toPlainText(), QStringLiteral("alpha beta PRIMARYgamma"));
    QCOMPARE(editor->selection().position(), 18);
    editor->undo();
    QCOMPARE(editor->toPlainText(), QStringLiteral("alpha beta gamma"));

    // A long selection is offered without a copy: still the whole of it, as
    // it was selected, after the selection and the text changed.
    const QString line = QStringLiteral("0123456789abcdef").repeated(8 * 1024);
    editor->setPlainText(line);
    editor->setFocus();
    QTest::keyClick(editor.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_X);
    QCOMPARE(editor->toPlainText(), QStringLiteral("xf"));
    QTRY_COMPARE(clipboard->text(QClipboard::Selection), line.chopped(1));
    std::unique_ptr<TextEditor> other(ShownEditor("[]"));
    QTest::mouseClick(other->viewport(), Qt::MiddleButton, {}, PointAt(*other, 1));
    QCOMPARE(other->toPlainText(), "[" + line.chopped(1) + "]");
}

QTEST_MAIN(TextEditorTest)
#include "TextEditorTest.moc"
