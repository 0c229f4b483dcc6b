#pragma once

#include <windows.h>

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int xInit, int yInit) : POINT{xInit, yInit} {}
    // Mouse messages pack signed client coordinates into the low and high words.
    explicit CPoint(LPARAM lParam)
        : POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))} {}
};

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cxInit, int cyInit) : SIZE{cxInit, cyInit} {}
};

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    friend bool operator==(const CRect& a, const CRect& b) { return ::EqualRect(&a, &b) != FALSE; }
    friend bool operator!=(const CRect& a, const CRect& b) { return !(a == b); }
};
