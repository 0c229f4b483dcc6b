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

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

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

TEST_F(ArchiveTest, Utf16FormIsConvertedToTheAnsiCodePage)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese ANSI code page";
    // "日本語ｶﾅ" in UTF-16LE, counted with the short and with the 16-bit unit count.
    const Bytes text = {0xE5, 0x65, 0x2C, 0x67, 0x9E, 0x8A, 0x76, 0xFF, 0x85, 0xFF};
    for (const Bytes& prefix : {Bytes{0xFF, 0xFE, 0xFF, 0x05}, Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x05, 0x00}}) {
        bool ok = false;
        EXPECT_EQ(Load(prefix + text, ok), "\x93\xFA\x96\x7B\x8C\xEA\xB6\xC5");
        EXPECT_TRUE(ok);
    }
}

TEST_F(ArchiveTest, DamagedLengthsFailWithoutReading)
{
    const Bytes cases[] = {
        {0x05, 'a', 'b'},                                        // shorter than declared
        {0xFF, 0x2C},                                            // prefix cut short
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'x'},         // 4 GiB - 1
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},  // 2 Gi UTF-16 units
        {0xFF, 0xFE, 0xFF, 0x02, 'a', 0x00},                     // odd UTF-16 remainder
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0x00},   // marker twice
    };
    for (const Bytes& bytes : cases) {
        bool ok = true;
        EXPECT_EQ(Load(bytes, ok), "") << bytes.size();
        EXPECT_FALSE(ok) << bytes.size();
    }
}

TEST_F(ArchiveTest, FailedWriteIsReported)
{
    Store("old");
    CFile file;
    ASSERT_TRUE(file.Open(m_path, CFile::modeRead));
    CArchive ar(&file, CArchive::store);
    ar << CString("text");
    EXPECT_FALSE(ar.Flush());
    EXPECT_FALSE(ar.IsOK());
}
