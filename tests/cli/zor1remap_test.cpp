// zor1remap run as a user runs it: two images, always the program disk first.

#include "case_name.hpp"
#include "cli_fixture.hpp"
#include "zor1remap/patch_tables.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using cli::Answer;
using cli::overwrite_question;
using cli::patched_lines;
using cli::RejectedLine;
using test_support::Bytes;
using test_support::ImageByte;

std::vector<ImageByte> bytes_of(const PatchEntry* table)
{
    std::vector<ImageByte> bytes;
    for (; table->offset >= 0; ++table) {
        bytes.push_back(
            {static_cast<std::size_t>(table->offset), table->old_byte, table->new_byte});
    }
    return bytes;
}

const std::vector<ImageByte> program_disk_bytes = bytes_of(program_disk_patches);
const std::vector<ImageByte> player_disk_bytes = bytes_of(player_disk_patches);

// Both sets of bytes in one image, so that one file can serve as either disk.
std::vector<ImageByte> both_disks_bytes()
{
    std::vector<ImageByte> bytes = program_disk_bytes;
    bytes.insert(bytes.end(), player_disk_bytes.begin(), player_disk_bytes.end());
    return bytes;
}

const std::string usage = "usage: zor1remap [option]\n"
                          "option: -d1|--program-disk FILE     specify program disk image name\n"
                          "        -d2|--player-disk FILE      specify player disk image name\n"
                          "        -? |--help                  print usage\n";

class Zor1remap : public cli::CliTest {
  protected:
    Zor1remap() : CliTest("ZOR1REMAP_PROGRAM", ZOR1REMAP_BUILT_PROGRAM) {}

    void put_program_disk(const std::string& name = "zor1Mater.dsk")
    {
        put_input(name, test_support::image_before(program_disk_bytes));
    }

    void put_player_disk(const std::string& name = "zor1player.dsk")
    {
        put_input(name, test_support::image_before(player_disk_bytes));
    }

    // The output holds the input with exactly the table's bytes rewritten.
    void expect_patched(const std::string& output, const std::vector<ImageByte>& bytes)
    {
        const auto written = file(output);
        ASSERT_TRUE(written.has_value()) << output << " was not written";
        EXPECT_EQ(*written, test_support::image_after(bytes));
        EXPECT_EQ(
            test_support::differing_offsets(test_support::image_before(bytes), *written).size(),
            bytes.size());
    }
};

// --- the command line ---------------------------------------------------------

class Zor1remapRejects : public Zor1remap, public ::testing::WithParamInterface<RejectedLine> {};

TEST_P(Zor1remapRejects, PrintsOneLineAndTouchesNoFile)
{
    put_program_disk();
    put_player_disk();
    const RejectedLine& line = GetParam();
    expect_outcome(run(line.args), line.out, line.err, 1);
    EXPECT_EQ(files(), (std::vector<std::string>{"zor1Mater.dsk", "zor1player.dsk"}));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Zor1remapRejects,
    ::testing::Values(
        RejectedLine{"BareName", {"x.dsk"}, "", "ERROR: illegal parameter 'x.dsk'\n"},
        RejectedLine{"EmptyArgument", {""}, "", "ERROR: illegal parameter ''\n"},
        RejectedLine{"OptionTakesTheNextWordAsName",
                     {"-d1", "-d2", "x.dsk"},
                     "",
                     "ERROR: illegal parameter 'x.dsk'\n"},
        RejectedLine{"OtherToolsOption", {"-d", "x.dsk"}, "", "ERROR: unknown option '-d'\n"},
        RejectedLine{"LoneDash", {"-"}, "", "ERROR: unknown option '-'\n"},
        RejectedLine{"DoubleDash", {"--"}, "", "ERROR: unknown option '--'\n"},
        RejectedLine{"UpperCaseD1", {"-D1", "x.dsk"}, "", "ERROR: unknown option '-D1'\n"},
        RejectedLine{"UpperCaseHelp", {"--HELP"}, "", "ERROR: unknown option '--HELP'\n"},
        RejectedLine{"EqualsForm",
                     {"--program-disk=x.dsk"},
                     "",
                     "ERROR: unknown option '--program-disk=x.dsk'\n"},
        RejectedLine{"ProgramDiskOptionLast", {"-d1"}, "ERROR: no program disk name\n", ""},
        RejectedLine{"LongProgramDiskOptionLast",
                     {"-d2", "b.dsk", "--program-disk"},
                     "ERROR: no program disk name\n",
                     ""},
        RejectedLine{
            "PlayerDiskOptionLast", {"-d1", "a.dsk", "-d2"}, "ERROR: no player disk name\n", ""},
        RejectedLine{
            "LongPlayerDiskOptionLast", {"--player-disk"}, "ERROR: no player disk name\n", ""},
        RejectedLine{"ShortHelp", {"-?"}, usage, ""},
        RejectedLine{"LongHelp", {"--help"}, usage, ""},
        RejectedLine{"HelpAfterOptions", {"-d1", "a.dsk", "-d2", "b.dsk", "--help"}, usage, ""},
        RejectedLine{"HelpBeforeBadArgument", {"--help", "-d"}, usage, ""},
        RejectedLine{
            "BadArgumentBeforeHelp", {"bad", "-?"}, "", "ERROR: illegal parameter 'bad'\n"}),
    CaseName{});

struct AcceptedLine {
    const char* name;
    std::vector<std::string> args;
    std::string program_disk;
    std::string program_output;
    std::string player_disk;
    std::string player_output;
};

class Zor1remapAccepts : public Zor1remap, public ::testing::WithParamInterface<AcceptedLine> {};

// The program disk is patched first and the player disk second, whatever the
// order of the options; only the named images are read.
TEST_P(Zor1remapAccepts, PatchesTheProgramDiskThenThePlayerDisk)
{
    const AcceptedLine& line = GetParam();
    put_program_disk(line.program_disk);
    put_player_disk(line.player_disk);
    const std::string& program_output = line.program_output;
    const std::string& player_output = line.player_output;
    std::vector<std::string> expected_files = files();
    expected_files.push_back(program_output);
    expected_files.push_back(player_output);
    std::sort(expected_files.begin(), expected_files.end());

    expect_outcome(run(line.args),
                   patched_lines(line.program_disk, program_output)
                       + patched_lines(line.player_disk, player_output) + "completed\n",
                   "", 0);
    expect_patched(program_output, program_disk_bytes);
    expect_patched(player_output, player_disk_bytes);
    EXPECT_EQ(files(), expected_files);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, Zor1remapAccepts,
                         ::testing::Values(AcceptedLine{"NoArguments",
                                                        {},
                                                        "zor1Mater.dsk",
                                                        "zor1Mater.NEW.dsk",
                                                        "zor1player.dsk",
                                                        "zor1player.NEW.dsk"},
                                           AcceptedLine{"OnlyPlayerDisk",
                                                        {"-d2", "b.dsk"},
                                                        "zor1Mater.dsk",
                                                        "zor1Mater.NEW.dsk",
                                                        "b.dsk",
                                                        "b.NEW.dsk"},
                                           AcceptedLine{"PlayerDiskNamedFirst",
                                                        {"-d2", "b.dsk", "-d1", "a.dsk"},
                                                        "a.dsk",
                                                        "a.NEW.dsk",
                                                        "b.dsk",
                                                        "b.NEW.dsk"},
                                           AcceptedLine{"LastOptionWins",
                                                        {"-d1", "missing.dsk", "--player-disk",
                                                         "missing2.dsk", "-d1", "c.dsk", "-d2",
                                                         "d.dsk"},
                                                        "c.dsk",
                                                        "c.NEW.dsk",
                                                        "d.dsk",
                                                        "d.NEW.dsk"},
                                           AcceptedLine{"LongOptionsAndDirectories",
                                                        {"--player-disk", "images/player.dsk",
                                                         "--program-disk", "images/prog.dsk"},
                                                        "images/prog.dsk",
                                                        "prog.NEW.dsk",
                                                        "images/player.dsk",
                                                        "player.NEW.dsk"},
                                           AcceptedLine{"OptionWordsAsNames",
                                                        {"-d1", "-d2", "-d2", "--help"},
                                                        "-d2",
                                                        "-d2.NEW",
                                                        "--help",
                                                        "--help.NEW"}),
                         CaseName{});

// --- one image fails ----------------------------------------------------------

TEST_F(Zor1remap, MissingProgramDiskLeavesThePlayerDiskAlone)
{
    put_player_disk();
    expect_outcome(run({}),
                   "read original file: zor1Mater.dsk\n"
                   "ERROR: open error: zor1Mater.dsk\n"
                   "ERROR: can't read file: zor1Mater.dsk\n"
                   "ERROR: can't patch: zor1Mater.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), std::vector<std::string>{"zor1player.dsk"});
}

TEST_F(Zor1remap, AlreadyPatchedProgramDiskIsRefusedAtItsFirstByte)
{
    put_input("zor1Mater.dsk", test_support::image_after(program_disk_bytes));
    put_player_disk();
    expect_outcome(run({}),
                   "read original file: zor1Mater.dsk\nmodify image\n"
                   "ERROR: mismatch: zor1Mater.dsk: offset=0000A104 value=33\n"
                   "ERROR: can't patch: zor1Mater.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), (std::vector<std::string>{"zor1Mater.dsk", "zor1player.dsk"}));
}

// The program disk's output is written before the player disk fails, and it
// stays: nothing is undone.
TEST_F(Zor1remap, FailingPlayerDiskKeepsTheProgramDisksOutput)
{
    put_program_disk();
    put_input("zor1player.dsk", test_support::image_after(player_disk_bytes));
    expect_outcome(run({}),
                   patched_lines("zor1Mater.dsk", "zor1Mater.NEW.dsk")
                       + "read original file: zor1player.dsk\nmodify image\n"
                         "ERROR: mismatch: zor1player.dsk: offset=00013947 value=33\n"
                         "ERROR: can't patch: zor1player.dsk\n",
                   "", 1);
    expect_patched("zor1Mater.NEW.dsk", program_disk_bytes);
    EXPECT_EQ(files(),
              (std::vector<std::string>{"zor1Mater.NEW.dsk", "zor1Mater.dsk", "zor1player.dsk"}));
}

TEST_F(Zor1remap, PlayerDiskOfTheWrongSize)
{
    put_program_disk();
    put_input("zor1player.dsk", test_support::filler_image(1));
    expect_outcome(run({}),
                   patched_lines("zor1Mater.dsk", "zor1Mater.NEW.dsk")
                       + "read original file: zor1player.dsk\n"
                         "ERROR: file size mismatch: zor1player.dsk size=1\n"
                         "ERROR: can't patch: zor1player.dsk\n",
                   "", 1);
    expect_patched("zor1Mater.NEW.dsk", program_disk_bytes);
}

// --- one file for both disks, and answers typed ahead ---------------------------

class Zor1remapSameFile : public Zor1remap, public ::testing::WithParamInterface<Answer> {};

// Both calls read the same unchanged file; the second finds the first one's
// output under its name and asks before replacing it.
TEST_P(Zor1remapSameFile, SecondImageAsksAboutTheFirstOnesOutput)
{
    const Answer& answer = GetParam();
    const std::vector<ImageByte> both = both_disks_bytes();
    put_input("same.dsk", test_support::image_before(both));
    cli::RunOptions options;
    options.input = answer.typed;
    const std::string lines = patched_lines("same.dsk", "same.NEW.dsk")
                              + patched_lines("same.dsk", "same.NEW.dsk")
                              + overwrite_question("same.NEW.dsk");
    const auto outcome = run({"-d1", "same.dsk", "-d2", "same.dsk"}, options);
    Bytes expected = test_support::image_before(both);
    if (answer.overwrite) {
        expect_outcome(outcome, lines + "completed\n", "", 0);
        // The second call patched the original file, not the first one's output.
        for (const ImageByte& byte : player_disk_bytes) {
            expected[byte.offset] = byte.after;
        }
    } else {
        expect_outcome(outcome, lines + "ERROR: can't patch: same.dsk\n", "", 1);
        for (const ImageByte& byte : program_disk_bytes) {
            expected[byte.offset] = byte.after;
        }
    }
    EXPECT_EQ(file("same.NEW.dsk"), expected);
    EXPECT_EQ(files(), (std::vector<std::string>{"same.NEW.dsk", "same.dsk"}));
}

INSTANTIATE_TEST_SUITE_P(Dialogue, Zor1remapSameFile,
                         ::testing::Values(Answer{"AnsweredNo", "N\n", false},
                                           Answer{"AnsweredYes", "y\n", true},
                                           Answer{"EndOfInput", "", false}),
                         CaseName{});

// "yn" typed at the first question answers it with yes and leaves the "n",
// which answers the second question at once.
TEST_F(Zor1remap, AnswerTypedAheadServesTheSecondQuestion)
{
    put_program_disk();
    put_player_disk();
    const Bytes old_output = {'o', 'l', 'd'};
    test_support::write_file(dir() / "zor1Mater.NEW.dsk", old_output);
    test_support::write_file(dir() / "zor1player.NEW.dsk", old_output);
    cli::RunOptions options;
    options.input = "yn\n";
    expect_outcome(run({}, options),
                   patched_lines("zor1Mater.dsk", "zor1Mater.NEW.dsk")
                       + overwrite_question("zor1Mater.NEW.dsk")
                       + patched_lines("zor1player.dsk", "zor1player.NEW.dsk")
                       + overwrite_question("zor1player.NEW.dsk")
                       + "ERROR: can't patch: zor1player.dsk\n",
                   "", 1);
    expect_patched("zor1Mater.NEW.dsk", program_disk_bytes);
    EXPECT_EQ(file("zor1player.NEW.dsk"), old_output);
}

} // namespace
