#pragma once
// The Luhn checksum used by the credit card checker.

#include <QString>
#include <cstdint>

// Walks `number` from its last character to its first, doubling every second
// value (less 9 when the double exceeds 9), and returns the sum. Every
// character takes part: a decimal digit counts its value, anything else 0.
std::int64_t LuhnSum(const QString& number);

// True when LuhnSum(number) is a multiple of 10.
bool PassesLuhnCheck(const QString& number);
