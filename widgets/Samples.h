#pragma once
// The sample patterns: the main window's (hidden) "Sample RegExp" menu puts
// them into the pattern editor, and the syntax test starts from the social
// number one at every showing.

namespace Samples {

inline constexpr const char* CreditCardNumber =
    "[2-6,9][0-9]{3}(-| )[0-9]{4}(-| )[0-9]{4}(-| )[0-9]{4}";
inline constexpr const char* SocialNumber =
    "[0-9]{2}[0,1][0-9][0-3][0-9]((-| |_)|( - ))[1-4][0-9]{6}";

} // namespace Samples
