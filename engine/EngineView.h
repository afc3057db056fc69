#pragma once
// The window operations the evaluation engine needs. The main window implements
// them over its Qt widgets; HeadlessView implements them over plain data so the
// engine builds, runs and is tested without any GUI.

#include "SharedText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tamarin {

// The text controls the engine reads or writes.
enum class TextControl { reSearch, what0, what1 };

// The check boxes the engine reads: the main window's case box and the match
// options dialog's two live options.
enum class CheckControl { cbCaseSensitive, cfgSyntaxCheck, cfgHighLight };

// A set of font styles, one bit each, in the classic order.
using FontStyle = std::uint8_t;
inline constexpr FontStyle fsBold = 1u << 0;
inline constexpr FontStyle fsItalic = 1u << 1;
inline constexpr FontStyle fsUnderline = 1u << 2;
inline constexpr FontStyle fsStrikeOut = 1u << 3;

// A colour as 0x00BBGGRR.
using ColorRef = std::uint32_t;

// An opaque handle to a node of the result tree; only the view that returned
// it knows what it points at.
struct TreeNodeRef {
    void* handle = nullptr;
};

class EngineView {
public:
    virtual ~EngineView() = default;

    // Whole current text of a text control (8-bit, one byte per character).
    virtual std::string GetText(TextControl control) const = 0;
    // The same text, shared rather than copied where the view can.
    virtual SharedText ShareText(TextControl control) const { return GetText(control); }
    // Length of that text; a view can tell it without copying the text.
    virtual std::int64_t TextLength(TextControl control) const
    {
        return static_cast<std::int64_t>(GetText(control).size());
    }
    // Replaces the whole text of a text control.
    virtual void SetText(TextControl control, const std::string& text) = 0;
    // The same for text the engine cut out of the input editor's text from the
    // 0-based position `start` (the result panes). A view that holds the input
    // in another form than its 8-bit text can show the input's own characters
    // there; by default the 8-bit text is shown.
    virtual void SetTextFromInput(TextControl control, std::int64_t start, std::string_view text)
    {
        (void)start;
        SetText(control, std::string(text));
    }
    // State of a check box at the moment of the call.
    virtual bool IsChecked(CheckControl box) const = 0;

    // Selection in the input editor. Positions the editor cannot hold are
    // clipped as the editor clips them; GetSelLength reports what was
    // actually selected.
    virtual void SetSelStart(std::int32_t start) = 0;
    virtual void SetSelLength(std::int32_t length) = 0;
    virtual std::int32_t GetSelLength() const = 0;

    // Attributes of the selected text of the input editor.
    virtual void SetSelColor(ColorRef color) = 0;
    virtual FontStyle GetSelStyle() const = 0;
    virtual void SetSelStyle(FontStyle style) = 0;

    // Result tree. NodeByIndex counts nodes in display order over the whole
    // tree, children included, 0 = first; it throws std::out_of_range for a
    // position outside the tree.
    virtual TreeNodeRef AddNode(const std::string& text) = 0;
    // A top-level node whose text is the input's characters from `start`
    // (the matched text); see SetTextFromInput.
    virtual TreeNodeRef AddNodeFromInput(std::int64_t start, std::string_view text)
    {
        (void)start;
        return AddNode(std::string(text));
    }
    virtual TreeNodeRef NodeByIndex(std::int32_t index) = 0;
    virtual TreeNodeRef AddChildNode(TreeNodeRef parent, const std::string& text) = 0;
    virtual void ClearTree() = 0;

    // A modal message with an OK button; returns once it is dismissed.
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace tamarin
