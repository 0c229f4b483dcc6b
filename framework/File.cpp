#include "framework/File.h"

CFile::~CFile()
{
    Close();
}

BOOL CFile::Fail()
{
    m_dwError = GetLastError();
    return FALSE;
}

BOOL CFile::Open(LPCSTR path, UINT flags)
{
    Close();
    const bool write = (flags & modeWrite) != 0;
    const DWORD access = write ? GENERIC_WRITE : GENERIC_READ;
    const DWORD share = write ? 0 : FILE_SHARE_READ;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        return Fail();
    m_dwError = 0;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD got = 0;
    if (!ReadFile(m_hFile, buffer, count, &got, nullptr)) {
        Fail();
        return 0;
    }
    return got;
}

BOOL CFile::Write(const void* buffer, UINT count)
{
    DWORD written = 0;
    if (!WriteFile(m_hFile, buffer, count, &written, nullptr))
        return Fail();
    if (written != count) {
        m_dwError = ERROR_WRITE_FAULT;
        return FALSE;
    }
    return TRUE;
}

BOOL CFile::Flush()
{
    return FlushFileBuffers(m_hFile) ? TRUE : Fail();
}

BOOL CFile::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return TRUE;
    const HANDLE handle = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) ? TRUE : Fail();
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        return 0;
    return static_cast<ULONGLONG>(size.QuadPart);
}
