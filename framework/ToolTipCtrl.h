#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Wnd.h"

// A tooltip control whose tools are windows (or rectangles of them) with fixed texts.
class CToolTipCtrl : public CWnd
{
public:
    // The tooltip belongs to pParentWnd's top-level window.
    BOOL Create(CWnd* pParentWnd)
    {
        return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CRect(), pParentWnd,
                        0);
    }
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
    {
        TOOLINFOA ti = MakeToolInfo(pWnd, nIDTool, lpszText);
        ti.rect = *lpRectTool;
        return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    }
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
    {
        TOOLINFOA ti = MakeToolInfo(pWnd, nIDTool, lpszText);
        SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }

private:
    static TOOLINFOA MakeToolInfo(CWnd* pWnd, UINT_PTR nIDTool, LPCSTR lpszText)
    {
        TOOLINFOA ti = {};
        // The size that both the old common controls and version 6 accept.
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = pWnd->GetSafeHwnd();
        ti.uId = nIDTool;
        ti.lpszText = const_cast<LPSTR>(lpszText);
        return ti;
    }
};
