// The bounded copies every text handed to the host goes through.
#include "TextCopy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr char kUnwritten = '#';

// The buffer's bytes as text, the unwritten ones shown as '#'.
template <std::size_t N>
std::string bytesOf(const char (&buffer)[N]) {
    std::string bytes;
    for (const char c : buffer) bytes += c == 0 ? '0' : c;
    return bytes;
}

TEST(TextCopy, BoundedCopyCutsZeroFillsAndNeverPassesMaxLen) {
    struct Row {
        const char* source;
        std::int32_t maxLen;
        const char* bytes;  // '0' marks a zero byte
    };
    const Row rows[] = {
        {"Thresh", 8, "Thresh000#"},  {"Umber-Swirl", 8, "Umber-Sw0#"}, {"", 3, "0000######"},
        {"abc", 0, "0#########"},     {"abc", -1, "##########"},        {"abcdefgh", 8, "abcdefgh0#"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.source) + " into " + std::to_string(row.maxLen));
        char buffer[10];
        std::memset(buffer, kUnwritten, sizeof buffer);
        copyBounded(buffer, row.source, row.maxLen);
        EXPECT_EQ(bytesOf(buffer), row.bytes);
    }
}

TEST(TextCopy, BoundedAppendCutsTheWholeText) {
    struct Row {
        const char* existing;
        const char* source;
        std::int32_t maxLen;
        const char* bytes;
    };
    // The existing text is written as it stands, terminator included.
    const Row rows[] = {
        {"12", "345", 8, "123450##0"},       {"1234", "5678", 6, "1234560##"}, {"123456", "7", 6, "1234560##"},
        {"12345678", "9", 4, "123406780"},  {"", "", 0, "0########"},       {"1", "2", -1, "10#######"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.existing) + " + " + row.source + " into " + std::to_string(row.maxLen));
        char buffer[9];
        std::memset(buffer, kUnwritten, sizeof buffer);
        std::memcpy(buffer, row.existing, std::strlen(row.existing) + 1);
        appendBounded(buffer, row.source, row.maxLen);
        EXPECT_EQ(bytesOf(buffer), row.bytes);
    }
}

}  // namespace
