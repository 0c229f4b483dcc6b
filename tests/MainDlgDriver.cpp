#include "tests/MainDlgDriver.h"

#include <commctrl.h>

#include <cstring>

#include "res/resource.h"
#include "rules/RuleFile.h"

namespace {

const UINT WM_PLAY_SCRIPT = WM_APP + 1;
const UINT_PTR PROBE_TIMER = 0x5C;

struct AnswerState
{
    HHOOK hHook = nullptr;
    int nAnswer = IDOK;
    int nCount = 0;
    std::string strText;
};
AnswerState g_answer;

// The box's text is in place once its WM_INITDIALOG has returned; the answer is posted then, as if
// the user clicked at once.
LRESULT CALLBACK AnswerHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && pMsg->message == WM_INITDIALOG) {
        char className[16] = "";
        ::GetClassNameA(pMsg->hwnd, className, sizeof(className));
        const bool bBrowser = ::FindWindowExA(pMsg->hwnd, nullptr, WC_TREEVIEWA, nullptr);
        if (std::string(className) == "#32770" && (::GetDlgItem(pMsg->hwnd, 0xFFFF) || bBrowser)) {
            char text[512] = "";
            ::GetDlgItemTextA(pMsg->hwnd, 0xFFFF, text, sizeof(text));
            g_answer.strText = text;
            ++g_answer.nCount;
            ::PostMessageA(pMsg->hwnd, WM_COMMAND, MAKEWPARAM(g_answer.nAnswer, BN_CLICKED), 0);
        }
    }
    return ::CallNextHookEx(g_answer.hHook, code, wParam, lParam);
}

}  // namespace

BEGIN_MESSAGE_MAP(MainDlgDriver, CMainDlg)
    ON_MESSAGE(WM_PLAY_SCRIPT, OnPlay)
    ON_MESSAGE(WM_INITMENUPOPUP, OnMenuPopup)
    ON_MESSAGE(WM_TIMER, OnProbe)
END_MESSAGE_MAP()

int MainDlgDriver::Play(Script script)
{
    m_script = std::move(script);
    return DoModal();
}

BOOL MainDlgDriver::OnInitDialog()
{
    const BOOL bResult = CMainDlg::OnInitDialog();
    PostMessage(WM_PLAY_SCRIPT);
    return bResult;
}

LRESULT MainDlgDriver::OnPlay(WPARAM, LPARAM)
{
    m_script(*this);
    // A script that stopped early (a failed assertion) must not leave the dialog open.
    Escape();
    return 0;
}

LRESULT MainDlgDriver::OnMenuPopup(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    CMainDlg::OnWndMsg(WM_INITMENUPOPUP, wParam, lParam, &lResult);
    HMENU hMenu = reinterpret_cast<HMENU>(wParam);
    m_strLastMenu.clear();
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        const UINT id = ::GetMenuItemID(hMenu, i);
        if (id == 0)
            continue;
        const bool enabled = !(::GetMenuState(hMenu, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        m_strLastMenu += std::to_string(id) + (enabled ? "+ " : "- ");
    }
    ::EndMenu();
    return 0;
}

void MainDlgDriver::PostProbe(std::function<void()> probe)
{
    m_probe = std::move(probe);
    ::SetTimer(m_hWnd, PROBE_TIMER, 5, nullptr);
}

LRESULT MainDlgDriver::OnProbe(WPARAM wParam, LPARAM)
{
    // The probe is meant for the middle of the work: until rows have been listed, it waits. The
    // store has them a frame before the view shows them.
    if (wParam != PROBE_TIMER || !m_bBusy || m_list.GetRowCount() == 0)
        return 0;
    ::KillTimer(m_hWnd, PROBE_TIMER);
    if (m_probe)
        m_probe();
    return 0;
}

void MainDlgDriver::Command(UINT id)
{
    SendMessage(WM_COMMAND, MAKEWPARAM(id, 0));
}

void MainDlgDriver::PostCommand(UINT id)
{
    PostMessage(WM_COMMAND, MAKEWPARAM(id, 0));
}

void MainDlgDriver::ClickTree(POINT pt)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    m_tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_tree.SendMessage(WM_LBUTTONUP, 0, lParam);
}

void MainDlgDriver::RightClickList()
{
    NMHDR click = {m_list.m_hWnd, IDC_RESULT_LIST, static_cast<UINT>(NM_RCLICK)};
    SendMessage(WM_NOTIFY, IDC_RESULT_LIST, reinterpret_cast<LPARAM>(&click));
}

void MainDlgDriver::PressKey(HWND hWnd, UINT key)
{
    ::SendMessageA(hWnd, WM_KEYDOWN, key, 1);
    ::SendMessageA(hWnd, WM_KEYUP, key, 0xC0000001);
}

namespace {

RECT LabelRect(const CTreeCtrl& tree, HTREEITEM hItem)
{
    // TVM_GETITEMRECT takes the entry in the rectangle it fills.
    RECT rc = {};
    memcpy(&rc, &hItem, sizeof(hItem));
    tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

}  // namespace

POINT MainDlgDriver::LabelPoint(HTREEITEM hItem) const
{
    const RECT rc = LabelRect(m_tree, hItem);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT MainDlgDriver::StateIconPoint(HTREEITEM hItem) const
{
    // The state image sits just left of the label; ask the tree's own hit test where exactly.
    const POINT pt = LabelPoint(hItem);
    const RECT rc = LabelRect(m_tree, hItem);
    for (int x = rc.left - 1; x >= 0; --x) {
        TVHITTESTINFO hit = {{x, pt.y}, 0, nullptr};
        m_tree.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.hItem == hItem && (hit.flags & TVHT_ONITEMSTATEICON))
            return {x, pt.y};
    }
    return {-1, -1};
}

void MainDlgDriver::Select(HTREEITEM hItem)
{
    m_tree.SelectItem(hItem);
}

void MainDlgDriver::TypeText(int id, const char* text)
{
    ::SetDlgItemTextA(m_hWnd, id, text);
}

void MainDlgDriver::Escape()
{
    // What the dialog manager makes of the Escape key.
    PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
}

std::string MainDlgDriver::Text(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return static_cast<LPCSTR>(text);
}

bool MainDlgDriver::IsEnabled(int id) const
{
    return ::IsWindowEnabled(::GetDlgItem(m_hWnd, id)) != FALSE;
}

bool MainDlgDriver::IsButtonEnabled(UINT id) const
{
    return m_commandBar.IsButtonEnabled(static_cast<int>(id)) != FALSE;
}

MessageBoxAnswerer::MessageBoxAnswerer(int answer)
{
    g_answer = AnswerState();
    g_answer.nAnswer = answer;
    g_answer.hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, AnswerHook, nullptr, ::GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    ::UnhookWindowsHookEx(g_answer.hHook);
    g_answer.hHook = nullptr;
}

int MessageBoxAnswerer::Count() const
{
    return g_answer.nCount;
}

std::string MessageBoxAnswerer::LastText() const
{
    return g_answer.strText;
}

RuleFileGuard::RuleFileGuard()
{
    ::DeleteFileA(Path().c_str());
}

RuleFileGuard::~RuleFileGuard()
{
    ::DeleteFileA(Path().c_str());
}

std::string RuleFileGuard::Path() const
{
    return static_cast<LPCSTR>(GetRuleFilePath());
}
