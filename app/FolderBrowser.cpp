#include "app/FolderBrowser.h"

#include <shlobj.h>

#include "framework/Path.h"
#include "framework/Wnd.h"

namespace {

// lpData is the start folder; the browser accepts a selection only once it reports that it is up.
int CALLBACK SelectStartFolder(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    LPCSTR lpszStart = reinterpret_cast<LPCSTR>(lpData);
    if (uMsg == BFFM_INITIALIZED && lpszStart && *lpszStart)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}

}  // namespace

CString CFolderBrowser::StartFolder(const CString& strFolder)
{
    CString strStart = EndsWithPathSeparator(strFolder) ? strFolder.Left(strFolder.GetLength() - 1)
                                                        : strFolder;
    // A cut path would name another folder, or none.
    if (strStart.GetLength() >= MAX_PATH)
        strStart.Empty();
    return strStart;
}

BOOL CFolderBrowser::Browse(CWnd* pOwner, LPCSTR lpszTitle, CString& strFolder)
{
    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)))
        return FALSE;
    HWND hWndOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    LPITEMIDLIST pidlDrives = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(hWndOwner, CSIDL_DRIVES, &pidlDrives))) {
        pMalloc->Release();
        return FALSE;
    }

    const CString strStart = StartFolder(strFolder);
    char szDisplayName[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = hWndOwner;
    info.pidlRoot = pidlDrives;
    info.pszDisplayName = szDisplayName;
    info.lpszTitle = lpszTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectStartFolder;
    info.lParam = reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strStart));

    BOOL bChosen = FALSE;
    if (LPITEMIDLIST pidlChosen = ::SHBrowseForFolderA(&info)) {
        // SHGetPathFromIDListA writes up to MAX_PATH characters.
        char szPath[MAX_PATH] = "";
        if (::SHGetPathFromIDListA(pidlChosen, szPath)) {
            strFolder = szPath;
            bChosen = TRUE;
        }
        pMalloc->Free(pidlChosen);
    }
    pMalloc->Free(pidlDrives);
    pMalloc->Release();
    return bChosen;
}
