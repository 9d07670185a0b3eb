#pragma once
// Number literals of tokenized programs: integers of any length (magnitude bytes,
// least significant first) and the calculator's BCD floats.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace korvane::tokens {

// Decimal digits of a little-endian magnitude ("0" for none).
std::string decimalOfMagnitude(const std::string& littleEndian);
// Little-endian magnitude of decimal digits, no leading zero bytes (empty for 0).
std::string magnitudeOfDecimal(const std::string& digits);

// The 9 bytes of a float as stored: sign/exponent word (big-endian, biased by
// 0x4000, bit 15 = negative), then 14 BCD digits, most significant first.
using FloatBytes = std::array<std::uint8_t, 9>;

// The calculator's spelling of a float: "5.7", ".4", "1000.", "1.5E⁻12" (with the
// calculator's exponent and negation characters). Nothing when the digits are not BCD.
std::optional<std::string> textOfFloat(const FloatBytes& bytes);

// A decimal literal ("12.5", ".4", "3.E5" with the exponent character, digits
// beyond the 14th rounded) as float bytes. Nothing when the exponent is out of range.
std::optional<FloatBytes> floatOfText(const std::string& mantissa, int exponent);

}  // namespace korvane::tokens
