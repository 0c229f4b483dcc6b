#include <windows.h>

#include <cstdio>
#include <string>

// Stands in for a web browser in the tests: writes the command line it was started with to a file
// named after itself with ".txt" added, which appears whole or not at all.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH - 8);
    const std::string strRecord = std::string(szPath) + ".txt";
    FILE* pFile = fopen((strRecord + ".part").c_str(), "wb");
    if (!pFile || fputs(::GetCommandLineA(), pFile) < 0 || fclose(pFile) != 0)
        return 1;
    return ::MoveFileA((strRecord + ".part").c_str(), strRecord.c_str()) ? 0 : 1;
}
