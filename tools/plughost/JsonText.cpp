#include "JsonText.h"

#include <cmath>
#include <cstdio>

namespace {

// The length of the UTF-8 sequence starting at `at`, or 0 when it is not one.
std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

void appendEscape(std::string& out, unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", code);
    out += escape;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendEscape(out, c);
        } else if (c >= 0x80) {
            const std::size_t length = utf8Length(text, at);
            if (length == 0) {
                appendEscape(out, c);
            } else {
                out.append(text, at, length);
                at += length;
                continue;
            }
        } else {
            out += static_cast<char>(c);
        }
        ++at;
    }
    return out + "\"";
}

std::string jsonNumber(float value) {
    if (!std::isfinite(value)) return "null";
    // Nine significant digits identify every float.
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}
