#pragma once

#include "about/HyperLink.h"
#include "framework/Dialog.h"

// The program's icon, name and version, the maker's notice, and links to the maker's contact
// address and web page, all over a picture.
class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

    CHyperLink m_linkWeb;
    CHyperLink m_linkMail;

private:
    BOOL GetVersionText(CString& rText);
};

// "major.minor.third" of the product version in the version resource of the executable file;
// FALSE, with the text empty, when the file has no such resource or it lacks its fixed part.
BOOL ReadProductVersion(LPCSTR lpszPath, CString& rText);
