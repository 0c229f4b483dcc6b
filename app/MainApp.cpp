#include "app/MainApp.h"

#include "app/MainDlg.h"

CMainApp::CMainApp() = default;

BOOL CMainApp::InitInstance()
{
    SetRegistryKey("Orvane");

    CMainDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The process ends when the dialog does.
    return FALSE;
}

void CMainApp::PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!PumpMessage())
            return;
    }
}
