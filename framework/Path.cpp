#include "framework/Path.h"

namespace {

bool IsPathSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

int PathCharSizeAt(LPCSTR path, int length, int i)
{
    if (i + 1 < length && ::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && path[i + 1] != '\0')
        return 2;
    return 1;
}

}  // namespace

int FindLastPathSeparator(const CString& path)
{
    const int length = path.GetLength();
    int found = -1;
    for (int i = 0; i < length;) {
        const int size = PathCharSizeAt(path, length, i);
        if (size == 1 && IsPathSeparator(path[i]))
            found = i;
        i += size;
    }
    return found;
}

BOOL EndsWithPathSeparator(const CString& path)
{
    const int last = FindLastPathSeparator(path);
    return last >= 0 && last == path.GetLength() - 1;
}

CString PathBeside(const CString& path, const CString& fileName)
{
    return path.Left(FindLastPathSeparator(path) + 1) + fileName;
}

CString GetModuleFilePath(HMODULE hModule)
{
    CString path;
    // GetModuleFileNameA does not terminate a name that fills the buffer: only a shorter result
    // is whole.
    for (DWORD size = MAX_PATH; size <= 0x10000; size *= 2) {
        const DWORD got =
            ::GetModuleFileNameA(hModule, path.GetBuffer(static_cast<int>(size)), size);
        if (got == 0)
            break;
        if (got < size) {
            path.ReleaseBuffer(static_cast<int>(got));
            return path;
        }
    }
    path.Empty();
    return path;
}
