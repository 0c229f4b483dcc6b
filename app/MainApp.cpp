#include "app/MainApp.h"

#include "app/MainDlg.h"

#include "res/resource.h"

// Message boxes and the folder browser carry the product's name.
CMainApp::CMainApp()
{
    m_strAppName = LoadResourceString(IDS_PRODUCT_NAME);
}

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

