#include "framework/Font.h"

#include "framework/Dc.h"
#include "framework/String.h"

#include <cstdlib>

BOOL CFont::CreateFontIndirect(const LOGFONTA* lpLogFont)
{
    if (m_hFont || !lpLogFont)
        return FALSE;
    m_hFont = ::CreateFontIndirectA(lpLogFont);
    return m_hFont != nullptr;
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;

    // A face name that does not fit is cut before a whole character, never between the two bytes
    // of a double-byte one.
    const char* lpszFace = lpszFaceName ? lpszFaceName : "";
    const int nUsed = FitWholeChars(lpszFace, ::lstrlenA(lpszFace), LF_FACESIZE - 1);
    CopyMemory(lf.lfFaceName, lpszFace, static_cast<size_t>(nUsed));

    HDC hDC = pDC ? pDC->GetSafeHdc() : ::GetDC(nullptr);
    POINT pt = {0, ::GetDeviceCaps(hDC, LOGPIXELSY) * nPointSize / 720};
    POINT ptOrigin = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrigin, 1);
    if (!pDC)
        ::ReleaseDC(nullptr, hDC);
    // A negative height asks for the character height rather than the cell height.
    lf.lfHeight = -abs(pt.y - ptOrigin.y);
    return CreateFontIndirect(&lf);
}

BOOL CFont::DeleteObject()
{
    HFONT hFont = m_hFont;
    m_hFont = nullptr;
    return hFont && ::DeleteObject(hFont);
}
