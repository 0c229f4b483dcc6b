#include "engine/FileDeletion.h"

#include <windows.h>
#include <winternl.h>

#include <string>

namespace {

// The attributes that NtQueryAttributesFile reports.
struct FileBasicInformation
{
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    ULONG FileAttributes;
};

extern "C" NTSTATUS NTAPI NtQueryAttributesFile(const OBJECT_ATTRIBUTES* pAttributes,
                                                FileBasicInformation* pInformation);

const NTSTATUS kStatusAccessDenied = static_cast<NTSTATUS>(0xC0000022);
const NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);
const NTSTATUS kStatusObjectPathNotFound = static_cast<NTSTATUS>(0xC000003A);
const NTSTATUS kStatusDeletePending = static_cast<NTSTATUS>(0xC0000056);

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring WidePath(const CString& path)
{
    const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// The path the system resolves an open file to: links followed, in its stored case.
std::wstring FinalPath(HANDLE hFile)
{
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD got = ::GetFinalPathNameByHandleW(hFile, &path[0],
                                                      static_cast<DWORD>(path.size()), 0);
        if (got == 0)
            break;
        // A short buffer gets the size it needs, terminator included.
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(got);
    }
    return std::wstring();
}

std::wstring ResolveFolder(const std::wstring& folder)
{
    HANDLE hFolder = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFolder == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring path = FinalPath(hFolder);
    ::CloseHandle(hFolder);
    return path;
}

bool MarkForDeletion(HANDLE hFile)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(hFile, FileDispositionInfo, &disposition,
                                        sizeof disposition) != FALSE;
}

// Whether another program has the file open, which keeps a file marked for deletion in place.
bool IsHeldElsewhere(const std::wstring& path)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(hFile);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Asks for the entry by its exact name. The ANSI and wide calls ask without regard to case, and
// Wine answers that for a name that is not there by reading the whole folder, which made checking
// every deletion of a large folder cost the square of its size.
NTSTATUS QueryExactName(const std::wstring& path)
{
    UNICODE_STRING ntPath = {};
    if (!::RtlDosPathNameToNtPathName_U(path.c_str(), &ntPath, nullptr, nullptr))
        return kStatusObjectPathNotFound;
    OBJECT_ATTRIBUTES attributes = {};
    attributes.Length = sizeof attributes;
    attributes.ObjectName = &ntPath;
    FileBasicInformation information = {};
    const NTSTATUS status = NtQueryAttributesFile(&attributes, &information);
    ::RtlFreeUnicodeString(&ntPath);
    return status;
}

bool IsGoneAfterDeletion(const std::wstring& path)
{
    switch (QueryExactName(path)) {
    case kStatusObjectNameNotFound:
    case kStatusObjectPathNotFound:
    // Windows denies access to a file whose deletion waits for another program's handle.
    case kStatusAccessDenied:
    case kStatusDeletePending:
        return true;
    default:
        break;
    }
    // Wine shows such a file as it was until that handle closes. A file that nobody holds and that
    // is still there was not deleted, whatever the system said (under Wine, in a read-only folder
    // of another user).
    return IsHeldElsewhere(path);
}

}  // namespace

const std::wstring& CFileDeleter::ResolvedFolder(const std::wstring& folder)
{
    if (folder != m_strFolder || m_strResolvedFolder.empty()) {
        m_strFolder = folder;
        m_strResolvedFolder = ResolveFolder(folder);
    }
    return m_strResolvedFolder;
}

// Windows opens a link itself when asked to, and then resolves the handle to the link's own path;
// Wine opens what the link leads to whatever it is asked. Either way the handle is the entry that
// path names only when it resolves to the entry's own folder and its own name.
bool CFileDeleter::IsEntryItself(HANDLE hFile, const std::wstring& path)
{
    const size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos)
        return false;
    std::wstring expected = ResolvedFolder(path.substr(0, cut + 1));
    const std::wstring actual = FinalPath(hFile);
    if (expected.empty() || actual.empty())
        return false;
    if (expected.back() != L'\\')
        expected += L'\\';
    expected.append(path, cut + 1, std::wstring::npos);
    return actual == expected;
}


BOOL CFileDeleter::Delete(const CString& path)
{
    const std::wstring wide = WidePath(path);
    if (wide.empty())
        return FALSE;
    // Without backup semantics a folder does not open, and so is never deleted.
    HANDLE hFile = ::CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    const bool bMarked = IsEntryItself(hFile, wide) && MarkForDeletion(hFile);
    ::CloseHandle(hFile);
    return bMarked && IsGoneAfterDeletion(wide);
}
