#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Bitmap.h"
#include "framework/Font.h"
#include "framework/String.h"
#include "framework/ToolBarCtrl.h"

// The main window's toolbar: the twelve commands, each a 16 x 16 image with its name beneath in a
// small font, grouped by separators, with a tooltip that repeats the name. The buttons send
// ordinary commands to the parent, which enables and disables them by command id (EnableButton).
class CCommandBar : public CToolBarCtrl
{
public:
    // What a tooltip's text buffer holds, its closing NUL included.
    enum { TIP_BUFFER_SIZE = 80 };
    enum { BUTTON_COUNT = 12 };

    CCommandBar() = default;
    ~CCommandBar() override;

    // Creates the toolbar window and fills it with its images, labels, label font and buttons; the
    // result is the window creation's.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The command's name from the string table, cut to fit a tooltip; empty for a command that has
    // no button here.
    CString GetButtonTip(UINT nID) const;

    // The first TIP_BUFFER_SIZE - 1 bytes of strText, one fewer when the last of them would start a
    // double-byte character.
    static CString CutTipText(const CString& strText);

protected:
    // Answers the tooltip's text requests (TTN_NEEDTEXTA and TTN_NEEDTEXTW), which the tooltip
    // sends to the toolbar with the button's command id as the sender id.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CFont m_font;
    // The buttons' pictures, kept for as long as the toolbar shows them.
    CBitmap m_bitmaps[BUTTON_COUNT];
};
