// The speed and memory benchmark that scripts/bench runs:
//     scourly_bench.exe TREE RUN_COPY DELETE_COPY FILES MATCHES
// TREE holds FILES files of which MATCHES are *.obj; the two copies are the same tree, each used up
// by one deleting run. Prints one "name value" line per figure, seconds unless the name says
// otherwise, a "memory_<stage>" line of megabytes after each stage, and "error <what>" for every
// result that is not what the program should have done.

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
#include "bench/FloorWalk.h"
#include "res/resource.h"
#include "rules/RuleFile.h"
#include "rules/RuleNode.h"

namespace {

const int kRepeats = 3;
const DWORD kStopDelaysMs[] = {100, 170, 240, 310, 380, 450, 520, 590};

struct Tree
{
    std::string strPath;
    long nFiles;
    long nMatches;
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
                stage, counters.WorkingSetSize / mb, counters.PeakWorkingSetSize / mb,
                counters.PagefileUsage / mb, counters.PeakPagefileUsage / mb);
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
void RunDialog(const std::string& folder, const char* filter, CBenchDlg::Script script)
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

// Time from the List all command until it returns, which is right after the status reads "search
// finished"; each starts from an empty, painted list, as in a freshly started program.
double TimeListAll(CBenchDlg& d, int nExpectedRows)
{
    d.Command(ID_CLEAR_LIST);
    d.Settle(100);
    const double tStart = Now();
    d.Command(ID_LIST_ALL);
    const double seconds = Now() - tStart;
    Check(d.Rows() == nExpectedRows, "list all showed " + std::to_string(d.Rows()) + " rows");
    Check(d.StatusText() == LoadText(IDS_SEARCH_FINISHED), "list all ended with another status");
    return seconds;
}

// Time from the moment a Stop click reaches the dialog's queue, delayMs into a List all, until the
// List all command returns, right after the status reads "search stopped". Negative when the list
// had finished before.
double TimeStop(CBenchDlg& d, DWORD delayMs, int& nRowsAtStop)
{
    d.Command(ID_CLEAR_LIST);
    d.Settle(100);
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

void BenchListAndStop(const Tree& tree)
{
    WalkCount count = FloorWalk(tree.strPath, ".obj", false);
    CheckWalk(count, tree, "warm-up");
    std::vector<double> walks;
    for (int i = 0; i < kRepeats; ++i) {
        const double tStart = Now();
        count = FloorWalk(tree.strPath, ".obj", false);
        walks.push_back(Now() - tStart);
        CheckWalk(count, tree, "floor walk");
    }
    for (double seconds : walks)
        Report("walk_each", seconds);
    Report("walk", Median(walks));

    RunDialog(tree.strPath, "*.obj", [&](CBenchDlg& d) {
        d.Settle(300);
        std::vector<double> lists;
        for (int i = 0; i < kRepeats; ++i)
            lists.push_back(TimeListAll(d, static_cast<int>(tree.nMatches)));
        for (double seconds : lists)
            Report("list_each", seconds);
        Report("list", Median(lists));

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
        ReportMemory("after_list");
    });
}

void BenchListEverything(const Tree& tree)
{
    RunDialog(tree.strPath, "*.obj;*.txt", [&](CBenchDlg& d) {
        d.Settle(300);
        ReportMemory("before_list_all_files");
        Report("list_all_files", TimeListAll(d, static_cast<int>(tree.nFiles)));
        ReportMemory("list_all_files");
    });
}

void BenchRun(const Tree& runCopy, const Tree& deleteCopy)
{
    // Both copies are new to the walk: each is walked once before either is timed.
    CheckWalk(FloorWalk(runCopy.strPath, ".obj", false), runCopy, "run copy");
    CheckWalk(FloorWalk(deleteCopy.strPath, ".obj", false), deleteCopy, "delete copy");

    RunDialog(runCopy.strPath, "*.obj", [&](CBenchDlg& d) {
        d.Settle(300);
        CUserThread user = CUserThread::AnswerMessageBox(d.m_hWnd);
        d.Command(ID_RUN_ALL);
        const double tReturned = Now();
        const double tAnswered = user.Acted();
        if (!Check(tAnswered > 0, "the deletion question was not answered"))
            return;
        Report("run", tReturned - tAnswered);
        Check(d.StatusText() == LoadText(IDS_SEARCH_FINISHED), "run all ended with another status");
        Check(d.Rows() == runCopy.nMatches, "run all showed " + std::to_string(d.Rows()) + " rows");
        Check(d.RowsWithResult(IDS_DELETED) == runCopy.nMatches, "run all left files undeleted");
    });
    const WalkCount left = FloorWalk(runCopy.strPath, ".obj", false);
    Check(left.nMatches == 0, "run all left " + std::to_string(left.nMatches) + " files");

    const double tStart = Now();
    const WalkCount deleted = FloorWalk(deleteCopy.strPath, ".obj", true);
    Report("delete_walk", Now() - tStart);
    Check(deleted.nDeleted == deleteCopy.nMatches, "the deleting walk deleted " +
                                                       std::to_string(deleted.nDeleted) + " files");
}

// The names that cost a back-reference entry most: each is answered within the matcher's limit
// of failure points, so a folder full of them cannot freeze a scan.
void BenchBackReferenceNames()
{
    const int kNames = 1000;
    CRuleItem item;
    item.m_strFilter = "(*)(*)\\2\\1;(*)\\1(*)\\2(*)\\3(*)\\4b";
    item.CompileFilter();
    const CString strName('A', 201);
    int nMatched = 0;
    const double tStart = Now();
    for (int i = 0; i < kNames; ++i)
        nMatched += item.MatchName(strName, FILE_ATTRIBUTE_ARCHIVE) != FALSE;
    Report("backref_name_ms", (Now() - tStart) * 1000.0 / kNames);
    Check(nMatched == 0, "a back-reference entry matched a name it does not describe");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: scourly_bench TREE RUN_COPY DELETE_COPY FILES MATCHES\n"
                     "  TREE: a folder tree of FILES files, MATCHES of them *.obj;\n"
                     "  RUN_COPY, DELETE_COPY: copies of it, used up by the deleting runs\n");
        return 2;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    CMainApp app;

    const long nFiles = std::atol(argv[4]);
    const long nMatches = std::atol(argv[5]);
    const Tree tree = {argv[1], nFiles, nMatches};
    const Tree runCopy = {argv[2], nFiles, nMatches};
    const Tree deleteCopy = {argv[3], nFiles, nMatches};

    ReportMemory("start");
    BenchListAndStop(tree);
    BenchListEverything(tree);
    BenchRun(runCopy, deleteCopy);
    BenchBackReferenceNames();
    ReportMemory("end");
    return 0;
}
