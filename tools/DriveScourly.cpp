#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/resource.h"

// For scripts/screenshot, which types into a running Scourly with xdotool: what the keyboard cannot
// reach, and where things are on the screen.
//   DriveScourly command NAME       sends the command of the toolbar button NAME, as its click does
//   DriveScourly rect WHAT          prints the screen rectangle of WHAT as WIDTHxHEIGHT+X+Y:
//                                   main, rowN (the name cell of the result list's row N, from 1),
//                                   or popup (what the main dialog has open: a dialog, a message
//                                   box), waiting until it is up and has painted

namespace {

const struct {
    const char* pszName;
    UINT nID;
} kCommands[] = {
    {"new-rules", ID_NEW_RULES}, {"list-all", ID_LIST_ALL}, {"run-all", ID_RUN_ALL},
    {"version", ID_VERSION},
};

// The main dialog is the "Scourly" dialog that holds the rule tree: its message boxes carry the
// same caption.
BOOL CALLBACK FindMainDialog(HWND hWnd, LPARAM lParam)
{
    char szClass[16];
    char szTitle[16];
    if (::GetClassNameA(hWnd, szClass, sizeof szClass) && strcmp(szClass, "#32770") == 0 &&
        ::GetWindowTextA(hWnd, szTitle, sizeof szTitle) && strcmp(szTitle, "Scourly") == 0 &&
        ::GetDlgItem(hWnd, IDC_RULE_TREE)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainDialog()
{
    for (int wait = 0; wait < 600; ++wait) {
        HWND hMain = nullptr;
        ::EnumWindows(FindMainDialog, reinterpret_cast<LPARAM>(&hMain));
        if (hMain && ::IsWindowVisible(hMain))
            return hMain;
        ::Sleep(100);
    }
    return nullptr;
}

HWND WaitForPopup(HWND hMain)
{
    for (int wait = 0; wait < 300; ++wait) {
        HWND hPopup = ::GetLastActivePopup(hMain);
        if (hPopup != hMain && ::IsWindowVisible(hPopup))
            return hPopup;
        ::Sleep(100);
    }
    return nullptr;
}

// A row's rectangle, from what the list answers across processes: messages whose answer is a
// number.
bool GetRowRect(HWND hMain, int nRow, RECT* prc)
{
    HWND hList = ::GetDlgItem(hMain, IDC_RESULT_LIST);
    HWND hHeader = ::FindWindowExA(hList, nullptr, "SysHeader32", nullptr);
    if (!hHeader || nRow < 1)
        return false;
    // The report view's height for one row and for two differ by the height of a row.
    const LPARAM lSize = MAKELPARAM(-1, -1);
    const int cyOne = HIWORD(::SendMessageA(hList, LVM_APPROXIMATEVIEWRECT, 1, lSize));
    const int cyTwo = HIWORD(::SendMessageA(hList, LVM_APPROXIMATEVIEWRECT, 2, lSize));
    RECT rcHeader;
    ::GetWindowRect(hHeader, &rcHeader);
    prc->left = rcHeader.left;
    prc->right = rcHeader.left + static_cast<int>(::SendMessageA(hList, LVM_GETCOLUMNWIDTH, 0, 0));
    prc->top = rcHeader.bottom + (nRow - 1) * (cyTwo - cyOne);
    prc->bottom = prc->top + (cyTwo - cyOne);
    return cyTwo > cyOne;
}

bool GetRectOf(HWND hMain, const char* pszName, RECT* prc)
{
    if (strcmp(pszName, "main") == 0)
        return ::GetWindowRect(hMain, prc) != FALSE;
    if (strncmp(pszName, "row", 3) == 0)
        return GetRowRect(hMain, atoi(pszName + 3), prc);
    if (strcmp(pszName, "popup") == 0) {
        HWND hPopup = WaitForPopup(hMain);
        return hPopup && ::GetWindowRect(hPopup, prc);
    }
    return false;
}

int SendCommand(HWND hMain, const char* pszName)
{
    for (const auto& command : kCommands) {
        if (strcmp(command.pszName, pszName) == 0) {
            HWND hBar = ::GetDlgItem(hMain, IDC_COMMAND_BAR);
            ::PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(command.nID, BN_CLICKED),
                           reinterpret_cast<LPARAM>(hBar));
            return 0;
        }
    }
    fprintf(stderr, "DriveScourly: no command named %s\n", pszName);
    return 2;
}

int PrintRect(HWND hMain, const char* pszName)
{
    RECT rc;
    if (!GetRectOf(hMain, pszName, &rc)) {
        fprintf(stderr, "DriveScourly: no %s\n", pszName);
        return 1;
    }
    // Time to paint: a window is visible before its first WM_PAINT has run.
    ::Sleep(1000);
    printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (strcmp(argv[1], "command") != 0 && strcmp(argv[1], "rect") != 0)) {
        fprintf(stderr, "usage: DriveScourly command NAME | rect main|rowN|popup\n");
        return 2;
    }
    HWND hMain = WaitForMainDialog();
    if (!hMain) {
        fprintf(stderr, "DriveScourly: Scourly's window did not appear\n");
        return 1;
    }
    if (strcmp(argv[1], "command") == 0)
        return SendCommand(hMain, argv[2]);
    return PrintRect(hMain, argv[2]);
}
