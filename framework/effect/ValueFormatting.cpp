// Numbers as text for parameter displays. The float form has a budget of eight
// characters and truncates its fraction digits, so a value's single-precision
// representation shows through (2.675 gives 2.674999).
#include "EffectBase.h"
#include "TextCopy.h"

#include <cmath>

namespace {

constexpr const char* kHuge = "Huge!";
constexpr const char* kNotANumber = "NaN";
constexpr int kBudget = 8;

char digitOf(double w) { return static_cast<char>('0' + static_cast<int>(std::fmod(w, 10.0))); }

}  // namespace

void EffectBase::floatToText(float value, char* text, std::int32_t maxLen) {
    if (maxLen < 0) return;
    double v = value;
    if (std::isnan(v)) {
        copyBounded(text, kNotANumber, maxLen);
        return;
    }
    const bool negative = v < 0.0;
    int count = negative ? 1 : 0;
    if (negative) v = -v;
    // The integer part must fit the budget with its sign and point, otherwise
    // its leading digits would be dropped.
    if ((negative && v >= 1000000.0) || (!negative && v >= 10000000.0)) {
        copyBounded(text, kHuge, maxLen);
        return;
    }

    char scratch[32];
    int left = 31;
    scratch[left] = 0;
    scratch[--left] = '.';
    double w = std::floor(v);
    scratch[--left] = digitOf(w);
    w = w * 0.1;
    count += 2;
    while (w >= 1.0 && count < kBudget) {
        scratch[--left] = digitOf(w);
        w = w * 0.1;
        count += 1;
    }
    if (negative) scratch[--left] = '-';
    copyBounded(text, scratch + left, maxLen);
    if (count >= kBudget) return;

    const int n = kBudget - count;
    double m = std::fmod(v, 1.0) * std::pow(10.0, n);
    char fraction[kBudget + 1];
    fraction[n] = 0;
    for (int i = n - 1; i >= 0; --i) {
        if (m <= 0.0) {
            fraction[i] = '0';
        } else {
            fraction[i] = digitOf(m);
            m = m * 0.1;
        }
    }
    appendBounded(text, fraction, maxLen);
}

void EffectBase::integerToText(std::int32_t value, char* text, std::int32_t maxLen) {
    if (maxLen < 0) return;
    // Magnitudes beyond nine digits cannot be written by the divisors below,
    // and the most negative value has no positive counterpart.
    if (value >= 100000000 || value <= -1000000000) {
        copyBounded(text, kHuge, maxLen);
        return;
    }
    if (value < 0) {
        copyBounded(text, "-", maxLen);
        value = -value;
    } else {
        copyBounded(text, "", maxLen);
    }
    bool written = false;
    for (std::int32_t divisor = 100000000; divisor >= 1; divisor /= 10) {
        const std::int32_t d = value / divisor;
        value -= d * divisor;
        if (written || d > 0) {
            const char digit[2] = {static_cast<char>('0' + d), 0};
            appendBounded(text, digit, maxLen);
            written = true;
        }
    }
    if (!written) appendBounded(text, "0", maxLen);
}

void EffectBase::decibelsToText(float value, char* text, std::int32_t maxLen) {
    if (maxLen < 0) return;
    if (value <= 0.0f) {
        copyBounded(text, "-oo", maxLen);
        return;
    }
    const long double decibels = 20.0L * std::log10(static_cast<long double>(value));
    floatToText(static_cast<float>(decibels), text, maxLen);
}

void EffectBase::hertzToText(float samples, char* text, std::int32_t maxLen) {
    const float rate = getSampleRate();
    if (samples == 0.0f) {
        floatToText(0.0f, text, maxLen);
        return;
    }
    floatToText(rate / samples, text, maxLen);
}

void EffectBase::millisecondsToText(float samples, char* text, std::int32_t maxLen) {
    const double quotient = static_cast<double>(samples) * 1000.0 / getSampleRate();
    floatToText(static_cast<float>(quotient), text, maxLen);
}
