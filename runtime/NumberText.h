#pragma once

#include <cstddef>
#include <cstdint>

// Text forms of numbers and the library's number parsers. The texts go into caller buffers and are
// NUL-terminated; each function returns the length written without the NUL.

// Enough for any 32- or 64-bit integer with its sign and NUL ("-9223372036854775808" is 20 units).
inline constexpr std::size_t INTEGER_TEXT_CAPACITY = 21;
// Enough for any float or double text with its NUL ("-2.22507385850720E-308" is 22 units).
inline constexpr std::size_t REAL_TEXT_CAPACITY = 32;
// Floats and doubles within this distance of zero show as "0" and are left alone by RoundDouble.
inline constexpr double NEAR_ZERO_TOLERANCE = 1e-6;

// "%d". `out` holds at least INTEGER_TEXT_CAPACITY units.
int Int32ToText(std::int32_t value, char16_t* out);
// Decimal digits, "-" for negatives. `out` holds at least INTEGER_TEXT_CAPACITY units.
int Int64ToText(std::int64_t value, char16_t* out);
// "0" near zero, else "%.8G". `out` holds at least REAL_TEXT_CAPACITY units.
int FloatToText(float value, char16_t* out);
// "0" near zero, else "%.15G". `out` holds at least REAL_TEXT_CAPACITY units.
int DoubleToText(double value, char16_t* out);

// Decimal text to a signed 64-bit value: skips leading code units 1 to 32, takes an optional sign, reads
// digits up to the first other unit and saturates at the limits of the type. Null or no digits give 0.
std::int64_t ParseDecimal64(const char16_t* text);
// Hexadecimal text (optional "0x"/"0X") to 64 bits, read up to the first non-digit; higher bits wrap
// away. Null or no digits give 0.
std::int64_t ParseHex64(const char16_t* text);
// Rounds half away from zero after lifting |value| by NEAR_ZERO_TOLERANCE, so 2.4999995 rounds to 3.
// Values within the tolerance of zero come back unchanged.
double RoundDouble(double value);
