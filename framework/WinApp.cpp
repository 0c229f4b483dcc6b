#include "framework/WinApp.h"

#include <vector>

#include "framework/Path.h"
#include "framework/Wnd.h"

namespace {

CWinApp* g_pApp = nullptr;

CString ExecutableBaseName()
{
    const CString strPath = GetModuleFilePath(AfxGetInstanceHandle());
    CString strName = strPath.Mid(FindLastPathSeparator(strPath) + 1);
    const int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

} // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CString AfxGetAppName()
{
    if (g_pApp && !g_pApp->m_strAppName.IsEmpty())
        return g_pApp->m_strAppName;
    return ExecutableBaseName();
}

HWND AfxGetSafeOwner(CWnd* pParent)
{
    CWnd* pStart = pParent ? pParent : AfxGetMainWnd();
    HWND hWnd = pStart ? pStart->GetSafeHwnd() : nullptr;
    if (hWnd && !::IsWindow(hWnd))
        return nullptr;
    // A popup window cannot be owned by a child window.
    while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    if (!pParent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);
    return hWnd;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType)
{
    return ::MessageBoxA(AfxGetSafeOwner(nullptr), lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType)
{
    CString strText;
    strText.LoadString(nIDPrompt);
    return AfxMessageBox(strText, nType);
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(::GetModuleHandleA(nullptr)), m_strAppName(lpszAppName ? lpszAppName : "")
{
    if (!g_pApp)
        g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_strProfileName = ExecutableBaseName();
}

CString CWinApp::SectionKeyName(LPCSTR lpszSection) const
{
    return "Software\\" + m_strRegistryKey + "\\" + m_strProfileName + "\\" + lpszSection;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) const
{
    CString strValue(lpszDefault ? lpszDefault : "");
    if (m_strRegistryKey.IsEmpty() || !lpszSection || !lpszEntry)
        return strValue;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionKeyName(lpszSection), 0, KEY_QUERY_VALUE,
                        &hKey) != ERROR_SUCCESS)
        return strValue;

    DWORD dwType = 0;
    DWORD cbData = 0;
    LONG lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData);
    // The value may grow between asking its size and reading it.
    while (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
        std::vector<BYTE> buffer(cbData + 1);
        DWORD cbRead = cbData;
        lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, buffer.data(), &cbRead);
        if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
            // A stored string need not end in a NUL.
            buffer[cbRead < cbData ? cbRead : cbData] = 0;
            strValue = reinterpret_cast<LPCSTR>(buffer.data());
            break;
        }
        if (lResult == ERROR_MORE_DATA) {
            cbData = cbRead;
            lResult = ERROR_SUCCESS;
        }
    }
    ::RegCloseKey(hKey);
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (m_strRegistryKey.IsEmpty() || !lpszSection || !lpszEntry || !lpszValue)
        return FALSE;
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, SectionKeyName(lpszSection), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return FALSE;
    const LONG lResult = ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(lpszValue),
                                          static_cast<DWORD>(::lstrlenA(lpszValue)) + 1);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

namespace {

// FALSE for WM_QUIT, which is posted again, so that every enclosing loop ends too.
BOOL DispatchTaken(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    if (!CWnd::WalkPreTranslateTree(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

}  // namespace

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    // GetMessage fails (-1) only for a bad window filter, and this one has none.
    if (::GetMessageA(&msg, nullptr, 0, 0) == -1)
        return TRUE;
    return DispatchTaken(msg);
}

void CWinApp::PumpMessages(BOOL bPaint)
{
    const UINT nQueues = PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE
        | (bPaint ? PM_QS_PAINT : 0);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | nQueues)) {
        if (!DispatchTaken(msg))
            return;
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    pApp->m_hInstance = hInstance;
    if (pApp->InitInstance()) {
        while (CWinApp::PumpMessage()) {
        }
    }
    return 0;
}
