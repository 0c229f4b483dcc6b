#pragma once

#include "framework/Wnd.h"

class CEdit : public CWnd
{
public:
    // Selects the bytes from nStartChar up to nEndChar (-1: the end) and, unless bNoScroll, scrolls
    // the caret into view.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE)
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
        if (!bNoScroll)
            SendMessage(EM_SCROLLCARET);
    }
};
