#include "files/TokenNumbers.h"

#include <vector>

#include "files/TokenTable.h"

namespace korvane::tokens {

std::string decimalOfMagnitude(const std::string& littleEndian) {
    std::vector<std::uint8_t> n(littleEndian.rbegin(), littleEndian.rend());  // most significant first
    std::string digits;
    while (!n.empty()) {
        unsigned remainder = 0;
        std::vector<std::uint8_t> quotient;
        for (const std::uint8_t b : n) {
            const unsigned cur = remainder * 256 + b;
            if (!quotient.empty() || cur / 10 != 0) quotient.push_back(static_cast<std::uint8_t>(cur / 10));
            remainder = cur % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
        n.swap(quotient);
    }
    return digits.empty() ? "0" : digits;
}

std::string magnitudeOfDecimal(const std::string& digits) {
    std::vector<int> d;
    for (const char c : digits)
        if (!d.empty() || c != '0') d.push_back(c - '0');
    std::string out;
    while (!d.empty()) {
        int remainder = 0;
        std::vector<int> quotient;
        for (const int digit : d) {
            const int cur = remainder * 10 + digit;
            if (!quotient.empty() || cur / 256 != 0) quotient.push_back(cur / 256);
            remainder = cur % 256;
        }
        out += static_cast<char>(remainder);
        d.swap(quotient);
    }
    return out;
}

std::optional<std::string> textOfFloat(const FloatBytes& bytes) {
    const unsigned word = (bytes[0] << 8) | bytes[1];
    const bool negative = (word & 0x8000) != 0;
    const int exponent = static_cast<int>(word & 0x7FFF) - 0x4000;
    std::string digits;
    for (int i = 2; i < 9; ++i) {
        const int hi = bytes[i] >> 4, lo = bytes[i] & 0x0F;
        if (hi > 9 || lo > 9) return std::nullopt;
        digits += static_cast<char>('0' + hi);
        digits += static_cast<char>('0' + lo);
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string text;
    if (digits == "0") {
        text = "0.";
    } else if (exponent >= 0 && exponent < 14) {
        const size_t intLength = static_cast<size_t>(exponent) + 1;
        if (digits.size() < intLength) digits.append(intLength - digits.size(), '0');
        text = digits.substr(0, intLength) + "." + digits.substr(intLength);
    } else if (exponent < 0 && exponent >= -5) {
        // The calculator writes the zero before the decimal point ("0.8").
        text = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        text = digits.substr(0, 1) + "." + digits.substr(1) + ch::Exponent;
        if (exponent < 0) text += ch::Negate;
        text += std::to_string(exponent < 0 ? -exponent : exponent);
    }
    return negative ? std::string(1, ch::Negate) + text : text;
}

std::optional<FloatBytes> floatOfText(const std::string& mantissa, int exponent) {
    // Significant digits and the power of ten of the first one.
    std::string digits;
    int pointPosition = -1;
    int firstSignificant = -1;
    int index = 0;
    for (const char c : mantissa) {
        if (c == '.') {
            pointPosition = index;
            continue;
        }
        if (firstSignificant < 0 && c != '0') firstSignificant = index;
        if (firstSignificant >= 0) digits += c;
        ++index;
    }
    if (pointPosition < 0) pointPosition = index;
    FloatBytes out{};
    if (digits.empty()) {
        out[0] = 0x40;
        return out;
    }
    int power = pointPosition - firstSignificant - 1 + exponent;
    if (digits.size() > 14) {
        const bool roundUp = digits[14] >= '5';
        digits.resize(14);
        if (roundUp) {
            int i = 13;
            while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                digits.resize(14);
                ++power;
            }
        }
    }
    digits.resize(14, '0');
    if (power < -0x3FFF || power > 0x3FFF) return std::nullopt;
    const unsigned word = static_cast<unsigned>(power + 0x4000);
    out[0] = static_cast<std::uint8_t>(word >> 8);
    out[1] = static_cast<std::uint8_t>(word & 0xFF);
    for (int i = 0; i < 7; ++i)
        out[2 + i] = static_cast<std::uint8_t>(((digits[2 * i] - '0') << 4) | (digits[2 * i + 1] - '0'));
    return out;
}

}  // namespace korvane::tokens
