#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Wnd.h"

class CToolTipCtrl : public CWnd
{
public:
    // A tooltip window owned by pParentWnd's top-level window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0)
    {
        const RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
        return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, rect, pParentWnd, 0);
    }

    // The tool is the area lpRectTool (client coordinates of pWnd, its whole client area when
    // null) of pWnd, known by nIDTool.
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
    {
        TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
        ti.lpszText = const_cast<LPSTR>(lpszText);
        if (lpRectTool)
            ti.rect = *lpRectTool;
        else
            pWnd->GetClientRect(&ti.rect);
        return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    }
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
    {
        TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
        ti.lpszText = const_cast<LPSTR>(lpszText);
        SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    // Lets the tooltip see a mouse message of the window it watches.
    void RelayEvent(LPMSG lpMsg)
    {
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
    }

private:
    static TOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
    {
        TOOLINFOA ti = {};
        // The size that version 5 of the common controls accepts as well as version 6.
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = pWnd->GetSafeHwnd();
        ti.uId = nIDTool;
        return ti;
    }
};
