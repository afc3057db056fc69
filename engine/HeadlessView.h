#pragma once
// An EngineView over plain data: strings for the editors and panes, flags for
// the check boxes, a clipped selection, per-character colour and style, a tree
// of nodes and the list of messages shown. Used by tests, benchmarks and any
// tool that drives the engine without a window.

#include "EngineView.h"

#include <memory>
#include <string>
#include <vector>

namespace tamarin {

class HeadlessView : public EngineView {
public:
    struct Node {
        std::string text;
        std::vector<std::unique_ptr<Node>> children;
    };

    // Colour of characters nobody has coloured yet.
    static constexpr ColorRef DefaultColor = 0x000000;

    // --- EngineView ---
    std::string GetText(TextControl control) const override;
    std::int64_t TextLength(TextControl control) const override;
    void SetText(TextControl control, const std::string& text) override;
    bool IsChecked(CheckControl box) const override;
    void SetSelStart(std::int32_t start) override;
    void SetSelLength(std::int32_t length) override;
    std::int32_t GetSelLength() const override;
    void SetSelColor(ColorRef color) override;
    FontStyle GetSelStyle() const override;
    void SetSelStyle(FontStyle style) override;
    TreeNodeRef AddNode(const std::string& text) override;
    TreeNodeRef NodeByIndex(std::int32_t index) override;
    TreeNodeRef AddChildNode(TreeNodeRef parent, const std::string& text) override;
    void ClearTree() override;
    void ShowMessage(const std::string& text) override;

    // --- set-up and inspection ---
    void SetChecked(CheckControl box, bool checked);
    std::int32_t SelStart() const { return selStart_; }
    ColorRef ColorAt(std::size_t index) const { return colors_.at(index); }
    FontStyle StyleAt(std::size_t index) const { return styles_.at(index); }
    // Gives characters [first, first + count) a style, as a user formatting text would.
    void FormatInput(std::size_t first, std::size_t count, FontStyle style);
    const std::vector<std::unique_ptr<Node>>& TopLevelNodes() const { return nodes_; }
    // Number of nodes in the whole tree, children included.
    std::size_t NodeCount() const;
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    std::string input_;
    std::string what0_;
    std::string what1_;
    bool caseSensitive_ = false;
    bool syntaxCheck_ = false;
    bool highLight_ = false;
    std::int32_t selStart_ = 0;
    std::int32_t selLength_ = 0;
    std::vector<ColorRef> colors_;
    std::vector<FontStyle> styles_;
    std::vector<std::unique_ptr<Node>> nodes_;
    std::vector<std::string> messages_;
};

} // namespace tamarin
