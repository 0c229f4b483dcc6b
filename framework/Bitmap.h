#pragma once

#include <windows.h>

#include "framework/Afx.h"

// Owns the bitmap it loads.
class CBitmap
{
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    HBITMAP GetSafeHandle() const { return m_hBitmap; }
    operator HBITMAP() const { return m_hBitmap; }

    // The classic button colours of the picture (silver, grey, white, black) become the system's,
    // so that a toolbar picture sits on the button face it is shown on.
    BOOL LoadMappedBitmap(UINT nIDResource)
    {
        if (m_hBitmap)
            return FALSE;
        m_hBitmap = static_cast<HBITMAP>(::LoadImageA(AfxGetResourceHandle(),
                                                      MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP,
                                                      0, 0, LR_LOADMAP3DCOLORS));
        return m_hBitmap != nullptr;
    }
    BOOL DeleteObject()
    {
        HBITMAP hBitmap = m_hBitmap;
        m_hBitmap = nullptr;
        return hBitmap && ::DeleteObject(hBitmap);
    }

private:
    HBITMAP m_hBitmap = nullptr;
};
