#pragma once
// Every web address Tamarin opens, in one place, and the one way to open them.

#include "ProductInfo.h"

class QString;

namespace WebLinks {

// Asks the desktop to open an address in the default browser; the outcome is
// the desktop's business and is not looked at.
void Open(const QString& address);

// The maker's home page ("Tamarin Web Site", the home tool button, the About box).
// The project's home page, as given to project() in CMakeLists.txt.
inline constexpr const char* HomePage = ProductInfo::HomePage;
// The maker's support board ("Support & WebBoard", the help tool button).
inline constexpr const char* SupportBoard = "https://tamarin.example.org/board/";
// The product's own page (the credit card checker's link).
inline constexpr const char* ProductPage = "https://tamarin.example.org/products/tamarin/";
// Boost.Regex documentation for the library version Tamarin was built with.
// %1 is the library version as 1_74_0, built by the settings dialog from
// tamarin::RegexLibraryVersion().
inline constexpr const char* RegexDocumentationFormat =
    "https://www.boost.org/doc/libs/%1/libs/regex/doc/html/index.html";

} // namespace WebLinks
