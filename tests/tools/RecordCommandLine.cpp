#include <windows.h>

#include <string>

// Stands in for a web browser in the tests: writes the command line it was started with to the
// file that SCOURLY_RECORD names. The file appears whole or not at all.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char szPath[MAX_PATH];
    const DWORD nLength = ::GetEnvironmentVariableA("SCOURLY_RECORD", szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return 1;
    const std::string strPart = std::string(szPath) + ".part";
    HANDLE hFile = ::CreateFileA(strPart.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    LPCSTR lpszCommandLine = ::GetCommandLineA();
    DWORD cbWritten = 0;
    const BOOL bWritten = ::WriteFile(hFile, lpszCommandLine, lstrlenA(lpszCommandLine),
                                      &cbWritten, nullptr);
    ::CloseHandle(hFile);
    return bWritten && ::MoveFileA(strPart.c_str(), szPath) ? 0 : 1;
}
