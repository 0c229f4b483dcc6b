#include "framework/File.h"

CFile::~CFile()
{
    Close();
}

BOOL CFile::Fail()
{
    m_dwError = ::GetLastError();
    return FALSE;
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags)
{
    Close();
    const bool bWrite = (nOpenFlags & modeWrite) != 0;
    const DWORD dwAccess = bWrite ? GENERIC_WRITE : GENERIC_READ;
    const DWORD dwShare = bWrite ? 0 : FILE_SHARE_READ;
    const DWORD dwDisposition = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile = ::CreateFileA(lpszFileName, dwAccess, dwShare, nullptr, dwDisposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        return Fail();
    m_dwError = 0;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr)) {
        Fail();
        return 0;
    }
    return dwRead;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    DWORD dwWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &dwWritten, nullptr))
        return Fail();
    if (dwWritten != nCount) {
        m_dwError = ERROR_WRITE_FAULT;
        return FALSE;
    }
    return TRUE;
}

BOOL CFile::Flush()
{
    return ::FlushFileBuffers(m_hFile) ? TRUE : Fail();
}

BOOL CFile::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return TRUE;
    const HANDLE hFile = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    return ::CloseHandle(hFile) ? TRUE : Fail();
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER liSize;
    if (!::GetFileSizeEx(m_hFile, &liSize))
        return 0;
    return static_cast<ULONGLONG>(liSize.QuadPart);
}
