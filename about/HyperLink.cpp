#include "about/HyperLink.h"

#include <shellapi.h>

#include "framework/Afx.h"
#include "framework/Dc.h"
#include "framework/Registry.h"

namespace {

const UINT_PTR kTargetTool = 1;
// Registry values are read through a buffer of this size, terminator included.
const LONG kKeyValueSize = 260;
// The longest command line that is started for the web-page fallback, terminator included.
const int kCommandLineSize = 520;
// The hand pointer among the cursors of the system's help program.
const WORD kHelpHandCursor = 106;

// The registered command without its placeholder for the document and whatever follows it.
CString CommandBeforePlaceholder(const CString& strCommand)
{
    int nCut = strCommand.Find("\"%1\"");
    if (nCut < 0)
        nCut = strCommand.Find("%1");
    return nCut < 0 ? strCommand : strCommand.Left(nCut);
}

LPCSTR OpenErrorText(int nError)
{
    switch (nError) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case ERROR_FILE_NOT_FOUND:
        return "The specified file was not found.";
    case ERROR_PATH_NOT_FOUND:
        return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED:
        return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM:
        return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE:
        return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE:
        return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL:
        return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\n"
               "were being processed.";
    case SE_ERR_NOASSOC:
        return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND:
        return "The specified dynamic-link library was not found.";
    default:
        return nullptr;
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_CONTROL_REFLECT(STN_CLICKED, OnLinkClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
    : m_clrLink(RGB(0, 0, 238)), m_clrOpened(RGB(85, 26, 139)),
      m_clrHover(::GetSysColor(COLOR_HIGHLIGHT))
{
}

CHyperLink::~CHyperLink()
{
    if (m_hHandCursor)
        ::DestroyCursor(m_hHandCursor);
}

void CHyperLink::SetTarget(LPCSTR lpszTarget)
{
    m_strTarget = lpszTarget;
    if (!m_hWnd)
        return;
    FitToText();
    m_tipTarget.UpdateTipText(m_strTarget, this, kTargetTool);
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg)
{
    m_tipTarget.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CHyperLink::PreSubclassWindow()
{
    // A static control reports clicks only with this style.
    ModifyStyle(0, SS_NOTIFY);

    CString strText;
    GetWindowText(strText);
    if (m_strTarget.IsEmpty())
        m_strTarget = strText;
    if (strText.IsEmpty())
        SetWindowText(m_strTarget);

    LOGFONTA lf = {};
    ::GetObjectA(GetFont(), sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    m_fontLink.CreateFontIndirect(&lf);
    SetFont(&m_fontLink, TRUE);

    FitToText();
    LoadHandCursor();

    CRect rcClient;
    GetClientRect(&rcClient);
    if (m_tipTarget.Create(this))
        m_tipTarget.AddTool(this, m_strTarget, &rcClient, kTargetTool);

    CStatic::PreSubclassWindow();
}

void CHyperLink::FitToText()
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetWindowRect(&rc);
    // The parent's coordinates (the screen's for a popup, whose GetParent would be its owner).
    ::MapWindowPoints(nullptr, ::GetAncestor(m_hWnd, GA_PARENT), reinterpret_cast<LPPOINT>(&rc), 2);

    CString strText;
    GetWindowText(strText);
    CSize sizeText;
    {
        CClientDC dc(this);
        HGDIOBJ hOldFont = dc.SelectObject(&m_fontLink);
        sizeText = dc.GetTextExtent(strText, strText.GetLength());
        dc.SelectObject(hOldFont);
    }

    const DWORD dwStyle = GetStyle();
    if (dwStyle & SS_CENTERIMAGE) {
        const int dy = (rc.Height() - sizeText.cy) / 2;
        rc.top += dy;
        rc.bottom -= dy;
    } else {
        rc.bottom = rc.top + sizeText.cy;
    }
    const DWORD dwAlign = dwStyle & SS_TYPEMASK;
    if (dwAlign == SS_CENTER) {
        const int dx = (rc.Width() - sizeText.cx) / 2;
        rc.left += dx;
        rc.right -= dx;
    } else if (dwAlign == SS_RIGHT) {
        rc.left = rc.right - sizeText.cx;
    } else {
        rc.right = rc.left + sizeText.cx;
    }
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER);
}

void CHyperLink::LoadHandCursor()
{
    if (m_hHandCursor)
        return;
    char szPath[MAX_PATH];
    const UINT nLength = ::GetWindowsDirectoryA(szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return;
    CString strModule = CString(szPath) + "\\winhlp32.exe";
    HMODULE hModule = ::LoadLibraryExA(strModule, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hModule)
        return;
    if (HCURSOR hCursor = ::LoadCursorA(hModule, MAKEINTRESOURCEA(kHelpHandCursor)))
        m_hHandCursor = CopyCursor(hCursor);
    ::FreeLibrary(hModule);
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_hHandCursor)
        return FALSE;
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT nFlags, CPoint point)
{
    CStatic::OnMouseMove(nFlags, point);
    if (!m_bHover) {
        m_bHover = true;
        Invalidate();
        UpdateWindow();
        // Held until a move finds the pointer outside, so that leaving is noticed.
        SetCapture();
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point))
        return;
    m_bHover = false;
    ::ReleaseCapture();
    Invalidate();
    UpdateWindow();
}

HBRUSH CHyperLink::CtlColor(CDC* pDC, UINT)
{
    pDC->SetTextColor(m_bHover ? m_clrHover : m_bOpened ? m_clrOpened : m_clrLink);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnLinkClicked()
{
    const INT_PTR nResult = OpenTarget(m_strTarget, SW_SHOW);
    m_bOpened = nResult > 32;
    if (m_bOpened) {
        MarkOpened(true);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ShowOpenError(static_cast<int>(nResult));
}

INT_PTR CHyperLink::OpenTarget(LPCSTR lpszTarget, int nShowCmd)
{
    const INT_PTR nShell = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", lpszTarget, nullptr, nullptr, nShowCmd));
    if (nShell > 32)
        return nShell;

    CString strClass;
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, ".htm", kKeyValueSize, strClass) != ERROR_SUCCESS)
        return nShell;
    CString strCommand;
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, strClass + "\\shell\\open\\command", kKeyValueSize,
                       strCommand) != ERROR_SUCCESS)
        return nShell;
    strCommand = CommandBeforePlaceholder(strCommand) + " " + lpszTarget;
    // A command cut to fit could start something else than what is registered, or with another
    // target: it is not run at all.
    if (strCommand.GetLength() >= kCommandLineSize)
        return nShell;
    return ::WinExec(strCommand, static_cast<UINT>(nShowCmd));
}

void CHyperLink::ShowOpenError(int nError)
{
    CString strError;
    if (LPCSTR lpszText = OpenErrorText(nError))
        strError = lpszText;
    else
        strError.Format("Unknown Error (%d) occurred.", nError);
    AfxMessageBox("Unable to open hyperlink:\n\n" + strError, MB_OK | MB_ICONEXCLAMATION);
}

void CHyperLink::MarkOpened(bool bOpened)
{
    m_bOpened = bOpened;
    if (m_hWnd)
        Invalidate();
}
