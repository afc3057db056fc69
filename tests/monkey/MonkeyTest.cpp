// A seeded random walk of user actions over the main window and every
// dialog: typing, pasting, deleting, Enter and Tab into whatever has the
// focus, clicks into the editors, on buttons, boxes, tool buttons, menu items
// and the selector, dialogs driven and closed by OK, Cancel, Close, Escape,
// Enter and the close box, message boxes answered. After every action the
// pattern and input editors must hold exactly what the actions typed (the
// pattern less the line breaks an evaluation removes), and after every
// evaluation the report must be consistent and agree with the engine.
//
// TAMARIN_MONKEY_SEED and TAMARIN_MONKEY_ACTIONS override the seed and the
// number of actions; a failure prints the seed and the last actions.
#include "WidgetTestSupport.h"

#include "CodePageText.h"
#include "Engine.h"
#include "HeadlessView.h"
#include "LinkLabel.h"
#include "OutcomeLine.h"
#include "ResultPane.h"
#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QToolBar>

#include <deque>
#include <map>
#include <optional>
#include <random>

using namespace WidgetTest;

namespace {

// ---- What the editors must hold ----

// An editor's text (line breaks as '\n'), selection anchor and caret.
struct EditorModel {
    QString text;
    int anchor = 0, caret = 0;
    bool operator==(const EditorModel&) const = default;
};

EditorModel Read(const TextEditor* editor)
{
    // The raw text: plain text would show a no-break space as a blank.
    const TextSelection selection = editor->selection();
    return {editor->text().toString(), int(selection.anchor()), int(selection.position())};
}

enum class Key { Text, Backspace, Delete, Tab, Backtab };

// The one model of editing: what an editor holds after a key (or a paste of
// `text`) reached it. Typed text replaces the selection; Backspace and Delete
// without a selection take the character before or after the caret; Tab and
// Shift+Tab leave the editor as it is (they move the focus on).
EditorModel Typed(EditorModel m, Key key, QString text = {})
{
    int from = std::min(m.anchor, m.caret), to = std::max(m.anchor, m.caret);
    if (key == Key::Tab || key == Key::Backtab)
        return m;
    if (from == to && key == Key::Backspace)
        from = std::max(from - 1, 0);
    if (from == to && key == Key::Delete)
        to = std::min(to + 1, int(m.text.size()));
    text.replace("\r\n", "\n").replace('\r', '\n').replace(QChar::ParagraphSeparator, '\n')
        .replace(QChar::LineSeparator, '\n');
    m.text.replace(from, to - from, text);
    m.anchor = m.caret = from + int(text.size());
    return m;
}

// The pattern once an evaluation has removed its line breaks: the caret keeps
// its place in the text.
EditorModel WithoutLineBreaks(EditorModel m)
{
    const auto before = [&](int position) { return int(m.text.left(position).count('\n')); };
    m.anchor -= before(m.anchor);
    m.caret -= before(m.caret);
    m.text.remove('\n');
    return m;
}

// The engine's 8-bit text of an editor.
std::string Bytes(const TextEditor* editor)
{
    return editor->Content().Bytes();
}
std::string Bytes(const QPlainTextEdit* editor)
{
    return CodePageText::ToCodePage(editor->document()->toRawText());
}

// ---- The walk ----

void ClickAt(QWidget* widget, QPoint where = {})
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, where.isNull() ? widget->rect().center() : where);
}

const QString Characters[] = {"a", "b", "c", "x", "A", "B", "0", "9", " ", ".", "*", "+", "?", "|", "(",
                              ")", "[", "]", "{", "}", "^", "$", "\\", "-", ",", "=", "<", "#", ":",
                              "\u00E9", "\u00FF", "\u00A0", "\u20AC", "\u03A9", "\u4E2D"};
const QString Pastes[] = {"(a|b)*", "\\d+", "[^x]", "a{2}", "\\(a\\)", "(?i)", "\r\n", "x\ny", "(", "[",
                          "a\r\nb", "\tb", "ab", "\u20ACuro", "(>++(?#E\\<)C", "(a++(?#x))", "x*",
                          "[[:alpha:]]+", "aaaaaaaaaaaaaaaaaaaaaaaa", "(x+x+)+y"};

class Walk {
public:
    Walk(quint64 seed, int actions) : seed_(seed), left_(actions), rng_(seed) {}

    // Runs the walk; returns the first failure, empty if there was none.
    QString Run();
    QString Summary() const;
    QStringList Recent() const { return {recent_.begin(), recent_.end()}; }

private:
    using Action = std::function<void()>;
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T, std::size_t N> const T& PickOf(const T (&items)[N]) { return items[Pick(int(N))]; }

    void Fail(const QString& what);
    void Step(const QString& name, const Action& act, std::optional<bool> evaluates = false);
    void Settle();
    void Verify(std::optional<bool> evaluates);
    void CheckReport();

    void MainAction();
    void SyntaxTestAction();
    void KeyAction();
    void ClickMenuItem(QAction* item);
    void PickFromSelector(QComboBox* box);
    void AnswerMessageBox();
    void DriveDialog();
    void DialogAction(QDialog* dialog);
    void CloseDialog(QDialog* dialog);
    bool BothNonEmpty(const EditorModel& pattern, const EditorModel& input) const
    {
        return !pattern.text.isEmpty() && !input.text.isEmpty();
    }

    quint64 seed_;
    int left_;
    int done_ = 0;
    std::mt19937_64 rng_;
    QString failure_;
    std::deque<QString> recent_;
    EditorModel pattern_, input_;  // what the two editors must hold

    // Seen during the current step.
    EvaluationCounter stepEvaluations_;
    QStringList messages_;
    QDialog* opened_ = nullptr;
    bool expectTable_ = false;  // "?" of the card checker shows its table

    // Totals, for the summary.
    int evaluations_ = 0, matches_ = 0, dialogs_ = 0, messageCount_ = 0;
    BrowserStandIn browser_;
};

void Walk::Fail(const QString& what)
{
    if (failure_.isEmpty())
        failure_ = QString("action %1: %2").arg(done_).arg(what);
}

// One user action: `act` does it, the events it caused run, then the checks.
// `evaluates` says whether it must start an evaluation (nullopt: may or may not).
void Walk::Step(const QString& name, const Action& act, std::optional<bool> evaluates)
{
    if (!failure_.isEmpty())
        return;
    recent_.push_back(QString::number(done_) + " " + name);
    if (recent_.size() > 25)
        recent_.pop_front();
    stepEvaluations_.restart();
    messages_.clear();
    opened_ = nullptr;
    act();
    Settle();
    Verify(evaluates);
    ++done_;
    --left_;
}

void Walk::Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void Walk::Verify(std::optional<bool> evaluates)
{
    const bool evaluated = stepEvaluations_.count() > 0;
    if (evaluates && *evaluates != evaluated)
        Fail(evaluated ? "an evaluation ran that nothing asked for" : "no evaluation ran");
    if (evaluated) {
        ++evaluations_;
        pattern_ = WithoutLineBreaks(pattern_);
        CheckReport();
    } else if (!messages_.isEmpty() && !(expectTable_ && messages_.size() == 1)) {
        Fail("message box without an evaluation: " + messages_.join(" / "));
    }
    expectTable_ = false;
    const auto describe = [](const EditorModel& m) {
        return QString("'%1' (selection %2-%3)").arg(m.text).arg(m.anchor).arg(m.caret);
    };
    for (const auto& [editor, model] : {std::pair{frmMain->mmoSignature, pattern_}, {frmMain->reSearch, input_}})
        if (Read(editor) != model)
            Fail(editor->objectName() + " holds " + describe(Read(editor)) + ", the actions typed " +
                 describe(model));
    stepEvaluations_.restart();
    messages_.clear();
}

// The report of the last evaluation, read from the widgets: one node and its
// "Pos : ... Len : ..." child inside the input, the panes around the match,
// the whole input for Match, empty panes otherwise, no mark in the input
// (highlighting cannot be switched on); and the engine, given what the
// widgets show, reports the same.
void Walk::CheckReport()
{
    QTreeWidget* tree = frmMain->TreeView1;
    const QString input = frmMain->reSearch->toPlainText();
    const QString before = frmMain->what1->toPlainText(), after = frmMain->what0->toPlainText();

    tamarin::HeadlessView view;
    tamarin::EvaluationState state;
    state.AlgorithmIndex = frmMain->btnMatch->text() == "Match" ? 0 : 1;
    const QStringList syntaxes = {"Syntax : Perl", "Syntax : POSIX Basic", "Syntax : POSIX Extended"};
    state.SyntaxIndex = int(syntaxes.indexOf(frmMain->StatusPanel(3)->text()));
    state.InputSnapshot = Bytes(frmMain->reSearch);
    state.PatternSnapshot = Bytes(frmMain->mmoSignature);
    view.SetText(tamarin::TextControl::reSearch, std::string(state.InputSnapshot.View()));
    view.SetChecked(tamarin::CheckControl::cbCaseSensitive, frmMain->cbCaseSensitive->isChecked());
    view.SetChecked(tamarin::CheckControl::cfgSyntaxCheck, frmConfig->cfgSyntaxCheck->isChecked());
    tamarin::EvaluationOutcome expected;
    tamarin::Evaluate({view, state, &expected});

    const qsizetype inputLength = frmMain->reSearch->text().size();
    if (!frmMain->reSearch->Content().FormatsOf(0, inputLength).isEmpty())
        Fail("the input carries a mark although highlighting is off");

    // The outcome line tells the same ending (its time aside).
    const auto told = [](const QString& text) { return text.section(QStringLiteral(" \u00B7 "), 0, 0); };
    if (told(frmMain->pnOutcome->text()) != told(OutcomeText(expected, 0)))
        Fail("the outcome line says '" + frmMain->pnOutcome->text() + "', the engine: " + OutcomeText(expected, 0));

    const int messages = expected.result == tamarin::ResultPatternRejected ? 1 : 0;
    if (messages_.size() != messages || (messages && messages_[0] != tamarin::InvalidPatternMessage))
        Fail(QString("expected %1 message(s), saw: %2").arg(messages).arg(messages_.join(" / ")));

    if (tree->topLevelItemCount() == 0) {
        if (!before.isEmpty() || !after.isEmpty())
            Fail("no match, but the panes hold '" + before + "' and '" + after + "'");
        if (expected.result == tamarin::ResultMatched)
            Fail(QString("the engine matches at %1, the window shows nothing").arg(expected.pos));
        return;
    }
    ++matches_;
    QTreeWidgetItem* node = tree->topLevelItem(0);
    static const QRegularExpression numbers("^Pos : (0|[1-9][0-9]*)  Len : (0|[1-9][0-9]*)$");
    const QRegularExpressionMatch child =
        numbers.match(node->childCount() == 1 ? node->child(0)->text(0) : QString());
    if (tree->topLevelItemCount() != 1 || !child.hasMatch() || node->child(0)->childCount() != 0) {
        Fail("the tree is not one node with its position child");
        return;
    }
    const int pos = child.captured(1).toInt(), len = child.captured(2).toInt();
    if (pos + len > input.size())
        Fail(QString("Pos %1 Len %2 outside an input of %3").arg(pos).arg(len).arg(input.size()));
    else if (node->text(0) != input.mid(pos, len) || before != input.left(pos) || after != input.mid(pos + len))
        Fail(QString("'%1' + '%2' + '%3' is not the input '%4'").arg(before, node->text(0), after, input));
    if (frmMain->btnMatch->text() == "Match" && (pos != 0 || len != input.size()))
        Fail("Match reports less than the whole input");
    if (expected.result != tamarin::ResultMatched || expected.pos != pos || expected.len != len)
        Fail(QString("the engine reports %1 at %2+%3").arg(expected.result).arg(expected.pos).arg(expected.len));
}

// ---- Actions ----

// A key (or a paste) to whatever has the focus, as a user types.
void Walk::KeyAction()
{
    // An open list or menu takes the keys.
    QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                        : QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow() ? QApplication::activeWindow() : frmMain;
    EditorModel* model = target == frmMain->mmoSignature ? &pattern_
                         : target == frmMain->reSearch  ? &input_
                                                        : nullptr;
    Key key = Key::Text;
    QString text;
    std::function<void()> press;
    switch (Pick(10)) {
    case 0: case 1: case 2: case 3: {
        // Mostly letters, so that patterns match now and then.
        text = Chance(50) ? QString("abcx")[Pick(4)] : PickOf(Characters);
        press = [=] {
            if (text[0].unicode() < 0x80)
                QTest::keyClick(target, text[0].toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text, Qt::NoModifier);
        };
        break;
    }
    case 4:
        text = PickOf(Pastes);
        press = [=] {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        };
        break;
    case 5: key = Key::Backspace; press = [=] { QTest::keyClick(target, Qt::Key_Backspace); }; break;
    case 6: key = Key::Delete; press = [=] { QTest::keyClick(target, Qt::Key_Delete); }; break;
    case 7: text = "\n"; press = [=] { QTest::keyClick(target, Qt::Key_Return); }; break;
    case 8:
        key = Chance(50) ? Key::Tab : Key::Backtab;
        press = [=] { QTest::keyClick(target, key == Key::Tab ? Qt::Key_Tab : Qt::Key_Backtab); };
        break;
    default: {
        // Moving around changes no text.
        const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_A, Qt::Key_Escape};
        const Qt::Key move = PickOf(moves);
        const Qt::KeyboardModifiers mods = move == Qt::Key_A || Chance(30) ? Qt::ControlModifier : Qt::NoModifier;
        Step(QString("key %1 to %2").arg(QKeySequence(move | mods).toString(), target->objectName()), [=, this] {
            QTest::keyClick(target, move, mods);
            if (model)
                *model = Read(static_cast<TextEditor*>(target));
        }, model ? std::optional<bool>(false) : std::nullopt);
        return;
    }
    }
    const QString name = QString("%1 '%2' to %3")
                             .arg(QStringList{"type", "backspace", "delete", "tab", "backtab"}[int(key)])
                             .arg(text.toHtmlEscaped().replace('\n', "\\n").replace('\r', "\\r"))
                             .arg(target->objectName());
    if (!model) {
        // Keys elsewhere leave both editors alone. A space or Enter may click
        // a button or box, and in the match options dialog end it by OK.
        const bool mayEvaluate = target == frmMain->btnMatch || target == frmMain->cbSimultaneous ||
                                 target->window() == frmConfig;
        expectTable_ = target == frmCredit->Button3;
        Step(name, press, mayEvaluate ? std::nullopt : std::optional<bool>(false));
        return;
    }
    const EditorModel typed = Typed(Read(static_cast<TextEditor*>(target)), key, text);
    const EditorModel pattern = model == &pattern_ ? typed : pattern_;
    const EditorModel input = model == &input_ ? typed : input_;
    const bool changed = typed.text != model->text, realTime = frmMain->cbSimultaneous->isChecked();
    // Text typed over the same selected text is an edit too.
    const bool edited = changed || (model->anchor != model->caret && key == Key::Text);
    const bool evaluates = realTime && edited && BothNonEmpty(pattern, input);
    const QString why = OutcomeText(pattern.text.isEmpty() ? NothingToDo::EmptyPattern : NothingToDo::EmptyInput);
    Step(name, [=, this] {
        *model = typed;
        press();
    }, evaluates);
    // A real-time edit that leaves an editor empty evaluates nothing, and says why.
    if (realTime && edited && !BothNonEmpty(pattern, input)) {
        if (frmMain->pnOutcome->text() != why)
            Fail("the outcome line says '" + frmMain->pnOutcome->text() + "', not '" + why + "'");
    }
}

void Walk::ClickMenuItem(QAction* item)
{
    QMenuBar* bar = frmMain->menuBar();
    for (QAction* title : bar->actions()) {
        QMenu* menu = title->menu();
        if (!menu || !menu->actions().contains(item))
            continue;
        QTest::mouseMove(bar, bar->actionGeometry(title).center());
        ClickAt(bar, bar->actionGeometry(title).center());
        Settle();
        if (!menu->isVisible()) {
            Fail("menu " + menu->objectName() + " did not open");
            return;
        }
        // The pointer goes from the menu's title onto the item before it
        // clicks, as a hand's does: Qt 6.8's menus trigger no item where
        // the pointer has not moved since the menu opened.
        QTest::mouseMove(menu, menu->actionGeometry(item).center());
        Settle();
        ClickAt(menu, menu->actionGeometry(item).center());
        // A disabled item leaves its menu open.
        if (menu->isVisible())
            QTest::keyClick(menu, Qt::Key_Escape);
    }
}

// Opens a selector's list with the mouse and clicks one of its entries.
void Walk::PickFromSelector(QComboBox* box)
{
    ClickAt(box);
    Settle();
    QAbstractItemView* list = box->view();
    if (!list->isVisible()) {
        Fail(box->objectName() + " did not open its list");
        return;
    }
    const QModelIndex entry = box->model()->index(Pick(box->count()), 0);
    const QRect rect = list->visualRect(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    Settle();
    if (list->isVisible())
        box->hidePopup();
}

void Walk::MainAction()
{
    TfrmMain* w = frmMain;
    const bool both = BothNonEmpty(pattern_, input_);
    const int roll = Pick(100);
    if (roll < 55 || QApplication::activePopupWidget())
        return KeyAction();
    if (roll < 60) {
        // Starting over: all of an editor selected, so that typing replaces it.
        TextEditor* editor = Chance(50) ? w->mmoSignature : w->reSearch;
        return Step("select all of " + editor->objectName(), [=, this] {
            ClickAt(editor->viewport());
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            (editor == w->mmoSignature ? pattern_ : input_) = Read(editor);
        });
    }
    if (roll < 67) {
        // A click into an editor places the caret there; into a pane, changes nothing.
        QAbstractScrollArea* const editors[] = {w->mmoSignature, w->reSearch, w->mmoSignature, w->reSearch, w->what0, w->what1};
        QAbstractScrollArea* editor = PickOf(editors);
        const QPoint where(Pick(editor->viewport()->width()), Pick(editor->viewport()->height()));
        return Step("click into " + editor->objectName(), [=, this] {
            ClickAt(editor->viewport(), where);
            if (editor == w->mmoSignature)
                pattern_ = Read(w->mmoSignature);
            if (editor == w->reSearch)
                input_ = Read(w->reSearch);
        });
    }
    if (roll < 72)
        return Step("click btnMatch", [=, this] { ClickAt(w->btnMatch); }, both);
    if (roll < 75)
        return Step("click cbSimultaneous", [=] { ClickChoice(w->cbSimultaneous); }, both);
    if (roll < 78)
        return Step("click cbCaseSensitive", [=] { ClickChoice(w->cbCaseSensitive); });
    if (roll < 82)
        return Step("pick from ComboBoxEx1", [=, this] { PickFromSelector(w->ComboBoxEx1); });
    if (roll < 89) {
        // A tool button or a menu item; the ones that open a dialog open it modally.
        QAction* const commands[] = {w->tbNew, w->tbOpen, w->tbSave, w->tbSyntax, w->tbAlgorithm, w->tbConfig,
                                     w->ToolButton13, w->ToolButton14, w->tbAbout};
        QAction* const items[] = {w->mnuNew, w->mnuOpen, w->mnuSave, w->mnuSaveAs, w->mnuClose, w->Exit1,
                                  w->mnuSyntax, w->mnuAlgorithms, w->mnuConfig, w->mnuCreditCardNumberCheck,
                                  w->mnuRegExpSyntaxTest, w->HowToUseTamarin1, w->RegularExpressionTutorial1,
                                  w->SupportWebBoard1, w->TamarinWebSite1, w->About1};
        const bool menu = Chance(50);
        QAction* action = menu ? PickOf(items) : PickOf(commands);
        const int linksBefore = int(browser_.opened.size());
        Step((menu ? "menu " : "tool button ") + action->objectName(), [=, this] {
            if (menu)
                ClickMenuItem(action);
            else
                ClickAt(w->ToolBar1->widgetForAction(action));
        });
        const bool link = action == w->ToolButton13 || action == w->ToolButton14 ||
                          action == w->SupportWebBoard1 || action == w->TamarinWebSite1;
        if (!opened_ && browser_.opened.size() != linksBefore + (link ? 1 : 0))
            Fail(action->objectName() + ": wrong number of web addresses opened");
        const std::map<QAction*, QDialog*> opens = {
            {w->tbSyntax, frmSettings}, {w->mnuSyntax, frmSettings}, {w->tbAlgorithm, frmSettings},
            {w->mnuAlgorithms, frmSettings}, {w->tbConfig, frmConfig}, {w->mnuConfig, frmConfig},
            {w->mnuCreditCardNumberCheck, frmCredit}, {w->tbAbout, frmAbout}, {w->About1, frmAbout}};
        if (opened_ != (opens.count(action) ? opens.at(action) : nullptr))
            Fail(action->objectName() + " opened " + (opened_ ? opened_->objectName() : "no dialog"));
        if (action == w->Exit1) {
            if (w->isVisible())
                Fail("Exit left the main window open");
            w->show();
            ShowActive(w);
        }
        return;
    }
    if (roll < 90) {
        Step("key F1", [=] { QTest::keyClick(w, Qt::Key_F1); });
        if (opened_ != frmAbout)
            Fail("F1 did not open the About box");
        return;
    }
    if (roll < 97 && frmSyntax->isVisible())
        return Step("switch to frmSyntax", [] { ShowActive(frmSyntax); });
    Step("click the tree", [=] { ClickAt(w->TreeView1->viewport()); });
}

void Walk::SyntaxTestAction()
{
    TfrmSyntax* d = frmSyntax;
    switch (Pick(8)) {
    case 0: case 1: return KeyAction();
    case 2: return Step("click into mnoSignature", [=] { ClickAt(d->mnoSignature->viewport()); });
    case 3: return Step("pick from frmSyntax.ComboBoxEx1", [=, this] { PickFromSelector(d->ComboBoxEx1); });
    case 4: {
        Step("click frmSyntax.Test", [=] { ClickAt(d->Button2); });
        const bool valid = tamarin::PatternCompiles(Bytes(d->mnoSignature),
                                                    tamarin::SyntaxFromIndex(d->ComboBoxEx1->currentIndex()),
                                                    frmMain->cbCaseSensitive->isChecked());
        if (d->Edit2->text() != (valid ? "Regular Expression" : "Invalid Regular Expression"))
            Fail("syntax test verdict '" + d->Edit2->text() + "'");
        return;
    }
    case 5: return Step("switch to frmMain", [] { ShowActive(frmMain); });
    default: {
        const int way = Pick(3);
        Step(QStringList{"frmSyntax.Close", "frmSyntax Escape", "frmSyntax close box"}[way], [=] {
            if (way == 0)
                ClickAt(d->Button1);
            else if (way == 1)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        if (d->isVisible())
            Fail("the syntax test did not close");
        ShowActive(frmMain);
    }
    }
}

// Message boxes are answered at once, by OK, Enter, Escape or the close box.
void Walk::AnswerMessageBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    ++messageCount_;
    messages_ << box->text();
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (box->buttons().size() != 1 || !ok)
        Fail("a message box without exactly one OK button: " + box->text());
    switch (ok ? Pick(4) : 3) {
    case 0: ok->click(); break;
    case 1: QTest::keyClick(box, Qt::Key_Return); break;
    case 2: QTest::keyClick(box, Qt::Key_Escape); break;
    default: box->close(); break;
    }
}

// Runs inside a dialog's modal run: a few of its controls, then one way out.
void Walk::DriveDialog()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || qobject_cast<QMessageBox*>(dialog) || !dialog->isVisible())
        return;
    ++dialogs_;
    ShowActive(dialog);
    for (int n = Pick(7); n > 0 && left_ > 0 && failure_.isEmpty() && dialog->isVisible(); --n)
        DialogAction(dialog);
    while (dialog->isVisible() && failure_.isEmpty())
        CloseDialog(dialog);
    if (dialog->isVisible())
        dialog->reject();  // a failure: unwind
    opened_ = dialog;
}

void Walk::DialogAction(QDialog* dialog)
{
    const QString where = dialog->objectName() + ".";
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        if (b->isVisible() && !QStringList{"&OK", "&Cancel", "&Close"}.contains(b->text()))
            buttons << b;
    const QList<LinkLabel*> links = dialog->findChildren<LinkLabel*>();
    const QList<QTabBar*> tabs = dialog->findChildren<QTabBar*>();
    const int roll = Pick(10);
    if (roll < 4)
        return KeyAction();
    if (roll < 7 && !buttons.isEmpty()) {
        QAbstractButton* b = buttons[Pick(int(buttons.size()))];
        expectTable_ = b == frmCredit->Button3 && b->isEnabled();
        return Step("click " + where + b->objectName(), [=] {
            if (qobject_cast<QPushButton*>(b))
                ClickAt(b);
            else
                ClickChoice(b);
        });
    }
    if (roll < 8 && !tabs.isEmpty()) {
        QTabBar* bar = tabs[Pick(int(tabs.size()))];
        const int tab = Pick(bar->count());
        return Step(where + "tab " + QString::number(tab), [=] { ClickAt(bar, bar->tabRect(tab).center()); });
    }
    if (roll == 9 && !links.isEmpty()) {
        LinkLabel* link = links[Pick(int(links.size()))];
        const int before = int(browser_.opened.size());
        Step("click " + where + link->objectName(), [=] { ClickAt(link, link->rect().center()); });
        if (browser_.opened.size() != before + 1)
            Fail(link->objectName() + " opened no web address");
    }
}

void Walk::CloseDialog(QDialog* dialog)
{
    static const char* const ways[] = {"&OK", "&Cancel", "&Close", "Escape", "close box", "Enter"};
    const QString way = ways[Pick(6)];
    QPushButton* button = nullptr;
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == way)
            button = b;
    if (way.startsWith('&') && !button)
        return;  // this dialog has no such button
    // OK of the match options runs one evaluation when it changes real-time
    // match; Enter there clicks OK or the button that has the focus.
    std::optional<bool> evaluates = false;
    const bool changes = dialog == frmConfig &&
                         frmConfig->cbSimultaneous->isChecked() != frmMain->cbSimultaneous->isChecked() &&
                         BothNonEmpty(pattern_, input_);
    if (changes && way == "&OK")
        evaluates = true;
    if (changes && way == "Enter")
        evaluates.reset();
    Step(dialog->objectName() + " " + way, [=] {
        if (button)
            ClickAt(button);
        else if (way == "Escape")
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, Qt::Key_Escape);
        else if (way == "Enter")
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, Qt::Key_Return);
        else
            dialog->close();
    }, evaluates);
}

QString Walk::Run()
{
    ShowActive(frmMain);
    QTimer answerer, driver;
    QObject::connect(&answerer, &QTimer::timeout, [this] { AnswerMessageBox(); });
    QObject::connect(&driver, &QTimer::timeout, [this] { DriveDialog(); });
    answerer.start(1);
    driver.start(1);
    pattern_ = Read(frmMain->mmoSignature);
    input_ = Read(frmMain->reSearch);
    while (left_ > 0 && failure_.isEmpty()) {
        QWidget* active = QApplication::activeWindow();
        if (!active || !active->isVisible())
            ShowActive(frmMain);
        if (active == frmSyntax && frmSyntax->isVisible())
            SyntaxTestAction();
        else
            MainAction();
        if (QApplication::activeModalWidget())
            Fail(QApplication::activeModalWidget()->objectName() + " is still up after the action");
    }
    return failure_;
}

QString Walk::Summary() const
{
    return QString("seed %1: %2 actions, %3 evaluations (%4 matches), %5 dialogs, %6 message boxes, %7 links")
        .arg(seed_).arg(done_).arg(evaluations_).arg(matches_).arg(dialogs_).arg(messageCount_).arg(browser_.opened.size());
}

} // namespace

// The offscreen platform cannot raise windows or grab the keyboard for a
// popup; it says so at every menu and list, which would bury the walk's output.
QtMessageHandler TestLogHandler = nullptr;
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith("This plugin does not support"))
        TestLogHandler(type, context, message);
}

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void walk()
    {
        const quint64 seed = qEnvironmentVariableIsSet("TAMARIN_MONKEY_SEED")
                                 ? qgetenv("TAMARIN_MONKEY_SEED").toULongLong()
                                 : 20070828;
        const int actions = qEnvironmentVariableIsSet("TAMARIN_MONKEY_ACTIONS")
                                ? qEnvironmentVariableIntValue("TAMARIN_MONKEY_ACTIONS")
                                : 20000;
        TestLogHandler = qInstallMessageHandler(QuietOffscreen);
        PrepareApplication();
        RecreateWindows();
        QElapsedTimer clock;
        clock.start();
        Walk walk(seed, actions);
        const QString failure = walk.Run();
        qInfo().noquote() << walk.Summary() << "in" << clock.elapsed() / 1000.0 << "s";
        if (!failure.isEmpty()) {
            qInfo().noquote() << "last actions:\n  " + walk.Recent().join("\n  ");
            QFAIL(qPrintable(QString("seed %1 (replay with TAMARIN_MONKEY_SEED=%1): %2").arg(seed).arg(failure)));
        }
        DestroyWindows();
    }
};

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
