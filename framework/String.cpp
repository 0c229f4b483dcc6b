#include "framework/String.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool IsTrimSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

char UpperAscii(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

}

CString::CString(LPCSTR lpsz)
{
    if (lpsz)
        m_str = lpsz;
}

CString::CString(LPCSTR lpsz, int nLength)
{
    if (lpsz && nLength > 0)
        m_str.assign(lpsz, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR lpsz)
{
    if (lpsz)
        m_str = lpsz;
    else
        m_str.clear();
    return *this;
}

CString& CString::operator=(char ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    const int nLength = GetLength();
    nFirst = std::clamp(nFirst, 0, nLength);
    nCount = std::clamp(nCount, 0, nLength - nFirst);
    return CString(m_str.data() + nFirst, nCount);
}

int CString::Find(char ch, int nStart) const
{
    const int nLength = GetLength();
    const char* pData = m_str.data();
    for (int i = 0; i < nLength; i += CharSizeAt(pData, nLength, i)) {
        if (i >= nStart && pData[i] == ch && CharSizeAt(pData, nLength, i) == 1)
            return i;
    }
    return -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (!lpszSub)
        return -1;
    const int nLength = GetLength();
    const int nSubLength = static_cast<int>(std::strlen(lpszSub));
    const char* pData = m_str.data();
    for (int i = 0; i + nSubLength <= nLength; i += CharSizeAt(pData, nLength, i)) {
        if (i >= nStart && std::memcmp(pData + i, lpszSub, static_cast<size_t>(nSubLength)) == 0)
            return i;
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    const int nLength = GetLength();
    const char* pData = m_str.data();
    int nFound = -1;
    for (int i = 0; i < nLength; i += CharSizeAt(pData, nLength, i)) {
        if (pData[i] == ch && CharSizeAt(pData, nLength, i) == 1)
            nFound = i;
    }
    return nFound;
}

CString& CString::MakeUpper()
{
    const int nLength = GetLength();
    for (int i = 0; i < nLength;) {
        const int nSize = CharSizeAt(m_str.data(), nLength, i);
        if (nSize == 1)
            m_str[static_cast<size_t>(i)] = UpperAscii(m_str[static_cast<size_t>(i)]);
        i += nSize;
    }
    return *this;
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsTrimSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    const int nLength = GetLength();
    const char* pData = m_str.data();
    int nEnd = 0;
    for (int i = 0; i < nLength;) {
        const int nSize = CharSizeAt(pData, nLength, i);
        if (nSize == 2 || !IsTrimSpace(pData[i]))
            nEnd = i + nSize;
        i += nSize;
    }
    m_str.resize(static_cast<size_t>(nEnd));
    return *this;
}

int CString::Compare(LPCSTR lpszOther) const
{
    const char* lpszB = lpszOther ? lpszOther : "";
    const size_t nOtherLength = std::strlen(lpszB);
    const size_t nCommon = std::min(m_str.size(), nOtherLength);
    const int nCompare = std::memcmp(m_str.data(), lpszB, nCommon);
    if (nCompare != 0)
        return nCompare < 0 ? -1 : 1;
    if (m_str.size() == nOtherLength)
        return 0;
    return m_str.size() < nOtherLength ? -1 : 1;
}

int CString::CompareNoCase(LPCSTR lpszOther) const
{
    CString strThis(*this);
    CString strOther(lpszOther);
    return strThis.MakeUpper().Compare(strOther.MakeUpper());
}

void CString::Format(LPCSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatV(lpszFormat, argList);
    va_end(argList);
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    va_list argProbe;
    va_copy(argProbe, argList);
    const int nNeeded = std::vsnprintf(nullptr, 0, lpszFormat, argProbe);
    va_end(argProbe);
    if (nNeeded <= 0) {
        m_str.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(nNeeded) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), lpszFormat, argList);
    m_str.assign(buffer.data(), static_cast<size_t>(nNeeded));
}

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE hModule = ::GetModuleHandleA(nullptr);
    // LoadStringA cuts a text that does not fit and may drop a whole double-byte character at the
    // end, so a result within two bytes of the buffer's end is read again with a larger buffer.
    for (int nSize = 256; nSize <= 0x40000; nSize *= 2) {
        std::vector<char> buffer(static_cast<size_t>(nSize));
        const int nGot = ::LoadStringA(hModule, nID, buffer.data(), nSize);
        if (nGot <= 0) {
            m_str.clear();
            return FALSE;
        }
        if (nGot < nSize - 2) {
            m_str.assign(buffer.data(), static_cast<size_t>(nGot));
            return TRUE;
        }
    }
    m_str.clear();
    return FALSE;
}

LPSTR CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    if (lpsz)
        m_str += lpsz;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

CString operator+(const CString& str1, const CString& str2)
{
    CString strResult(str1);
    strResult += str2;
    return strResult;
}

CString operator+(const CString& str1, LPCSTR lpsz2)
{
    CString strResult(str1);
    strResult += lpsz2;
    return strResult;
}

CString operator+(LPCSTR lpsz1, const CString& str2)
{
    CString strResult(lpsz1);
    strResult += str2;
    return strResult;
}

CString operator+(const CString& str1, char ch2)
{
    CString strResult(str1);
    strResult += ch2;
    return strResult;
}

CString LoadResourceString(UINT nID)
{
    CString lpsz;
    lpsz.LoadString(nID);
    return lpsz;
}

bool ReadsBackExactly(const char* bytes, int nBytes, const WCHAR* wide, int nUnits)
{
    // Most names are plain ASCII, which always does.
    if (std::all_of(bytes, bytes + nBytes, [](char ch) { return (ch & 0x80) == 0; }))
        return nBytes == nUnits;
    std::vector<WCHAR> back(static_cast<size_t>(nUnits));
    return ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, nBytes, back.data(), nUnits)
               == nUnits
        && std::equal(back.begin(), back.end(), wide);
}
