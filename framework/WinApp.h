#pragma once

#include <windows.h>

#include "framework/Afx.h"
#include "framework/String.h"

class CWnd;

// The application object. The program defines exactly one, as a global; the framework's WinMain
// runs its InitInstance.
class CWinApp
{
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    HINSTANCE m_hInstance;
    // Cleared when that window is destroyed.
    CWnd* m_pMainWnd = nullptr;
    // The name message boxes carry; empty when none was given, which makes it the executable's.
    CString m_strAppName;

    // FALSE ends the process as soon as it returns; TRUE runs a message loop until WM_QUIT.
    virtual BOOL InitInstance();

    // From here on the profile lives in HKEY_CURRENT_USER\Software\<key>\<executable's base name>.
    // Before it is called the profile functions read the defaults and write nothing.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    // The whole string value lpszEntry of the section, or the default when it is missing or not a
    // string.
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry,
                             LPCSTR lpszDefault = nullptr) const;
    // Creates the keys as needed.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

    // Waits for one message and dispatches it, offering it first to the PreTranslateMessage of
    // the windows it is for (the dialog keys among them). FALSE when the message was WM_QUIT; the
    // quit is posted again, so that every enclosing loop ends too.
    static BOOL PumpMessage();
    // Dispatches every message waiting in the thread's queue, so that long work started by a
    // command keeps the window painted and lets the Stop command through. Returns at once when the
    // queue is empty or the quit message arrives (which stays posted for the modal loop).
    // With bPaint FALSE only input, posted and sent messages are taken: paints wait until the
    // queue is next emptied with them, so that what comes first is not kept waiting by a repaint.
    static void PumpMessages(BOOL bPaint = TRUE);

private:
    CString SectionKeyName(LPCSTR lpszSection) const;

    CString m_strRegistryKey;
    CString m_strProfileName;
};
