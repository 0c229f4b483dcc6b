#include "framework/Archive.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/TestSupport.h"

TEST(Archive, EveryLengthPrefixFormRoundTrips)
{
    const struct {
        int length;
        std::string prefix;
    } cases[] = {
        {0, {'\0'}},
        {254, "\xFE"},
        {255, {'\xFF', '\xFF', '\0'}},
        {300, "\xFF\x2C\x01"},
        {65533, "\xFF\xFD\xFF"},
        {65534, {'\xFF', '\xFF', '\xFF', '\xFE', '\xFF', '\0', '\0'}},
        {70000, {'\xFF', '\xFF', '\xFF', '\x70', '\x11', '\x01', '\0'}},
    };
    TempFolder folder;
    const std::string path = folder / "archive.bin";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        CString text;
        for (int i = 0; i < c.length; ++i)
            text += "\x95\x5C\0b"[i % 4];
        {
            CFile file;
            ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
            CArchive ar(&file, CArchive::store);
            ar << text;
            EXPECT_TRUE(ar.Flush());
        }
        const std::string bytes = ReadFileBytes(path);
        ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<size_t>(c.length));
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);

        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        CArchive ar(&file, CArchive::load);
        CString read = "not read";
        ar >> read;
        EXPECT_EQ(read, text);
        EXPECT_TRUE(ar.IsOK());
    }
}
