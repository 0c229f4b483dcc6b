#include "engine/regex/DbcsRegex.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "engine/regex/BacktrackMatch.h"

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

TEST(DbcsRegex, BackReferencesFindTheLeftmostLongestMatch)
{
    const struct {
        const char* pattern;
        const char* text;
        std::pair<int, int> span;
    } cases[] = {
        {"(.*)(.*)(.*)\\3\\2\\1", "C", {0, 0}},
        {"(.*)(.*)(.*)\\3\\2\\1", "XYZZYXQ", {0, 6}},
        {"(A+)\\1", "XAAAAA", {1, 5}},
        {"(A)?\\1B", "B", {-1, -1}},          // a group that took no part matches nothing
        {"(.)\\1", "\x81\x81" "AA", {2, 4}},  // 81 81 is one character
        {"[\x81\x40-\x81\x50](.)\\1", "A\x81\x45\x82\xA0\x82\xA0", {1, 7}},
        {"\\1(A)", "AA", {-2, -2}},             // still refused as before
    };
    for (const auto& c : cases)
        EXPECT_EQ(Search(c.pattern, c.text), c.span) << c.pattern << " / " << c.text;
}

TEST(DbcsRegex, BackReferenceSearchStopsAtItsFailurePointLimit)
{
    const struct {
        const char* pattern;
        std::string text;
        int result;
    } cases[] = {
        {"^(.*)(.*)\\2\\1$", "ABBA", REG_NOERROR},
        {"^(.*)(.*)\\2\\1$", std::string(201, 'A'), REG_NOMATCH},
        {"(.*)\\1(.*)\\2(.*)\\3(.*)\\4b", std::string(120, 'A'), REG_NOMATCH},
    };
    for (const auto& c : cases) {
        regex_t re;
        ASSERT_EQ(regcomp(&re, c.pattern, REG_EXTENDED), 0);
        ASSERT_NE(re.backtrack, nullptr) << c.pattern;
        regmatch_t match;
        int points = 0;
        EXPECT_EQ(dbcs_backtrack_exec(static_cast<const dbcs_backtrack_t*>(re.backtrack),
                                      c.text.c_str(), 1, &match, 0, &points), c.result);
        EXPECT_LE(points, DBCS_BACKTRACK_FAILURE_POINTS + 1) << c.pattern;
        regfree(&re);
    }
}
