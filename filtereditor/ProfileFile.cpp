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
    char buffer[kValueBufferSize] = "";
    ::GetPrivateProfileStringA(lpszSection, lpszKey, lpszDefault ? lpszDefault : "", buffer,
                               kValueBufferSize, m_strPath);
    buffer[kValueBufferSize - 1] = '\0';
    return buffer;
}

void SplitProfileFields(const CString& value, CString* pFields, int nFields)
{
    const char* p = value;
    for (int i = 0; i < nFields; ++i) {
        while (*p == ',')
            ++p;
        const char* start = p;
        while (*p != '\0' && *p != ',')
            ++p;
        pFields[i] = CString(start, static_cast<int>(p - start));
    }
}
