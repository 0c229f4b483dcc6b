#include "framework/Wnd.h"

#include "framework/Font.h"
#include "framework/WinApp.h"

namespace {

// Keeps the message that Default() passes on, for one (possibly nested) dispatch.
class CurrentMessageScope
{
public:
    CurrentMessageScope(const MSG*& rpCurrent, const MSG* pMsg)
        : m_rpCurrent(rpCurrent), m_pSaved(rpCurrent)
    {
        m_rpCurrent = pMsg;
    }
    ~CurrentMessageScope() { m_rpCurrent = m_pSaved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    const MSG*& m_rpCurrent;
    const MSG* m_pSaved;
};

int ReadWindowText(HWND hWnd, CString& rString)
{
    // GetWindowTextLength may report more than the text holds, never less for a text that does not
    // change meanwhile; a result that fills the buffer could still be cut, so it is read again.
    int nSize = ::GetWindowTextLengthA(hWnd) + 3;
    for (;;) {
        const int nCopied = ::GetWindowTextA(hWnd, rString.GetBuffer(nSize), nSize + 1);
        rString.ReleaseBuffer(nCopied > 0 ? nCopied : 0);
        if (nCopied < nSize - 1 || nSize >= 0x1000000)
            return rString.GetLength();
        nSize *= 2;
    }
}

} // namespace

CWnd::~CWnd()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    const bool bCreated = m_bCreated;
    HWND hWnd = Detach();
    if (hWnd && bCreated)
        ::DestroyWindow(hWnd);
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (m_hWnd || !::IsWindow(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd && m_pfnSuper) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    }
    m_pfnSuper = nullptr;
    m_bCreated = false;
    m_hWnd = nullptr;
    m_wrappers.clear();
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (FromHandlePermanent(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hWndControl && SubclassWindow(hWndControl);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (m_hWnd)
        return FALSE;
    // For a child window the menu argument carries its control id; a popup has neither.
    HMENU hMenuOrId = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))
                                           : nullptr;
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenuOrId,
                                  AfxGetInstanceHandle(), nullptr);
    if (!hWnd)
        return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    m_bCreated = true;
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return FALSE;
    const BOOL bDestroyed = ::DestroyWindow(hWnd);
    // A window that is only attached sends no WM_NCDESTROY here.
    if (bDestroyed && m_hWnd == hWnd)
        Detach();
    return bDestroyed;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    // Only a window whose procedure is ours carries a CWnd in its user data: another process's
    // window, or one subclassed by someone else, is never taken for one.
    DWORD dwProcessId = 0;
    if (!hWnd || !::GetWindowThreadProcessId(hWnd, &dwProcessId) ||
        dwProcessId != ::GetCurrentProcessId())
        return nullptr;
    if (::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SubclassProc))
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

CWnd* CWnd::FromHandle(HWND hWnd) const
{
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<CWnd>& pWrapper = m_wrappers[hWnd];
    if (!pWrapper) {
        pWrapper = std::make_unique<CWnd>();
        pWrapper->m_hWnd = hWnd;
    }
    return pWrapper.get();
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        // GetParent of a top-level window is its owner, which is a window of its own.
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

void CWnd::GetWindowText(CString& rString) const
{
    ReadWindowText(m_hWnd, rString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    HWND hWndItem = ::GetDlgItem(m_hWnd, nID);
    if (!hWndItem) {
        rString.Empty();
        return 0;
    }
    return ReadWindowText(hWndItem, rString);
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr),
                bRedraw);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD dwStyle = GetStyle();
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    const CString strCaption = lpszCaption ? CString(lpszCaption) : AfxGetAppName();
    return ::MessageBoxA(m_hWnd, lpszText, strCaption, nType);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND hWndControl = reinterpret_cast<HWND>(lParam);
    UINT nCode = HIWORD(wParam);
    LRESULT lResult = 0;
    if (!hWndControl) {
        // Menus send code 0 and accelerators 1; both are plain commands.
        nCode = 0;
    } else {
        if (m_bLockoutNotify)
            return TRUE;
        if (ReflectToChild(hWndControl, WM_COMMAND, wParam, lParam, &lResult))
            return TRUE;
    }
    return OnWndMsg(WM_ROUTE_COMMAND, MAKEWPARAM(LOWORD(wParam), nCode), lParam, &lResult);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (!pNMHDR)
        return FALSE;
    if (m_bLockoutNotify)
        return TRUE;
    if (ReflectToChild(pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    return OnWndMsg(WM_ROUTE_NOTIFY, pNMHDR->idFrom, lParam, pResult);
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    LRESULT lResult = 0;
    if (pWnd && ReflectToChild(pWnd->m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                               reinterpret_cast<WPARAM>(pDC->GetSafeHdc()),
                               reinterpret_cast<LPARAM>(pWnd->m_hWnd), &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CWnd::ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult)
{
    if (hWndChild == m_hWnd)
        return FALSE;
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (!pChild)
        return FALSE;
    // The child is not handling a message of its own here, so its Default() must pass nothing on.
    CurrentMessageScope scope(pChild->m_pCurrentMsg, nullptr);
    return pChild->OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (!m_pCurrentMsg)
        return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG msg = {m_hWnd, message, wParam, lParam, 0, {0, 0}};
    CurrentMessageScope scope(m_pCurrentMsg, &msg);
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::SafeWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return WindowProc(message, wParam, lParam);
    } catch (...) {
        // The window manager's callers cannot unwind C++ frames; the message counts as handled.
        return 0;
    }
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const LRESULT lResult = pWnd->SafeWindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        pWnd->OnFinalDestroy();
    return lResult;
}

void CWnd::OnFinalDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    Detach();
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex,
                                MF_BYPOSITION | (bOn ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
    m_bEnableChanged = true;
}

void CCmdUI::DoUpdate(CWnd* pTarget, BOOL bDisableIfNoHandler)
{
    // Separators have the id 0, submenus -1: neither is a command.
    if (!pTarget || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return;
    m_bEnableChanged = false;
    LRESULT lResult = 0;
    pTarget->OnWndMsg(WM_ROUTE_UPDATE_UI, 0, reinterpret_cast<LPARAM>(this), &lResult);
    if (bDisableIfNoHandler && !m_bEnableChanged)
        Enable(pTarget->OnWndMsg(WM_ROUTE_HAS_COMMAND, m_nID, 0, &lResult));
}
