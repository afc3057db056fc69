#pragma once
// The engine's 8-bit text: the Windows-1252 code page, the classic 8-bit text
// of Western desktops, one byte per character. Editors hold UTF-16; every
// UTF-16 unit becomes exactly one byte, so positions in the 8-bit text are
// positions in the editor. A unit the code page cannot hold (a character
// outside it, or one half of a character outside the Basic Multilingual
// Plane) becomes the stand-in byte, which no syntax treats as special.
//
// The expressions are compiled with Locale(), whose character classes and
// case pairs are those of the code page, bytes above 0x7F included.

#include <cstddef>
#include <locale>
#include <string>
#include <string_view>

namespace tamarin::codepage {

// One of the five bytes Windows-1252 leaves unassigned: never a metacharacter,
// in no character class, its own case pair. It matches itself and '.'.
inline constexpr char StandIn = '\x81';

// The character a byte stands for, or U+FFFD for an unassigned byte (the
// stand-in among them).
char16_t ToUnicode(char byte);
// The byte for one UTF-16 unit; StandIn when the code page lacks it.
char FromUnicode(char16_t unit);

// Whole texts, one byte per unit and back.
std::string Encode(std::u16string_view text);
std::u16string Decode(std::string_view text);
// Encodes `count` units from `units` into `out`, which has room for them.
void EncodeInto(const char16_t* units, std::size_t count, char* out);
// The units of `count` bytes, into `out`.
void DecodeInto(const char* bytes, std::size_t count, char16_t* out);

// The classic locale with the code page's std::ctype<char>: what every
// expression is imbued with.
const std::locale& Locale();

} // namespace tamarin::codepage
