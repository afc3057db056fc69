#include "QtEngineView.h"

#include "CodePageText.h"
#include "EditorText.h"
#include "ResultPane.h"
#include "TextEditor.h"
#include "Unitconfig.h"
#include "Windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QMessageBox>
#include <QTextCharFormat>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <stdexcept>

using namespace tamarin;

namespace {

QString FromCodePage(const std::string& text)
{
    return CodePageText::FromCodePage(text);
}

bool IsBoxChecked(const QCheckBox* box)
{
    return box && box->isChecked();
}

// A node whose text is a long piece of the input. It shares the input's
// version of the text and gives its characters only when asked for them, so
// that a match of megabytes costs the tree nothing; a row shows its start.
class InputPieceItem : public QTreeWidgetItem {
public:
    InputPieceItem(QTreeWidget* tree, SharedSpan piece) : QTreeWidgetItem(tree), piece_(std::move(piece))
    {
        static const bool converts = QMetaType::registerConverter<SharedSpan, QString>(&SharedSpan::Characters);
        (void)converts;
    }
    QVariant data(int column, int role) const override
    {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            return QVariant::fromValue(piece_);
        return QTreeWidgetItem::data(column, role);
    }

private:
    SharedSpan piece_;
};

// Pieces shorter than this are plain node texts.
constexpr qsizetype SharedPieceLength = 4096;

} // namespace

QtEngineView::QtEngineView(const Controls& controls) : controls_(controls)
{
    panes_[0].view = controls.after;
    panes_[1].view = controls.before;
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

const EditorText& QtEngineView::Input() const
{
    return controls_.input->Content();
}

std::optional<TextSpan> QtEngineView::InputCharacters(std::int64_t start, std::string_view text) const
{
    const std::string& input = Input().Bytes();
    const auto length = static_cast<std::int64_t>(text.size());
    if (start < 0 || start > static_cast<std::int64_t>(input.size()) ||
        length > static_cast<std::int64_t>(input.size()) - start)
        return std::nullopt;
    const auto first = static_cast<std::size_t>(start);
    // Text the engine cut from the input's own bytes is the input's without a look.
    if (text.data() != input.data() + first && input.compare(first, text.size(), text) != 0)
        return std::nullopt;  // the input changed since the engine read it
    return Input().Characters().mid(static_cast<qsizetype>(first), static_cast<qsizetype>(length));
}

void QtEngineView::ShowPane(Pane& pane)
{
    pane.dirty = false;
    if (pane.pendingStart >= 0) {
        // The input's own characters, sharing the input's version of them.
        pane.view->setText(Input().Version(), static_cast<qsizetype>(pane.pendingStart),
                           static_cast<qsizetype>(pane.pendingLength));
    } else {
        pane.view->setPlainText(FromCodePage(pane.pending));
    }
    pane.pending.clear();
}

void QtEngineView::FlushPanes()
{
    for (Pane& pane : panes_) {
        if (pane.dirty)
            ShowPane(pane);
    }
}

std::string QtEngineView::GetText(TextControl control) const
{
    switch (control) {
    case TextControl::reSearch: return Input().Bytes();
    case TextControl::what0:
    case TextControl::what1: {
        const Pane& pane = const_cast<QtEngineView*>(this)->PaneOf(control);
        if (!pane.dirty)
            return std::string(pane.view->text().Bytes());
        if (pane.pendingStart < 0)
            return pane.pending;
        return Input().Bytes().substr(static_cast<std::size_t>(pane.pendingStart),
                                           static_cast<std::size_t>(pane.pendingLength));
    }
    }
    return {};
}

SharedText QtEngineView::ShareBytes(const EditorText& text)
{
    // The bytes of the version, kept alive with it.
    const std::shared_ptr<const TextVersion> version = text.Version();
    return SharedText(std::shared_ptr<const std::string>(version, &version->bytes));
}

SharedText QtEngineView::ShareText(TextControl control) const
{
    if (control == TextControl::reSearch)
        return ShareBytes(Input());
    return GetText(control);
}

void QtEngineView::SetText(TextControl control, const std::string& text)
{
    if (control == TextControl::reSearch) {
        controls_.input->setPlainText(FromCodePage(text));
        return;
    }
    SetPane(control, -1, text);
}

void QtEngineView::SetTextFromInput(TextControl control, std::int64_t start, std::string_view text)
{
    if (control == TextControl::reSearch) {
        SetText(control, std::string(text));
        return;
    }
    SetPane(control, start, text);
}

std::int64_t QtEngineView::TextLength(TextControl control) const
{
    if (control == TextControl::reSearch)
        return static_cast<std::int64_t>(Input().size());
    return EngineView::TextLength(control);
}

void QtEngineView::SetPane(TextControl control, std::int64_t start, std::string_view text)
{
    Pane& pane = PaneOf(control);
    // Text cut from the input is kept as its place in the input; anything
    // else, or input that changed since the engine read it, as its bytes.
    const bool fromInput = start >= 0 && InputCharacters(start, text);
    pane.pendingStart = fromInput ? start : -1;
    pane.pendingLength = static_cast<std::int64_t>(text.size());
    pane.pending = fromInput ? std::string() : std::string(text);
    pane.dirty = true;
    if (batchDepth_ == 0)
        ShowPane(pane);
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
    controls_.input->SetSelection(start, start);
}

void QtEngineView::SetSelLength(std::int32_t length)
{
    const qsizetype start = controls_.input->selection().selectionStart();
    const qsizetype last = controls_.input->text().size();
    controls_.input->SetSelection(start, start + std::clamp<qsizetype>(length, 0, last - start));
}

std::int32_t QtEngineView::GetSelLength() const
{
    const TextSelection selection = controls_.input->selection();
    return static_cast<std::int32_t>(selection.selectionEnd() - selection.selectionStart());
}

void QtEngineView::SetSelColor(ColorRef color)
{
    QTextCharFormat format;
    format.setForeground(QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                                static_cast<int>((color >> 16) & 0xFF)));
    controls_.input->MergeSelectionFormat(format);
}

FontStyle QtEngineView::GetSelStyle() const
{
    // The style of the selection's first character, as a rich editor reports it.
    const TextSelection selection = controls_.input->selection();
    const qsizetype start = selection.selectionStart();
    const QTextCharFormat format = controls_.input->CharFormatAt(selection.hasSelection() ? start + 1 : start);
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
    controls_.input->MergeSelectionFormat(format);
}

TreeNodeRef QtEngineView::AddNode(const std::string& text)
{
    auto* item = new QTreeWidgetItem(controls_.tree, {FromCodePage(text)});
    return TreeNodeRef{item};
}

TreeNodeRef QtEngineView::AddNodeFromInput(std::int64_t start, std::string_view text)
{
    const std::optional<TextSpan> characters = InputCharacters(start, text);
    if (!characters)
        return AddNode(std::string(text));
    if (characters->size() < SharedPieceLength)
        return TreeNodeRef{new QTreeWidgetItem(controls_.tree, {characters->toString()})};
    return TreeNodeRef{new InputPieceItem(
        controls_.tree, {Input().Version(), static_cast<qsizetype>(start), characters->size()})};
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
