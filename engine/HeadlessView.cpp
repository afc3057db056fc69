#include "HeadlessView.h"

#include <algorithm>
#include <stdexcept>

namespace tamarin {

std::string HeadlessView::GetText(TextControl control) const
{
    switch (control) {
    case TextControl::reSearch: return input_;
    case TextControl::what0: return what0_;
    case TextControl::what1: return what1_;
    }
    return {};
}

std::int64_t HeadlessView::TextLength(TextControl control) const
{
    switch (control) {
    case TextControl::reSearch: return static_cast<std::int64_t>(input_.size());
    case TextControl::what0: return static_cast<std::int64_t>(what0_.size());
    case TextControl::what1: return static_cast<std::int64_t>(what1_.size());
    }
    return 0;
}

void HeadlessView::SetText(TextControl control, const std::string& text)
{
    switch (control) {
    case TextControl::reSearch:
        // New text drops the old formatting and selection, as an editor does.
        input_ = text;
        colors_.assign(text.size(), DefaultColor);
        styles_.assign(text.size(), 0);
        selStart_ = 0;
        selLength_ = 0;
        break;
    case TextControl::what0: what0_ = text; break;
    case TextControl::what1: what1_ = text; break;
    }
}

bool HeadlessView::IsChecked(CheckControl box) const
{
    switch (box) {
    case CheckControl::cbCaseSensitive: return caseSensitive_;
    case CheckControl::cfgSyntaxCheck: return syntaxCheck_;
    case CheckControl::cfgHighLight: return highLight_;
    }
    return false;
}

void HeadlessView::SetChecked(CheckControl box, bool checked)
{
    switch (box) {
    case CheckControl::cbCaseSensitive: caseSensitive_ = checked; break;
    case CheckControl::cfgSyntaxCheck: syntaxCheck_ = checked; break;
    case CheckControl::cfgHighLight: highLight_ = checked; break;
    }
}

void HeadlessView::SetSelStart(std::int32_t start)
{
    const auto size = static_cast<std::int64_t>(input_.size());
    selStart_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(start, 0, size));
    selLength_ = 0;
}

void HeadlessView::SetSelLength(std::int32_t length)
{
    const auto room = static_cast<std::int64_t>(input_.size()) - selStart_;
    selLength_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(length, 0, room));
}

std::int32_t HeadlessView::GetSelLength() const
{
    return selLength_;
}

void HeadlessView::SetSelColor(ColorRef color)
{
    std::fill_n(colors_.begin() + selStart_, selLength_, color);
}

FontStyle HeadlessView::GetSelStyle() const
{
    // Like a rich editor, report the style at the start of the selection.
    if (static_cast<std::size_t>(selStart_) < styles_.size())
        return styles_[static_cast<std::size_t>(selStart_)];
    return 0;
}

void HeadlessView::SetSelStyle(FontStyle style)
{
    std::fill_n(styles_.begin() + selStart_, selLength_, style);
}

void HeadlessView::FormatInput(std::size_t first, std::size_t count, FontStyle style)
{
    const std::size_t last = std::min(first + count, styles_.size());
    for (std::size_t i = first; i < last; ++i)
        styles_[i] = style;
}

TreeNodeRef HeadlessView::AddNode(const std::string& text)
{
    nodes_.push_back(std::make_unique<Node>(Node{text, {}}));
    return TreeNodeRef{nodes_.back().get()};
}

namespace {

// Walks the tree in display order; `index` counts down to the wanted node.
HeadlessView::Node* FindInDisplayOrder(const std::vector<std::unique_ptr<HeadlessView::Node>>& nodes,
                                       std::int64_t& index)
{
    for (const auto& node : nodes) {
        if (index == 0)
            return node.get();
        --index;
        if (HeadlessView::Node* found = FindInDisplayOrder(node->children, index))
            return found;
    }
    return nullptr;
}

std::size_t CountNodes(const std::vector<std::unique_ptr<HeadlessView::Node>>& nodes)
{
    std::size_t count = nodes.size();
    for (const auto& node : nodes)
        count += CountNodes(node->children);
    return count;
}

} // namespace

TreeNodeRef HeadlessView::NodeByIndex(std::int32_t index)
{
    std::int64_t remaining = index;
    Node* node = index >= 0 ? FindInDisplayOrder(nodes_, remaining) : nullptr;
    if (!node)
        throw std::out_of_range("tree node index out of range");
    return TreeNodeRef{node};
}

TreeNodeRef HeadlessView::AddChildNode(TreeNodeRef parent, const std::string& text)
{
    auto* node = static_cast<Node*>(parent.handle);
    if (!node)
        throw std::invalid_argument("no parent node");
    node->children.push_back(std::make_unique<Node>(Node{text, {}}));
    return TreeNodeRef{node->children.back().get()};
}

void HeadlessView::ClearTree()
{
    nodes_.clear();
}

std::size_t HeadlessView::NodeCount() const
{
    return CountNodes(nodes_);
}

void HeadlessView::ShowMessage(const std::string& text)
{
    messages_.push_back(text);
}

} // namespace tamarin
