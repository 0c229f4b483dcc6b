#pragma once

#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "engine/FilterEntry.h"
#include "framework/String.h"

class CArchive;
class CFileFind;
class CResultList;

// The version that SaveFile writes; items of files with any other version have no mask field.
const DWORD RULE_FILE_VERSION = 0x01000002;

enum RuleNodeKind
{
    NODE_ROOT = 1,
    NODE_ITEM = 2,
    NODE_GROUP = 4,
};

// A node of the rule tree: the root, its groups, and the items of each group, nothing deeper.
// A node owns its children and deletes them with itself.
class CRuleNode
{
public:
    using ChildList = std::list<CRuleNode*>;

    // Nonzero: go on with the operation; 0: the user asked to stop it.
    virtual int Run(CResultList* results, BOOL deleteFiles);
    virtual ~CRuleNode();

    CRuleNode(const CRuleNode&) = delete;
    CRuleNode& operator=(const CRuleNode&) = delete;

    BOOL IsKind(int mask) const { return (m_nKind & mask) != 0; }
    CRuleNode* GetParentNode() const { return m_pParent; }
    // Appends child and takes ownership of it.
    CRuleNode* AddChild(CRuleNode* child);
    // m_children.end() when child is not a child of this node.
    ChildList::iterator FindChild(CRuleNode* child);
    // Deletes child with its subtree; a pointer that is not a child changes nothing.
    void RemoveChild(CRuleNode* child);
    void RemoveAllChildren();

    int m_nKind = 0;
    int m_bUse = 1;
    CString m_strName;
    ChildList m_children;
    CRuleNode* m_pParent = nullptr;

protected:
    explicit CRuleNode(int kind) : m_nKind(kind) {}
};

// One cleaning rule. Its members are defined beside the work they do: the model in RuleNode.cpp,
// reading and writing its record in RuleFile.cpp, the filter and its matching in
// engine/FilterMatch.cpp, the walk of its folder in engine/FolderScan.cpp.
class CRuleItem : public CRuleNode
{
public:
    CRuleItem();

    int Run(CResultList* results, BOOL deleteFiles) override;
    int SearchFolder(CResultList* results, BOOL deleteFiles, const CString& folder);

    BOOL CompileFilter();
    BOOL MatchEntry(const CFilterEntry& entry, CString name) const;
    BOOL IsAttributeAllowed(const CFileFind& file, DWORD attr) const;
    BOOL MatchFile(const CFileFind& file) const;
    // MatchFile's decision for a file of that name and those attribute bits.
    BOOL MatchName(const CString& name, DWORD attributes) const;

    // Only records of version RULE_FILE_VERSION hold the mask; older ones leave it at 0x827.
    BOOL LoadFrom(CArchive& ar, DWORD version);
    BOOL StoreTo(CArchive& ar) const;

    static void SetStopFlag(int value) { s_nStopFlag = value; }
    static int GetStopFlag() { return s_nStopFlag; }

    std::vector<CFilterEntry> m_filterEntries;
    CString m_strFilter;
    CString m_strFolder;
    int m_bSubfolders = 1;
    DWORD m_dwAttrMask = 0x827;

private:
    // Walks the folder that find has started on; strResolvedFolder is what it resolves to.
    int SearchFound(CResultList* results, BOOL deleteFiles, CFileFind& find,
                    const std::wstring& strResolvedFolder);
    int SearchSubfolder(CResultList* results, BOOL deleteFiles, const CFileFind& entry,
                        const std::wstring& strParentResolved);

    static int s_nStopFlag;
};

class CRuleGroup : public CRuleNode
{
public:
    // A new group holds one default item.
    CRuleGroup();

    int Run(CResultList* results, BOOL deleteFiles) override;
    BOOL HasUsedItem() const;

    // Reading replaces the group's items with those of the record. FALSE when the record is not
    // whole; the items read so far stay in the group.
    BOOL LoadFrom(CArchive& ar, DWORD version);
    BOOL StoreTo(CArchive& ar) const;
};

class CRuleRoot : public CRuleNode
{
public:
    // A new root holds one default group.
    CRuleRoot();

    BOOL HasWork(BOOL all, CRuleNode* selected) const;
    int RunTree(CResultList* results, BOOL deleteFiles, CRuleNode* selected, BOOL all);

    // The current user's rule file beside the executable (GetRuleFilePath).
    BOOL LoadFile();
    BOOL SaveFile();

    // Appends the groups read in full. FALSE unless the file was read whole: every record that it
    // declares, no negative group count, and no bytes after the last group.
    BOOL LoadFileFrom(const CString& path);
    // Writes a new file beside path and puts it in place of path only once it is complete, so a
    // failed save leaves the old file as it was. A file that the last load found present but could
    // not read is first copied to a backup (see RuleFile.h); when that copy fails, path is left
    // alone and FALSE is returned.
    BOOL SaveFileTo(const CString& path);

private:
    // The file that the last load found present but could not read whole, until it is backed up.
    CString m_strUnreadablePath;
};
