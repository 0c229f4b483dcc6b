#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

// The program's double-byte character model, fixed whatever the process locale says: a byte from
// 0x80 to 0x9F or from 0xE0 to 0xFF starts a two-byte character and takes the byte after it along,
// unless that byte is a NUL or missing.
inline bool IsLeadByte(unsigned char ch)
{
    return (ch >= 0x80 && ch <= 0x9F) || ch >= 0xE0;
}

// Number of bytes (1 or 2) of the character that starts at index i of text[0..length).
inline int CharSizeAt(const char* text, int length, int i)
{
    if (i + 1 < length && IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0')
        return 2;
    return 1;
}

// How many of the first length bytes of text fit in maxBytes without cutting a character in two.
inline int FitWholeChars(const char* text, int length, int maxBytes)
{
    int used = 0;
    while (used < length) {
        const int size = CharSizeAt(text, length, used);
        if (used + size > maxBytes)
            break;
        used += size;
    }
    return used;
}

// Counted ANSI byte string: the length is kept, not found by scanning for a NUL, so any byte may be
// held. Searches and case changes step whole characters of the model above, so the second byte of a
// double-byte character (0x5C "\" included) is never taken for a character of its own.
//
// Passing a CString through "..." (Format and the like) is not allowed: cast it to LPCSTR.
class CString
{
public:
    CString() = default;
    CString(LPCSTR text);
    CString(LPCSTR text, int length);
    CString(char ch, int repeat = 1);

    CString& operator=(LPCSTR text);
    CString& operator=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    char GetAt(int index) const { return m_str[static_cast<size_t>(index)]; }
    char operator[](int index) const { return GetAt(index); }

    // Out-of-range counts are clamped, as the dialog framework does.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Byte index of the first (last) character equal to ch, or -1; only whole characters count.
    int Find(char ch, int start = 0) const;
    int Find(LPCSTR sub, int start = 0) const;
    int ReverseFind(char ch) const;

    // Upper-cases the single-byte letters a-z only. A double-byte character is left as it is, the
    // full-width letters included, so that its second byte is never changed.
    CString& MakeUpper();

    // White space is the single-byte space, tab, LF, VT, FF and CR; a double-byte space stays.
    CString& TrimLeft();
    CString& TrimRight();


    int Compare(LPCSTR other) const;
    int CompareNoCase(LPCSTR other) const;

    void Format(LPCSTR format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void FormatV(LPCSTR format, va_list args);

    // Loads string-table entry id of the executable; FALSE (and empty) when there is none.
    BOOL LoadString(UINT id);

    // The buffer holds at least minLength bytes plus a terminator; ReleaseBuffer(-1) takes the
    // length up to the first NUL.
    LPSTR GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
    friend bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }

private:
    std::string m_str;
};

// String-table entry id of the executable; empty when there is none.
CString LoadResourceString(UINT id);
