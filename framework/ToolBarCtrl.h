#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Bitmap.h"
#include "framework/Rect.h"
#include "framework/Wnd.h"

class CToolBarCtrl : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID))
            return FALSE;
        SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
        return TRUE;
    }

    // Adds the bitmap's nNumButtons pictures to the button images; the index of the first, or -1.
    int AddBitmap(int nNumButtons, CBitmap* pBitmap)
    {
        TBADDBITMAP tbab = {nullptr, reinterpret_cast<UINT_PTR>(pBitmap->GetSafeHandle())};
        return static_cast<int>(SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons),
                                            reinterpret_cast<LPARAM>(&tbab)));
    }
    // Adds the labels in lpszStrings, each ended by a NUL, the last by two; the index of the first.
    int AddStrings(LPCSTR lpszStrings)
    {
        return static_cast<int>(
            SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(lpszStrings)));
    }
    BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons)
    {
        return static_cast<BOOL>(SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(nNumButtons),
                                             reinterpret_cast<LPARAM>(lpButtons)));
    }
    BOOL SetBitmapSize(CSize size)
    {
        return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)));
    }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    BOOL EnableButton(int nID, BOOL bEnable = TRUE)
    {
        return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(nID),
                                             MAKELPARAM(bEnable, 0)));
    }
    BOOL IsButtonEnabled(int nID) const
    {
        return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(nID)));
    }
    // The button's index, -1 when no button has the command.
    int CommandToIndex(UINT nID) const
    {
        return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nID));
    }
};
