#include "engine/ResultList.h"

#include <gtest/gtest.h>

#include "engine/FileDeletion.h"
#include "engine/ResultFormat.h"
#include "framework/FileFind.h"
#include "res/resource.h"
#include "tests/ResultHost.h"
#include "tests/TestSupport.h"

namespace {

// Adds every file of the folder, in the order the search returns them; the view shows them once
// the status changes.
void AddAll(CResultList& results, const std::string& folder)
{
    CFileFind find;
    BOOL more = find.FindFile((folder + "\\*.*").c_str());
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDirectory())
            results.AddFile(find, ResolveFolderPath(find.GetRoot()));
    }
    results.SetStatus(IDS_SEARCH_FINISHED);
}

}  // namespace

TEST(ResultListFormat, SizesAreGroupedByThousandsAndTotalsChooseTheirUnitByRange)
{
    const struct {
        LONGLONG bytes;
        const char* text;
    } sizes[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {30, "30"}, {123456, "123,456"},
        {1234567, "1,234,567"}, {2147483647LL, "2,147,483,647"},
        {2147483648LL, "2,147,483,648"}, {5368709120LL, "5,368,709,120"},
    }, totals[] = {
        {0, "0 Byte"}, {1023, "1023 Byte"}, {1024, "1.000 KB"}, {1536, "1.500 KB"},
        {1048575, "1023.999 KB"}, {1048576, "1.000 MB"}, {1073741823, "1024.000 MB"},
        {1073741824, "1.000 GB"}, {3758096384LL, "3.500 GB"},
    };
    for (const auto& c : sizes)
        EXPECT_STREQ(FormatSize(c.bytes), c.text) << c.bytes;
    for (const auto& c : totals)
        EXPECT_STREQ(FormatTotal(c.bytes), c.text) << c.bytes;
}

TEST(ResultListFormat, TimesReadAsTwelveHourLocalTime)
{
    // The file time of 2002-07-15 at hour:04, local time.
    const auto at = [](WORD hour) {
        SYSTEMTIME local = {2002, 7, 0, 15, hour, 4, 0, 0}, universal = {};
        FILETIME utc = {};
        ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal);
        ::SystemTimeToFileTime(&universal, &utc);
        return utc;
    };
    EXPECT_STREQ(FormatTime(at(15)), "02/07/15 PM 03:04");
    EXPECT_STREQ(FormatTime(at(0)), "02/07/15 AM 12:04");

    const FILETIME beyondRange = {0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_STREQ(FormatTime(beyondRange), "");
}

TEST(ResultList, RowsCarryNameFolderSizeAndAttributesAndTheirPathsReadBackWhole)
{
    TempFolder folder;
    folder.AddFile("a.obj", 1000);
    folder.AddFile("b.obj", 30, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    folder.AddFile("c.obj", 512);
    ResultHost host;
    {
        CResultList results(host.Controls());
        results.Clear();
        EXPECT_EQ(host.Text(IDC_FILE_COUNT), kCountPrefix + "0");
        EXPECT_EQ(host.Text(IDC_TOTAL_SIZE), kTotalPrefix + "0 Byte");
        AddAll(results, folder.Path());
        EXPECT_EQ(results.GetCount(), 3);
        EXPECT_EQ(results.GetTotal(), 1542);
    }
    ASSERT_EQ(host.RowCount(), 3);
    EXPECT_EQ(host.Cell(0, CResultListCtrl::COL_NAME), "a.obj");
    EXPECT_EQ(host.Cell(0, CResultListCtrl::COL_FOLDER), folder.Path() + "\\");
    EXPECT_EQ(host.Cell(0, CResultListCtrl::COL_SIZE), "1,000");
    EXPECT_EQ(host.Cell(1, CResultListCtrl::COL_ATTRIBUTES), "RAH");
    EXPECT_EQ(host.Cell(2, CResultListCtrl::COL_SIZE), "512");
    EXPECT_EQ(host.Cell(2, CResultListCtrl::COL_RESULT), "");
    EXPECT_FALSE(host.Cell(2, CResultListCtrl::COL_MODIFIED).empty());
    // Count and total are current once the operation has shown its last frame.
    EXPECT_EQ(host.Text(IDC_FILE_COUNT), kCountPrefix + "3");
    EXPECT_EQ(host.Text(IDC_TOTAL_SIZE), kTotalPrefix + "1.506 KB");

    // The longest path the ANSI calls take: 259 characters. Its rows are read back whole, so the
    // file deleted is the one listed, not one whose path is a prefix of it.
    const std::string name = std::string(60, 'n') + ".obj";
    const size_t fixed = folder.Path().size() + 2 + name.size();
    const std::string deep = std::string(120, 'd') + "\\" + std::string(259 - fixed - 121, 'e');
    folder.AddFile(deep + "\\" + name, 1);
    folder.AddFile(deep + "\\" + name.substr(0, 30), 1);
    CResultList results(host.Controls());
    results.Clear();
    AddAll(results, folder / deep);
    ASSERT_EQ(host.RowCount(), 2);
    const int row = host.Cell(0, CResultListCtrl::COL_NAME) == name ? 0 : 1;
    EXPECT_EQ(host.Cell(row, CResultListCtrl::COL_FOLDER).size() + name.size(), 259u);
    EXPECT_TRUE(results.DeleteRow(row));
    EXPECT_FALSE(folder.Exists(deep + "\\" + name));
    EXPECT_TRUE(folder.Exists(deep + "\\" + name.substr(0, 30)));
}
