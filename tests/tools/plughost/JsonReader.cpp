#include "JsonReader.h"

#include <cstdlib>

namespace {

class Parser {
public:
    explicit Parser(const std::string& s) : text(s) {}

    JsonValue document() {
        JsonValue value = parseValue();
        skipSpace();
        if (at != text.size()) fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw std::runtime_error("not JSON at " + std::to_string(at) + ": " + why);
    }

    void skipSpace() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r' || text[at] == '\t')) ++at;
    }

    void expect(char c) {
        skipSpace();
        if (at >= text.size() || text[at] != c) fail(std::string("expected ") + c);
        ++at;
    }

    bool take(const std::string& word) {
        if (text.compare(at, word.size(), word) != 0) return false;
        at += word.size();
        return true;
    }

    JsonValue parseValue() {
        skipSpace();
        if (at >= text.size()) fail("missing value");
        JsonValue value;
        const char c = text[at];
        if (c == '{') {
            value.type = JsonValue::Type::object;
            ++at;
            skipSpace();
            if (at < text.size() && text[at] == '}') return ++at, value;
            do {
                skipSpace();
                std::string key = parseString();
                expect(':');
                value.fields.emplace_back(std::move(key), parseValue());
                skipSpace();
            } while (at < text.size() && text[at] == ',' && ++at);
            expect('}');
        } else if (c == '[') {
            value.type = JsonValue::Type::array;
            ++at;
            skipSpace();
            if (at < text.size() && text[at] == ']') return ++at, value;
            do {
                value.items.push_back(parseValue());
                skipSpace();
            } while (at < text.size() && text[at] == ',' && ++at);
            expect(']');
        } else if (c == '"') {
            value.type = JsonValue::Type::string;
            value.text = parseString();
        } else if (take("true")) {
            value.type = JsonValue::Type::boolean;
            value.boolean = true;
        } else if (take("false")) {
            value.type = JsonValue::Type::boolean;
        } else if (take("null")) {
            value.type = JsonValue::Type::null;
        } else {
            value.type = JsonValue::Type::number;
            const std::size_t start = at;
            if (text[at] == '-') ++at;
            while (at < text.size() && std::string("0123456789.eE+-").find(text[at]) != std::string::npos) ++at;
            const std::string number = text.substr(start, at - start);
            char* end = nullptr;
            value.number = std::strtod(number.c_str(), &end);
            if (number.empty() || end != number.c_str() + number.size()) fail("bad number " + number);
        }
        return value;
    }

    void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string parseString() {
        if (at >= text.size() || text[at] != '"') fail("expected a string");
        ++at;
        std::string out;
        while (at < text.size() && text[at] != '"') {
            const auto c = static_cast<unsigned char>(text[at++]);
            if (c < 0x20) fail("raw control character in a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at >= text.size()) fail("unfinished escape");
            const char e = text[at++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    if (at + 4 > text.size()) fail("short \\u escape");
                    const std::string hex = text.substr(at, 4);
                    char* end = nullptr;
                    const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
                    if (end != hex.c_str() + 4) fail("bad \\u escape");
                    at += 4;
                    appendUtf8(out, static_cast<unsigned>(code));
                    break;
                }
                default: fail("unknown escape");
            }
        }
        if (at >= text.size()) fail("unterminated string");
        ++at;
        return out;
    }

    const std::string& text;
    std::size_t at = 0;
};

}  // namespace

JsonValue parseJson(const std::string& text) { return Parser(text).document(); }
