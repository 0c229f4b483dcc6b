// The speed and memory benchmark that scripts/bench runs:
//     scourly_bench.exe all WORK FILES MATCHES BIG_FILES BIG_MATCHES SAMPLES
//     scourly_bench.exe list TREE FILES MATCHES
//     scourly_bench.exe filters
//     scourly_bench.exe filter INDEX
// "all" times List all, Stop and Run all on WORK\tree, which holds FILES files of which MATCHES are
// *.obj, among them the folder WORK\tree\big of BIG_FILES files, BIG_MATCHES of them *.obj. Each of
// the SAMPLES deleting pairs uses up its own copies: WORK\run<i> and WORK\walk<i> of the tree,
// WORK\bigrun<i> and WORK\bigwalk<i> of the big folder, and WORK\bigplain is one more copy of that.
// "list" times List all alone on TREE, for figures of one size in a process of their own.
// "filters" prints "filter_count N"; "filter" measures the costly filter entry INDEX
// (FilterCost.h).
// Prints one "name value" line per figure, seconds unless the name says otherwise, a
// "memory_<stage>" line of megabytes after each stage, and "error <what>" for every result that is
// not what the program should have done.

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainApp.h"
#include "bench/BenchDlg.h"
#include "bench/FilterCost.h"
#include "bench/FloorWalk.h"
#include "res/resource.h"
#include "rules/RuleFile.h"
#include "rules/RuleNode.h"

namespace {

const int kListPairs = 5;
const DWORD kStopDelaysMs[] = {100, 170, 240, 310, 380, 450, 520, 590};

struct Tree
{
    std::string strPath;
    long nFiles;
    long nMatches;
};

// One piece of work timed right after the floor walk it is measured against.
struct Pair
{
    double walk;
    double work;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* name, double value)
{
    std::printf("%s %.4f\n", name, value);
    std::fflush(stdout);
}

void Fail(const std::string& what)
{
    std::printf("error %s\n", what.c_str());
    std::fflush(stdout);
}

void ReportMemory(const char* stage)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) {
        Fail(std::string("memory ") + stage);
        return;
    }
    const double mb = 1024.0 * 1024.0;
    std::printf("memory_%s working_mb %.1f peak_working_mb %.1f pagefile_mb %.1f peak_pagefile_mb "
                "%.1f\n",
                stage, static_cast<double>(counters.WorkingSetSize) / mb,
                static_cast<double>(counters.PeakWorkingSetSize) / mb,
                static_cast<double>(counters.PagefileUsage) / mb,
                static_cast<double>(counters.PeakPagefileUsage) / mb);
    std::fflush(stdout);
}

// The rule file that the dialog loads: one group with one item searching folder and below it.
bool WriteRules(const std::string& folder, const char* filter)
{
    CRuleRoot root;
    root.RemoveAllChildren();
    auto* group = static_cast<CRuleGroup*>(root.AddChild(new CRuleGroup));
    group->RemoveAllChildren();
    auto* item = static_cast<CRuleItem*>(group->AddChild(new CRuleItem));
    item->m_strName = "bench";
    item->m_strFolder = folder.c_str();
    item->m_strFilter = filter;
    item->m_bSubfolders = 1;
    return root.SaveFileTo(GetRuleFilePath()) != FALSE;
}

// One start of the program's dialog on rules for folder; the dialog writes its rule file when it
// closes, and that file is removed again.
void RunDialog(const std::string& folder, const char* filter,
               std::function<void(CBenchDlg&)> script)
{
    if (!WriteRules(folder, filter)) {
        Fail("cannot write the rule file " + std::string(GetRuleFilePath()));
        return;
    }
    CBenchDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;
    dlg.Play(std::move(script));
    AfxGetApp()->m_pMainWnd = nullptr;
    ::DeleteFileA(GetRuleFilePath());
}

bool Check(bool ok, const std::string& what)
{
    if (!ok)
        Fail(what);
    return ok;
}

void CheckWalk(const WalkCount& count, const Tree& tree, const char* what)
{
    Check(count.nFiles == tree.nFiles && count.nMatches == tree.nMatches,
          std::string(what) + ": walk found " + std::to_string(count.nFiles) + " files, " +
              std::to_string(count.nMatches) + " matching");
}

double TimeWalk(const Tree& tree, const char* what)
{
    const double tStart = Now();
    const WalkCount count = FloorWalk(tree.strPath, ".obj", WalkAction::Count);
    const double seconds = Now() - tStart;
    CheckWalk(count, tree, what);
    return seconds;
}

double TimeDeletingWalk(const Tree& tree, WalkAction action, const char* what)
{
    const double tStart = Now();
    const WalkCount count = FloorWalk(tree.strPath, ".obj", action);
    const double seconds = Now() - tStart;
    Check(count.nDeleted == tree.nMatches,
          std::string(what) + " deleted " + std::to_string(count.nDeleted) + " files");
    return seconds;
}

// Each pair's time and ratio, then the medians of the times and of the ratios: a pair is taken
// within a few seconds, so a change in the machine's load moves both of its times alike.
void ReportPairs(const std::string& name, const std::vector<Pair>& pairs)
{
    if (!Check(!pairs.empty(), "no sample of " + name))
        return;
    std::vector<double> walks, works, ratios;
    for (const Pair& pair : pairs) {
        std::printf("%s_each %.4f walk %.4f ratio %.3f\n", name.c_str(), pair.work, pair.walk,
                    pair.work / pair.walk);
        walks.push_back(pair.walk);
        works.push_back(pair.work);
        ratios.push_back(pair.work / pair.walk);
    }
    Report((name + "_walk").c_str(), Median(walks));
    Report(name.c_str(), Median(works));
    Report((name + "_ratio").c_str(), Median(ratios));
}

// Time from the List all command until it returns, which is right after the status reads "search
// finished"; each starts from an empty, painted list, as in a freshly started program.
double TimeListAll(CBenchDlg& d, int nExpectedRows)
{
    const double tStart = Now();
    d.Command(ID_LIST_ALL);
    const double seconds = Now() - tStart;
    Check(d.Rows() == nExpectedRows, "list all showed " + std::to_string(d.Rows()) + " rows");
    Check(d.StatusText() == LoadText(IDS_SEARCH_FINISHED), "list all ended with another status");
    return seconds;
}

void ClearList(CBenchDlg& d)
{
    d.Command(ID_CLEAR_LIST);
    d.Settle(100);
}

std::vector<Pair> TimeWalksThenLists(CBenchDlg& d, const Tree& tree)
{
    std::vector<Pair> pairs;
    for (int i = 0; i < kListPairs; ++i) {
        ClearList(d);
        Pair pair;
        pair.walk = TimeWalk(tree, "floor walk");
        pair.work = TimeListAll(d, static_cast<int>(tree.nMatches));
        pairs.push_back(pair);
    }
    return pairs;
}

// Time from the moment a Stop click reaches the dialog's queue, delayMs into a List all, until the
// List all command returns, right after the status reads "search stopped". Negative when the list
// had finished before.
double TimeStop(CBenchDlg& d, DWORD delayMs, int& nRowsAtStop)
{
    ClearList(d);
    CUserThread user = CUserThread::PostCommandLater(d.m_hWnd, ID_STOP, delayMs);
    d.Command(ID_LIST_ALL);
    const double tReturned = Now();
    const double tClicked = user.Acted();
    nRowsAtStop = d.Rows();
    const bool bStopped = d.StatusText() == LoadText(IDS_SEARCH_STOPPED);
    // A click that came after the end is still waiting in the queue.
    d.Settle(50);
    return bStopped ? tReturned - tClicked : -1.0;
}

void ReportStops(CBenchDlg& d)
{
    std::vector<double> stops;
    for (DWORD delayMs : kStopDelaysMs) {
        int nRows = 0;
        const double seconds = TimeStop(d, delayMs, nRows);
        std::printf("stop_at_ms %lu rows %d stop_ms %.1f\n", delayMs, nRows, seconds * 1000.0);
        if (seconds >= 0)
            stops.push_back(seconds * 1000.0);
    }
    if (Check(!stops.empty(), "no stop came during a list")) {
        Report("stop_median_ms", Median(stops));
        Report("stop_ms", *std::max_element(stops.begin(), stops.end()));
    }
}

void BenchListAndStop(const Tree& tree, bool bStops)
{
    TimeWalk(tree, "warm-up");
    RunDialog(tree.strPath, "*.obj", [&](CBenchDlg& d) {
        d.Settle(300);
        ReportPairs("list", TimeWalksThenLists(d, tree));
        if (bStops)
            ReportStops(d);
        ReportMemory("after_list");
    });
}

void BenchListEverything(const Tree& tree)
{
    RunDialog(tree.strPath, "*.obj;*.txt", [&](CBenchDlg& d) {
        d.Settle(300);
        ClearList(d);
        Report("list_all_files", TimeListAll(d, static_cast<int>(tree.nFiles)));
        ReportMemory("list_all_files");
    });
}

// Run all on runCopy, timed from the answer to the deletion question, right after the floor walk
// deleted the same files of walkCopy. Returns false when the run could not be timed.
bool TimeDeletingWalkThenRun(const Tree& runCopy, const Tree& walkCopy, Pair& pair)
{
    bool bTimed = false;
    RunDialog(runCopy.strPath, "*.obj", [&](CBenchDlg& d) {
        d.Settle(300);
        // Both copies are new to the walk: each is walked once before either is timed.
        TimeWalk(runCopy, "run copy");
        TimeWalk(walkCopy, "walk copy");
        pair.walk = TimeDeletingWalk(walkCopy, WalkAction::DeleteNamed, "the deleting walk");
        CUserThread user = CUserThread::AnswerMessageBox(d.m_hWnd);
        d.Command(ID_RUN_ALL);
        const double tReturned = Now();
        const double tAnswered = user.Acted();
        if (!Check(tAnswered > 0, "the deletion question was not answered"))
            return;
        pair.work = tReturned - tAnswered;
        bTimed = true;
        Check(d.StatusText() == LoadText(IDS_SEARCH_FINISHED), "run all ended with another status");
        Check(d.Rows() == runCopy.nMatches, "run all showed " + std::to_string(d.Rows()) + " rows");
        Check(d.RowsWithResult(IDS_DELETED) == runCopy.nMatches, "run all left files undeleted");
    });
    const WalkCount left = FloorWalk(runCopy.strPath, ".obj", WalkAction::Count);
    Check(left.nMatches == 0, "run all left " + std::to_string(left.nMatches) + " files");
    return bTimed;
}

Tree Copy(const std::string& work, const std::string& name, int nSample, const Tree& shape)
{
    return {work + "\\" + name + std::to_string(nSample), shape.nFiles, shape.nMatches};
}

void BenchRuns(const std::string& work, const char* copyName, const char* figure,
               const Tree& shape, int nSamples)
{
    std::vector<Pair> pairs;
    for (int i = 1; i <= nSamples; ++i) {
        Pair pair;
        if (TimeDeletingWalkThenRun(Copy(work, std::string(copyName) + "run", i, shape),
                                    Copy(work, std::string(copyName) + "walk", i, shape), pair))
            pairs.push_back(pair);
    }
    ReportPairs(figure, pairs);
}

// What deleting costs with nothing checked, for telling the check's share of the deleting walk.
void BenchPlainDeletion(const Tree& copy)
{
    TimeWalk(copy, "plain copy");
    Report("run10k_plain_walk",
           TimeDeletingWalk(copy, WalkAction::DeleteFileOnly, "the plain deleting walk"));
}

// The names that cost back-reference entries most, at the longest a folder holds: three groups
// on names they describe, the most work that must still end in a match, and four groups on a name
// they do not describe, work that ends at the matcher's bound. The figure is the costliest name's
// median.
void BenchBackReferenceNames()
{
    std::string strWide;
    for (int i = 0; i < 254; ++i)
        strWide += "\x82\x61";
    const struct {
        const char* pszFilter;
        CString strName;
        bool bMatch;
    } cases[] = {
        {"(*)(*)(*)\\3\\2\\1", CString('B', 254), true},
        {"(*)(*)(*)\\3\\2\\1", CString(strWide.c_str()), true},
        {"(*)\\1(*)\\2(*)\\3(*)\\4b", CString('A', 255), false},
    };
    double worst = 0;
    for (const auto& c : cases) {
        CRuleItem item;
        item.m_strFilter = c.pszFilter;
        item.CompileFilter();
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            const double tStart = Now();
            const bool bMatched = item.MatchName(c.strName, FILE_ATTRIBUTE_ARCHIVE) != FALSE;
            times.push_back((Now() - tStart) * 1000.0);
            Check(bMatched == c.bMatch,
                  "a back-reference entry gave a wrong answer on a long name");
        }
        worst = std::max(worst, Median(times));
    }
    Report("backref_name_ms", worst);
}

int BenchAll(char** argv)
{
    const std::string work = argv[2];
    const Tree tree = {work + "\\tree", std::atol(argv[3]), std::atol(argv[4])};
    const Tree big = {"", std::atol(argv[5]), std::atol(argv[6])};
    const int nSamples = std::atoi(argv[7]);

    ReportMemory("start");
    BenchListAndStop(tree, true);
    BenchListEverything(tree);
    BenchRuns(work, "", "run", tree, nSamples);
    BenchRuns(work, "big", "run10k", big, nSamples);
    BenchPlainDeletion({work + "\\bigplain", big.nFiles, big.nMatches});
    BenchBackReferenceNames();
    ReportMemory("end");
    return 0;
}

int BenchListOnly(char** argv)
{
    const Tree tree = {argv[2], std::atol(argv[3]), std::atol(argv[4])};
    ReportMemory("start");
    BenchListAndStop(tree, false);
    ReportMemory("end");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "filters" && argc == 2) {
        std::printf("filter_count %d\n", FilterCostCount());
        return 0;
    }
    if (mode == "filter" && argc == 3) {
        BenchFilterCost(std::atoi(argv[2]));
        return 0;
    }
    if (!(mode == "all" && argc == 8) && !(mode == "list" && argc == 5)) {
        std::fprintf(stderr,
                     "usage: scourly_bench all WORK FILES MATCHES BIG_FILES BIG_MATCHES SAMPLES\n"
                     "       scourly_bench list TREE FILES MATCHES\n"
                     "       scourly_bench filters | filter INDEX\n");
        return 2;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    CMainApp app;
    return mode == "all" ? BenchAll(argv) : BenchListOnly(argv);
}
