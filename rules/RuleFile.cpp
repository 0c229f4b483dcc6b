#include "rules/RuleFile.h"

#include <lmcons.h>

#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/Path.h"
#include "rules/RuleNode.h"

namespace {

// The user name length that earlier versions could read: a 15-byte buffer with its terminator.
const int kLegacyUserNameMax = 14;
const int kMaxBackups = 999;

bool IsMissing(const CString& path)
{
    if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

CString GetLogonUserName()
{
    CString name;
    DWORD size = UNLEN + 1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD capacity = size;
        if (::GetUserNameA(name.GetBuffer(static_cast<int>(capacity)), &capacity)) {
            name.ReleaseBuffer();
            return name;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        // Some systems leave the size alone when the name does not fit.
        size = capacity > size ? capacity : size * 2;
    }
    name.Empty();
    return name;
}

}

CString BuildRuleFilePath(const CString& modulePath, const CString& userName)
{
    return PathBeside(modulePath, userName + ".dat");
}

CString BuildLegacyRuleFilePath(const CString& modulePath, const CString& userName)
{
    const bool bFits = userName.GetLength() <= kLegacyUserNameMax;
    return BuildRuleFilePath(modulePath, bFits ? userName : CString());
}

CString ChooseRuleFileToLoad(const CString& path, const CString& legacyPath)
{
    if (legacyPath.CompareNoCase(path) != 0 && IsMissing(path) && !IsMissing(legacyPath))
        return legacyPath;
    return path;
}

CString FindFreeBackupPath(const CString& path)
{
    for (int n = 1; n <= kMaxBackups; ++n) {
        CString candidate = path + ".bak";
        if (n > 1) {
            CString number;
            number.Format("%d", n);
            candidate += number;
        }
        if (IsMissing(candidate))
            return candidate;
    }
    return CString();
}

// A copy that could not be written whole (a full disk) is no backup: it goes again. A backup name
// taken meanwhile by someone else is left alone.
bool CopyToBackup(const CString& path, const CString& backup)
{
    if (::CopyFileA(path, backup, TRUE))
        return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        ::DeleteFileA(backup);
    return false;
}

CString GetRuleFilePath()
{
    const CString module = GetModuleFilePath();
    if (module.IsEmpty())
        return module;
    return BuildRuleFilePath(module, GetLogonUserName());
}

BOOL CRuleItem::LoadFrom(CArchive& ar, DWORD version)
{
    ar >> m_bUse >> m_strName >> m_strFilter >> m_strFolder >> m_bSubfolders;
    if (version == RULE_FILE_VERSION)
        ar >> m_dwAttrMask;
    return ar.IsOK();
}

BOOL CRuleItem::StoreTo(CArchive& ar) const
{
    ar << m_bUse << m_strName << m_strFilter << m_strFolder << m_bSubfolders << m_dwAttrMask;
    return ar.IsOK();
}

BOOL CRuleGroup::LoadFrom(CArchive& ar, DWORD version)
{
    ar >> m_strName >> m_bUse;
    RemoveAllChildren();
    int count = 0;
    ar >> count;
    if (!ar.IsOK())
        return FALSE;
    for (int i = 0; i < count; ++i) {
        CRuleItem* item = new CRuleItem;
        if (!item->LoadFrom(ar, version)) {
            delete item;
            return FALSE;
        }
        AddChild(item);
    }
    return TRUE;
}

BOOL CRuleGroup::StoreTo(CArchive& ar) const
{
    ar << m_strName << m_bUse << static_cast<int>(m_children.size());
    for (const CRuleNode* item : m_children)
        static_cast<const CRuleItem*>(item)->StoreTo(ar);
    return ar.IsOK();
}

BOOL CRuleRoot::LoadFile()
{
    const CString module = GetModuleFilePath();
    if (module.IsEmpty())
        return FALSE;
    const CString user = GetLogonUserName();
    return LoadFileFrom(ChooseRuleFileToLoad(BuildRuleFilePath(module, user),
                                             BuildLegacyRuleFilePath(module, user)));
}

BOOL CRuleRoot::SaveFile()
{
    return SaveFileTo(GetRuleFilePath());
}

BOOL CRuleRoot::LoadFileFrom(const CString& path)
{
    m_strUnreadablePath.Empty();
    if (path.IsEmpty())
        return FALSE;
    CFile file;
    if (!file.Open(path, CFile::modeRead)) {
        const DWORD error = file.GetError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            m_strUnreadablePath = path;
        return FALSE;
    }
    const bool hasData = file.GetLength() > 0;
    CArchive ar(&file, CArchive::load);
    DWORD version = 0;
    int count = 0;
    ar >> version >> count;
    bool whole = ar.IsOK() != FALSE;
    for (int i = 0; whole && i < count; ++i) {
        CRuleGroup* group = new CRuleGroup;
        if (group->LoadFrom(ar, version)) {
            AddChild(group);
        } else {
            delete group;
            whole = false;
        }
    }
    // A negative count reads as no groups, and bytes after the last group are not read at all: a
    // flipped bit or a count cut short, whose groups the next save would drop without a trace. A
    // text the code page cannot carry would be saved without what it lost.
    if (count < 0 || !ar.IsAtEnd() || ar.HasLostCharacters())
        whole = false;
    if (!whole && hasData)
        m_strUnreadablePath = path;
    return whole;
}

BOOL CRuleRoot::SaveFileTo(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    // Windows refuses to replace a read-only file, but not every file system layer does; the mark
    // says the user wants this file kept as it is.
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FALSE;
    if (!m_strUnreadablePath.IsEmpty() && m_strUnreadablePath.CompareNoCase(path) == 0) {
        if (!IsMissing(path)) {
            const CString backup = FindFreeBackupPath(path);
            if (backup.IsEmpty() || !CopyToBackup(path, backup))
                return FALSE;
        }
        m_strUnreadablePath.Empty();
    }
    const CString temp = path + ".tmp";
    bool written = false;
    {
        CFile file;
        if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite))
            return FALSE;
        CArchive ar(&file, CArchive::store);
        ar << RULE_FILE_VERSION << static_cast<int>(m_children.size());
        for (const CRuleNode* group : m_children)
            static_cast<const CRuleGroup*>(group)->StoreTo(ar);
        written = ar.Flush() && file.Flush() && file.Close();
    }
    if (!written
        || !::MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temp);
        return FALSE;
    }
    return TRUE;
}
