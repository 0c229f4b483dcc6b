#pragma once

#include <windows.h>

#include <vector>

#include "framework/File.h"
#include "framework/String.h"

// Little-endian integers and length-prefixed strings over a CFile, buffered, in one direction.
//
// Errors are sticky instead of thrown: after the first failed read or write every further read
// yields zero or an empty string, nothing more is written, and IsOK() stays FALSE. A caller checks
// IsOK() after each record it needs whole.
class CArchive
{
public:
    enum Mode
    {
        load,
        store,
    };

    CArchive(CFile* file, Mode mode);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsOK() const { return !m_bFailed; }
    // Loading: TRUE when every byte of the file has been read.
    BOOL IsAtEnd() const { return BytesLeft() == 0; }
    // Loading: TRUE when a character of a UTF-16 text could not be carried by the code page, and
    // stands as SUB (0x1A) in the string read.
    BOOL HasLostCharacters() const { return m_bLostCharacters; }

    // Writes out what is buffered; TRUE when every write so far succeeded.
    BOOL Flush();

    CArchive& operator<<(BYTE value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(DWORD value);
    CArchive& operator<<(LONG value);
    CArchive& operator<<(int value);
    // 0..254 bytes: one length byte; up to 0xFFFD: FF + 16 bits; longer: FF FFFF + 32 bits.
    CArchive& operator<<(const CString& text);

    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(DWORD& value);
    CArchive& operator>>(LONG& value);
    CArchive& operator>>(int& value);
    // Also accepts FF FFFE followed by a length in 16-bit units and UTF-16LE text, which is
    // converted to the ANSI code page without best fit (see HasLostCharacters). A length beyond
    // the end of the file fails without allocating.
    CArchive& operator>>(CString& text);

private:
    bool ReadBytes(void* dest, ULONGLONG count);
    void WriteBytes(const void* src, size_t count);
    bool ReadLength(ULONGLONG& length, bool& utf16);
    ULONGLONG BytesLeft() const;
    bool Fail();

    CFile* m_pFile;
    Mode m_mode;
    bool m_bFailed = false;
    bool m_bLostCharacters = false;
    std::vector<BYTE> m_buffer;
    size_t m_nPos = 0;
    size_t m_nEnd = 0;
    ULONGLONG m_nFileLeft = 0;
};
