#include "QtEngineView.h"

#include "CodePageMirror.h"
#include "Unitconfig.h"
#include "Windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <stdexcept>

using namespace tamarin;

namespace {

QString FromCodePage(const std::string& text)
{
    return CodePageMirror::FromCodePage(text);
}

bool IsBoxChecked(const QCheckBox* box)
{
    return box && box->isChecked();
}

} // namespace

QtEngineView::QtEngineView(const Controls& controls)
    : controls_(controls), inputMirror_(new CodePageMirror(controls.input))
{
    panes_[0].editor = controls.after;
    panes_[1].editor = controls.before;
    for (Pane& pane : panes_) {
        // A pane is the engine's output: no undo history of megabytes of text.
        pane.editor->setUndoRedoEnabled(false);
        pane.shown = new CodePageMirror(pane.editor);
    }
}

QtEngineView::~QtEngineView() = default;

void QtEngineView::BeginBatch()
{
    ++batchDepth_;
}

void QtEngineView::EndBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        FlushPanes();
}

QtEngineView::Pane& QtEngineView::PaneOf(TextControl control)
{
    return control == TextControl::what0 ? panes_[0] : panes_[1];
}

std::optional<QStringView> QtEngineView::InputCharacters(std::int64_t start,
                                                         const std::string& text) const
{
    const std::string& input = inputMirror_->Text();
    const auto length = static_cast<std::int64_t>(text.size());
    if (start < 0 || start > static_cast<std::int64_t>(input.size()) ||
        length > static_cast<std::int64_t>(input.size()) - start)
        return std::nullopt;
    const auto first = static_cast<std::size_t>(start);
    if (input.compare(first, text.size(), text) != 0)
        return std::nullopt;  // the input changed since the engine read it
    return QStringView(inputMirror_->Characters()).mid(static_cast<qsizetype>(first),
                                                       static_cast<qsizetype>(length));
}

void QtEngineView::ShowPane(Pane& pane, const std::string& text, std::int64_t start)
{
    pane.dirty = false;
    if (start >= 0) {
        if (const std::optional<QStringView> characters = InputCharacters(start, text)) {
            ShowCharacters(pane, *characters);
            return;
        }
    }
    const QString characters = FromCodePage(text);
    // A carriage return would merge with a following line feed into one
    // editor position; such text is set whole. (The input's own characters
    // hold none: its editor keeps every line break as one separator.)
    if (characters.contains(u'\r')) {
        pane.editor->setPlainText(characters);
        return;
    }
    ShowCharacters(pane, characters);
}

void QtEngineView::ShowCharacters(Pane& pane, QStringView text)
{
    const QString& old = pane.shown->Characters();
    if (text == old)
        return;

    // Replace only the part that differs: a pane of megabytes mostly keeps its
    // text from one keystroke to the next, and its view keeps its place.
    const qsizetype common = std::min(old.size(), text.size());
    const qsizetype prefix =
        std::mismatch(old.cbegin(), old.cbegin() + common, text.cbegin()).first - old.cbegin();
    const qsizetype suffix =
        std::mismatch(old.crbegin(), old.crbegin() + (common - prefix), text.crbegin()).first -
        old.crbegin();
    const qsizetype changed = text.size() - prefix - suffix;
    if (changed > text.size() / 2) {
        pane.editor->setPlainText(text.toString());
        return;
    }
    QTextCursor cursor(pane.editor->document());
    cursor.setPosition(static_cast<int>(prefix));
    cursor.setPosition(static_cast<int>(old.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(text.mid(prefix, changed).toString());
}

void QtEngineView::FlushPanes()
{
    for (Pane& pane : panes_) {
        if (pane.dirty)
            ShowPane(pane, pane.pending, pane.pendingStart);
        pane.pending.clear();
    }
}

std::string QtEngineView::GetText(TextControl control) const
{
    switch (control) {
    case TextControl::reSearch: return inputMirror_->Text();
    case TextControl::what0:
    case TextControl::what1: {
        const Pane& pane = const_cast<QtEngineView*>(this)->PaneOf(control);
        return pane.dirty ? pane.pending : pane.shown->Text();
    }
    }
    return {};
}

void QtEngineView::SetText(TextControl control, const std::string& text)
{
    if (control == TextControl::reSearch) {
        controls_.input->setPlainText(FromCodePage(text));
        return;
    }
    SetPane(control, -1, text);
}

void QtEngineView::SetTextFromInput(TextControl control, std::int64_t start, const std::string& text)
{
    if (control == TextControl::reSearch) {
        SetText(control, text);
        return;
    }
    SetPane(control, start, text);
}

void QtEngineView::SetPane(TextControl control, std::int64_t start, const std::string& text)
{
    Pane& pane = PaneOf(control);
    if (batchDepth_ > 0) {
        pane.pending = text;
        pane.pendingStart = start;
        pane.dirty = true;
    } else {
        ShowPane(pane, text, start);
    }
}

bool QtEngineView::IsChecked(CheckControl box) const
{
    switch (box) {
    case CheckControl::cbCaseSensitive: return IsBoxChecked(controls_.caseSensitive);
    case CheckControl::cfgSyntaxCheck: return frmConfig && IsBoxChecked(frmConfig->cfgSyntaxCheck);
    case CheckControl::cfgHighLight: return frmConfig && IsBoxChecked(frmConfig->cfgHighLight);
    }
    return false;
}

void QtEngineView::SetSelStart(std::int32_t start)
{
    QTextCursor cursor = controls_.input->textCursor();
    const int last = controls_.input->document()->characterCount() - 1;
    cursor.setPosition(std::clamp(start, 0, std::max(last, 0)));
    controls_.input->setTextCursor(cursor);
}

void QtEngineView::SetSelLength(std::int32_t length)
{
    QTextCursor cursor = controls_.input->textCursor();
    const int start = cursor.selectionStart();
    const int last = std::max(controls_.input->document()->characterCount() - 1, 0);
    const int end = start + std::clamp(length, 0, last - start);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    controls_.input->setTextCursor(cursor);
}

std::int32_t QtEngineView::GetSelLength() const
{
    const QTextCursor cursor = controls_.input->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void QtEngineView::SetSelColor(ColorRef color)
{
    QTextCharFormat format;
    format.setForeground(QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                                static_cast<int>((color >> 16) & 0xFF)));
    QTextCursor cursor = controls_.input->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
}

FontStyle QtEngineView::GetSelStyle() const
{
    // The style of the selection's first character, as a rich editor reports it.
    const QTextCursor selection = controls_.input->textCursor();
    QTextCursor cursor(controls_.input->document());
    cursor.setPosition(selection.selectionStart());
    if (selection.hasSelection())
        cursor.movePosition(QTextCursor::NextCharacter);
    const QTextCharFormat format = cursor.charFormat();
    FontStyle style = 0;
    if (format.fontWeight() >= QFont::Bold)
        style |= fsBold;
    if (format.fontItalic())
        style |= fsItalic;
    if (format.fontUnderline())
        style |= fsUnderline;
    if (format.fontStrikeOut())
        style |= fsStrikeOut;
    return style;
}

void QtEngineView::SetSelStyle(FontStyle style)
{
    QTextCharFormat format;
    format.setFontWeight((style & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic((style & fsItalic) != 0);
    format.setFontUnderline((style & fsUnderline) != 0);
    format.setFontStrikeOut((style & fsStrikeOut) != 0);
    QTextCursor cursor = controls_.input->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
}

TreeNodeRef QtEngineView::AddNode(const std::string& text)
{
    auto* item = new QTreeWidgetItem(controls_.tree, {FromCodePage(text)});
    return TreeNodeRef{item};
}

TreeNodeRef QtEngineView::AddNodeFromInput(std::int64_t start, const std::string& text)
{
    const std::optional<QStringView> characters = InputCharacters(start, text);
    if (!characters)
        return AddNode(text);
    auto* item = new QTreeWidgetItem(controls_.tree, {characters->toString()});
    return TreeNodeRef{item};
}

TreeNodeRef QtEngineView::NodeByIndex(std::int32_t index)
{
    if (index >= 0) {
        std::int32_t position = 0;
        for (QTreeWidgetItemIterator it(controls_.tree); *it; ++it, ++position) {
            if (position == index)
                return TreeNodeRef{*it};
        }
    }
    throw std::out_of_range("tree node index out of range");
}

TreeNodeRef QtEngineView::AddChildNode(TreeNodeRef parent, const std::string& text)
{
    auto* parentItem = static_cast<QTreeWidgetItem*>(parent.handle);
    if (!parentItem)
        throw std::invalid_argument("no parent node");
    auto* item = new QTreeWidgetItem(parentItem, {FromCodePage(text)});
    return TreeNodeRef{item};
}

void QtEngineView::ClearTree()
{
    controls_.tree->clear();
}

void QtEngineView::ShowMessage(const std::string& text)
{
    // The panes show what the evaluation has written so far while the user reads.
    FlushPanes();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), FromCodePage(text),
                    QMessageBox::Ok, controls_.messageParent);
    box.exec();
}
