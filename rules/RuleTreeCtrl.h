#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/ImageList.h"
#include "framework/TreeCtrl.h"

// The rule tree: groups at the top level, their items below, each entry with a use mark drawn as
// its state image (index 1 unmarked, 2 marked). A click on the mark or the space bar toggles it and
// tells the parent with WM_NOTIFY, code TVN_SETDISPINFOA, item.hItem the entry; the parent copies
// the mark into the entry's node.
class CRuleTreeCtrl : public CTreeCtrl
{
public:
    CRuleTreeCtrl() = default;
    ~CRuleTreeCtrl() override;

    // Cuts the bitmap resource into the state images and installs them. FALSE, and nothing
    // installed, when the image list cannot be made (or the control has its list already).
    BOOL SetStateImages(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);

    // Touches only the state image bits of the entry.
    BOOL SetCheck(HTREEITEM hItem, BOOL bCheck);
    // Index 0, which no entry should have, counts as unmarked.
    BOOL GetCheck(HTREEITEM hItem) const;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()

private:
    void ToggleCheck(HTREEITEM hItem);

    CImageList m_stateImages;
};
