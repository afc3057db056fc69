#include "EditorText.h"

#include <algorithm>

namespace {

bool IsLineBreak(char16_t c)
{
    // What a rich-text cursor turns into a paragraph break, and the line separator.
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator ||
           c == 0xFDD0 || c == 0xFDD1;
}

std::shared_ptr<TextVersion> NewVersion(QStringView characters)
{
    auto version = std::make_shared<TextVersion>();
    version->bytes.resize(static_cast<std::size_t>(characters.size()));
    tamarin::codepage::EncodeInto(characters.utf16(), version->bytes.size(), version->bytes.data());
    // A byte tells its character unless the code page lacks it.
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (tamarin::codepage::ToUnicode(version->bytes[static_cast<std::size_t>(i)]) != characters[i].unicode()) {
            version->characters = characters.toString();
            version->charactersKept = true;
            break;
        }
    }
    return version;
}

// `text` with every kind of line break (CR LF, CR, paragraph and line
// separators) as '\n': the text itself, or its copy in `storage`. A paste
// of megabytes has none to change, and is not copied.
QStringView PlainLineBreaks(QStringView text, QString& storage)
{
    const char16_t* const first = text.utf16();
    const char16_t* const last = first + text.size();
    const char16_t* plainUpTo = std::find_if(first, last, [](char16_t c) { return IsLineBreak(c) && c != u'\n'; });
    if (plainUpTo == last)
        return text;
    storage.reserve(text.size());
    storage.append(QStringView(first, plainUpTo));
    for (const char16_t* c = plainUpTo; c != last; ++c) {
        if (*c == u'\r' && c + 1 != last && c[1] == u'\n')
            continue;  // CR LF is one break: its LF follows
        storage.append(IsLineBreak(*c) ? QChar(u'\n') : QChar(*c));
    }
    return storage;
}

std::shared_ptr<const TextVersion> VersionOf(const TextSpan& span)
{
    return std::make_shared<const TextVersion>(span.Copy());
}

// The character whose format text typed over [from, to) takes: the one
// before it, or at a line's start the one after it; -1 for none.
qsizetype FormatSource(const TextSpan& text, qsizetype from, qsizetype to)
{
    if (from > 0 && text[from - 1] != u'\n')
        return from - 1;
    if (to < text.size() && text[to] != u'\n')
        return to;
    return -1;
}

} // namespace

EditorText::EditorText() : version_(std::make_shared<TextVersion>()) {}

std::shared_ptr<const TextVersion> EditorText::MakeVersion(QStringView characters)
{
    return NewVersion(characters);
}

void EditorText::Reset(QStringView text)
{
    QString storage;
    version_ = NewVersion(PlainLineBreaks(text, storage));
    spare_.reset();
    formats_.clear();
    steps_.clear();
    done_ = 0;
}

EditorText::Step& EditorText::StartStep(bool joinLast)
{
    // A change that joins the last step leaves what could be redone (see
    // Replace); a new step ends it.
    if (joinLast && done_ > 0)
        return steps_[done_ - 1];
    steps_.resize(done_);
    steps_.push_back({{}, formats_, {}});
    ++done_;
    return steps_.back();
}

bool EditorText::Replace(qsizetype from, qsizetype to, QStringView text, bool joinLast)
{
    from = std::clamp<qsizetype>(from, 0, size());
    to = std::clamp<qsizetype>(to, from, size());
    QString storage;
    const QStringView plain = PlainLineBreaks(text, storage);
    if (from == to && plain.isEmpty())
        return false;
    const std::shared_ptr<const TextVersion> inserted = NewVersion(plain);

    // The inserted characters take the format a caret at `from` types with,
    // once [from, to) is gone: the character after it is then at `from`.
    const TextSpan old = Characters();
    qsizetype source = FormatSource(old, from, to);
    if (source == to)
        source = from;

    Step& step = StartStep(joinLast);
    if (CanRedo()) {
        // The next step to redo was taken from the text as it is before
        // this change: it starts by taking this change back.
        Step& next = steps_[done_];
        next.edits.insert(next.edits.begin(), {from, inserted, to - from, VersionOf(old.mid(from, to - from))});
    }
    Edit* last = step.edits.empty() ? nullptr : &step.edits.back();
    if (joinLast && last && from == to && last->at + last->insertedLength == from)
        last->insertedLength += plain.size();  // typing on
    else
        step.edits.push_back({from, VersionOf(old.mid(from, to - from)), plain.size(), nullptr});
    Apply(from, to, *inserted);
    if (!formats_.empty())
        MoveFormats(from, to - from, plain.size(), source);
    step.formatsAfter = formats_;
    if (CanRedo())
        steps_[done_].formatsBefore = formats_;
    return true;
}

void EditorText::Apply(qsizetype from, qsizetype to, const TextVersion& with)
{
    if (noting_)
        changes_.push_back({from, Characters().mid(from, to - from).toString(), TextSpan(with).toString()});
    const bool keep = version_->charactersKept || with.charactersKept;
    const auto first = static_cast<std::size_t>(from);
    const auto count = static_cast<std::size_t>(to - from);
    const QString characters = keep ? TextSpan(with).toString() : QString();
    if (version_.use_count() == 1) {
        TextVersion& text = *version_;
        if (keep && !text.charactersKept) {
            text.characters = TextSpan(text).toString();
            text.charactersKept = true;
        }
        text.bytes.replace(first, count, with.bytes);
        if (keep)
            text.characters.replace(from, to - from, characters);
        return;
    }
    // Someone keeps this version: write the next one in one pass.
    const TextVersion& old = *version_;
    const std::size_t length = old.bytes.size() - count + with.bytes.size();
    std::shared_ptr<TextVersion> next = TakeSpare(length);
    next->bytes.append(old.bytes, 0, first).append(with.bytes).append(old.bytes, first + count);
    if (keep) {
        const TextSpan all(old);
        next->characters = all.mid(0, from).toString() + characters + all.mid(to).toString();
        next->charactersKept = true;
    }
    spare_ = std::exchange(version_, std::move(next));
}

std::shared_ptr<TextVersion> EditorText::TakeSpare(std::size_t length)
{
    // The version before the last is free once its keepers have let it go
    // (a pane lets go when it shows the next evaluation). Writing into its
    // memory again is quicker than into fresh memory, which faults a page
    // at a time on first touch.
    std::shared_ptr<TextVersion> spare = std::move(spare_);
    const bool fits = spare && spare.use_count() == 1 && spare->bytes.capacity() >= length &&
                      spare->bytes.capacity() <= 2 * length + 4096;
    if (!fits)
        spare = std::make_shared<TextVersion>();
    spare->bytes.clear();  // keeps its memory
    spare->bytes.reserve(length);
    spare->characters.clear();
    spare->charactersKept = false;
    return spare;
}

void EditorText::MoveFormats(qsizetype from, qsizetype removed, qsizetype inserted, qsizetype source)
{
    std::vector<Run> moved;
    for (Run run : formats_) {
        // Removal: what was in [from, from + removed) goes.
        const auto afterRemoval = [&](qsizetype p) {
            return p < from ? p : std::max(p - removed, from);
        };
        run.start = afterRemoval(run.start);
        run.end = afterRemoval(run.end);
        if (run.start >= run.end)
            continue;
        // Insertion at `from`: runs after it move on, a run around it grows.
        if (run.start >= from) {
            run.start += inserted;
            run.end += inserted;
        } else if (run.end > from) {
            run.end += inserted;
        }
        // The inserted characters join the run of the character they take their format from.
        if (source == from - 1 && run.end == from)
            run.end += inserted;
        if (source == from && run.start == from + inserted)
            run.start = from;
        moved.push_back(std::move(run));
    }
    formats_ = std::move(moved);
}

void EditorText::MergeFormat(qsizetype from, qsizetype to, const QTextCharFormat& format)
{
    from = std::clamp<qsizetype>(from, 0, size());
    to = std::clamp<qsizetype>(to, from, size());
    if (from == to)
        return;
    Step& step = StartStep(false);
    std::vector<Run> merged;
    qsizetype covered = from;  // [from, covered) has its new format
    const auto fillUpTo = [&](qsizetype end) {
        if (covered < end)
            merged.push_back({covered, end, format});
        covered = std::max(covered, end);
    };
    for (const Run& run : formats_) {
        if (run.end <= from || run.start >= to) {
            if (run.start >= to)
                fillUpTo(to);
            merged.push_back(run);
            continue;
        }
        if (run.start < from)
            merged.push_back({run.start, from, run.format});
        const qsizetype start = std::max(run.start, from);
        const qsizetype end = std::min(run.end, to);
        fillUpTo(start);
        QTextCharFormat both = run.format;
        both.merge(format);
        merged.push_back({start, end, both});
        covered = end;
        if (run.end > to)
            merged.push_back({to, run.end, run.format});
    }
    fillUpTo(to);
    // Neighbours with one format are one run.
    formats_.clear();
    for (Run& run : merged) {
        if (!formats_.empty() && formats_.back().end == run.start && formats_.back().format == run.format)
            formats_.back().end = run.end;
        else
            formats_.push_back(std::move(run));
    }
    step.formatsAfter = formats_;
}

std::vector<EditorText::Run>::const_iterator EditorText::FirstRunEndingAfter(qsizetype index) const
{
    return std::upper_bound(formats_.begin(), formats_.end(), index,
                            [](qsizetype i, const Run& r) { return i < r.end; });
}

QTextCharFormat EditorText::FormatAt(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, size());
    const qsizetype source = FormatSource(Characters(), position, position);
    if (source < 0)
        return {};
    const auto run = FirstRunEndingAfter(source);
    return run != formats_.end() && run->start <= source ? run->format : QTextCharFormat();
}

QList<QTextLayout::FormatRange> EditorText::FormatsOf(qsizetype start, qsizetype end) const
{
    QList<QTextLayout::FormatRange> ranges;
    for (auto run = FirstRunEndingAfter(start); run != formats_.end() && run->start < end; ++run) {
        const qsizetype from = std::max(run->start, start);
        const qsizetype to = std::min(run->end, end);
        if (from < to)
            ranges.append({static_cast<int>(from - start), static_cast<int>(to - from), run->format});
    }
    return ranges;
}

std::optional<EditorText::Stepped> EditorText::Undo()
{
    if (!CanUndo())
        return std::nullopt;
    Step& step = steps_[--done_];
    qsizetype caret = -1;
    for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit) {
        edit->inserted = VersionOf(Characters().mid(edit->at, edit->insertedLength));
        Apply(edit->at, edit->at + edit->insertedLength, *edit->removed);
        caret = edit->at + static_cast<qsizetype>(edit->removed->bytes.size());
    }
    formats_ = step.formatsBefore;
    return Stepped{caret, !step.edits.empty()};
}

std::optional<EditorText::Stepped> EditorText::Redo()
{
    if (!CanRedo())
        return std::nullopt;
    Step& step = steps_[done_++];
    qsizetype caret = -1;
    for (Edit& edit : step.edits) {
        Apply(edit.at, edit.at + static_cast<qsizetype>(edit.removed->bytes.size()), *edit.inserted);
        edit.inserted.reset();  // the text holds them again
        caret = edit.at + edit.insertedLength;
    }
    formats_ = step.formatsAfter;
    return Stepped{caret, !step.edits.empty()};
}
