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

CString::CString(LPCSTR text)
{
    if (text)
        m_str = text;
}

CString::CString(LPCSTR text, int length)
{
    if (text && length > 0)
        m_str.assign(text, static_cast<size_t>(length));
}

CString::CString(char ch, int repeat)
{
    if (repeat > 0)
        m_str.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(LPCSTR text)
{
    if (text)
        m_str = text;
    else
        m_str.clear();
    return *this;
}

CString& CString::operator=(char ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    const int length = GetLength();
    first = std::clamp(first, 0, length);
    count = std::clamp(count, 0, length - first);
    return CString(m_str.data() + first, count);
}

int CString::Find(char ch, int start) const
{
    const int length = GetLength();
    const char* data = m_str.data();
    for (int i = 0; i < length; i += CharSizeAt(data, length, i)) {
        if (i >= start && data[i] == ch && CharSizeAt(data, length, i) == 1)
            return i;
    }
    return -1;
}

int CString::Find(LPCSTR sub, int start) const
{
    if (!sub)
        return -1;
    const int length = GetLength();
    const int subLength = static_cast<int>(std::strlen(sub));
    const char* data = m_str.data();
    for (int i = 0; i + subLength <= length; i += CharSizeAt(data, length, i)) {
        if (i >= start && std::memcmp(data + i, sub, static_cast<size_t>(subLength)) == 0)
            return i;
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    const int length = GetLength();
    const char* data = m_str.data();
    int found = -1;
    for (int i = 0; i < length; i += CharSizeAt(data, length, i)) {
        if (data[i] == ch && CharSizeAt(data, length, i) == 1)
            found = i;
    }
    return found;
}

CString& CString::MakeUpper()
{
    const int length = GetLength();
    for (int i = 0; i < length;) {
        const int size = CharSizeAt(m_str.data(), length, i);
        if (size == 1)
            m_str[static_cast<size_t>(i)] = UpperAscii(m_str[static_cast<size_t>(i)]);
        i += size;
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
    const int length = GetLength();
    const char* data = m_str.data();
    int end = 0;
    for (int i = 0; i < length;) {
        const int size = CharSizeAt(data, length, i);
        if (size == 2 || !IsTrimSpace(data[i]))
            end = i + size;
        i += size;
    }
    m_str.resize(static_cast<size_t>(end));
    return *this;
}

int CString::Compare(LPCSTR other) const
{
    const std::string& a = m_str;
    const char* b = other ? other : "";
    const size_t bLength = std::strlen(b);
    const size_t common = std::min(a.size(), bLength);
    const int cmp = std::memcmp(a.data(), b, common);
    if (cmp != 0)
        return cmp < 0 ? -1 : 1;
    if (a.size() == bLength)
        return 0;
    return a.size() < bLength ? -1 : 1;
}

int CString::CompareNoCase(LPCSTR other) const
{
    CString a(*this);
    CString b(other);
    return a.MakeUpper().Compare(b.MakeUpper());
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args)
{
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed <= 0) {
        m_str.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_str.assign(buffer.data(), static_cast<size_t>(needed));
}

BOOL CString::LoadString(UINT id)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    // LoadStringA cuts a text that does not fit and may drop a whole double-byte character at the
    // end, so a result within two bytes of the buffer's end is read again with a larger buffer.
    for (int size = 256; size <= 0x40000; size *= 2) {
        std::vector<char> buffer(static_cast<size_t>(size));
        const int got = ::LoadStringA(module, id, buffer.data(), size);
        if (got <= 0) {
            m_str.clear();
            return FALSE;
        }
        if (got < size - 2) {
            m_str.assign(buffer.data(), static_cast<size_t>(got));
            return TRUE;
        }
    }
    m_str.clear();
    return FALSE;
}

LPSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

CString& CString::operator+=(const CString& other)
{
    m_str += other.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR text)
{
    if (text)
        m_str += text;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char b)
{
    CString result(a);
    result += b;
    return result;
}

CString LoadResourceString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
