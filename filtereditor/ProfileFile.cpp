#include "filtereditor/ProfileFile.h"

#include <windows.h>

#include "framework/Path.h"

namespace {

// The profile service's reading buffer: 255 bytes of a value and the terminator.
const DWORD kValueBufferSize = 256;

}  // namespace

void CProfileFile::ResolvePath(LPCSTR lpszPath)
{
    if (lpszPath) {
        m_strPath = lpszPath;
        return;
    }
    m_strPath = PathBeside(GetModuleFilePath(), m_strFileName);
}

CString CProfileFile::GetString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault) const
{
    char szValue[kValueBufferSize] = "";
    ::GetPrivateProfileStringA(lpszSection, lpszKey, lpszDefault ? lpszDefault : "", szValue,
                               kValueBufferSize, m_strPath);
    szValue[kValueBufferSize - 1] = '\0';
    return szValue;
}

void SplitProfileFields(const CString& strValue, CString* pFields, int nFields)
{
    const char* pNext = strValue;
    for (int i = 0; i < nFields; ++i) {
        while (*pNext == ',')
            ++pNext;
        const char* pStart = pNext;
        while (*pNext != '\0' && *pNext != ',')
            ++pNext;
        pFields[i] = CString(pStart, static_cast<int>(pNext - pStart));
    }
}
