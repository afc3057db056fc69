#pragma once
// One state of an editor's text, and a read-only view of a piece of it.
//
// The text is kept in the engine's code page, one byte per character, which
// is what the engine searches. Only while a character outside the code page
// is in the text are the characters also kept as they are; until then every
// byte stands for exactly one character, and a view reads the characters
// from the bytes.
#include "CodePage.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace text_bytes {

// The last `c` among the first `length` bytes at `bytes`; nullptr when none.
// A plain loop, for C libraries without memrchr.
inline const char* LastOfByLoop(const char* bytes, std::size_t length, char c)
{
    for (std::size_t i = length; i > 0; --i) {
        if (bytes[i - 1] == c)
            return bytes + i - 1;
    }
    return nullptr;
}

// The same, with the C library's memrchr where there is one (a GNU extension,
// vectorized in glibc; MinGW's C library has none).
inline const char* LastOf(const char* bytes, std::size_t length, char c)
{
#ifdef __GLIBC__
    return static_cast<const char*>(memrchr(bytes, static_cast<unsigned char>(c), length));
#else
    return LastOfByLoop(bytes, length, c);
#endif
}

} // namespace text_bytes

struct TextVersion {
    std::string bytes;      // in the code page, each line break one '\n'
    QString characters;     // the same characters as they are; kept only when
    bool charactersKept = false;  // a byte cannot tell them
};

class TextSpan {
public:
    TextSpan() = default;
    TextSpan(const TextVersion& version)
        : bytes_(version.bytes.data()),
          characters_(version.charactersKept ? version.characters.constData() : nullptr),
          size_(static_cast<qsizetype>(version.bytes.size()))
    {
    }

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    QChar operator[](qsizetype i) const
    {
        return characters_ ? characters_[i] : QChar(tamarin::codepage::ToUnicode(bytes_[i]));
    }
    QChar at(qsizetype i) const { return (*this)[i]; }
    // True while each byte stands for its character.
    bool BytesAreCharacters() const { return characters_ == nullptr; }
    // The code-page bytes of the span.
    std::string_view Bytes() const { return {bytes_, static_cast<std::size_t>(size_)}; }

    // At most `count` characters from `start`, clipped to the span (-1: all).
    TextSpan mid(qsizetype start, qsizetype count = -1) const
    {
        start = std::clamp<qsizetype>(start, 0, size_);
        const qsizetype left = size_ - start;
        count = count < 0 ? left : std::min(count, left);
        TextSpan piece;
        piece.bytes_ = bytes_ + start;
        piece.characters_ = characters_ ? characters_ + start : nullptr;
        piece.size_ = count;
        return piece;
    }
    // A text of its own with the same characters, copied as they are kept.
    TextVersion Copy() const
    {
        TextVersion copy;
        copy.bytes.assign(bytes_, static_cast<std::size_t>(size_));
        if (characters_) {
            copy.characters = QString(characters_, size_);
            copy.charactersKept = true;
        }
        return copy;
    }
    QString toString() const
    {
        if (characters_)
            return QString(characters_, size_);
        QString text(size_, Qt::Uninitialized);
        QChar* out = text.data();
        for (qsizetype i = 0; i < size_; ++i)
            out[i] = QChar(tamarin::codepage::ToUnicode(bytes_[i]));
        return text;
    }

    // Where `c` is first at or after `from`, or last at or before `from`
    // (-1: the end); -1 when nowhere. An ASCII character is looked for in the
    // bytes, where it stands only for itself.
    qsizetype indexOf(QChar c, qsizetype from = 0) const
    {
        from = std::max<qsizetype>(from, 0);
        if (from >= size_)
            return -1;
        if (characters_ || c.unicode() >= 0x80)
            return Find(c, from, 1);
        const void* at = std::memchr(bytes_ + from, c.unicode(), static_cast<std::size_t>(size_ - from));
        return at ? static_cast<const char*>(at) - bytes_ : -1;
    }
    qsizetype lastIndexOf(QChar c, qsizetype from = -1) const
    {
        from = from < 0 || from >= size_ ? size_ - 1 : from;
        if (from < 0)
            return -1;
        if (characters_ || c.unicode() >= 0x80)
            return Find(c, from, -1);
        const char* at = text_bytes::LastOf(bytes_, static_cast<std::size_t>(from + 1),
                                            static_cast<char>(c.unicode()));
        return at ? at - bytes_ : -1;
    }

    friend bool operator==(const TextSpan& a, const TextSpan& b)
    {
        if (a.size_ != b.size_)
            return false;
        if (!a.characters_ && !b.characters_)
            return a.Bytes() == b.Bytes();
        if (a.characters_ && b.characters_)
            return QStringView(a.characters_, a.size_) == QStringView(b.characters_, b.size_);
        for (qsizetype i = 0; i < a.size_; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }

private:
    qsizetype Find(QChar c, qsizetype from, int step) const
    {
        for (qsizetype i = from; i >= 0 && i < size_; i += step) {
            if ((*this)[i] == c)
                return i;
        }
        return -1;
    }

    const char* bytes_ = "";
    const QChar* characters_ = nullptr;
    qsizetype size_ = 0;
};

// A piece of a shared version, kept alive with it.
struct SharedSpan {
    std::shared_ptr<const TextVersion> version;
    qsizetype start = 0;
    qsizetype length = 0;
    TextSpan Span() const { return version ? TextSpan(*version).mid(start, length) : TextSpan(); }
    QString Characters() const { return Span().toString(); }
};
