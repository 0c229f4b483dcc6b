#include "rules/RuleNode.h"

#include <clocale>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/TestSupport.h"

namespace {

const DWORD ALL_FIVE = 0x827;

bool Matches(const char* filter, const char* name, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE,
             DWORD mask = ALL_FIVE)
{
    CRuleItem item;
    item.m_strFilter = filter;
    item.m_dwAttrMask = mask;
    item.CompileFilter();
    return item.MatchName(name, attributes) != FALSE;
}

std::vector<std::string> EntryTexts(const char* filter)
{
    CRuleItem item;
    item.m_strFilter = filter;
    item.CompileFilter();
    std::vector<std::string> texts;
    for (const CFilterEntry& entry : item.m_filterEntries)
        texts.emplace_back(entry.GetText());
    return texts;
}

struct MatchCase {
    const char* filter;
    const char* name;
    bool expected;
};

}

// The same answers whatever the process locale: the filters' character model is their own.
TEST(FilterMatch, EntriesMatchWholeNamesInTheFiltersOwnCharacterModelInEveryLocale)
{
    const MatchCase cases[] = {
        // Wildcards and operators, case ignored.
        {"*.obj", "MAIN.OBJ", true}, {"*.obj", "main.obj", true}, {"*.obj", "Main.Obj", true},
        {"*.obj", "MAIN.OBJ.BAK", false}, {"*.obj", "OBJ", false}, {"*.obj", "XOBJ", true},
        {"*\\.obj", "MAIN.OBJ", true}, {"*\\.obj", "XOBJ", false},
        {"*", "NODOT", true}, {"*", "a.b.c", true}, {"*.*", "NODOT", true}, {"*.*", "a.b", true},
        {"?", "A", true}, {"?", "\x82\xA0", true}, {"?", "AB", false},
        {"??", "AB", true}, {"??", "\x82\xA0" "a", true}, {"??", "A", false},
        {"my file*", "MY FILE.TXT", true},
        {"a+b.txt", "AB.TXT", true}, {"a+b.txt", "AAB.TXT", true}, {"a+b.txt", "A+B.TXT", false},
        {"a|b", "A", true}, {"a|b", "b", true}, {"a|b", "AB", false},
        {"+a", "A", true},                          // an operator with nothing before it is skipped
        {"a\\w", "A-", true}, {"a\\w", "AB", false},  // upper-cased first: \w became \W
        // Double-byte characters are whole and ordinary.
        {"\x95\x5C", "\x95\x5C", true}, {"\x95\x5C", "X\x95\x5C", false},
        {"*\x95\x5C", "ABC\x95\x5C", true}, {"*\x95\x5C", "\x95\x5C", true},
        {"*\x95\x5C", "\x95\x5CX", false},
        {"\x81\x5B", "\x81\x5B", true},              // second byte "[" opens no bracket
        {"[\x81\x40-\x81\x50]", "\x81\x50", true}, {"[\x81\x40-\x81\x50]", "\x81\x51", false},
        {"[\x81\x40-\x81\x50]", "\x81\x45", true},
        {"?", "\xFD\x40", true},                     // 0xFD leads, although code page 932 disagrees
        {"[\xA0-\xDF]", "\xB1", true},               // half-width katakana are single bytes
        // FF FF is the code that a 16-bit WEOF shares; "@" is the second byte of 81 40.
        {"[\xFF\xFE-\xFF\xFF]", "\xFF\xFF", true}, {"[\xFF\xFE-\xFF\xFF]", "\xFF\xFD", false},
        {"(*)@", "\x81@", false}, {"(*)@", "A@", true},
        {"[[:alpha:]]", "A", false},                // upper-cased to a class that does not exist
        {"ab\x81", "AB\x81", false},                 // a lone first byte at the end: no pattern
        {"ab\x81;*.obj", "X.OBJ", true},
        {"?", "\x81\n", false}, {"??", "\x81\n", false}, {"*", "\x81\n", false},
        {"\x81\x40*.obj", "\x81\x40" "A.OBJ", true}, {" \x81\x40*.obj", "A.OBJ", false},
        // Back-references match only names the pattern describes.
        {"(*)\\1", "AA", true}, {"(*)\\1", "AB", false}, {"(*)\\1", "AXA", false},
        {"(*)(*)\\2\\1", "ABBA", true}, {"(*)(*)\\2\\1", "AXA", false},
        {"(*)(*)(*)\\3\\2\\1", "XYZZYX", true}, {"(*)(*)(*)\\3\\2\\1", "C", false},
        {"(*)(*)(*)\\3\\2\\1", "MAIN.OBJ", false}, {"(?)\\1.obj", "aa.obj", true},
        {"(*)\\1", "\x81\x40\x81\x40", true},
        {"(*)\\1", "\x81\x81", false},                 // one character, not two halves
        {"(*)\x95\x5C\\1", "AB\x95\x5C" "AB", true},
        {"*\x95\x5C" "1", "X\x95\x5C" "1", true},       // 5C is a second byte, not "\"
        {"(*)\\1\\w", "AA-", false},                    // \W is not read here: nothing matches
    };
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", ".932"}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
        for (const MatchCase& c : cases)
            EXPECT_EQ(Matches(c.filter, c.name), c.expected)
                << locale << ": " << c.filter << " / " << c.name;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(FilterCompile, SplitsAtSemicolonsTrimsUpperCasesAndKeepsEntriesThatDoNotCompile)
{
    using Texts = std::vector<std::string>;
    EXPECT_EQ(EntryTexts(" *.obj ; ; *.pdb "), (Texts{"*.OBJ", "*.PDB"}));
    EXPECT_EQ(EntryTexts(";;"), Texts{});
    EXPECT_EQ(EntryTexts(" \t;\r\n"), Texts{});
    EXPECT_EQ(EntryTexts("\t\x81\x40x\x81\x40 "), Texts{"\x81\x40X\x81\x40"});

    CRuleItem item;
    item.m_strFilter = "[;*.obj";
    EXPECT_TRUE(item.CompileFilter());
    ASSERT_EQ(item.m_filterEntries.size(), 2u);
    EXPECT_FALSE(item.MatchName("[", 0));
    EXPECT_TRUE(item.MatchName("a.obj", 0));
    EXPECT_TRUE(item.CompileFilter());
    EXPECT_EQ(item.m_filterEntries.size(), 2u);

    item.m_strFilter = " ; ";
    EXPECT_FALSE(item.CompileFilter());
    EXPECT_TRUE(item.m_filterEntries.empty());
    EXPECT_FALSE(item.MatchName("a.obj", 0));
}

TEST(FilterCompile, EntryTooLongOrTooCostlyMatchesNothingWhileSmallIntervalsKeepTheirAnswers)
{
    const std::string fits(FILTER_PATTERN_BUFFER_SIZE - 1, 'A');
    const std::string tooLong(FILTER_PATTERN_BUFFER_SIZE, 'A');
    // Each "*" takes two bytes.
    const std::string starsThatFit =
        std::string(20, '*') + std::string(FILTER_PATTERN_BUFFER_SIZE - 41, 'A');
    const std::string tooManyStars = "*" + starsThatFit.substr(0, starsThatFit.size() - 1);
    const struct {
        const std::string& entry;
        int expected;
    } buffers[] = {
        {fits, 0}, {tooLong, REG_ESIZE}, {starsThatFit, 0}, {tooManyStars, REG_ESIZE},
    };
    for (const auto& c : buffers) {
        regex_t pattern;
        EXPECT_EQ(wildcomp(&pattern, c.entry.c_str()), c.expected) << c.entry.size();
        regfree(&pattern);
    }

    EXPECT_TRUE(Matches(fits.c_str(), fits.c_str()));
    const std::string filter = tooLong + ";*.obj";
    EXPECT_EQ(EntryTexts(filter.c_str()).size(), 2u);
    EXPECT_FALSE(Matches(filter.c_str(), tooLong.c_str()));
    EXPECT_FALSE(Matches(filter.c_str(), ""));
    EXPECT_TRUE(Matches(filter.c_str(), "a.obj"));

    EXPECT_EQ(EntryTexts("a{1,3000};*.obj").size(), 2u);
    EXPECT_FALSE(Matches("a{1,3000};*.obj", "AAA"));
    EXPECT_TRUE(Matches("a{1,3000};*.obj", "A.OBJ"));
    EXPECT_FALSE(Matches("?{0,200}", "A"));
    EXPECT_FALSE(Matches("(*|a)+{1,30}", "A"));

    std::string wide40;
    for (int i = 0; i < 40; ++i)
        wide40 += "\x82\xA0";
    const std::string wide40AndOne = wide40 + "A";
    const MatchCase intervals[] = {
        {"[0-9]{1,8}.log", "12345678.LOG", true}, {"[0-9]{1,8}.log", "123456789.LOG", false},
        {"[0-9]{1,8}.log", ".LOG", false}, {"(ab){3}.txt", "ababab.txt", true},
        {"(ab){3}.txt", "abab.txt", false}, {"?{2,40}", "AB", true}, {"?{2,40}", "A", false},
        {"?{2,40}", wide40.c_str(), true}, {"?{2,40}", wide40AndOne.c_str(), false},
        {"*~{1,}", "MAIN.C~~", true}, {"x{0}*.tmp", "A.TMP", true}, {"x{0}*.tmp", "XA.TMP", true},
    };
    for (const MatchCase& c : intervals)
        EXPECT_EQ(Matches(c.filter, c.name), c.expected) << c.filter << " / " << c.name;
}

TEST(FilterAttributes, MaskAdmitsOnlyTheFiveGovernedBitsItHolds)
{
    const struct {
        DWORD mask;
        DWORD attributes;
        bool expected;
    } cases[] = {
        {ALL_FIVE, 0x827, true}, {0x020, 0x21, false}, {0x020, 0x20, true}, {0x020, 0x00, true},
        {0x020, 0x800, false}, {0x020, 0x02, false}, {0x020, 0x04, false}, {0x000, 0x20, false},
        {0x000, 0x80 | 0x100 | 0x1000 | 0x2000 | 0x4000, true},  // normal, temporary and the like
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Matches("*.obj", "a.obj", c.attributes, c.mask), c.expected)
            << std::hex << c.mask << " / " << c.attributes;
    }
    EXPECT_FALSE(Matches("*.obj", "a.txt", 0, ALL_FIVE));
}

TEST(FilterMatch, PlainWildcardEntriesAnswerAsTheirPatterns)
{
    const char* const entryParts[] = {"A", "B", ".", "\\.", "*", "?", "\x82\x60", "\x95\x5C",
                                      "\x80" "A", "-"};
    const char* const nameParts[] = {"A", "B", ".", "\x82\x60", "\x95\x5C", "\x80" "A", "-", "\\"};
    std::mt19937 random(7);
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string entry = RandomPieces(random, entryParts, 1 + random() % 5);
        const std::string name = RandomPieces(random, nameParts, random() % 7);
        const CFilterEntry compiled(entry.c_str());
        const int plain = compiled.MatchWholeName(name.c_str());
        ASSERT_NE(plain, -1) << entry;
        regmatch_t match;
        const bool whole = regexec(compiled.GetPattern(), name.c_str(), 1, &match, 0) == 0 &&
                           match.rm_so == 0 && match.rm_eo == static_cast<regoff_t>(name.size());
        ASSERT_EQ(plain == 1, whole) << entry << " / " << name;
        compared += whole;
    }
    EXPECT_GT(compared, 200);
}
