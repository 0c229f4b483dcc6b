#include "framework/Path.h"

namespace {

bool IsPathSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

int PathCharSizeAt(LPCSTR lpszPath, int nLength, int i)
{
    if (i + 1 < nLength && ::IsDBCSLeadByte(static_cast<BYTE>(lpszPath[i]))
        && lpszPath[i + 1] != '\0')
        return 2;
    return 1;
}

}  // namespace

int FindLastPathSeparator(const CString& strPath)
{
    const int nLength = strPath.GetLength();
    int nFound = -1;
    for (int i = 0; i < nLength;) {
        const int nSize = PathCharSizeAt(strPath, nLength, i);
        if (nSize == 1 && IsPathSeparator(strPath[i]))
            nFound = i;
        i += nSize;
    }
    return nFound;
}

BOOL EndsWithPathSeparator(const CString& strPath)
{
    const int nLast = FindLastPathSeparator(strPath);
    return nLast >= 0 && nLast == strPath.GetLength() - 1;
}

CString PathBeside(const CString& strPath, const CString& strFileName)
{
    return strPath.Left(FindLastPathSeparator(strPath) + 1) + strFileName;
}

CString GetModuleFilePath(HMODULE hModule)
{
    CString strPath;
    // GetModuleFileNameA does not terminate a name that fills the buffer: only a shorter result
    // is whole.
    for (DWORD dwSize = MAX_PATH; dwSize <= 0x10000; dwSize *= 2) {
        const DWORD dwGot =
            ::GetModuleFileNameA(hModule, strPath.GetBuffer(static_cast<int>(dwSize)), dwSize);
        if (dwGot == 0)
            break;
        if (dwGot < dwSize) {
            strPath.ReleaseBuffer(static_cast<int>(dwGot));
            return strPath;
        }
    }
    strPath.Empty();
    return strPath;
}
