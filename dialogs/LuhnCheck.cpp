#include "LuhnCheck.h"

#include <QList>

namespace {

int DigitValue(char32_t character)
{
    // Only the ASCII digits; other scripts' digits count as "not a digit".
    return character >= U'0' && character <= U'9' ? int(character - U'0') : 0;
}

} // namespace

std::int64_t LuhnSum(const QString& number)
{
    // Counted in characters, not UTF-16 units: a character outside the basic
    // plane is one character and must shift the doubling by one only.
    const QList<uint> characters = number.toUcs4();
    std::int64_t sum = 0;
    bool doubled = false;
    for (auto it = characters.crbegin(); it != characters.crend(); ++it) {
        int value = DigitValue(char32_t(*it));
        if (doubled) {
            value *= 2;
            if (value > 9)
                value -= 9;
        }
        sum += value;
        doubled = !doubled;
    }
    return sum;
}

bool PassesLuhnCheck(const QString& number)
{
    return LuhnSum(number) % 10 == 0;
}
