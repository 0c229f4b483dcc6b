#include "engine/regex/DbcsRegex.h"

#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "engine/regex/BacktrackMatch.h"
#include "tests/TestSupport.h"

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

// Names up to the longest a folder holds, which back-references describe, are matched: for three
// groups the work grows with the cube of the name's length. Past either bound the search gives up
// and answers no match: failure points held at once, and the work of one call.
TEST(DbcsRegex, BackReferenceSearchMatchesLongNamesAndGivesUpOnlyPastItsBounds)
{
    std::string wide;
    for (int i = 0; i < 254; ++i)
        wide += "\x82\x61";
    const struct {
        const char* pattern;
        std::string text;
        int gaveUp;
    } cases[] = {
        {"(.*)\\1", std::string(1998, 'A'), 0},
        {"(.*)(.*)\\2\\1", std::string(200, 'A'), 0},
        {"(.*)(.*)(.*)\\3\\2\\1", std::string(60, 'B'), 0},
        {"(.*)(.*)(.*)\\3\\2\\1", std::string(254, 'B'), 0},
        {"(.*)(.*)(.*)\\3\\2\\1", wide, 0},
        {"(.*)\\1", std::string(2002, 'A'), 1},
        {"(.*)\\1(.*)\\2(.*)\\3(.*)\\4b", std::string(120, 'A'), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " on " + std::to_string(c.text.size()) + " bytes");
        const int length = static_cast<int>(c.text.size());
        EXPECT_EQ(Search(c.pattern, c.text.c_str()),
                  c.gaveUp ? std::make_pair(-1, -1) : std::make_pair(0, length));
        regex_t re;
        ASSERT_EQ(regcomp(&re, c.pattern, REG_EXTENDED), 0);
        ASSERT_NE(re.backtrack, nullptr);
        regmatch_t match;
        int gaveUp = -1;
        dbcs_backtrack_exec(static_cast<const dbcs_backtrack_t*>(re.backtrack), c.text.c_str(),
                            &match, &gaveUp);
        EXPECT_EQ(gaveUp, c.gaveUp);
        regfree(&re);
    }
}

// Ours must read every pattern as the GNU engine does. Without a back-reference the GNU engine
// answers; wrapped as "(P)()\N", which matches what P matches, ours does.
TEST(DbcsRegex, BackReferencePatternsReadTheSyntaxAsTheGnuEngineDoes)
{
    const char* const patternPieces[] = {
        "A", "B", "\x81\x40", "\x95\x5C", ".", "*", "+", "?", "|", "(", ")", "[", "]", "^", "-",
        "{", "}", ",", "1", "\\", "$", "[:alpha:]", "[.A.]", "{1,2}", "{,2}", "{2,}", "{0}",
        "[^A]", "[A-\x81\x50]", "\xB1"};
    const char* const textPieces[] = {
        "A", "B", "\x81\x40", "\x95\x5C", "\x81\x50", "1", "\\", "-", "\xB1", "[", "]", "*"};
    std::mt19937 random(7);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string pattern = RandomPieces(random, patternPieces, 1 + random() % 7);
        std::string text = RandomPieces(random, textPieces, random() % 6);
        if (random() % 4 == 0)
            text += "\x81";
        int depth = 0, groups = 0;
        bool closesOutside = false;
        for (char c : pattern) {
            groups += c == '(';
            depth += (c == '(') - (c == ')');
            closesOutside |= depth < 0;
        }
        const std::pair<int, int> expected = Search(pattern.c_str(), text.c_str());
        if (closesOutside || groups > 7 || pattern.find("\\1") != std::string::npos
            || pattern.find("\\B") != std::string::npos || expected.first == -2)
            continue;
        const std::string wrapped = "(" + pattern + ")()\\" + std::to_string(groups + 2);
        regex_t re;
        if (regcomp(&re, wrapped.c_str(), REG_EXTENDED) != 0)
            continue;
        regmatch_t match;
        int gaveUp = 0;
        const int result = dbcs_backtrack_exec(static_cast<const dbcs_backtrack_t*>(re.backtrack),
                                               text.c_str(), &match, &gaveUp);
        regfree(&re);
        if (gaveUp)
            continue;
        const std::pair<int, int> span = result == REG_NOERROR
            ? std::make_pair(static_cast<int>(match.rm_so), static_cast<int>(match.rm_eo))
            : std::make_pair(-1, -1);
        EXPECT_EQ(span, expected) << pattern << " / " << text;
        ++compared;
    }
    EXPECT_GT(compared, 5000);
}


// Each of these would make the engine write out hundreds of skippable copies or thousands of
// atoms; what reads like an interval but is none must still compile.
TEST(DbcsRegex, PatternsThatWouldCostTooMuchAreRefusedAndTheEngineKeepsItsStatesBounded)
{
    const char* const tooCostly[] = {
        "A{1,3000}", "X.{0,200}", "(A{1,15}){1,15}", "((((((((A+)+)+)+)+)+)+)+)+", "A{2049}",
        "A{1\\,200}", "(.*){40}", "[^A]?{200}", "\x81\x40{0,200}", "(A|B|()){0,100}",
    };
    for (const char* pattern : tooCostly) {
        regex_t re;
        EXPECT_EQ(regcomp(&re, pattern, REG_EXTENDED), REG_ESIZE) << pattern;
        EXPECT_EQ(re.engine, nullptr) << pattern;
        EXPECT_EQ(regexec(&re, "A", 0, nullptr, 0), REG_NOMATCH) << pattern;
        EXPECT_EQ(scourly_regexec_whole(&re, "A"), REG_NOMATCH) << pattern;
        regfree(&re);
    }
    const char* const cheap[] = {
        "[0-9]{1,8}", ".{2,40}", "(AB){3}", "A{2048}", "A\\{1,3000}", "[{1,3000}]", "^{1,3000}",
        "A{0}{3000}", "{1,3000}", "(|{1,3000})", "[[:alpha:]{]{1,9}", "\x95{1,3000}",
    };
    for (const char* pattern : cheap) {
        regex_t re;
        EXPECT_EQ(regcomp(&re, pattern, REG_EXTENDED), 0) << pattern;
        regfree(&re);
    }

    // Long varied names lead the engine to more states than it may keep, and it is built afresh
    // from the pattern's text, here a dozen times over: its answers must stay what they were.
    regex_t re;
    ASSERT_EQ(regcomp(&re, ".*A.{20}", REG_EXTENDED), 0);
    std::mt19937 random(5);
    for (int i = 0; i < 40; ++i) {
        std::string name;
        for (int n = 0; n < 300; ++n)
            name += random() % 2 ? 'A' : 'B';
        EXPECT_EQ(scourly_regexec_whole(&re, name.c_str()) == 0, name[name.size() - 21] == 'A');
        EXPECT_EQ(regexec(&re, name.c_str(), 0, nullptr, 0) == 0,
                  name.find('A') <= name.size() - 21);
    }
    regfree(&re);
}

// A whole-name match tries only the first byte as a start; it must answer as the search does.
TEST(DbcsRegex, WholeMatchAnswersAsTheLeftmostLongestSearch)
{
    const char* const patternPieces[] = {"A", "B", "\x81\x40", ".", "*", "?", "|", "(", ")",
                                         "[^A]", "{1,2}", "{0,3}", "+", "^", "$"};
    const char* const textPieces[] = {"A", "B", "\x81\x40", "\x81"};
    std::mt19937 random(11);
    int whole = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string pattern = RandomPieces(random, patternPieces, 1 + random() % 6);
        const std::string text = RandomPieces(random, textPieces, random() % 5);
        regex_t re;
        if (regcomp(&re, pattern.c_str(), REG_EXTENDED) != 0)
            continue;
        const bool expected = Search(pattern.c_str(), text.c_str()) ==
                              std::make_pair(0, static_cast<int>(text.size()));
        EXPECT_EQ(scourly_regexec_whole(&re, text.c_str()) == 0, expected)
            << pattern << " / " << text;
        whole += expected;
        regfree(&re);
    }
    EXPECT_GT(whole, 1500);
}
