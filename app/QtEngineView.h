#pragma once
// The engine's view of the main window: its editors, result panes, result
// tree, case box, the match options dialog's live options and message boxes.
//
// Text crosses in the engine's code page (Windows-1252), one byte per editor
// position, with each line break as one '\n', so the engine's positions are
// the editor's positions. What the engine cut out of the input is shown with
// the input's own characters, never with the stand-in of a character the code
// page lacks.
#include "EngineView.h"

#include "TextSpan.h"

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class TextEditor;
class QTreeWidget;
class QWidget;
class EditorText;
class ResultPane;

class QtEngineView : public tamarin::EngineView {
public:
    struct Controls {
        TextEditor* input = nullptr;      // reSearch
        ResultPane* after = nullptr;      // what0
        ResultPane* before = nullptr;     // what1
        QTreeWidget* tree = nullptr;      // TreeView1
        QCheckBox* caseSensitive = nullptr;
        QWidget* messageParent = nullptr;
    };
    explicit QtEngineView(const Controls& controls);
    ~QtEngineView() override;

    // While a batch is open, pane texts are only noted; closing the batch
    // shows each pane's last text. An evaluation empties both panes first
    // and refills them: the panes show only the outcome, once.
    void BeginBatch();
    void EndBatch();

    // An editor's text as the engine's shared 8-bit text: the editor's own
    // version of it, which an edit leaves as it is while this is kept.
    static tamarin::SharedText ShareBytes(const EditorText& text);

    // --- EngineView ---
    std::string GetText(tamarin::TextControl control) const override;
    tamarin::SharedText ShareText(tamarin::TextControl control) const override;
    std::int64_t TextLength(tamarin::TextControl control) const override;
    void SetText(tamarin::TextControl control, const std::string& text) override;
    void SetTextFromInput(tamarin::TextControl control, std::int64_t start,
                          std::string_view text) override;
    bool IsChecked(tamarin::CheckControl box) const override;
    void SetSelStart(std::int32_t start) override;
    void SetSelLength(std::int32_t length) override;
    std::int32_t GetSelLength() const override;
    void SetSelColor(tamarin::ColorRef color) override;
    tamarin::FontStyle GetSelStyle() const override;
    void SetSelStyle(tamarin::FontStyle style) override;
    tamarin::TreeNodeRef AddNode(const std::string& text) override;
    tamarin::TreeNodeRef AddNodeFromInput(std::int64_t start, std::string_view text) override;
    tamarin::TreeNodeRef NodeByIndex(std::int32_t index) override;
    tamarin::TreeNodeRef AddChildNode(tamarin::TreeNodeRef parent, const std::string& text) override;
    void ClearTree() override;
    void ShowMessage(const std::string& text) override;

private:
    struct Pane {
        ResultPane* view = nullptr;
        // The text to show when the batch closes: `pending`, or, when it is
        // the input's from `pendingStart`, `pendingLength` of the input's characters.
        std::string pending;
        std::int64_t pendingStart = -1;
        std::int64_t pendingLength = 0;
        bool dirty = false;
    };
    Pane& PaneOf(tamarin::TextControl control);
    void SetPane(tamarin::TextControl control, std::int64_t start, std::string_view text);
    void ShowPane(Pane& pane);
    void FlushPanes();
    // The input's characters behind `text`, which the engine cut from the
    // input's 8-bit text at `start`; none when the input no longer holds it.
    std::optional<TextSpan> InputCharacters(std::int64_t start, std::string_view text) const;
    const EditorText& Input() const;

    Controls controls_;
    std::array<Pane, 2> panes_;  // what0, what1
    int batchDepth_ = 0;
};
