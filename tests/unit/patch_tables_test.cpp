// The tools' patch tables checked against what is known of them on its own
// terms: how many entries each has, where they lie, and which bytes they turn
// into which. A slip of one digit in a table breaks one of these facts.

#include "zor1remap/patch_tables.hpp"
#include "zor2remap/patch_table.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t image_size = 143360;

// The entries of a table before its end entry, which must be the usual one.
std::span<const PatchEntry> entries_of(std::span<const PatchEntry> table)
{
    const PatchEntry& end = table.back();
    EXPECT_EQ(end.offset, -1);
    EXPECT_EQ(end.old_byte, 0x00);
    EXPECT_EQ(end.new_byte, 0x00);
    return table.first(table.size() - 1);
}

void expect_ascending_within_image(std::span<const PatchEntry> entries)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_GE(entries[i].offset, 0) << "entry " << i;
        EXPECT_LT(entries[i].offset, image_size) << "entry " << i;
        if (i > 0) {
            EXPECT_GT(entries[i].offset, entries[i - 1].offset) << "entry " << i;
        }
    }
}

bool is_digit(std::uint8_t byte)
{
    return byte >= '0' && byte <= '9';
}

// Two entries at consecutive offsets that rewrite two ASCII digits.
struct DigitPair {
    std::size_t index;
    std::int32_t offset;
    std::string change; // such as "75>38"
};

std::vector<DigitPair> digit_pairs(std::span<const PatchEntry> entries)
{
    std::vector<DigitPair> pairs;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        const PatchEntry& a = entries[i];
        const PatchEntry& b = entries[i + 1];
        if (is_digit(a.old_byte) && is_digit(a.new_byte) && is_digit(b.old_byte)
            && is_digit(b.new_byte) && b.offset == a.offset + 1) {
            pairs.push_back(
                {i,
                 a.offset,
                 {char(a.old_byte), char(b.old_byte), '>', char(a.new_byte), char(b.new_byte)}});
            ++i;
        }
    }
    return pairs;
}

std::set<std::size_t> indexes_of(const std::vector<DigitPair>& pairs, const std::string& change)
{
    std::set<std::size_t> indexes;
    for (const DigitPair& pair : pairs) {
        if (pair.change == change) {
            indexes.insert(pair.index);
        }
    }
    return indexes;
}

// Where a '41' pair is followed in the table by a '75' pair: the offsets of
// the '41' pairs whose '75' pair starts 7 bytes later; the other distances go
// to `other_distances`.
std::set<std::int32_t> close_41_75_pairs(const std::vector<DigitPair>& pairs,
                                         std::set<std::int32_t>& other_distances)
{
    std::set<std::int32_t> close;
    for (std::size_t i = 0; i + 1 < pairs.size(); ++i) {
        if (pairs[i].change == "41>39" && pairs[i + 1].change == "75>38") {
            const std::int32_t distance = pairs[i + 1].offset - pairs[i].offset;
            if (distance == 7) {
                close.insert(pairs[i].offset);
            } else {
                other_distances.insert(distance);
            }
        }
    }
    return close;
}

TEST(ProgramDiskPatches, HasFiftyOneEntriesInAscendingOrderWithinTheImage)
{
    const auto entries = entries_of(program_disk_patches);
    ASSERT_EQ(entries.size(), 51u);
    expect_ascending_within_image(entries);
    EXPECT_EQ(entries.front().offset, 0x0A104);
    EXPECT_EQ(entries.back().offset, 0x201D0);
}

TEST(ProgramDiskPatches, RewritesTwentyThreeDigitPairs)
{
    const auto pairs = digit_pairs(entries_of(program_disk_patches));
    EXPECT_EQ(pairs.size(), 23u);
    EXPECT_EQ(indexes_of(pairs, "75>38"),
              (std::set<std::size_t>{0, 6, 17, 21, 25, 29, 33, 37, 39, 45, 49}));
    EXPECT_EQ(indexes_of(pairs, "41>39"),
              (std::set<std::size_t>{2, 4, 15, 19, 23, 27, 31, 35, 41, 43, 47}));
    EXPECT_EQ(indexes_of(pairs, "47>10"), (std::set<std::size_t>{8}));
}

TEST(ProgramDiskPatches, SingleEntriesOutsideThePairs)
{
    const auto entries = entries_of(program_disk_patches);
    const auto expect_entry = [&](std::size_t i, std::int32_t offset, int old_byte, int new_byte) {
        EXPECT_EQ(entries[i].offset, offset) << "entry " << i;
        EXPECT_EQ(entries[i].old_byte, old_byte) << "entry " << i;
        EXPECT_EQ(entries[i].new_byte, new_byte) << "entry " << i;
    };
    expect_entry(10, 0x0DF00, '3', '1');
    expect_entry(11, 0x14924, 0xB1, 0x00);
    expect_entry(12, 0x14AD5, 'G', 'F');
    expect_entry(13, 0x14AD7, 0xB0, 'E');
    expect_entry(14, 0x14AD8, 0x08, 'C');
}

TEST(ProgramDiskPatches, FortyOnePairsFollowedSevenBytesLaterByASeventyFivePair)
{
    std::set<std::int32_t> other_distances;
    EXPECT_EQ(close_41_75_pairs(digit_pairs(entries_of(program_disk_patches)), other_distances),
              (std::set<std::int32_t>{0x0A494, 0x17811, 0x18907, 0x19ACB}));
    for (const std::int32_t distance : other_distances) {
        EXPECT_TRUE(distance == 29 || distance == 34 || distance == 38) << distance;
    }
}

TEST(PlayerDiskPatches, FourDigitPairsInAscendingOrderWithinTheImage)
{
    const auto entries = entries_of(player_disk_patches);
    ASSERT_EQ(entries.size(), 8u);
    expect_ascending_within_image(entries);
    const auto pairs = digit_pairs(entries);
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(indexes_of(pairs, "41>39"), (std::set<std::size_t>{0, 4}));
    EXPECT_EQ(indexes_of(pairs, "75>38"), (std::set<std::size_t>{2, 6}));
    EXPECT_EQ(pairs[0].offset, 0x13947);
    EXPECT_EQ(pairs[1].offset, 0x1396D);
    EXPECT_EQ(pairs[2].offset, 0x13BF2);
    EXPECT_EQ(pairs[3].offset, 0x13BF9);
    std::set<std::int32_t> other_distances;
    EXPECT_EQ(close_41_75_pairs(pairs, other_distances), (std::set<std::int32_t>{0x13BF2}));
}

TEST(OneDiskPatches, FourGroupsOfTwoBytesInAscendingOrderWithinTheImage)
{
    const auto entries = entries_of(one_disk_patches);
    ASSERT_EQ(entries.size(), 8u);
    expect_ascending_within_image(entries);
    const std::int32_t distances[] = {21, 4, 7, 32};
    for (std::size_t group = 0; group < 4; ++group) {
        const PatchEntry& first = entries[2 * group];
        const PatchEntry& second = entries[2 * group + 1];
        EXPECT_EQ(first.old_byte, 0x8D) << "group " << group;
        EXPECT_EQ(first.new_byte, 0x8B) << "group " << group;
        EXPECT_EQ(second.old_byte, 0xAF) << "group " << group;
        EXPECT_EQ(second.new_byte, 0x8A) << "group " << group;
        EXPECT_EQ(second.offset - first.offset, distances[group]) << "group " << group;
    }
}

} // namespace
