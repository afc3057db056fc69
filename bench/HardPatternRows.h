#pragma once
// The rows of bench/hard_patterns: pattern families that make a backtracking
// matcher work hard, or take much backtracking memory for little work, each
// with the input it runs over as a function of the input's size. Shared by
// the benches that time them in the library and through the window.
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace hard_patterns {

inline std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

inline std::string Words(std::size_t size, bool lines)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo",
                                        "foxtrot", "golf", "hotel", "india", "juliet"};
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 16);
    std::size_t lineStart = 0;
    while (text.size() < size) {
        if (lines && text.size() - lineStart > 70) {
            text += '\n';
            lineStart = text.size();
        } else if (!text.empty() && text.back() != '\n') {
            text += ' ';
        }
        text += words[random() % 10];
    }
    text.resize(size);
    return text;
}

inline std::string TwoLetters(std::size_t size, char a, char b)
{
    std::mt19937 random(11);
    std::string text(size, a);
    for (char& c : text)
        c = (random() & 1) ? a : b;
    return text;
}

inline std::string Nested(std::size_t depth, const std::string& core)
{
    return std::string(depth, '(') + core + std::string(depth, ')');
}

struct Row {
    std::string label;
    std::function<std::string(std::size_t)> pattern;  // by input size
    std::function<std::string(std::size_t)> input;
};

inline std::vector<Row> Rows()
{
    auto fixed = [](std::string s) { return [s](std::size_t) { return s; }; };
    auto as = [](std::size_t n) { return Repeat('a', n); };
    auto xs = [](std::size_t n) { return Repeat('x', n); };
    auto lines = [](std::size_t n) { return Words(n, true); };
    auto line = [](std::size_t n) { return Words(n, false); };
    return {
        {"(a++(?#x))  compile", fixed("(a++(?#x))"), as},
        {"(>++(?#E\\<)C  compile", fixed("(>++(?#E\\<)C"), as},
        {"(a+)+b  on a..a", fixed("(a+)+b"), as},
        {"(a*)*b  on a..a", fixed("(a*)*b"), as},
        {"((a+)+)+b  on a..a", fixed("((a+)+)+b"), as},
        {"(x+x+)+y  on x..x", fixed("(x+x+)+y"), xs},
        {"(a|aa)+b  on a..a", fixed("(a|aa)+b"), as},
        {"(a|a?)+b  on a..a", fixed("(a|a?)+b"), as},
        {"(.*a){12}b  on a..a", fixed("(.*a){12}b"), as},
        {"a(?R)?b  on a..a", fixed("a(?R)?b"), as},
        {"(.|\\n)*  on lines", fixed("(.|\\n)*"), lines},
        {"(.|\\n)*  on one line", fixed("(.|\\n)*"), line},
        {"[\\s\\S]*  on lines", fixed("[\\s\\S]*"), lines},
        {"(a|b)*  on a/b", fixed("(a|b)*"), [](std::size_t n) { return TwoLetters(n, 'a', 'b'); }},
        {"(?:x|y)+  on x/y", fixed("(?:x|y)+"), [](std::size_t n) { return TwoLetters(n, 'x', 'y'); }},
        {"(\\w+\\s?)*$  on lines", fixed("(\\w+\\s?)*$"), lines},
        {"(\\w+\\s?)*$  on one line", fixed("(\\w+\\s?)*$"), line},
        {"\\w+@\\w+\\.com  on lines", fixed("\\w+@\\w+\\.com"), lines},
        {"10000-deep (..(b)..)  on lines", fixed(Nested(10000, "b")), lines},
        {"pattern of N a  on \"aaab\"", as, fixed("aaab")},
    };
}

} // namespace hard_patterns
