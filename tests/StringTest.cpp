#include "framework/String.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringDoubleByte, MakeUpperChangesSingleByteLettersOnly)
{
    struct Case {
        CString in;
        CString out;
    } const cases[] = {
        {"main.obj", "MAIN.OBJ"},
        {"\x82\x61", "\x82\x61"},             // trail byte 'a' of a double-byte character
        {"\x95\x5C" "a", "\x95\x5C" "A"},     // trail byte "\" followed by a letter
        {"\x82\x81z", "\x82\x81Z"},           // full-width a stays as it is
        {"\xE0" "a" "b", "\xE0" "aB"},        // lead bytes reach up to 0xFF
        {"\xA0" "a", "\xA0" "A"},             // half-width katakana is single-byte
        {"z\x82", "Z\x82"},                   // a lone lead byte at the end
        {CString("\x82\0a", 3), CString("\x82\0A", 3)},  // a NUL is never a trail byte
    };
    for (const Case& c : cases) {
        CString s = c.in;
        EXPECT_EQ(s.MakeUpper(), c.out) << static_cast<LPCSTR>(c.in);
    }
}

TEST(StringDoubleByte, FindSkipsTrailBytesAndTrimTakesSingleByteWhiteSpaceOnly)
{
    const CString path = "C:\\dir\\\x95\x5C";
    EXPECT_EQ(path.ReverseFind('\\'), 6);
    EXPECT_EQ(CString("\x95\x5C").ReverseFind('\\'), -1);
    EXPECT_EQ(CString("\x95\x5C\\").Find('\\'), 2);
    EXPECT_EQ(CString("\x95\x5Cn\\n").Find("\\n"), 3);
    EXPECT_EQ(CString("abcabc").Find("bc", 2), 4);
    EXPECT_EQ(CString("abc").Find('c', 3), -1);

    CString s = " \t\r\n*.obj \v\f";
    EXPECT_EQ(s.TrimLeft().TrimRight(), "*.obj");

    CString wide = "\x81\x40*.obj\x81\x40";
    EXPECT_EQ(wide.TrimLeft().TrimRight(), "\x81\x40*.obj\x81\x40");

    CString trailSpace = "x\x81 ";
    EXPECT_EQ(trailSpace.TrimRight().GetLength(), 3);
}
