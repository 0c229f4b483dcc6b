#include "engine/regex/DbcsRegex.h"

#include <utility>

#include <gtest/gtest.h>

namespace {

// The span of the leftmost-longest match, or {-1, -1} when there is none.
std::pair<int, int> Search(const char* pattern, const char* text)
{
    regex_t re;
    if (regcomp(&re, pattern, REG_EXTENDED) != 0)
        return {-2, -2};
    regmatch_t match;
    std::pair<int, int> span{-1, -1};
    if (regexec(&re, text, 1, &match, 0) == 0)
        span = {static_cast<int>(match.rm_so), static_cast<int>(match.rm_eo)};
    regfree(&re);
    return span;
}

}

TEST(DbcsRegex, MatchesWholeCharactersAndNeverStartsInsideOne)
{
    const struct {
        const char* pattern;
        const char* text;
        std::pair<int, int> span;
    } cases[] = {
        {"@", "\x81@", {-1, -1}},       // "@" is the second byte of 81 40
        {"@", "A@", {1, 2}},
        {"\\\\", "\x95\\x\\", {3, 4}},  // 95 5C holds the first backslash
        {"^.$", "\x81\x40", {0, 2}},
        {"^.$", "\x81\n", {-1, -1}},     // a first byte never goes with a line feed
        {"^.$", "\xFF\xFF", {0, 2}},     // the code that 16-bit WEOF shares
        {"^[\xFF\xFE-\xFF\xFF]$", "\xFF\xFF", {0, 2}},
        {"^[\xFF\xFE-\xFF\xFF]$", "\xFF\xFD", {-1, -1}},
        {"[\x81\x40-\x81\x50]+", "A\x81\x41\x81\x50\x81\x51", {1, 5}},
        {"\\w+", "\x82\x60" "AB", {2, 4}},
        {"[[:alpha:]]+", "\x82\x60\xB1" "AB", {3, 5}},  // full-width A, half-width katakana
        {"A\x81", "A\x81", {-2, -2}},    // a lone first byte at the end does not compile
    };
    for (const auto& c : cases)
        EXPECT_EQ(Search(c.pattern, c.text), c.span) << c.pattern << " / " << c.text;
}
