// The editors' text store: its characters and its 8-bit text through every
// edit, undo and redo, versions that whoever keeps them never sees change,
// and formats that move with the text.
#include "EditorText.h"

#include <QTest>
#include <QTextCharFormat>

#include <random>

using namespace tamarin;

class EditorTextTest : public QObject {
    Q_OBJECT
private slots:
    void editorTextFollowsEdits();
    void removalJoinedAfterUndoKeepsRedo();
    void editorTextFormats_data();
    void editorTextFormats();
    void lastByteSearch();
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
void EditorTextTest::editorTextFollowsEdits()
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
        if (join && done > 0) {
            history[done] = next;  // joined to the last step: what could be redone stays
        } else {
            history.resize(done + 1);
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
        QCOMPARE(text.Bytes(), codepage::Encode(history[done].toStdU16String()));
        QCOMPARE(TextSpan(*kept).toString(), keptText);
    }
}

// The pattern editor takes out every line break an undo brings back, as part
// of the step undone last: redoing then still gets to the text after every step.
void EditorTextTest::removalJoinedAfterUndoKeepsRedo()
{
    EditorText text;
    const auto removeBreaks = [&] {
        for (qsizetype at = text.Characters().lastIndexOf(u'\n'); at >= 0;
             at = text.Characters().lastIndexOf(u'\n'))
            text.Replace(at, at + 1, {}, true);
    };
    text.Replace(0, 0, u"ab");
    text.Replace(2, 2, u"\n");
    text.Replace(3, 3, u"cd");
    removeBreaks();
    QCOMPARE(text.Characters().toString(), QStringLiteral("abcd"));
    for (int i = 0; i < 2; ++i) {
        text.Undo();
        removeBreaks();
    }
    QCOMPARE(text.Characters().toString(), QStringLiteral("ab"));
    while (text.CanRedo()) {
        text.Redo();
        removeBreaks();
    }
    QCOMPARE(text.Characters().toString(), QStringLiteral("abcd"));
    while (text.CanUndo()) {
        text.Undo();
        removeBreaks();
    }
    QCOMPARE(text.Characters().toString(), QString());
}

// Formats move with the text as a rich editor's do: typing takes the format
// of the character before the caret (at a line's start, of the one after),
// and undoing a format is a step that changes no character.
void EditorTextTest::editorTextFormats_data()
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

void EditorTextTest::editorTextFormats()
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

QTEST_MAIN(EditorTextTest)
// The backward byte search, with the C library's memrchr and with the plain
// loop other C libraries get, over every prefix of bytes that include a NUL
// and ones of 0x80 and up; and a view's lastIndexOf built on it.
void EditorTextTest::lastByteSearch()
{
    const std::string bytes("a\nb\0a\xE9\n\xE9z", 10);
    for (const char c : {'a', '\n', '\0', '\xE9', 'z', 'q'}) {
        for (std::size_t length = 0; length <= bytes.size(); ++length) {
            const std::size_t expected = bytes.find_last_of(c, length == 0 ? 0 : length - 1);
            const void* want = length == 0 || expected == std::string::npos ? nullptr : bytes.data() + expected;
            QCOMPARE(static_cast<const void*>(text_bytes::LastOf(bytes.data(), length, c)), want);
            QCOMPARE(static_cast<const void*>(text_bytes::LastOfByLoop(bytes.data(), length, c)), want);
        }
    }
    const TextVersion version{"ab\nab\n", {}, false};
    const TextSpan span(version);
    QCOMPARE(span.lastIndexOf(u'b'), 4);
    QCOMPARE(span.lastIndexOf(u'b', 3), 1);
    QCOMPARE(span.lastIndexOf(u'a', 0), 0);
    QCOMPARE(span.lastIndexOf(u'z'), -1);
}

#include "EditorTextTest.moc"
