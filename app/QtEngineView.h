#pragma once
// The engine's view of the main window: its editors, result panes, result
// tree, case box, the match options dialog's live options and message boxes.
//
// Text crosses as Latin-1, one byte per editor position, with each line break
// as one '\n', so the engine's positions are the editor's positions.
#include "EngineView.h"

#include <QObject>

#include <array>
#include <string>

class QCheckBox;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;
class Latin1Mirror;

class QtEngineView : public tamarin::EngineView {
public:
    struct Controls {
        QPlainTextEdit* input = nullptr;   // reSearch
        QPlainTextEdit* after = nullptr;   // what0
        QPlainTextEdit* before = nullptr;  // what1
        QTreeWidget* tree = nullptr;       // TreeView1
        QCheckBox* caseSensitive = nullptr;
        QWidget* messageParent = nullptr;
    };
    explicit QtEngineView(const Controls& controls);
    ~QtEngineView() override;

    // The input editor's mirror; its edited() signal fires on real edits only.
    Latin1Mirror& InputMirror() { return *inputMirror_; }

    // While a batch is open, pane texts are only noted; closing the batch
    // shows each pane's last text, and leaves alone a pane whose text did
    // not change. An evaluation empties both panes first and refills them,
    // so this spares refilling a large pane with the text it already shows.
    void BeginBatch();
    void EndBatch();

    // --- EngineView ---
    std::string GetText(tamarin::TextControl control) const override;
    void SetText(tamarin::TextControl control, const std::string& text) override;
    bool IsChecked(tamarin::CheckControl box) const override;
    void SetSelStart(std::int32_t start) override;
    void SetSelLength(std::int32_t length) override;
    std::int32_t GetSelLength() const override;
    void SetSelColor(tamarin::ColorRef color) override;
    tamarin::FontStyle GetSelStyle() const override;
    void SetSelStyle(tamarin::FontStyle style) override;
    tamarin::TreeNodeRef AddNode(const std::string& text) override;
    tamarin::TreeNodeRef NodeByIndex(std::int32_t index) override;
    tamarin::TreeNodeRef AddChildNode(tamarin::TreeNodeRef parent, const std::string& text) override;
    void ClearTree() override;
    void ShowMessage(const std::string& text) override;

private:
    struct Pane {
        QPlainTextEdit* editor = nullptr;
        Latin1Mirror* shown = nullptr;  // what the editor shows, user edits included
        std::string pending;            // the text to show when the batch closes
        bool dirty = false;
    };
    Pane& PaneOf(tamarin::TextControl control);
    void ShowPane(Pane& pane, const std::string& text);
    void FlushPanes();

    Controls controls_;
    Latin1Mirror* inputMirror_;  // owned by the input editor's document
    std::array<Pane, 2> panes_;  // what0, what1
    int batchDepth_ = 0;
};
