// Numbers as text: every form, every buffer length, and the values at the
// edges of each form's range.
#include "ExtendedEffect.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

enum class Form { floating, integer, decibels, hertz, milliseconds };

const char* nameOf(Form form) {
    switch (form) {
        case Form::floating:
            return "floatToText";
        case Form::integer:
            return "integerToText";
        case Form::decibels:
            return "decibelsToText";
        case Form::hertz:
            return "hertzToText";
        case Form::milliseconds:
            return "millisecondsToText";
    }
    return "?";
}

struct Case {
    Form form;
    float number;          // the argument of the float forms
    std::int32_t integer;  // the argument of integerToText
    float rate;            // the sample rate the unit forms read
    std::string text;      // what a buffer long enough receives
};

Case floating(float v, std::string text) { return {Form::floating, v, 0, 44100.0f, std::move(text)}; }
Case integer(std::int32_t v, std::string text) { return {Form::integer, 0.0f, v, 44100.0f, std::move(text)}; }
Case decibels(float v, std::string text) { return {Form::decibels, v, 0, 44100.0f, std::move(text)}; }
Case hertz(float samples, float rate, std::string text) { return {Form::hertz, samples, 0, rate, std::move(text)}; }
Case milliseconds(float samples, float rate, std::string text) {
    return {Form::milliseconds, samples, 0, rate, std::move(text)};
}

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        // The published examples.
        floating(0.0f, "0.000000"),
        floating(-0.0f, "0.000000"),
        floating(0.5f, "0.500000"),
        floating(-1.5f, "-1.50000"),
        floating(100.0f, "100.0000"),
        floating(1000.0f, "1000.000"),
        floating(3.14159265f, "3.141592"),
        floating(12345.678f, "12345.67"),
        floating(1234567.0f, "1234567."),
        floating(0.0000001f, "0.000000"),
        floating(100000000.0f, "Huge!"),
        floating(99999999.0f, "Huge!"),
        floating(2.675f, "2.674999"),
        // Each digit count up to the budget keeps all its digits.
        floating(9.0f, "9.000000"),
        floating(10.0f, "10.00000"),
        floating(999999.0f, "999999.0"),
        floating(1000000.0f, "1000000."),
        floating(9999999.0f, "9999999."),
        floating(-0.5f, "-0.50000"),
        floating(-99999.0f, "-99999.0"),
        floating(-999999.0f, "-999999."),
        // Integer parts too long for the budget are Huge! rather than cut.
        floating(10000000.0f, "Huge!"),
        floating(12345678.0f, "Huge!"),
        floating(-1000000.0f, "Huge!"),
        floating(-1234567.0f, "Huge!"),
        floating(-9999999.0f, "Huge!"),
        floating(-100000000.0f, "Huge!"),
        floating(inf, "Huge!"),
        floating(-inf, "Huge!"),
        floating(nan, "NaN"),
        floating(-nan, "NaN"),
        floating(std::numeric_limits<float>::denorm_min(), "0.000000"),

        integer(0, "0"),
        integer(7, "7"),
        integer(-42, "-42"),
        integer(1000, "1000"),
        integer(99999999, "99999999"),
        integer(100000000, "Huge!"),
        integer(-123456789, "-123456789"),
        integer(-999999999, "-999999999"),
        integer(-1000000000, "Huge!"),
        integer(int32Min, "Huge!"),
        integer(int32Max, "Huge!"),

        decibels(1.0f, "0.000000"),
        decibels(0.5f, "-6.02059"),
        decibels(10.0f, "20.00000"),
        decibels(0.0f, "-oo"),
        decibels(-0.0f, "-oo"),
        decibels(-1.0f, "-oo"),
        decibels(inf, "Huge!"),
        decibels(nan, "NaN"),

        hertz(100.0f, 44100.0f, "441.0000"),
        hertz(0.0f, 44100.0f, "0.000000"),
        hertz(-0.0f, 44100.0f, "0.000000"),
        hertz(0.0f, 0.0f, "0.000000"),
        hertz(-441.0f, 44100.0f, "-100.000"),

        milliseconds(441.0f, 44100.0f, "10.00000"),
        milliseconds(44100.0f, 44100.0f, "1000.000"),
        milliseconds(441.0f, 0.0f, "Huge!"),
        milliseconds(0.0f, 0.0f, "NaN"),
    };
    return table;
}

void format(ExtendedEffect& effect, const Case& c, char* text, std::int32_t maxLen) {
    switch (c.form) {
        case Form::floating:
            effect.floatToText(c.number, text, maxLen);
            break;
        case Form::integer:
            effect.integerToText(c.integer, text, maxLen);
            break;
        case Form::decibels:
            effect.decibelsToText(c.number, text, maxLen);
            break;
        case Form::hertz:
            effect.hertzToText(c.number, text, maxLen);
            break;
        case Form::milliseconds:
            effect.millisecondsToText(c.number, text, maxLen);
            break;
    }
}

constexpr char kUnwritten = '#';

TEST(ValueFormatting, EachFormWritesItsTextCutToTheBufferAndNothingBeyond) {
    for (const Case& c : cases()) {
        for (std::int32_t maxLen = -1; maxLen <= 12; ++maxLen) {
            SCOPED_TRACE(std::string(nameOf(c.form)) + " expecting \"" + c.text + "\", maxLen " +
                         std::to_string(maxLen));
            probe::PlainEffect effect{nullptr};
            effect.setSampleRate(c.rate);
            char buffer[24];
            std::memset(buffer, kUnwritten, sizeof buffer);
            format(effect, c, buffer, maxLen);

            if (maxLen < 0) {
                EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, kUnwritten));
                continue;
            }
            const std::string expected = c.text.substr(0, static_cast<std::size_t>(maxLen));
            ASSERT_EQ(std::string(buffer, std::find(buffer, buffer + sizeof buffer, 0)), expected);
            // Bounded copies fill the rest of the first maxLen bytes with zeros.
            for (std::int32_t i = static_cast<std::int32_t>(expected.size()); i <= maxLen; ++i)
                EXPECT_EQ(buffer[i], 0) << "at " << i;
            for (std::size_t i = static_cast<std::size_t>(maxLen) + 1; i < sizeof buffer; ++i)
                EXPECT_EQ(buffer[i], kUnwritten) << "at " << i;
        }
    }
}

// Overrides the two operations the unit forms must reach through the table.
class UnitFormEffect : public probe::PlainEffect {
public:
    UnitFormEffect() : PlainEffect(nullptr) {}
    float getSampleRate() override { return 1000.0f; }
    void floatToText(float value, char* text, std::int32_t maxLen) override {
        handed.push_back(value);
        text[0] = maxLen > 0 ? 'u' : 0;
    }
    std::vector<float> handed;
};

TEST(ValueFormatting, UnitFormsReadTheRateAndFormatThroughTheEffectsOwnOperations) {
    UnitFormEffect effect;
    char text[16] = {};
    effect.hertzToText(4.0f, text, 8);
    effect.millisecondsToText(250.0f, text, 8);
    effect.decibelsToText(100.0f, text, 8);
    EXPECT_EQ(effect.handed, (std::vector<float>{250.0f, 250.0f, 40.0f}));
    EXPECT_EQ(text[0], 'u');
}

}  // namespace
