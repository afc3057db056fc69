// The editor's keys against the standard plain-text editor's: the same
// seeded random keys go to a TextEditor and to a QPlainTextEdit of the same
// size and font, and after every key both hold the same text, caret and
// anchor. A failure names its seed and the keys that led to it.
//
// TAMARIN_KEYS_SEED and TAMARIN_KEYS_COUNT run one seed for as many keys as
// asked, for a longer run than the few thousand keys of every build;
// TAMARIN_KEYS_REPORT says how many differences to print, TAMARIN_KEYS_TRACE
// from which key on to print each key and the state it meets.
#include "TextEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <deque>
#include <random>

class KeyboardParityTest : public QObject {
    Q_OBJECT
private slots:
    void keysEndAlikeInBothEditors_data();
    void keysEndAlikeInBothEditors();
    void shortRunsEndAlike_data();
    void shortRunsEndAlike();
    void undoAllAndRedoAllGiveBothEnds();
};

namespace {

struct Press {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

QString Describe(const Press& press)
{
    QString name = QKeySequence(press.key | press.modifiers).toString();
    if (!press.text.isEmpty() && press.modifiers == Qt::NoModifier && press.key == Qt::Key_unknown)
        name = QLatin1Char('"') + press.text + QLatin1Char('"');
    return name;
}

// The text on one line of a report, its blanks and marks readable.
QString Shown(QString text)
{
    return text.replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(QChar(QChar::Nbsp), QStringLiteral("\\u00a0"))
        .replace(QChar(0x0301), QStringLiteral("\\u0301"));
}

// Lines of every kind the keys meet: short, empty, long enough to wrap,
// with blanks and punctuation in runs, Latin-1 and beyond.
const QStringList Lines = {
    QStringLiteral("one two  three"),
    QString(),
    QStringLiteral("-=| ?! w, (a+b) x.y"),
    QString::fromUtf8("é€t — 中文 😀 naïve"),
    QStringLiteral("ab"),
    QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu"),
    QStringLiteral("a_b  \tc::d--e"),
    QString::fromUtf8("中中中中中中中中中中中中中中中中中中中中中中中中中中中中"),
    QStringLiteral("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"),
    QStringLiteral("   indented"),
    // Patterns, and text written as they are: escapes, classes, groups,
    // quantifiers and anchors in runs.
    QStringLiteral(R"(\d+\.\w+ ^(a|b)*$ [A-Z]{2,3}\s?)"),
    QString::fromUtf8(R"(wW2yzHO\jV1 \éc (?:x*)+\\[^\]]|y{1,})"),
    QStringLiteral(R"(C:\dir\file.txt \\server\share $1 a\ b)"),
};

class KeySource {
public:
    // `tabTypes`: Tab types a tab; where it moves the focus on instead, as
    // in the pattern editor, it is not pressed (each editor here is a window
    // of its own, with nowhere else for the focus to go).
    explicit KeySource(unsigned seed, bool tabTypes = true) : tabTypes_(tabTypes), random_(seed) {}

    QString StartText()
    {
        QStringList lines;
        const int count = Pick(25);
        for (int i = 0; i < count; ++i)
            lines << Lines[Pick(Lines.size())];
        return lines.join(u'\n');
    }

    Press Next()
    {
        static const QString typed[] = {
            "a", "b", "x", "Z", " ", " ", ".", ",", "-", "=", "?", "!", "(", "_", "'",
            // What patterns are made of, the backslash above all.
            "\\", "\\", "^", "$", "|", "*", "+", ")", "[", "]", "{", "}",
            QString::fromUtf8("é"), QString::fromUtf8("€"), QString::fromUtf8("—"),
            QString::fromUtf8("中"), QString::fromUtf8("😀"), QString(QChar::Nbsp), QString(QChar(0x0301)),
        };
        static const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                                        Qt::Key_Home, Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown};
        static const Qt::KeyboardModifiers chords[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                       Qt::ControlModifier | Qt::ShiftModifier};
        const int kind = Pick(100);
        if (kind < 30) {
            const QString text = typed[Pick(std::size(typed))];
            return {Qt::Key_unknown, Qt::NoModifier, text};
        }
        // Shift+Return is left out: the standard editor breaks the row
        // inside the paragraph with a line separator, which word motion then
        // skips as a blank. Ours keeps every line break as a new line, as
        // the search sees it.
        if (kind < 34)
            return {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")};
        if (kind < 36 && tabTypes_)
            return {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")};
        if (kind < 41)
            return {Qt::Key_Backspace, Pick(3) == 0 ? Qt::ControlModifier : Qt::NoModifier, {}};
        if (kind < 45)
            return {Qt::Key_Delete, Pick(3) == 0 ? Qt::ControlModifier : Qt::NoModifier, {}};
        if (kind < 88)
            return {moves[Pick(std::size(moves))], chords[Pick(std::size(chords))], {}};
        static const Press commands[] = {
            {Qt::Key_A, Qt::ControlModifier, {}},      {Qt::Key_C, Qt::ControlModifier, {}},
            {Qt::Key_X, Qt::ControlModifier, {}},      {Qt::Key_V, Qt::ControlModifier, {}},
            {Qt::Key_Insert, Qt::ControlModifier, {}}, {Qt::Key_Insert, Qt::ShiftModifier, {}},
            {Qt::Key_Delete, Qt::ShiftModifier, {}},   {Qt::Key_K, Qt::ControlModifier, {}},
            {Qt::Key_Z, Qt::ControlModifier, {}},      {Qt::Key_Y, Qt::ControlModifier, {}},
            {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, {}},
            // The keys of other desktops' schemes: Ctrl+K and Ctrl+U delete,
            // Ctrl+E and Ctrl+D move and delete, Ctrl+Shift+A deselects.
            {Qt::Key_U, Qt::ControlModifier, {}},      {Qt::Key_E, Qt::ControlModifier, {}},
            {Qt::Key_D, Qt::ControlModifier, {}},      {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, {}},
            {Qt::Key_Backspace, Qt::ShiftModifier, {}}, {Qt::Key_Up, Qt::ControlModifier, {}},
            {Qt::Key_Down, Qt::ControlModifier, {}},   {Qt::Key_Insert, Qt::NoModifier, {}},
            {Qt::Key_Escape, Qt::NoModifier, {}},      {Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r")},
        };
        return commands[Pick(std::size(commands))];
    }

private:
    int Pick(qsizetype below) { return std::uniform_int_distribution<int>(0, int(below) - 1)(random_); }
    bool tabTypes_;
    std::mt19937 random_;
};

bool IsUndoOrRedo(const Press& press)
{
    const QKeyEvent event(QEvent::KeyPress, press.key, press.modifiers, press.text);
    return event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo);
}

void Send(QWidget* widget, const Press& press)
{
    QTest::sendKeyEvent(QTest::Click, widget, press.key, press.text, press.modifiers);
}

struct Editors {
    TextEditor ours;
    QPlainTextEdit standard;

    // `tabLeaves`: Tab moves the focus on, as in the pattern editor.
    Editors(QSize size, bool tabLeaves)
    {
        ours.setTabChangesFocus(tabLeaves);
        standard.setTabChangesFocus(tabLeaves);
        for (QAbstractScrollArea* editor : {static_cast<QAbstractScrollArea*>(&ours),
                                            static_cast<QAbstractScrollArea*>(&standard)}) {
            // The scroll bar stays, so that both lay their lines out at one
            // width whatever the length of the text.
            editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            editor->setFont(QApplication::font());
            editor->resize(size);
            editor->show();
        }
        standard.move(size.width() + 20, 0);
    }

    QString Difference() const
    {
        const QTextCursor cursor = standard.textCursor();
        const TextSelection selection = ours.selection();
        // The characters as they are, no-break spaces included.
        QString theirs = standard.document()->toRawText();
        theirs.replace(QChar::ParagraphSeparator, u'\n');
        if (ours.text().toString() != theirs || ours.toPlainText() != standard.toPlainText())
            return QStringLiteral("text\n  ours:     \"%1\"\n  standard: \"%2\"")
                .arg(Shown(ours.text().toString()), Shown(theirs));
        if (selection.anchor() != cursor.anchor() || selection.position() != cursor.position())
            return QStringLiteral("selection: ours %1..%2, standard %3..%4 in \"%5\"")
                .arg(selection.anchor())
                .arg(selection.position())
                .arg(cursor.anchor())
                .arg(cursor.position())
                .arg(Shown(ours.toPlainText()));
        return {};
    }

    // Both at the same text and selection, scrolled as from the top: after an
    // undo or redo, whose steps may differ. Both take the text afresh, so that
    // neither remembers where page keys left its caret, nor its steps.
    void Align()
    {
        const TextSelection selection = ours.selection();
        const QString text = ours.text().toString();  // no-break spaces as they are
        standard.setPlainText(text);
        ours.setPlainText(text);
        ours.verticalScrollBar()->setValue(0);
        ours.SetSelection(selection.anchor(), selection.position());
        QTextCursor cursor = standard.textCursor();
        cursor.setPosition(int(selection.anchor()));
        cursor.setPosition(int(selection.position()), QTextCursor::KeepAnchor);
        standard.setTextCursor(cursor);
    }
};

int EnvironmentNumber(const char* name, int otherwise)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : otherwise;
}

} // namespace

void KeyboardParityTest::keysEndAlikeInBothEditors_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("tabLeaves");
    // The pattern editor's shape: a few wide rows, Tab leaving it.
    const QSize patternSize(520, 60);
    const int seed = EnvironmentNumber("TAMARIN_KEYS_SEED", -1);
    if (seed >= 0) {
        const int count = EnvironmentNumber("TAMARIN_KEYS_COUNT", 100000);
        QTest::newRow("wrapped, from the environment") << unsigned(seed) << count << QSize(170, 130) << false;
        QTest::newRow("wide, from the environment") << unsigned(seed) << count << QSize(520, 200) << false;
        QTest::newRow("pattern, from the environment") << unsigned(seed) << count << patternSize << true;
        return;
    }
    const int keys = EnvironmentNumber("TAMARIN_KEYS_COUNT", 1500);
    for (unsigned seed : {1u, 2u, 3u}) {
        QTest::addRow("narrow, lines wrap, seed %u", seed) << seed << keys << QSize(170, 130) << false;
        QTest::addRow("wide, seed %u", seed) << seed << keys << QSize(520, 200) << false;
        QTest::addRow("pattern editor, seed %u", seed) << seed << keys << patternSize << true;
    }
    // The top row joined to the text's first by Backspace, then a page key.
    QTest::newRow("pattern editor, seed 1167") << 1167u << 5641 << patternSize << true;
    // PgUp over a selection whose first step up lands where the caret was.
    QTest::newRow("narrow, seed 1206") << 1206u << 139 << QSize(170, 130) << false;
}

void KeyboardParityTest::keysEndAlikeInBothEditors()
{
    QFETCH(unsigned, seed);
    QFETCH(int, keys);
    QFETCH(QSize, size);
    QFETCH(bool, tabLeaves);
    Editors editors(size, tabLeaves);
    QVERIFY(QTest::qWaitForWindowExposed(&editors.ours));
    QVERIFY(QTest::qWaitForWindowExposed(&editors.standard));
    KeySource source(seed, !tabLeaves);
    const QString start = source.StartText();
    editors.ours.setPlainText(start);
    editors.standard.setPlainText(start);
    QApplication::clipboard()->setText(QStringLiteral("clip board\nline"));
    std::deque<Press> last;
    int differences = 0;
    QString first;
    const int reported = EnvironmentNumber("TAMARIN_KEYS_REPORT", 1);
    const int traceFrom = EnvironmentNumber("TAMARIN_KEYS_TRACE", keys);  // each key from there on
    for (int i = 0; i < keys; ++i) {
        const Press press = source.Next();
        last.push_back(press);
        if (last.size() > 12)
            last.pop_front();
        if (i >= traceFrom)
            qWarning("key %d %s meets ours %d..%d, standard %d..%d: \"%s\"", i, qPrintable(Describe(press)),
                     int(editors.ours.selection().anchor()), int(editors.ours.selection().position()),
                     editors.standard.textCursor().anchor(), editors.standard.textCursor().position(),
                     qPrintable(Shown(editors.ours.toPlainText())));
        if (QApplication::clipboard()->text().size() > 100) {
            // Copying everything and pasting it again and again would double
            // the text each time.
            QApplication::clipboard()->setText(QApplication::clipboard()->text().left(100));
        }
        Send(&editors.ours, press);
        if (IsUndoOrRedo(press)) {
            // Each editor keeps its own steps of typing; the property that
            // matters, undoing and redoing all of them, is tested below.
            editors.Align();
            continue;
        }
        Send(&editors.standard, press);
        const QString difference = editors.Difference();
        if (difference.isEmpty())
            continue;
        ++differences;
        QStringList names;
        for (const Press& key : last)
            names << Describe(key);
        const QString report = QStringLiteral("seed %1, key %2: %3\n  last keys: %4")
                                   .arg(seed)
                                   .arg(i)
                                   .arg(difference, names.join(QStringLiteral(", ")));
        if (first.isEmpty())
            first = report;
        if (differences <= reported)
            qWarning("%s", qPrintable(report));
        editors.Align();
    }
    if (differences > 0)
        qWarning("%d of %d keys differ", differences, keys);
    QVERIFY2(differences == 0, qPrintable(first));
}

void KeyboardParityTest::shortRunsEndAlike_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keys");
    // Deleting a word forward moves the caret as far as page keys know, so
    // they measure its height afresh (seed 904); deleting backward does not.
    QTest::newRow("Ctrl+Del between page keys")
        << QString::fromUtf8("+}-}\n- \n😀'$\n=_b .") << "Down, PgUp, Ctrl+Del, PgDown";
    QTest::newRow("Ctrl+Backspace between page keys") << "a\nb\nc\nd\ne\nf\ng\nh" << "PgDown, Ctrl+Backspace, PgDown";
    // Typing over a character moves the caret, though it ends where it was.
    QTest::newRow("typing between page keys") << "a\nb\nc\nd\ne" << "Ctrl+End, Left, Shift+Right, PgDown, x, Shift+PgUp";
    // Selecting everything is no move of the caret either.
    QTest::newRow("Ctrl+A between page keys") << "{*\n\n_Z\n!|\n$" << "Down, Down, Down, PgUp, Ctrl+A, Shift+PgUp";
    QTest::newRow("Ctrl+A leaves the view") << "a\nb\nc\nd\ne\nf" << "Ctrl+A, Up, Shift+PgUp";
    // A page down to a row inside a wrapped line shows it a pixel lower.
    QTest::newRow("paging into a wrapped line") << QString(400, u'x') + "\na\nb\nc\nd\ne" << "PgDown, Down, PgDown";
    // An edit keeps the top row by its line's number and its number in the
    // line: a character typed at the top row's start that fits on the row
    // above leaves the view a row further on in the line.
    QTest::newRow("typing at the top row's start") << "a " + QString(150, u'x') + "\nb\nc\nd\ne"
                                                   << QString::fromUtf8("Down, Down, Down, Up, Up, Home, 中, PgDown");
    // Lines pasted over a selection from the line above the top one.
    QTest::newRow("pasting over the top line's start") << "a\nb\nc\nd\ne\nf\ng\nh"
                                                       << "Shift+Down, Ctrl+C, Right, End, Shift+Down, Shift+Down, "
                                                          "Shift+Down, Shift+Down, Ctrl+V, PgDown";
}

void KeyboardParityTest::shortRunsEndAlike()
{
    QFETCH(QString, text);
    QFETCH(QString, keys);
    Editors editors(QSize(520, 60), true);
    QVERIFY(QTest::qWaitForWindowExposed(&editors.ours));
    editors.ours.setPlainText(text);
    editors.Align();
    for (const QString& name : keys.split(QStringLiteral(", "))) {
        const QKeyCombination key = QKeySequence(name)[0];
        const Press press{key.key(), key.keyboardModifiers(), name.size() == 1 ? name : QString()};
        Send(&editors.ours, press);
        Send(&editors.standard, press);
        QVERIFY2(editors.Difference().isEmpty(), qPrintable(Describe(press) + u' ' + editors.Difference()));
    }
}

void KeyboardParityTest::undoAllAndRedoAllGiveBothEnds()
{
    // Whatever the steps, undoing every one gives back the text before the
    // keys, and redoing every one the text after them.
    for (unsigned seed : {11u, 12u, 13u, 14u}) {
        TextEditor editor;
        editor.resize(170, 130);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        KeySource source(seed);
        const QString start = source.StartText();
        editor.setPlainText(start);
        for (int i = 0; i < 400; ++i) {
            Send(&editor, source.Next());
        }
        const QString end = editor.toPlainText();
        while (editor.isUndoAvailable())
            editor.undo();
        QCOMPARE(editor.toPlainText(), start);
        while (editor.isRedoAvailable())
            editor.redo();
        QCOMPARE(editor.toPlainText(), end);
    }
}

QTEST_MAIN(KeyboardParityTest)
#include "KeyboardParityTest.moc"
