#include "bench/BenchDlg.h"

#include <cstring>

#include "app/MainApp.h"
#include "engine/ResultList.h"
#include "res/resource.h"

namespace {

struct BoxSearch
{
    HWND hDialog;
    HWND hBox;
};

BOOL CALLBACK FindMessageBox(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    char className[16] = "";
    ::GetClassNameA(hWnd, className, sizeof(className));
    // The main dialog is a #32770 too; a message box is the one with the static text 0xFFFF.
    if (hWnd != search->hDialog && std::strcmp(className, "#32770") == 0 &&
        ::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, 0xFFFF)) {
        search->hBox = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string LoadText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return static_cast<LPCSTR>(text);
}

void CBenchDlg::Settle(DWORD ms)
{
    auto* pApp = static_cast<CMainApp*>(AfxGetApp());
    const DWORD dwStart = ::GetTickCount();
    do {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        pApp->PumpMessages();
        ::Sleep(5);
    } while (::GetTickCount() - dwStart < ms);
}

int CBenchDlg::RowsWithResult(UINT nID) const
{
    const std::string expected = LoadText(nID);
    int nRows = 0;
    for (int nRow = 0; nRow < Rows(); ++nRow) {
        if (expected == static_cast<LPCSTR>(m_list.GetItemText(nRow, CResultListCtrl::COL_RESULT)))
            ++nRows;
    }
    return nRows;
}

CUserThread CUserThread::PostCommandLater(HWND hDialog, UINT id, DWORD delayMs)
{
    CUserThread user;
    const double tDue = Now() + delayMs / 1000.0;
    std::shared_ptr<double> pActed = user.m_pActed;
    user.m_thread = std::thread([=] {
        while (Now() < tDue)
            ::Sleep(1);
        *pActed = Now();
        ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    });
    return user;
}

CUserThread CUserThread::AnswerMessageBox(HWND hDialog)
{
    CUserThread user;
    std::shared_ptr<double> pActed = user.m_pActed;
    const DWORD dwThread = ::GetWindowThreadProcessId(hDialog, nullptr);
    user.m_thread = std::thread([=] {
        const double tGiveUp = Now() + 10.0;
        while (Now() < tGiveUp) {
            BoxSearch search = {hDialog, nullptr};
            ::EnumThreadWindows(dwThread, FindMessageBox, reinterpret_cast<LPARAM>(&search));
            if (search.hBox) {
                *pActed = Now();
                ::PostMessageA(search.hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return;
            }
            ::Sleep(1);
        }
    });
    return user;
}

CUserThread::~CUserThread()
{
    if (m_thread.joinable())
        m_thread.join();
}

double CUserThread::Acted()
{
    if (m_thread.joinable())
        m_thread.join();
    return *m_pActed;
}
