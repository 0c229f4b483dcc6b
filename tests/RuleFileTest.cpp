#include "rules/RuleFile.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "rules/RuleNode.h"
#include "tests/TestSupport.h"

namespace {

const char kDefaultFilter[] = "*.obj;*.ilk;*.pdb;*.idb;*.pch;*.res;*.sbr;*.bsc";

// Builds rule-file images by hand, independently of the code under test.
struct Image
{
    Image& U32(DWORD value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(value >> shift);
        return *this;
    }
    Image& Str(const std::string& text) { return Raw(static_cast<char>(text.size()) + text); }
    Image& Raw(const std::string& raw)
    {
        bytes += raw;
        return *this;
    }
    Image& Group(const std::string& name, DWORD use, DWORD items)
    {
        return Str(name).U32(use).U32(items);
    }
    // An item marked for use; version 1 files have no attribute mask.
    Image& Item(const std::string& name, bool withMask = true, DWORD mask = 0x827)
    {
        U32(1).Str(name).Str(kDefaultFilter).Str("C:\\temp").U32(1);
        return withMask ? U32(mask) : *this;
    }
    std::string bytes;
};

// An image of the current format, after its version word.
Image Version2() { return Image().U32(0x01000002); }

class RuleFileTest : public testing::Test
{
protected:
    void SetUp() override { m_root.RemoveAllChildren(); }

    // Loads the image into m_root, emptied first.
    BOOL LoadImage(const std::string& bytes)
    {
        m_root.RemoveAllChildren();
        WriteFileBytes(m_path, bytes);
        return m_root.LoadFileFrom(m_path.c_str());
    }

    CRuleNode* Group(int n) { return *std::next(m_root.m_children.begin(), n); }
    CRuleItem* Item(int group, int n)
    {
        return static_cast<CRuleItem*>(*std::next(Group(group)->m_children.begin(), n));
    }

    TempFolder m_folder;
    std::string m_path = m_folder / "guest.dat";
    CRuleRoot m_root;
};

}

TEST_F(RuleFileTest, MissingFileLoadsNothingAndTheDefaultTreeIsSavedAsTheNinetyFiveByteFile)
{
    CRuleRoot root;
    EXPECT_FALSE(root.LoadFileFrom(m_path.c_str()));
    ASSERT_TRUE(root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path), Version2().U32(1).Group("Group", 1, 1).Item("Item").bytes);
    EXPECT_EQ(ReadFileBytes(m_path).size(), 95u);
    EXPECT_FALSE(PathExists(m_path + ".tmp"));
    // A file that was not there needs no backup.
    EXPECT_FALSE(PathExists(m_path + ".bak"));
}

TEST_F(RuleFileTest, EveryFieldIsReadAndWrittenBackByteForByteAndAnOlderVersionAsCurrent)
{
    Image image = Version2();
    image.U32(2).Group("\x95\xAA\x97\xDE", 0, 1).U32(5).Str("").Str("*.\x95\x5C;");
    image.Raw("\xFF\x2C\x01").Raw(std::string(300, 'f')).U32(0).U32(0x10).Group("", 1, 0);
    ASSERT_TRUE(LoadImage(image.bytes));
    ASSERT_EQ(m_root.m_children.size(), 2u);
    EXPECT_EQ(Group(0)->m_strName, "\x95\xAA\x97\xDE");
    EXPECT_EQ(Group(0)->m_bUse, 0);
    ASSERT_EQ(Group(0)->m_children.size(), 1u);
    const CRuleItem* item = Item(0, 0);
    EXPECT_EQ(item->GetParentNode(), Group(0));
    EXPECT_EQ(item->m_bUse, 5);
    EXPECT_TRUE(item->m_strName.IsEmpty());
    EXPECT_EQ(item->m_strFilter, "*.\x95\x5C;");
    EXPECT_EQ(item->m_strFolder, CString('f', 300));
    EXPECT_EQ(item->m_bSubfolders, 0);
    EXPECT_EQ(item->m_dwAttrMask, 0x10u);
    EXPECT_TRUE(Group(1)->m_children.empty());

    ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path), image.bytes);

    // The older version has no mask, and is saved as the current one.
    ASSERT_TRUE(LoadImage(Image().U32(1).U32(1).Group("G", 1, 2).Item("a", false).Item("b", false)
                              .bytes));
    ASSERT_EQ(Group(0)->m_children.size(), 2u);
    EXPECT_EQ(Item(0, 0)->m_strName, "a");
    EXPECT_EQ(Item(0, 1)->m_dwAttrMask, 0x827u);

    Item(0, 1)->m_dwAttrMask = 0x21;
    ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path),
              Version2().U32(1).Group("G", 1, 2).Item("a").Item("b", true, 0x21).bytes);
}

TEST_F(RuleFileTest, OddCountsLoadAndAbsurdOnesFailAtOnceKeepingWholeGroups)
{
    const std::string hugeString(7, '\xFF');
    const std::string hugeUtf16 = "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\x7F";
    struct Case {
        std::string bytes;
        BOOL loads;
        size_t groups, itemsOfFirst;
    } const cases[] = {
        {Version2().U32(0).bytes, TRUE, 0, 0},
        // A flipped top bit, and bytes that no count declares, are damage to keep.
        {Version2().U32(0xFFFFFFFF).bytes, FALSE, 0, 0},
        {Version2().U32(1).Group("G", 1, 0).bytes, TRUE, 1, 0},
        {Version2().U32(1).Group("G", 1, 0x80000000).bytes, TRUE, 1, 0},
        {Version2().U32(1).Group("G", 1, 1).Item("i").Raw("\1\2\3\4\5").bytes, FALSE, 1, 1},
        {Version2().U32(0x7FFFFFFF).Group("g", 1, 1).Item("i").bytes, FALSE, 1, 1},
        {Version2().U32(2).Group("g", 1, 0x7FFFFFFF).Item("i").bytes, FALSE, 0, 0},
        {Version2().U32(1).Raw(hugeString).U32(1).U32(0).bytes, FALSE, 0, 0},
        {Version2().U32(1).Raw(hugeUtf16).U32(1).U32(0).bytes, FALSE, 0, 0},
        {Version2().U32(2).Group("g", 1, 0).Group("h", 1, 1).U32(1).Str("i").Raw(hugeString).bytes,
         FALSE, 1, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(LoadImage(cases[i].bytes), cases[i].loads);
        ASSERT_EQ(m_root.m_children.size(), cases[i].groups);
        if (cases[i].groups) {
            EXPECT_EQ(Group(0)->m_children.size(), cases[i].itemsOfFirst);
        }
    }
}

// Best fit would read "¥" as a backslash, so that the folder names another folder, and an emoji as
// "?": the close would write both back, with no copy of what the file held.
TEST_F(RuleFileTest, Utf16TextsAreReadAsAnsiAndThoseTheCodePageCannotCarryLoseNothing)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    const auto utf16 = [](const std::wstring& text) {
        std::string bytes = "\xFF\xFE\xFF" + std::string(1, static_cast<char>(text.size()));
        for (WCHAR unit : text)
            bytes += {static_cast<char>(unit), static_cast<char>(unit >> 8)};
        return bytes;
    };
    ASSERT_TRUE(LoadImage(Version2().U32(1).Raw(utf16(L"\x5206\x985E")).U32(1).U32(0).bytes));
    EXPECT_EQ(Group(0)->m_strName, "\x95\xAA\x97\xDE");
    ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path), Version2().U32(1).Group("\x95\xAA\x97\xDE", 1, 0).bytes);

    Image image = Version2();
    image.U32(1).Group("g", 1, 1).U32(1).Raw(utf16(L"\x540D\x524D\xD83D\xDE00")).Str("*.obj");
    image.Raw(utf16(L"C:\\item\x00A5..\x00A5outside")).U32(1).U32(0x827);
    EXPECT_FALSE(LoadImage(image.bytes));
    ASSERT_EQ(m_root.m_children.size(), 1u);
    EXPECT_EQ(Item(0, 0)->m_strName, "\x96\xBC\x91\x4F\x1A");
    EXPECT_EQ(Item(0, 0)->m_strFolder, "C:\\item\x1A..\x1A" "outside");
    ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path + ".bak"), image.bytes);
}

TEST_F(RuleFileTest, TruncatedFileKeepsTheGroupsReadInFull)
{
    Image image = Version2();
    image.U32(2).Group("first", 1, 1).Item("a");
    const size_t firstEnd = image.bytes.size();
    image.Group("second", 1, 2).Item("b").Item("c");
    for (size_t cut = 0; cut < image.bytes.size(); ++cut) {
        EXPECT_FALSE(LoadImage(image.bytes.substr(0, cut))) << cut;
        ASSERT_EQ(m_root.m_children.size(), cut >= firstEnd ? 1u : 0u) << cut;
        if (cut >= firstEnd) {
            EXPECT_EQ(Group(0)->m_strName, "first");
            EXPECT_EQ(Group(0)->m_children.size(), 1u);
        }
    }
}

TEST_F(RuleFileTest, FailedSaveLeavesTheOldFile)
{
    const std::string old = Version2().U32(0).bytes;
    CRuleRoot root;

    WriteFileBytes(m_path, old);
    ASSERT_TRUE(CreateDirectoryA((m_path + ".tmp").c_str(), nullptr));
    EXPECT_FALSE(root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path), old);
    RemoveDirectoryA((m_path + ".tmp").c_str());

    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(root.SaveFileTo(m_path.c_str()));
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(m_path), old);
    EXPECT_FALSE(PathExists(m_path + ".tmp"));

    EXPECT_FALSE(root.SaveFileTo((m_folder / "missing\\guest.dat").c_str()));
}

TEST_F(RuleFileTest, DamagedFileIsBackedUpBeforeItIsReplaced)
{
    const std::string cutShort = Version2().U32(3).Group("g", 1, 0).Raw("\x09x").bytes;
    const std::string negativeCount = Version2().U32(0x80000001).Group("g", 1, 0).bytes;
    const std::string countTooSmall = Version2().U32(1).Group("g", 1, 0).Group("h", 1, 0).bytes;
    for (const std::string& damaged : {cutShort, negativeCount, countTooSmall}) {
        m_root.RemoveAllChildren();
        WriteFileBytes(m_path, damaged);
        WriteFileBytes(m_path + ".bak", "old");
        DeleteFileA((m_path + ".bak2").c_str());

        ASSERT_FALSE(m_root.LoadFileFrom(m_path.c_str()));
        ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
        EXPECT_EQ(ReadFileBytes(m_path + ".bak"), "old");
        EXPECT_EQ(ReadFileBytes(m_path + ".bak2"), damaged);

        ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
        EXPECT_FALSE(PathExists(m_path + ".bak3"));
    }
    EXPECT_EQ(ReadFileBytes(m_path), Version2().U32(1).Group("g", 1, 0).bytes);
}

#if defined(__x86_64__)
namespace {

// A raw x86-64 Linux system call; r10 carries rt_sigaction's signal set size.
long long Syscall(long long number, const void* a, const void* b, const void* c = nullptr)
{
    long long result;
    register long long r10 asm("r10") = 8;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(number), "D"(a), "S"(b), "d"(c), "r"(r10)
                 : "rcx", "r11", "memory");
    return result;
}

}  // namespace

// Under Wine this program is also a Linux process, and the kernel's limit on the size of a file
// makes every write past it fail as a full disk does; SIGXFSZ, which would end the process, is
// ignored meanwhile.
TEST_F(RuleFileTest, BackupThatCannotBeWrittenWholeIsRemoved)
{
    const long long kSigAction = 13, kGetLimit = 97, kSetLimit = 160;
    const void* const kSigXFsz = reinterpret_cast<const void*>(25);
    const void* const kFileSizeLimit = reinterpret_cast<const void*>(1);
    const std::string damaged =
        Version2().U32(2).Group("g", 1, 0).Raw(std::string(300000, 'x')).bytes;
    WriteFileBytes(m_path, damaged);
    ASSERT_FALSE(m_root.LoadFileFrom(m_path.c_str()));

    const unsigned long long ignore[4] = {1, 0, 0, 0};
    unsigned long long previousAction[4] = {}, previousLimit[2] = {};
    Syscall(kSigAction, kSigXFsz, ignore, previousAction);
    Syscall(kGetLimit, kFileSizeLimit, previousLimit);
    const unsigned long long limit[2] = {100000, previousLimit[1]};
    const bool bLimited = Syscall(kSetLimit, kFileSizeLimit, limit) == 0;
    const BOOL bSaved = m_root.SaveFileTo(m_path.c_str());
    Syscall(kSetLimit, kFileSizeLimit, previousLimit);
    Syscall(kSigAction, kSigXFsz, previousAction);

    ASSERT_TRUE(bLimited);
    EXPECT_FALSE(bSaved);
    EXPECT_FALSE(PathExists(m_path + ".bak"));
    EXPECT_EQ(ReadFileBytes(m_path), damaged);
}
#endif

TEST_F(RuleFileTest, LockedFileIsReplacedOnlyOnceItCouldBeCopied)
{
    const std::string original = Version2().U32(1).Group("mine", 1, 0).bytes;
    WriteFileBytes(m_path, original);
    HANDLE lock = CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(m_root.LoadFileFrom(m_path.c_str()));
    m_root.AddChild(new CRuleGroup);
    EXPECT_FALSE(m_root.SaveFileTo(m_path.c_str()));
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(m_path), original);
    EXPECT_FALSE(PathExists(m_path + ".tmp"));

    ASSERT_TRUE(m_root.SaveFileTo(m_path.c_str()));
    EXPECT_EQ(ReadFileBytes(m_path + ".bak"), original);
    EXPECT_EQ(ReadFileBytes(m_path), Version2().U32(1).Group("Group", 1, 1).Item("Item").bytes);
}

TEST_F(RuleFileTest, PathIsTheExecutablesFolderPlusTheWholeUserNameOrTheSharedLegacyFile)
{
    // The executable's folder, the user, and the names of the rule file and the legacy file.
    const struct {
        CString folder, user, file, legacy;
    } cases[] = {
        {"D:\\Tools\\", "guest", "guest.dat", "guest.dat"},
        {"D:\\Tools\\", "fourteen-chars", "fourteen-chars.dat", "fourteen-chars.dat"},
        {"D:\\Tools\\", "fifteen-chars-x", "fifteen-chars-x.dat", ".dat"},
        {"D:\\Tools\\", "a-user-name-of-twenty", "a-user-name-of-twenty.dat", ".dat"},
        {"D:\\Tools\\", "", ".dat", ".dat"},
        {"D:\\\x95\x5C\\", "guest", "guest.dat", "guest.dat"},
        // In the code page 0x80 is a character of its own, and the backslash after it a separator.
        {"D:\\d\x80\\", "guest", "guest.dat", "guest.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<LPCSTR>(c.user));
        EXPECT_EQ(BuildRuleFilePath(c.folder + "Scourly.exe", c.user), c.folder + c.file);
        EXPECT_EQ(BuildLegacyRuleFilePath(c.folder + "Scourly.exe", c.user), c.folder + c.legacy);
    }
    // The second byte 0x5C of a double-byte character is no separator: no folder at all.
    EXPECT_EQ(BuildRuleFilePath("D:\x95\x5CScourly.exe", "guest"), "guest.dat");
    EXPECT_EQ(BuildLegacyRuleFilePath("D:\x95\x5CScourly.exe", "guest"), "guest.dat");

    // A user whose name the legacy file cannot carry starts from it until the own file exists.
    const CString path = m_path.c_str(), legacy = (m_folder / ".dat").c_str();
    EXPECT_EQ(ChooseRuleFileToLoad(path, legacy), path);
    WriteFileBytes(static_cast<LPCSTR>(legacy), "x");
    EXPECT_EQ(ChooseRuleFileToLoad(path, legacy), legacy);
    WriteFileBytes(m_path, "x");
    EXPECT_EQ(ChooseRuleFileToLoad(path, legacy), path);
}
