#pragma once
// 8-bit text that several owners read without copying it: the input editor's
// text, the snapshot taken of it and the text a runner searches. A copy of a
// SharedText shares the characters; nobody changes them while it is shared.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tamarin {

class SharedText {
public:
    SharedText() = default;
    SharedText(std::string text) : text_(std::make_shared<const std::string>(std::move(text))) {}
    SharedText(const char* text) : SharedText(std::string(text)) {}
    explicit SharedText(std::shared_ptr<const std::string> text) : text_(std::move(text)) {}

    std::string_view View() const { return text_ ? std::string_view(*text_) : std::string_view(); }
    const char* data() const { return View().data(); }
    operator std::string_view() const { return View(); }
    bool empty() const { return View().empty(); }
    std::size_t size() const { return View().size(); }

    friend bool operator==(const SharedText& a, std::string_view b) { return a.View() == b; }

private:
    std::shared_ptr<const std::string> text_;
};

} // namespace tamarin
