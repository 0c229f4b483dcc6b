#include "framework/Archive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "tests/TestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

class ArchiveTest : public testing::Test
{
protected:
    Bytes Store(const CString& text)
    {
        {
            CFile file;
            EXPECT_TRUE(file.Open(m_path, CFile::modeCreate | CFile::modeWrite));
            CArchive ar(&file, CArchive::store);
            ar << text;
            EXPECT_TRUE(ar.Flush());
        }
        std::ifstream in(static_cast<LPCSTR>(m_path), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    CString Load(const Bytes& bytes, bool& ok)
    {
        std::ofstream(static_cast<LPCSTR>(m_path), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        CFile file;
        EXPECT_TRUE(file.Open(m_path, CFile::modeRead));
        CArchive ar(&file, CArchive::load);
        CString text = "not read";
        ar >> text;
        ok = ar.IsOK() != FALSE;
        return text;
    }

    TempFolder m_folder;
    CString m_path = (m_folder / "archive.bin").c_str();
};

}

TEST_F(ArchiveTest, EveryLengthPrefixFormRoundTrips)
{
    struct Case {
        int length;
        Bytes prefix;
    } const cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        CString text;
        for (int i = 0; i < c.length; ++i)
            text += "\x95\x5C\0b"[i % 4];
        const Bytes bytes = Store(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<size_t>(c.length)) << c.length;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;
        bool ok = false;
        EXPECT_EQ(Load(bytes, ok), text) << c.length;
        EXPECT_TRUE(ok) << c.length;
    }
}
