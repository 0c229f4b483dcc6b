#include "rules/RuleFile.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "framework/File.h"
#include "rules/RuleNode.h"
#include "tests/TestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char kDefaultFilter[] = "*.obj;*.ilk;*.pdb;*.idb;*.pch;*.res;*.sbr;*.bsc";

// Builds rule-file images by hand, independently of the code under test.
struct Image
{
    Image& U32(DWORD value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<unsigned char>(value >> shift));
        return *this;
    }
    Image& Str(const std::string& text)
    {
        bytes.push_back(static_cast<unsigned char>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Image& Raw(const Bytes& raw)
    {
        bytes.insert(bytes.end(), raw.begin(), raw.end());
        return *this;
    }
    Image& Group(const std::string& name, DWORD use, DWORD items)
    {
        return Str(name).U32(use).U32(items);
    }
    Image& Item(const std::string& name, bool withMask = true, DWORD mask = 0x827)
    {
        Str(name).Str(kDefaultFilter).Str("C:\\temp").U32(1);
        return withMask ? U32(mask) : *this;
    }
    Image& UsedItem(const std::string& name, bool withMask = true, DWORD mask = 0x827)
    {
        U32(1);
        return Item(name, withMask, mask);
    }
    Bytes bytes;
};

class RuleFileTest : public testing::Test
{
protected:
    void SetUp() override { m_root.RemoveAllChildren(); }

    static void Write(const CString& path, const Bytes& bytes)
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(file.Write(bytes.data(), static_cast<UINT>(bytes.size())));
    }

    static Bytes Read(const CString& path)
    {
        CFile file;
        if (!file.Open(path, CFile::modeRead))
            return Bytes{0xDE, 0xAD};
        Bytes bytes(static_cast<size_t>(file.GetLength()));
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }

    // Loads the image into m_root, emptied first.
    BOOL LoadImage(const Bytes& bytes)
    {
        m_root.RemoveAllChildren();
        Write(m_path, bytes);
        return m_root.LoadFileFrom(m_path);
    }

    static bool Exists(const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

    CRuleNode* Group(int n) { return *std::next(m_root.m_children.begin(), n); }
    CRuleItem* Item(int group, int n)
    {
        return static_cast<CRuleItem*>(*std::next(Group(group)->m_children.begin(), n));
    }

    TempFolder m_folder;
    CString m_path = (m_folder / "guest.dat").c_str();
    CRuleRoot m_root;
};

}

TEST_F(RuleFileTest, DefaultTreeIsTheNinetyFiveByteFile)
{
    CRuleRoot root;
    ASSERT_TRUE(root.SaveFileTo(m_path));
    const Bytes expected = {
        0x02, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05, 'G', 'r', 'o', 'u', 'p',
        0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x04, 'I', 't', 'e', 'm', 0x2F,
        '*', '.', 'o', 'b', 'j', ';', '*', '.', 'i', 'l', 'k', ';', '*', '.', 'p', 'd', 'b', ';',
        '*', '.', 'i', 'd', 'b', ';', '*', '.', 'p', 'c', 'h', ';', '*', '.', 'r', 'e', 's', ';',
        '*', '.', 's', 'b', 'r', ';', '*', '.', 'b', 's', 'c',
        0x07, 'C', ':', '\\', 't', 'e', 'm', 'p', 0x01, 0x00, 0x00, 0x00, 0x27, 0x08, 0x00, 0x00,
    };
    EXPECT_EQ(expected.size(), 95u);
    EXPECT_EQ(Read(m_path), expected);
    EXPECT_FALSE(Exists(m_path + ".tmp"));
}

TEST_F(RuleFileTest, EveryFieldRoundTrips)
{
    CRuleRoot root;
    auto* group = static_cast<CRuleGroup*>(root.m_children.front());
    group->m_strName = "\x95\xAA\x97\xDE";
    group->m_bUse = 0;
    auto* item = static_cast<CRuleItem*>(group->m_children.front());
    item->m_bUse = 5;
    item->m_strName.Empty();
    item->m_strFilter = "*.\x95\x5C;";
    item->m_strFolder = CString('f', 300);
    item->m_bSubfolders = 0;
    item->m_dwAttrMask = 0x10;
    auto* empty = static_cast<CRuleGroup*>(root.AddChild(new CRuleGroup));
    empty->RemoveAllChildren();
    ASSERT_TRUE(root.SaveFileTo(m_path));

    ASSERT_TRUE(m_root.LoadFileFrom(m_path));
    ASSERT_EQ(m_root.m_children.size(), 2u);
    EXPECT_EQ(Group(0)->m_strName, "\x95\xAA\x97\xDE");
    EXPECT_EQ(Group(0)->m_bUse, 0);
    ASSERT_EQ(Group(0)->m_children.size(), 1u);
    const CRuleItem* loaded = Item(0, 0);
    EXPECT_EQ(loaded->m_bUse, 5);
    EXPECT_TRUE(loaded->m_strName.IsEmpty());
    EXPECT_EQ(loaded->m_strFilter, item->m_strFilter);
    EXPECT_EQ(loaded->m_strFolder, item->m_strFolder);
    EXPECT_EQ(loaded->m_bSubfolders, 0);
    EXPECT_EQ(loaded->m_dwAttrMask, 0x10u);
    EXPECT_EQ(loaded->GetParentNode(), Group(0));
    EXPECT_TRUE(Group(1)->m_children.empty());
}

TEST_F(RuleFileTest, OlderVersionHasNoMaskAndIsSavedAsCurrent)
{
    ASSERT_TRUE(LoadImage(Image().U32(1).U32(1).Group("G", 1, 2).UsedItem("a", false).UsedItem("b", false).bytes));
    ASSERT_EQ(Group(0)->m_children.size(), 2u);
    EXPECT_EQ(Item(0, 0)->m_strName, "a");
    EXPECT_EQ(Item(0, 1)->m_dwAttrMask, 0x827u);

    Item(0, 1)->m_dwAttrMask = 0x21;
    ASSERT_TRUE(m_root.SaveFileTo(m_path));
    EXPECT_EQ(Read(m_path), Image().U32(0x01000002).U32(1).Group("G", 1, 2).UsedItem("a").UsedItem("b", true, 0x21).bytes);
}

TEST_F(RuleFileTest, EmptyCountsAndTrailingBytesLoad)
{
    struct Case {
        Bytes bytes;
        size_t groups;
        size_t itemsOfFirst;
    } const cases[] = {
        {Image().U32(0x01000002).U32(0).bytes, 0, 0},
        {Image().U32(0x01000002).U32(0xFFFFFFFF).bytes, 0, 0},
        {Image().U32(0x01000002).U32(1).Group("G", 1, 0).bytes, 1, 0},
        {Image().U32(0x01000002).U32(1).Group("G", 1, 0x80000000).bytes, 1, 0},
        {Image().U32(0x01000002).U32(1).Group("G", 1, 1).UsedItem("i").Raw({1, 2, 3, 4, 5}).bytes, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(LoadImage(c.bytes)) << c.bytes.size();
        ASSERT_EQ(m_root.m_children.size(), c.groups) << c.bytes.size();
        if (c.groups) {
            EXPECT_EQ(Group(0)->m_children.size(), c.itemsOfFirst) << c.bytes.size();
        }
    }
}

TEST_F(RuleFileTest, Utf16NameIsReadAndSavedAsAnsi)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    const Bytes utf16Name = {0xFF, 0xFE, 0xFF, 0x02, 0x06, 0x52, 0x5E, 0x98};
    ASSERT_TRUE(LoadImage(Image().U32(0x01000002).U32(1).Raw(utf16Name).U32(1).U32(0).bytes));
    EXPECT_EQ(Group(0)->m_strName, "\x95\xAA\x97\xDE");
    ASSERT_TRUE(m_root.SaveFileTo(m_path));
    EXPECT_EQ(Read(m_path), Image().U32(0x01000002).U32(1).Group("\x95\xAA\x97\xDE", 1, 0).bytes);
}

TEST_F(RuleFileTest, TruncatedFileKeepsTheGroupsReadInFull)
{
    Image image;
    image.U32(0x01000002).U32(2).Group("first", 1, 1).UsedItem("a");
    const size_t firstEnd = image.bytes.size();
    image.Group("second", 1, 2).UsedItem("b").UsedItem("c");
    const Bytes whole = image.bytes;
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        EXPECT_FALSE(LoadImage(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)))) << cut;
        ASSERT_EQ(m_root.m_children.size(), cut >= firstEnd ? 1u : 0u) << cut;
        if (cut >= firstEnd) {
            EXPECT_EQ(Group(0)->m_strName, "first");
            EXPECT_EQ(Group(0)->m_children.size(), 1u);
        }
    }
}

TEST_F(RuleFileTest, AbsurdCountsAndLengthsFailAtOnce)
{
    const Bytes hugeString = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes hugeUtf16 = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    struct Case {
        Bytes bytes;
        size_t groupsKept;
    } const cases[] = {
        {Image().U32(0x01000002).U32(0x7FFFFFFF).Group("g", 1, 1).UsedItem("i").bytes, 1},
        {Image().U32(0x01000002).U32(2).Group("g", 1, 0x7FFFFFFF).UsedItem("i").bytes, 0},
        {Image().U32(0x01000002).U32(1).Raw(hugeString).U32(1).U32(0).bytes, 0},
        {Image().U32(0x01000002).U32(1).Raw(hugeUtf16).U32(1).U32(0).bytes, 0},
        {Image().U32(0x01000002).U32(2).Group("g", 1, 0).Group("h", 1, 1).U32(1).Str("i").Raw(hugeString).bytes, 1},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(LoadImage(c.bytes)) << c.bytes.size();
        EXPECT_EQ(m_root.m_children.size(), c.groupsKept) << c.bytes.size();
    }
}

TEST_F(RuleFileTest, MissingFileLoadsNothingAndNeedsNoBackup)
{
    EXPECT_FALSE(m_root.LoadFileFrom(m_path));
    EXPECT_TRUE(m_root.m_children.empty());
    m_root.AddChild(new CRuleGroup);
    ASSERT_TRUE(m_root.SaveFileTo(m_path));
    EXPECT_FALSE(Exists(m_path + ".bak"));
}

TEST_F(RuleFileTest, FailedSaveLeavesTheOldFile)
{
    const Bytes old = Image().U32(0x01000002).U32(0).bytes;
    CRuleRoot root;

    Write(m_path, old);
    ASSERT_TRUE(CreateDirectoryA(m_path + ".tmp", nullptr));
    EXPECT_FALSE(root.SaveFileTo(m_path));
    EXPECT_EQ(Read(m_path), old);
    RemoveDirectoryA(m_path + ".tmp");

    SetFileAttributesA(m_path, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(root.SaveFileTo(m_path));
    SetFileAttributesA(m_path, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Read(m_path), old);
    EXPECT_FALSE(Exists(m_path + ".tmp"));

    HANDLE lock = CreateFileA(m_path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(root.SaveFileTo(m_path));
    CloseHandle(lock);
    EXPECT_EQ(Read(m_path), old);
    EXPECT_FALSE(Exists(m_path + ".tmp"));

    EXPECT_FALSE(root.SaveFileTo((m_folder / "missing\\guest.dat").c_str()));
}

TEST_F(RuleFileTest, DamagedFileIsBackedUpBeforeItIsReplaced)
{
    const Bytes damaged = Image().U32(0x01000002).U32(3).Group("g", 1, 0).Raw({0x09, 'x'}).bytes;
    const Bytes olderBackup = {'o', 'l', 'd'};
    Write(m_path, damaged);
    Write(m_path + ".bak", olderBackup);

    ASSERT_FALSE(m_root.LoadFileFrom(m_path));
    ASSERT_TRUE(m_root.SaveFileTo(m_path));
    EXPECT_EQ(Read(m_path + ".bak"), olderBackup);
    EXPECT_EQ(Read(m_path + ".bak2"), damaged);
    EXPECT_EQ(Read(m_path), Image().U32(0x01000002).U32(1).Group("g", 1, 0).bytes);

    ASSERT_TRUE(m_root.SaveFileTo(m_path));
    EXPECT_FALSE(Exists(m_path + ".bak3"));
}

TEST_F(RuleFileTest, LockedFileIsReplacedOnlyOnceItCouldBeCopied)
{
    const Bytes original = Image().U32(0x01000002).U32(1).Group("mine", 1, 0).bytes;
    Write(m_path, original);
    HANDLE lock = CreateFileA(m_path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(m_root.LoadFileFrom(m_path));
    m_root.AddChild(new CRuleGroup);
    EXPECT_FALSE(m_root.SaveFileTo(m_path));
    CloseHandle(lock);
    EXPECT_EQ(Read(m_path), original);

    ASSERT_TRUE(m_root.SaveFileTo(m_path));
    EXPECT_EQ(Read(m_path + ".bak"), original);
    EXPECT_NE(Read(m_path), original);
}

TEST(RuleFilePath, FolderOfTheExecutablePlusTheWholeUserName)
{
    const CString longName = "a-user-name-of-twenty";
    struct Case {
        CString module;
        CString user;
        CString path;
        CString legacy;
    } const cases[] = {
        {"D:\\Tools\\Scourly.exe", "guest", "D:\\Tools\\guest.dat", "D:\\Tools\\guest.dat"},
        {"D:\\Tools\\Scourly.exe", "fourteen-chars", "D:\\Tools\\fourteen-chars.dat",
         "D:\\Tools\\fourteen-chars.dat"},
        {"D:\\Tools\\Scourly.exe", "fifteen-chars-x", "D:\\Tools\\fifteen-chars-x.dat", "D:\\Tools\\.dat"},
        {"D:\\Tools\\Scourly.exe", longName, "D:\\Tools\\" + longName + ".dat", "D:\\Tools\\.dat"},
        {"D:\\Tools\\Scourly.exe", "", "D:\\Tools\\.dat", "D:\\Tools\\.dat"},
        {"D:\\\x95\x5C\\Scourly.exe", "guest", "D:\\\x95\x5C\\guest.dat", "D:\\\x95\x5C\\guest.dat"},
        {"D:\x95\x5CScourly.exe", "guest", "guest.dat", "guest.dat"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildRuleFilePath(c.module, c.user), c.path) << static_cast<LPCSTR>(c.user);
        EXPECT_EQ(BuildLegacyRuleFilePath(c.module, c.user), c.legacy) << static_cast<LPCSTR>(c.user);
    }
}

TEST_F(RuleFileTest, LongNamedUserStartsFromTheSharedLegacyFile)
{
    const CString legacy = (m_folder / ".dat").c_str();
    EXPECT_EQ(ChooseRuleFileToLoad(m_path, legacy), m_path);
    Write(legacy, {0});
    EXPECT_EQ(ChooseRuleFileToLoad(m_path, legacy), legacy);
    Write(m_path, {0});
    EXPECT_EQ(ChooseRuleFileToLoad(m_path, legacy), m_path);
}
