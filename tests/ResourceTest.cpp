#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"

namespace {

const BITMAPINFOHEADER* BitmapHeader(UINT id)
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    return loaded ? static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)) : nullptr;
}

// The colour of a pixel of a 4- or 8-bit bitmap; rows are stored bottom-up.
COLORREF PixelAt(const BITMAPINFOHEADER* header, int x, int y)
{
    const BYTE* palette = reinterpret_cast<const BYTE*>(header) + header->biSize;
    const DWORD colours = header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount;
    const BYTE* bits = palette + 4 * colours;
    const int stride = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
    const BYTE* row = bits + (header->biHeight - 1 - y) * stride;
    const int nibble = x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    const int index = header->biBitCount == 8 ? row[x] : nibble;
    const BYTE* bgr = palette + 4 * index;
    return RGB(bgr[2], bgr[1], bgr[0]);
}

// The pictures are drawn from text art at build time; what the controls rely on is the colour they
// take for transparent.
TEST(ResourceBitmaps, TransparentColoursAreWhereTheControlsLookForThem)
{
    for (UINT id : {IDB_VERSION, IDB_LIST_ALL, IDB_RUN_ALL, IDB_STOP, IDB_EXIT, IDB_ADD_GROUP,
                    IDB_DELETE_GROUP, IDB_ADD_ITEM, IDB_DELETE_ITEM, IDB_NEW_RULES,
                    IDB_LIST_SELECTED, IDB_RUN_SELECTED}) {
        const BITMAPINFOHEADER* header = BitmapHeader(id);
        ASSERT_NE(header, nullptr) << id;
        EXPECT_EQ(PixelAt(header, 0, 0), RGB(0xC0, 0xC0, 0xC0)) << "the toolbar's, bitmap " << id;
    }
    // The tree cuts the check marks 13 pixels wide and takes white for transparent.
    for (int x : {0, 13, 26})
        EXPECT_EQ(PixelAt(BitmapHeader(IDB_CHECKMARKS), x, 0), RGB(255, 255, 255)) << x;
}

}  // namespace
