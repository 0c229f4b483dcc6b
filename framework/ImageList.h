#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Afx.h"

// Owns its image list.
class CImageList
{
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // Cuts the bitmap resource into pictures cx pixels wide; crMask is the transparent colour.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
    {
        if (m_hImageList)
            return FALSE;
        m_hImageList = ::ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID),
                                              cx, nGrow, crMask, IMAGE_BITMAP, 0);
        return m_hImageList != nullptr;
    }
    BOOL DeleteImageList()
    {
        HIMAGELIST hImageList = m_hImageList;
        m_hImageList = nullptr;
        return hImageList && ::ImageList_Destroy(hImageList);
    }

private:
    HIMAGELIST m_hImageList = nullptr;
};
