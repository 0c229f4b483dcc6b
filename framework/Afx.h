#pragma once

#include <windows.h>

#include "framework/String.h"

class CWinApp;
class CWnd;

// The one application object, or null before it is constructed (and in programs without one).
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The application object's name; the executable's base name when it has none.
CString AfxGetAppName();

// The window that a new modal box should belong to: pParent's top-level window, or, without one,
// the last active popup of the application's main window. May be null.
HWND AfxGetSafeOwner(CWnd* pParent);

// A message box captioned with the application's name, owned by the application's active window.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
