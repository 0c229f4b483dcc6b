#pragma once

#include <windows.h>

class CDC;

// Owns the font it creates.
class CFont
{
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    HFONT GetSafeHandle() const { return m_hFont; }
    operator HFONT() const { return m_hFont; }

    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont);
    // nPointSize is in tenths of a point, converted for the given device (the screen when none).
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
    BOOL DeleteObject();

private:
    HFONT m_hFont = nullptr;
};
