#include "QtEngineView.h"

#include "Latin1Mirror.h"
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

QString FromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsBoxChecked(const QCheckBox* box)
{
    return box && box->isChecked();
}

} // namespace

QtEngineView::QtEngineView(const Controls& controls)
    : controls_(controls), inputMirror_(new Latin1Mirror(controls.input->document()))
{
    panes_[0].editor = controls.after;
    panes_[1].editor = controls.before;
    for (Pane& pane : panes_) {
        // A pane is the engine's output: no undo history of megabytes of text.
        pane.editor->setUndoRedoEnabled(false);
        pane.shown = new Latin1Mirror(pane.editor->document());
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

void QtEngineView::ShowPane(Pane& pane, const std::string& text)
{
    pane.dirty = false;
    const std::string& old = pane.shown->Text();
    if (text == old)
        return;

    // Replace only the part that differs: a pane of megabytes mostly keeps its
    // text from one keystroke to the next, and its view keeps its place.
    const std::size_t common = std::min(old.size(), text.size());
    const std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(common), text.begin()).first -
        old.begin());
    const auto limit = static_cast<std::ptrdiff_t>(common - prefix);
    const std::size_t suffix = static_cast<std::size_t>(
        std::mismatch(old.rbegin(), old.rbegin() + limit, text.rbegin()).first - old.rbegin());
    const std::size_t changed = text.size() - prefix - suffix;
    // A carriage return would merge with a following line feed into one
    // editor position; such text, and a change of most of it, is set whole.
    const bool whole = changed > text.size() / 2 || text.find('\r') != std::string::npos ||
                       old.find('\r') != std::string::npos;
    if (whole) {
        pane.editor->setPlainText(FromLatin1(text));
        return;
    }
    QTextCursor cursor(pane.editor->document());
    cursor.setPosition(static_cast<int>(prefix));
    cursor.setPosition(static_cast<int>(old.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(QString::fromLatin1(text.data() + prefix, static_cast<qsizetype>(changed)));
}

void QtEngineView::FlushPanes()
{
    for (Pane& pane : panes_) {
        if (pane.dirty)
            ShowPane(pane, pane.pending);
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
        controls_.input->setPlainText(FromLatin1(text));
        return;
    }
    Pane& pane = PaneOf(control);
    if (batchDepth_ > 0) {
        pane.pending = text;
        pane.dirty = true;
    } else {
        ShowPane(pane, text);
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
    auto* item = new QTreeWidgetItem(controls_.tree, {FromLatin1(text)});
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
    auto* item = new QTreeWidgetItem(parentItem, {FromLatin1(text)});
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
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), FromLatin1(text),
                    QMessageBox::Ok, controls_.messageParent);
    box.exec();
}
