#include "framework/Dialog.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/WinApp.h"

namespace {

class NotifyLockout
{
public:
    explicit NotifyLockout(bool& rbLockout) : m_rbLockout(rbLockout), m_bSaved(rbLockout)
    {
        m_rbLockout = true;
    }
    ~NotifyLockout() { m_rbLockout = m_bSaved; }
    NotifyLockout(const NotifyLockout&) = delete;
    NotifyLockout& operator=(const NotifyLockout&) = delete;

private:
    bool& m_rbLockout;
    bool m_bSaved;
};

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    if (message == WM_INITDIALOG) {
        CRect rcBefore;
        GetWindowRect(&rcBefore);
        m_bInitializing = true;
        m_bPlacedInInit = false;
        *pResult = OnInitDialog();
        m_bInitializing = false;
        // A dialog that its initialisation did not place opens centred over its owner, or on the
        // screen. A place it was moved to counts even when it is where the dialog stood already.
        CRect rcAfter;
        GetWindowRect(&rcAfter);
        if (!m_bPlacedInInit && ::EqualRect(&rcBefore, &rcAfter))
            CenterWindow();
        return TRUE;
    }
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

int CDialog::DoModal()
{
    if (m_hWnd || !m_nIDTemplate)
        return -1;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    HWND hWndOwner = AfxGetSafeOwner(m_pParentWnd);
    const bool bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = true;
    HINSTANCE hInstance = AfxGetResourceHandle();
    const LPARAM lParam = reinterpret_cast<LPARAM>(this);
    HWND hWnd = ::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), hWndOwner,
                                     DialogProc, lParam);
    if (hWnd && hWnd == m_hWnd) {
        if (m_bContinueModal && !IsWindowVisible())
            ShowWindow(SW_SHOWNORMAL);
        while (m_bContinueModal && m_hWnd) {
            if (!CWinApp::PumpMessage()) {
                m_nModalResult = -1;
                break;
            }
        }
        if (m_hWnd)
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    } else if (hWnd) {
        ::DestroyWindow(hWnd);
    }
    m_bContinueModal = false;

    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    if (m_hWnd)
        DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        // Wakes the modal loop should it be waiting for a message.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    NotifyLockout lockout(m_bLockoutNotify);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd)
        return FALSE;
    const UINT nMessage = pMsg->message;
    if ((nMessage < WM_KEYFIRST || nMessage > WM_KEYLAST) &&
        (nMessage < WM_MOUSEFIRST || nMessage > WM_MOUSELAST))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The system drops a move to where the window stands before WM_WINDOWPOSCHANGED, but not
    // before WM_WINDOWPOSCHANGING.
    if (message == WM_WINDOWPOSCHANGING && m_bInitializing
        && !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOMOVE))
        m_bPlacedInInit = true;
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::CenterWindow()
{
    CRect rcArea;
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndOwner && ::IsWindowVisible(hWndOwner) && !::IsIconic(hWndOwner)) {
        ::GetWindowRect(hWndOwner, &rcArea);
    } else {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
        rcArea = info.rcWork;
    }
    CRect rc;
    GetWindowRect(&rc);
    const int x = std::max<int>(rcArea.left, rcArea.left + (rcArea.Width() - rc.Width()) / 2);
    const int y = std::max<int>(rcArea.top, rcArea.top + (rcArea.Height() - rc.Height()) / 2);
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // From WM_INITDIALOG on the dialog's messages reach the object through its subclassed window
    // procedure, which leaves what it does not handle to the dialog manager, and so to this
    // procedure: FALSE lets the dialog manager do its default.
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (!pDlg || !pDlg->SubclassWindow(hWnd))
        return FALSE;
    return pDlg->SafeWindowProc(message, wParam, lParam);
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWnd = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!hWnd)
        m_bFailed = true;
    return hWnd;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd && !rControl.SubclassWindow(hWnd))
        pDX->m_bFailed = true;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd)
        return;
    if (pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->GetDlgItemText(nIDC, value);
        return;
    }
    CString strOld;
    pDX->m_pDlgWnd->GetDlgItemText(nIDC, strOld);
    if (strOld != value)
        ::SetWindowTextA(hWnd, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
        return;
    }
    WPARAM state = value ? BST_CHECKED : BST_UNCHECKED;
    if (value == BST_INDETERMINATE) {
        const DWORD dwType = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)) & BS_TYPEMASK;
        if (dwType == BS_3STATE || dwType == BS_AUTO3STATE)
            state = BST_INDETERMINATE;
    }
    ::SendMessageA(hWnd, BM_SETCHECK, state, 0);
}
