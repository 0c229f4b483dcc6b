#pragma once

#include <windows.h>

#include "framework/String.h"

class CWnd;

// The shell's folder browser, rooted at the drives folder (My Computer) so that only drives and the
// folders on them can be chosen, opening on a given folder. Lives for one browse.
class CFolderBrowser
{
public:
    CFolderBrowser() = default;
    virtual ~CFolderBrowser() = default;

    // TRUE when the user chose a folder, which is then in strFolder; otherwise strFolder is left as
    // it was. A drive root comes back as "C:\", any other folder without a trailing backslash.
    BOOL Browse(CWnd* pOwner, LPCSTR lpszTitle, CString& strFolder);

    // The folder the browser opens on for strFolder: strFolder without one trailing backslash.
    // Empty, so that the browser opens on nothing in particular, when that does not fit a path
    // buffer.
    static CString StartFolder(const CString& strFolder);
};
