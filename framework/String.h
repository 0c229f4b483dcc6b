#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

#include "framework/DbcsModel.h"

// Number of bytes (1 or 2) of the character that starts at index i of text[0..length), in the
// strings' reading of the double-byte model.
inline int CharSizeAt(const char* text, int length, int i)
{
    if (i + 1 < length && dbcs_is_lead(static_cast<unsigned char>(text[i]))
        && text[i + 1] != '\0')
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
    CString(LPCSTR lpsz);
    CString(LPCSTR lpsz, int nLength);
    CString(char ch, int nRepeat = 1);

    CString& operator=(LPCSTR lpsz);
    CString& operator=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    char GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
    char operator[](int nIndex) const { return GetAt(nIndex); }

    // Out-of-range counts are clamped, as the dialog framework does.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    // Byte index of the first (last) character equal to ch, or -1; only whole characters count.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;

    // Upper-cases the single-byte letters a-z only. A double-byte character is left as it is, the
    // full-width letters included, so that its second byte is never changed.
    CString& MakeUpper();

    // White space is the single-byte space, tab, LF, VT, FF and CR; a double-byte space stays.
    CString& TrimLeft();
    CString& TrimRight();


    int Compare(LPCSTR lpszOther) const;
    int CompareNoCase(LPCSTR lpszOther) const;

    void Format(LPCSTR lpszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void FormatV(LPCSTR lpszFormat, va_list argList);

    // Loads string-table entry nID of the executable; FALSE (and empty) when there is none.
    BOOL LoadString(UINT nID);

    // The buffer holds at least nMinLength bytes plus a terminator; ReleaseBuffer(-1) takes the
    // length up to the first NUL.
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    friend CString operator+(const CString& str1, const CString& str2);
    friend CString operator+(const CString& str1, LPCSTR lpsz2);
    friend CString operator+(LPCSTR lpsz1, const CString& str2);
    friend CString operator+(const CString& str1, char ch2);

    friend bool operator==(const CString& str1, const CString& str2)
    {
        return str1.m_str == str2.m_str;
    }
    friend bool operator==(const CString& str1, LPCSTR lpsz2) { return str1.Compare(lpsz2) == 0; }
    friend bool operator==(LPCSTR lpsz1, const CString& str2) { return str2.Compare(lpsz1) == 0; }
    friend bool operator!=(const CString& str1, const CString& str2) { return !(str1 == str2); }
    friend bool operator!=(const CString& str1, LPCSTR lpsz2) { return !(str1 == lpsz2); }
    friend bool operator!=(LPCSTR lpsz1, const CString& str2) { return !(lpsz1 == str2); }

private:
    std::string m_str;
};

// String-table entry nID of the executable; empty when there is none.
CString LoadResourceString(UINT nID);

// Whether nBytes of text in the ANSI code page read back as exactly the nUnits UTF-16 units they
// were converted from. Without best fit a few private-use characters still become bytes that the
// code page itself refuses (U+F8F0 becomes 0xA0).
bool ReadsBackExactly(const char* bytes, int nBytes, const WCHAR* wide, int nUnits);
