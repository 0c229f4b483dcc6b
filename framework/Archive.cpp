#include "framework/Archive.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

const size_t kBufferSize = 4096;

// What stands for a character that the code page cannot carry: no file name holds it, and neither
// a path nor a filter reads it as a separator, a dot or a wildcard.
const char kLostCharacter = '\x1A';

// Whether the UTF-16 text converts to the code page and back to itself. Best fit would turn "¥"
// into a backslash, which makes a folder's text name another folder, and without best fit a few
// characters still become bytes that the code page refuses to read back.
bool ConvertExactly(const WCHAR* wide, int units, std::vector<char>& bytes)
{
    BOOL bUsedDefault = FALSE;
    const int needed = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0,
                                             nullptr, &bUsedDefault);
    if (needed <= 0 || bUsedDefault)
        return false;
    bytes.resize(static_cast<size_t>(needed));
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, bytes.data(), needed, nullptr,
                          nullptr);
    return ReadsBackExactly(bytes.data(), needed, wide, units);
}

// The text in the code page, character by character where it does not convert whole: FALSE when
// a character was lost.
bool ConvertToAnsi(const WCHAR* wide, int units, CString& text)
{
    std::vector<char> bytes;
    if (ConvertExactly(wide, units, bytes)) {
        text = CString(bytes.data(), static_cast<int>(bytes.size()));
        return true;
    }
    std::string converted;
    for (int i = 0; i < units;) {
        const int size = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < units
                          && IS_LOW_SURROGATE(wide[i + 1])) ? 2 : 1;
        if (ConvertExactly(wide + i, size, bytes))
            converted.append(bytes.data(), bytes.size());
        else
            converted += kLostCharacter;
        i += size;
    }
    text = CString(converted.data(), static_cast<int>(converted.size()));
    return false;
}

}

CArchive::CArchive(CFile* file, Mode mode)
    : m_pFile(file), m_mode(mode), m_buffer(kBufferSize)
{
    if (mode == load) {
        LARGE_INTEGER zero = {};
        LARGE_INTEGER pos = {};
        const ULONGLONG length = m_pFile->GetLength();
        if (::SetFilePointerEx(m_pFile->GetHandle(), zero, &pos, FILE_CURRENT)
            && static_cast<ULONGLONG>(pos.QuadPart) <= length)
            m_nFileLeft = length - static_cast<ULONGLONG>(pos.QuadPart);
    }
}

CArchive::~CArchive()
{
    if (m_mode == store)
        Flush();
}

bool CArchive::Fail()
{
    m_bFailed = true;
    return false;
}

ULONGLONG CArchive::BytesLeft() const
{
    return (m_nEnd - m_nPos) + m_nFileLeft;
}

BOOL CArchive::Flush()
{
    if (m_mode == store && !m_bFailed && m_nPos > 0) {
        if (!m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_nPos)))
            Fail();
    }
    m_nPos = 0;
    return !m_bFailed;
}

void CArchive::WriteBytes(const void* src, size_t count)
{
    const BYTE* from = static_cast<const BYTE*>(src);
    while (count > 0 && !m_bFailed) {
        const size_t chunk = std::min(count, m_buffer.size() - m_nPos);
        std::memcpy(m_buffer.data() + m_nPos, from, chunk);
        m_nPos += chunk;
        from += chunk;
        count -= chunk;
        if (m_nPos == m_buffer.size())
            Flush();
    }
}

bool CArchive::ReadBytes(void* dest, ULONGLONG count)
{
    if (m_bFailed || count > BytesLeft())
        return Fail();
    BYTE* to = static_cast<BYTE*>(dest);
    while (count > 0) {
        if (m_nPos == m_nEnd) {
            const UINT got = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
            if (got == 0)
                return Fail();
            m_nPos = 0;
            m_nEnd = got;
            m_nFileLeft -= std::min<ULONGLONG>(got, m_nFileLeft);
        }
        const size_t chunk = static_cast<size_t>(std::min<ULONGLONG>(count, m_nEnd - m_nPos));
        std::memcpy(to, m_buffer.data() + m_nPos, chunk);
        m_nPos += chunk;
        to += chunk;
        count -= chunk;
    }
    return true;
}

CArchive& CArchive::operator<<(BYTE value)
{
    WriteBytes(&value, 1);
    return *this;
}

CArchive& CArchive::operator<<(WORD value)
{
    const BYTE bytes[2] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
    WriteBytes(bytes, 2);
    return *this;
}

CArchive& CArchive::operator<<(DWORD value)
{
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                           static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    WriteBytes(bytes, 4);
    return *this;
}

CArchive& CArchive::operator<<(LONG value)
{
    return *this << static_cast<DWORD>(value);
}

CArchive& CArchive::operator<<(int value)
{
    return *this << static_cast<DWORD>(value);
}

CArchive& CArchive::operator<<(const CString& text)
{
    const DWORD length = static_cast<DWORD>(text.GetLength());
    if (length < 0xFF) {
        *this << static_cast<BYTE>(length);
    } else if (length < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << length;
    }
    WriteBytes(static_cast<LPCSTR>(text), length);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& value)
{
    value = 0;
    ReadBytes(&value, 1);
    return *this;
}

CArchive& CArchive::operator>>(WORD& value)
{
    BYTE bytes[2] = {};
    value = ReadBytes(bytes, 2) ? static_cast<WORD>(bytes[0] | (bytes[1] << 8)) : 0;
    return *this;
}

CArchive& CArchive::operator>>(DWORD& value)
{
    BYTE bytes[4] = {};
    value = 0;
    if (ReadBytes(bytes, 4)) {
        value = static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8)
            | (static_cast<DWORD>(bytes[2]) << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    }
    return *this;
}

CArchive& CArchive::operator>>(LONG& value)
{
    DWORD raw = 0;
    *this >> raw;
    value = static_cast<LONG>(raw);
    return *this;
}

CArchive& CArchive::operator>>(int& value)
{
    DWORD raw = 0;
    *this >> raw;
    value = static_cast<int>(raw);
    return *this;
}

bool CArchive::ReadLength(ULONGLONG& length, bool& utf16)
{
    BYTE shortLength = 0;
    *this >> shortLength;
    if (shortLength < 0xFF) {
        length = shortLength;
        return IsOK();
    }
    WORD midLength = 0;
    *this >> midLength;
    if (midLength == 0xFFFE) {
        // Only one marker may precede the length; a second one is damage, not a format.
        if (utf16)
            return Fail();
        utf16 = true;
        return ReadLength(length, utf16);
    }
    if (midLength < 0xFFFF) {
        length = midLength;
        return IsOK();
    }
    DWORD longLength = 0;
    *this >> longLength;
    length = longLength;
    return IsOK();
}

CArchive& CArchive::operator>>(CString& text)
{
    text.Empty();
    ULONGLONG length = 0;
    bool utf16 = false;
    if (!ReadLength(length, utf16))
        return *this;
    const ULONGLONG byteCount = utf16 ? length * 2 : length;
    if (byteCount > BytesLeft() || length > static_cast<ULONGLONG>(INT_MAX)) {
        Fail();
        return *this;
    }
    if (length == 0)
        return *this;
    const int units = static_cast<int>(length);
    if (!utf16) {
        if (ReadBytes(text.GetBuffer(units), length))
            text.ReleaseBuffer(units);
        else
            text.Empty();
        return *this;
    }
    std::vector<WCHAR> wide(static_cast<size_t>(units));
    if (!ReadBytes(wide.data(), byteCount))
        return *this;
    // Read straight into WCHARs: every Windows target is little-endian, like the stored text.
    if (!ConvertToAnsi(wide.data(), units, text))
        m_bLostCharacters = true;
    return *this;
}
