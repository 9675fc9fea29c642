#include "patcher/image_patcher.hpp"
#include "unit_fixture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test_support::Bytes;

constexpr PatchEntry end_entry{-1, 0x00, 0x00};

class PatchDiskImage : public InWorkingDirectory {
  protected:
    int patch(const char* path, const std::vector<PatchEntry>& table)
    {
        start_capture();
        const int result = patch_disk_image(path, table.data());
        printed = captured();
        return result;
    }

    std::string printed;
};

const std::string successful_run = "read original file: prog.dsk\n"
                                   "modify image\n"
                                   "write modified file: prog.NEW.dsk\n";

TEST_F(PatchDiskImage, AppliesEachEntryAndPrintsThreeLines)
{
    Bytes image = test_support::filler_image();
    image[0] = 0xAA;
    image[0x22FFF] = 0x00;
    test_support::write_file("prog.dsk", image);
    EXPECT_EQ(patch("prog.dsk", {{0x22FFF, 0x00, 0xFF}, {0, 0xAA, 0x55}, end_entry}), 0);
    EXPECT_EQ(printed, successful_run);
    Bytes expected = image;
    expected[0] = 0x55;
    expected[0x22FFF] = 0xFF;
    EXPECT_EQ(test_support::read_file("prog.NEW.dsk"), expected);
}

TEST_F(PatchDiskImage, TableOfOnlyTheEndEntryCopiesTheImage)
{
    const Bytes image = test_support::filler_image();
    test_support::write_file("prog.dsk", image);
    EXPECT_EQ(patch("prog.dsk", {end_entry}), 0);
    EXPECT_EQ(printed, successful_run);
    EXPECT_EQ(test_support::read_file("prog.NEW.dsk"), image);
}

TEST_F(PatchDiskImage, AnyNegativeOffsetEndsTheTable)
{
    const Bytes image = test_support::filler_image();
    test_support::write_file("prog.dsk", image);
    EXPECT_EQ(patch("prog.dsk", {{-7, 0x12, 0x34}, {0, 0xEE, 0xEE}}), 0);
    EXPECT_EQ(test_support::read_file("prog.NEW.dsk"), image);
}

// A second entry for the same offset sees the byte that the first one wrote.
TEST_F(PatchDiskImage, SecondEntryForAnOffsetIsComparedWithTheFirstOnesNewByte)
{
    Bytes image = test_support::filler_image();
    image[100] = 0x10;
    test_support::write_file("prog.dsk", image);
    EXPECT_EQ(patch("prog.dsk", {{100, 0x10, 0x20}, {100, 0x20, 0x30}, end_entry}), 0);
    image[100] = 0x30;
    EXPECT_EQ(test_support::read_file("prog.NEW.dsk"), image);

    std::filesystem::remove("prog.NEW.dsk");
    EXPECT_EQ(patch("prog.dsk", {{100, 0x10, 0x20}, {100, 0x10, 0x30}, end_entry}), -1);
    EXPECT_EQ(printed, "read original file: prog.dsk\nmodify image\n"
                       "ERROR: mismatch: prog.dsk: offset=00000064 value=20\n");
}

TEST_F(PatchDiskImage, MismatchAtTheFifthEntryWritesNothing)
{
    Bytes image = test_support::filler_image();
    const std::vector<PatchEntry> table = {{1, 0x01, 0x02}, {2, 0x01, 0x02},       {3, 0x01, 0x02},
                                           {4, 0x01, 0x02}, {0x1ABCD, 0x01, 0x02}, {6, 0x01, 0x02},
                                           end_entry};
    for (const std::size_t offset : {1u, 2u, 3u, 4u, 6u}) {
        image[offset] = 0x01;
    }
    image[0x1ABCD] = 0xC3;
    test_support::write_file("prog.dsk", image);
    EXPECT_EQ(patch("prog.dsk", table), -1);
    EXPECT_EQ(printed, "read original file: prog.dsk\nmodify image\n"
                       "ERROR: mismatch: prog.dsk: offset=0001ABCD value=C3\n");
    EXPECT_EQ(test_support::list_tree(dir()), std::vector<std::string>{"prog.dsk"});
}

// An entry beyond the image is reported with its index, however well the
// entries before it matched, and nothing is written.
TEST_F(PatchDiskImage, EntryOutsideTheImageIsABug)
{
    Bytes image = test_support::filler_image();
    image[5] = 0x11;
    test_support::write_file("prog.dsk", image);
    EXPECT_EQ(patch("prog.dsk", {{5, 0x11, 0x22}, {0x23000, 0x7F, 0x80}, end_entry}), -1);
    EXPECT_EQ(printed, "read original file: prog.dsk\nmodify image\n"
                       "BUG: patch_info[1] offset=00023000 old=7F new=80\n");
    EXPECT_EQ(patch("prog.dsk", {{0x7FFFFFFF, 0x00, 0x0A}, end_entry}), -1);
    EXPECT_EQ(printed, "read original file: prog.dsk\nmodify image\n"
                       "BUG: patch_info[0] offset=7FFFFFFF old=00 new=0A\n");
    EXPECT_EQ(test_support::list_tree(dir()), std::vector<std::string>{"prog.dsk"});
}

TEST_F(PatchDiskImage, WrongSizeIsReportedInDecimal)
{
    test_support::write_file("prog.dsk", test_support::filler_image(1000));
    EXPECT_EQ(patch("prog.dsk", {end_entry}), -1);
    EXPECT_EQ(printed, "read original file: prog.dsk\n"
                       "ERROR: file size mismatch: prog.dsk size=1000\n");
}

TEST_F(PatchDiskImage, ImageElsewhereIsWrittenToTheWorkingDirectory)
{
    std::filesystem::create_directories("images");
    const Bytes image = test_support::filler_image();
    test_support::write_file("images/prog.dsk", image);
    EXPECT_EQ(patch("images/prog.dsk", {end_entry}), 0);
    EXPECT_EQ(printed, "read original file: images/prog.dsk\nmodify image\n"
                       "write modified file: prog.NEW.dsk\n");
    EXPECT_EQ(test_support::list_tree(dir()),
              (std::vector<std::string>{"images/", "images/prog.dsk", "prog.NEW.dsk"}));
}

TEST_F(PatchDiskImage, ExistingOutputIsReplacedOnlyAfterYes)
{
    const Bytes image = test_support::filler_image();
    test_support::write_file("prog.dsk", image);
    test_support::write_file("prog.NEW.dsk", std::string("keep"));
    const std::string asked = successful_run
                              + "already exists 'prog.NEW.dsk'\n"
                                "overwrite ? (Y or N): ";
    feed_input("n\n");
    EXPECT_EQ(patch("prog.dsk", {end_entry}), -1);
    EXPECT_EQ(printed, asked);
    EXPECT_EQ(test_support::read_file("prog.NEW.dsk"), (Bytes{'k', 'e', 'e', 'p'}));

    feed_input("y\n");
    EXPECT_EQ(patch("prog.dsk", {end_entry}), 0);
    EXPECT_EQ(printed, asked);
    EXPECT_EQ(test_support::read_file("prog.NEW.dsk"), image);
}

} // namespace
