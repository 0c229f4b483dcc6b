#include "about/AboutDlg.h"

#include <vector>

#include "framework/Dc.h"
#include "framework/Path.h"
#include "res/maker.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT)
{
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LINK_WEB, m_linkWeb);
    DDX_Control(pDX, IDC_LINK_MAIL, m_linkMail);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_linkMail.SetTarget("mailto:" SCOURLY_CONTACT_ADDRESS);

    CString strVersion;
    if (GetVersionText(strVersion)) {
        CString strLabel;
        GetDlgItemText(IDC_VERSION_LABEL, strLabel);
        SetDlgItemText(IDC_VERSION_LABEL, strLabel + strVersion);
    }
    return TRUE;
}

HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    // Every text shows over the picture; the icon keeps the dialog's own background.
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetDlgCtrlID() != IDC_ABOUT_ICON) {
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return hbr;
}

BOOL CAboutDlg::GetVersionText(CString& rText)
{
    rText.Empty();
    const CString strPath = GetModuleFilePath();
    if (strPath.IsEmpty())
        return FALSE;
    return ReadProductVersion(strPath, rText);
}

BOOL ReadProductVersion(LPCSTR lpszPath, CString& rText)
{
    rText.Empty();
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(lpszPath, &dwHandle);
    if (dwSize == 0)
        return FALSE;
    std::vector<BYTE> info(dwSize);
    if (!::GetFileVersionInfoA(lpszPath, 0, dwSize, info.data()))
        return FALSE;
    // The root block may come without its fixed part; what is then found there is no version.
    LPVOID pValue = nullptr;
    UINT nValueSize = 0;
    if (!::VerQueryValueA(info.data(), "\\", &pValue, &nValueSize) || !pValue ||
        nValueSize < sizeof(VS_FIXEDFILEINFO))
        return FALSE;
    const VS_FIXEDFILEINFO* pFixed = static_cast<const VS_FIXEDFILEINFO*>(pValue);
    if (pFixed->dwSignature != VS_FFI_SIGNATURE)
        return FALSE;
    rText.Format("%d.%d.%d", HIWORD(pFixed->dwProductVersionMS),
                 LOWORD(pFixed->dwProductVersionMS), HIWORD(pFixed->dwProductVersionLS));
    return TRUE;
}
