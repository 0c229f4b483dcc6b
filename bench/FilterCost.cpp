#include "bench/FilterCost.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchDlg.h"
#include "engine/FilterEntry.h"
#include "engine/regex/PatternCost.h"
#include "rules/RuleNode.h"

namespace {

struct CostEntry
{
    const char* pszShape;
    std::string text;
};

std::string Number(int n)
{
    return std::to_string(n);
}

// Filter entries as typed: "*" stands for ".*" and "?" for ".". Each of the first ones is the
// costliest of its shape that the bound lets through; the last ones pass it by far.
std::vector<CostEntry> CostEntries()
{
    const int loose = DBCS_COST_LOOSE;
    const int weight = DBCS_COST_REPEAT_WEIGHT;
    const int side = static_cast<int>(std::sqrt(loose + 1.0));
    return {
        {"optional_chain", "?{1," + Number(loose + 1) + "}X"},
        {"star_chain", std::string(loose / weight, '*') + "X"},
        {"nested_intervals", "(?{0,9}){0," + Number(loose / 10) + "}X"},
        {"interval_of_interval", "?{1," + Number(side) + "}{1," + Number(side) + "}X"},
        {"alternatives_in_interval", "(A|B|?){0," + Number(loose / 6) + "}X"},
        {"stars_in_interval", "(*X{0,1}){" + Number(loose / (weight + 1)) + "}Y"},
        {"stars_and_optional_chain",
         std::string(loose / (2 * weight), '*') + "?{0," + Number(loose / 2) + "}X"},
        {"all_atoms", "(AB|CD|?){" + Number(DBCS_COST_ATOMS / 8) + "}"},
        {"many_states", "*A?{20}"},
        {"over:a{1,32767}", "a{1,32767}"},
        {"over:a{1,3000}", "a{1,3000}"},
        {"over:(.{0,255}){0,255}", "(.{0,255}){0,255}"},
        {"over:a{255}{255}{255}", "a{255}{255}{255}"},
        {"over:.{1,255}{1,255}", ".{1,255}{1,255}"},
    };
}

// Names of 510 bytes, the most a name of 255 UTF-16 units takes in Shift-JIS, that keep the
// patterns above busy to their end: single bytes, double-byte characters, and both.
std::vector<CString> CostlyNames()
{
    CString strWide;
    for (int i = 0; i < 255; ++i)
        strWide += "\x82\xA0";
    return {CString('A', 510), strWide, strWide.Left(508) + "XY"};
}

struct Memory
{
    double held;
    double peak;
};

Memory MemoryNow()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    const double mb = 1024.0 * 1024.0;
    return {counters.PagefileUsage / mb, counters.PeakPagefileUsage / mb};
}

// Names as a scan meets them, each new to the engine: 510 bytes of A, B and a double-byte
// character in a random order.
std::vector<CString> VariedNames()
{
    const char* const pieces[] = {"A", "B", "\x82\xA0"};
    unsigned seed = 3;
    std::vector<CString> names;
    for (int i = 0; i < 300; ++i) {
        CString strName;
        while (strName.GetLength() < 508) {
            seed = seed * 1103515245u + 12345u;
            strName += pieces[(seed >> 16) % 3];
        }
        names.push_back(strName);
    }
    return names;
}

// The worst time for one name, in milliseconds, each name on a pattern compiled afresh, since a
// scan meets every name once and the engine keeps what it learnt from the names before.
double WorstWholeMatchMs(const std::string& text, int cflags, const std::vector<CString>& names)
{
    double worst = 0.0;
    for (const CString& name : names) {
        regex_t pattern;
        if (regcomp(&pattern, text.c_str(), cflags) != 0)
            return 0.0;
        const double tStart = Now();
        scourly_regexec_whole(&pattern, name);
        worst = std::max(worst, (Now() - tStart) * 1000.0);
        regfree(&pattern);
    }
    return worst;
}

}  // namespace

int FilterCostCount()
{
    return static_cast<int>(CostEntries().size());
}

void BenchFilterCost(int index)
{
    const CostEntry entry = CostEntries().at(index);
    const std::vector<CString> names = CostlyNames();
    const Memory before = MemoryNow();

    CRuleItem item;
    item.m_strFilter = entry.text.c_str();
    double tStart = Now();
    item.CompileFilter();
    const double compileMs = (Now() - tStart) * 1000.0;
    const Memory compiled = MemoryNow();
    regex_t pattern;
    const bool bCompiled = wildcomp(&pattern, item.m_filterEntries.front().GetText()) == 0;
    regfree(&pattern);

    double matchMs = 0.0;
    for (const CString& name : names) {
        CRuleItem fresh;
        fresh.m_strFilter = entry.text.c_str();
        fresh.CompileFilter();
        tStart = Now();
        fresh.MatchName(name, FILE_ATTRIBUTE_ARCHIVE);
        matchMs = std::max(matchMs, (Now() - tStart) * 1000.0);
    }

    // The entry as the engine reads it: "*" and "?" written out.
    std::string strPattern;
    for (char ch : std::string(item.m_filterEntries.front().GetText()))
        strPattern += ch == '*' ? ".*" : ch == '?' ? "." : std::string(1, ch);
    const double nosubMs = WorstWholeMatchMs(strPattern, REG_EXTENDED | REG_NOSUB, names);
    const double positionsMs = WorstWholeMatchMs(strPattern, REG_EXTENDED, names);

    double scanMs = 0.0;
    for (const CString& name : VariedNames()) {
        tStart = Now();
        item.MatchName(name, FILE_ATTRIBUTE_ARCHIVE);
        scanMs = std::max(scanMs, (Now() - tStart) * 1000.0);
    }
    const Memory after = MemoryNow();

    std::printf("filter %s compiled %d compile_ms %.2f held_mb %.1f match_ms %.2f nosub_ms %.2f "
                "positions_ms %.2f scan_ms %.2f scan_held_mb %.1f peak_mb %.1f\n",
                entry.pszShape, bCompiled ? 1 : 0, compileMs, compiled.held - before.held, matchMs,
                nosubMs, positionsMs, scanMs, after.held - before.held, after.peak - before.held);
    std::fflush(stdout);
}
