#pragma once
// An editor's text with its undo history and the character formats a
// highlight gives it.
//
// The text is one TextVersion. Whoever keeps the text as it is now (a result
// pane, the evaluation's snapshot) shares that version; the next edit then
// writes a new one instead of changing what they hold.
#include "TextSpan.h"

#include <QList>
#include <QTextCharFormat>
#include <QTextLayout>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class EditorText {
public:
    EditorText();

    qsizetype size() const { return static_cast<qsizetype>(version_->bytes.size()); }
    bool isEmpty() const { return version_->bytes.empty(); }
    TextSpan Characters() const { return *version_; }
    const std::string& Bytes() const { return version_->bytes; }
    std::shared_ptr<const TextVersion> Version() const { return version_; }

    // A text of its own: the characters as they are.
    static std::shared_ptr<const TextVersion> MakeVersion(QStringView characters);

    // Every kind of line break in the text given below (CR LF, CR, paragraph
    // and line separators) becomes one '\n'.
    //
    // A new text: history and formats are forgotten.
    void Reset(QStringView text);
    // Replaces [from, to) with `text` as a new step of the history, or as
    // part of the last step done; joined to it, the change keeps the steps
    // that could be redone. False when nothing changed.
    bool Replace(qsizetype from, qsizetype to, QStringView text, bool joinLast = false);

    // Merges `format` into the formats of [from, to), as a step of the history.
    void MergeFormat(qsizetype from, qsizetype to, const QTextCharFormat& format);
    // The format a caret at `position` types with: that of the character
    // before it, or at a line's start of the character after it.
    QTextCharFormat FormatAt(qsizetype position) const;
    // The formats over [start, end), offsets from `start`.
    QList<QTextLayout::FormatRange> FormatsOf(qsizetype start, qsizetype end) const;

    int UndoSteps() const { return static_cast<int>(done_); }
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    struct Stepped {
        qsizetype caret;  // where the step changed the text last
        bool edited;      // false when it changed formats only
    };
    std::optional<Stepped> Undo();
    std::optional<Stepped> Redo();

    // A change of the characters, with the text it removed and inserted.
    struct Change {
        qsizetype at;
        QString removed;
        QString inserted;
    };
    // While noting, every change of the characters by an edit, an undo or a
    // redo is kept until taken, for assistive technology to hear of it.
    void NoteChanges(bool noting) { noting_ = noting; }
    std::vector<Change> TakeChanges() { return std::exchange(changes_, {}); }

private:
    struct Run {
        qsizetype start;
        qsizetype end;
        QTextCharFormat format;
    };
    struct Edit {
        qsizetype at;
        std::shared_ptr<const TextVersion> removed;
        qsizetype insertedLength;
        std::shared_ptr<const TextVersion> inserted;  // kept once undone
    };
    struct Step {
        std::vector<Edit> edits;
        std::vector<Run> formatsBefore;
        std::vector<Run> formatsAfter;
    };

    Step& StartStep(bool joinLast);
    // Changes the characters only.
    void Apply(qsizetype from, qsizetype to, const TextVersion& replacement);
    // An empty version with room for `length` bytes.
    std::shared_ptr<TextVersion> TakeSpare(std::size_t length);
    // Moves the formats over a replacement; the inserted characters take the
    // format of `source`, a position in the text without the removed ones.
    void MoveFormats(qsizetype from, qsizetype removed, qsizetype inserted, qsizetype source);
    // The first run that ends after `index`: the one holding it, if any.
    std::vector<Run>::const_iterator FirstRunEndingAfter(qsizetype index) const;

    std::shared_ptr<TextVersion> version_;
    std::shared_ptr<TextVersion> spare_;  // the version before, for its memory
    std::vector<Run> formats_;  // sorted, apart, none empty
    std::vector<Step> steps_;
    std::size_t done_ = 0;      // steps_[0, done_) can be undone, the rest redone
    bool noting_ = false;
    std::vector<Change> changes_;
};
