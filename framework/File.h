#pragma once

#include <windows.h>

// A binary file over a Win32 handle. Failures are reported by return values; GetError() then gives
// the Win32 error code of the call that failed.
class CFile
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeRead opens an existing file, sharing it with readers only; modeCreate | modeWrite creates
    // the file or empties an existing one, shared with nobody.
    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags);

    // Returns the number of bytes read: fewer than nCount at the end of the file, 0 on an error.
    UINT Read(void* lpBuf, UINT nCount);
    BOOL Write(const void* lpBuf, UINT nCount);
    // Forces the written data to the disk, so that a following rename never exposes a file whose
    // contents are still only in the cache.
    BOOL Flush();
    BOOL Close();

    ULONGLONG GetLength() const;
    HANDLE GetHandle() const { return m_hFile; }
    DWORD GetError() const { return m_dwError; }

private:
    BOOL Fail();

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    DWORD m_dwError = 0;
};
