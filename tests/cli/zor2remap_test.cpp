// zor2remap run as a user runs it: arguments, standard input, console text,
// exit status and the files in its working directory afterwards.

#include "cli_fixture.hpp"

#include "case_name.hpp"

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

// The eight bytes of the program disk that the tool rewrites: four places
// where 0x8D becomes 0x8B, each followed by an 0xAF that becomes 0x8A.
const std::vector<ImageByte> program_disk_bytes = {
    {0x04129, 0x8D, 0x8B}, {0x0413E, 0xAF, 0x8A}, {0x04619, 0x8D, 0x8B}, {0x0461D, 0xAF, 0x8A},
    {0x05285, 0x8D, 0x8B}, {0x0528C, 0xAF, 0x8A}, {0x20D96, 0x8D, 0x8B}, {0x20DB6, 0xAF, 0x8A},
};

const std::string usage = "usage: zor2remap [option]\n"
                          "option: -d|--program-disk FILE      specify program disk image name\n"
                          "        -?|--help                   print usage\n";

class Zor2remap : public cli::CliTest {
  protected:
    Zor2remap() : CliTest("ZOR2REMAP_PROGRAM", ZOR2REMAP_BUILT_PROGRAM) {}

    void put_program_disk(const std::string& name = "Zor2Prog.dsk")
    {
        put_input(name, test_support::image_before(program_disk_bytes));
    }

    void expect_patched(const std::string& output)
    {
        const auto written = file(output);
        ASSERT_TRUE(written.has_value()) << output << " was not written";
        EXPECT_EQ(*written, test_support::image_after(program_disk_bytes));
        std::vector<std::size_t> expected;
        expected.reserve(program_disk_bytes.size());
        for (const ImageByte& byte : program_disk_bytes) {
            expected.push_back(byte.offset);
        }
        EXPECT_EQ(test_support::differing_offsets(test_support::image_before(program_disk_bytes),
                                                  *written),
                  expected);
    }
};

// --- the command line ---------------------------------------------------------

class Zor2remapRejects : public Zor2remap, public ::testing::WithParamInterface<RejectedLine> {};

// A command line that ends the run prints one line (or the usage text) and
// touches no file, though the default image lies ready in the directory.
TEST_P(Zor2remapRejects, PrintsOneLineAndTouchesNoFile)
{
    put_program_disk();
    const RejectedLine& line = GetParam();
    expect_outcome(run(line.args), line.out, line.err, 1);
    EXPECT_EQ(files(), std::vector<std::string>{"Zor2Prog.dsk"});
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Zor2remapRejects,
    ::testing::Values(
        RejectedLine{"BareName", {"x.dsk"}, "", "ERROR: illegal parameter 'x.dsk'\n"},
        RejectedLine{"EmptyArgument", {""}, "", "ERROR: illegal parameter ''\n"},
        RejectedLine{"BadNameAfterGoodOption",
                     {"-d", "x.dsk", "y.dsk"},
                     "",
                     "ERROR: illegal parameter 'y.dsk'\n"},
        RejectedLine{"LoneDash", {"-"}, "", "ERROR: unknown option '-'\n"},
        RejectedLine{"DoubleDash", {"--"}, "", "ERROR: unknown option '--'\n"},
        RejectedLine{"UpperCaseD", {"-D", "x.dsk"}, "", "ERROR: unknown option '-D'\n"},
        RejectedLine{"OtherToolsOption", {"-d1", "x.dsk"}, "", "ERROR: unknown option '-d1'\n"},
        RejectedLine{"UpperCaseHelp", {"--HELP"}, "", "ERROR: unknown option '--HELP'\n"},
        RejectedLine{"EqualsForm",
                     {"--program-disk=x.dsk"},
                     "",
                     "ERROR: unknown option '--program-disk=x.dsk'\n"},
        RejectedLine{
            "AbbreviatedOption", {"--prog", "x.dsk"}, "", "ERROR: unknown option '--prog'\n"},
        RejectedLine{"ShortOptionLast", {"-d"}, "ERROR: no program disk name\n", ""},
        RejectedLine{"LongOptionLast",
                     {"-d", "a.dsk", "--program-disk"},
                     "ERROR: no program disk name\n",
                     ""},
        RejectedLine{"ShortHelp", {"-?"}, usage, ""},
        RejectedLine{"LongHelp", {"--help"}, usage, ""},
        RejectedLine{"HelpAfterOption", {"-d", "x.dsk", "--help"}, usage, ""},
        RejectedLine{"HelpBeforeBadArgument", {"--help", "bad", "-x"}, usage, ""},
        RejectedLine{
            "BadArgumentBeforeHelp", {"-x", "--help"}, "", "ERROR: unknown option '-x'\n"}),
    CaseName{});

struct AcceptedLine {
    const char* name;
    std::vector<std::string> args;
    std::string image;  // the name the tool reads and prints
    std::string output; // the name it writes, in the working directory
};

class Zor2remapAccepts : public Zor2remap, public ::testing::WithParamInterface<AcceptedLine> {};

// Only the image that the command line names is read; the result lands in the
// working directory and differs from the input in exactly the eight bytes.
TEST_P(Zor2remapAccepts, PatchesTheNamedImage)
{
    const AcceptedLine& line = GetParam();
    put_program_disk(line.image);
    std::vector<std::string> expected_files = files();
    expected_files.push_back(line.output);
    std::sort(expected_files.begin(), expected_files.end());
    expect_outcome(run(line.args), patched_lines(line.image, line.output) + "completed\n", "", 0);
    expect_patched(line.output);
    EXPECT_EQ(files(), expected_files);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Zor2remapAccepts,
    ::testing::Values(
        AcceptedLine{"NoArguments", {}, "Zor2Prog.dsk", "Zor2Prog.NEW.dsk"},
        AcceptedLine{"ShortOption", {"-d", "game.dsk"}, "game.dsk", "game.NEW.dsk"},
        AcceptedLine{
            "LastOptionWins", {"-d", "a.dsk", "--program-disk", "b.dsk"}, "b.dsk", "b.NEW.dsk"},
        AcceptedLine{"OptionWordAsName", {"-d", "--help"}, "--help", "--help.NEW"},
        AcceptedLine{"NameWithDirectories",
                     {"--program-disk", "images/old.dir/prog.dsk"},
                     "images/old.dir/prog.dsk",
                     "prog.NEW.dsk"},
        AcceptedLine{"NameWithSeveralDots", {"-d", "disk.a.dsk"}, "disk.a.dsk", "disk.a.NEW.dsk"},
        AcceptedLine{"NameWithoutExtension", {"-d", "disk"}, "disk", "disk.NEW"}),
    CaseName{});

// Of two images named, the one that lost is never opened: it does not exist,
// and still the run succeeds.
TEST_F(Zor2remap, EarlierImageOptionIsNeverOpened)
{
    put_program_disk("b.dsk");
    expect_outcome(run({"-d", "missing.dsk", "-d", "b.dsk"}),
                   patched_lines("b.dsk", "b.NEW.dsk") + "completed\n", "", 0);
    EXPECT_EQ(files(), (std::vector<std::string>{"b.NEW.dsk", "b.dsk"}));
}

TEST_F(Zor2remap, InputInAnotherDirectoryIsWrittenHereNotBesideIt)
{
    put_program_disk("images/prog.dsk");
    expect_outcome(run({"-d", "images/prog.dsk"}),
                   patched_lines("images/prog.dsk", "prog.NEW.dsk") + "completed\n", "", 0);
    EXPECT_EQ(files(), (std::vector<std::string>{"images/", "images/prog.dsk", "prog.NEW.dsk"}));
}

// The tool expands no wildcards of its own: a pattern is an ordinary name.
TEST_F(Zor2remap, WildcardsAreNotExpanded)
{
    put_program_disk("a.dsk");
    expect_outcome(run({"*.dsk"}), "", "ERROR: illegal parameter '*.dsk'\n", 1);
    expect_outcome(run({"-d", "*.dsk"}),
                   "read original file: *.dsk\nERROR: open error: *.dsk\n"
                   "ERROR: can't read file: *.dsk\nERROR: can't patch: *.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), std::vector<std::string>{"a.dsk"});
}

// A backslash separates directories on either platform. On Linux it can also
// stand in a file name, and still only what follows it names the output.
TEST_F(Zor2remap, BackslashEndsTheDirectoryPart)
{
    const std::string input = "images\\prog.dsk";
    put_program_disk(windows() ? "images/prog.dsk" : input);
    expect_outcome(run({"-d", input}), patched_lines(input, "prog.NEW.dsk") + "completed\n", "", 0);
    expect_patched("prog.NEW.dsk");
}

// A path that begins with a drive letter, with or without a directory after
// it, still yields its output in the working directory.
TEST_F(Zor2remap, DriveLetterPathsWriteToTheWorkingDirectory)
{
    if (!windows()) {
        GTEST_SKIP() << "drive letters exist on Windows only";
    }
    // Wine shows the root of the Linux file system as drive Z.
    std::string absolute = "Z:" + (dir() / "images" / "prog.dsk").string();
    std::replace(absolute.begin(), absolute.end(), '/', '\\');
    put_program_disk("images/prog.dsk");
    expect_outcome(run({"-d", absolute}), patched_lines(absolute, "prog.NEW.dsk") + "completed\n",
                   "", 0);
    expect_patched("prog.NEW.dsk");

    put_program_disk("game.dsk");
    expect_outcome(run({"-d", "Z:game.dsk"}),
                   patched_lines("Z:game.dsk", "game.NEW.dsk") + "completed\n", "", 0);
    expect_patched("game.NEW.dsk");
}

// --- images that cannot be patched --------------------------------------------

struct BadImage {
    const char* name;
    Bytes content;
    std::string lines; // what the patcher prints after "read original file"
};

Bytes resized_image(std::size_t size)
{
    Bytes image = test_support::image_before(program_disk_bytes);
    image.resize(size, 0x8D);
    return image;
}

Bytes image_with_byte(std::size_t offset, unsigned char value)
{
    Bytes image = test_support::image_before(program_disk_bytes);
    image.at(offset) = value;
    return image;
}

class Zor2remapRefuses : public Zor2remap, public ::testing::WithParamInterface<BadImage> {};

// A bad image fails with its own line and the tool's, and nothing is written.
TEST_P(Zor2remapRefuses, ReportsTheImageAndWritesNothing)
{
    const BadImage& image = GetParam();
    put_input("Zor2Prog.dsk", image.content);
    expect_outcome(run({}),
                   "read original file: Zor2Prog.dsk\n" + image.lines
                       + "ERROR: can't patch: Zor2Prog.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), std::vector<std::string>{"Zor2Prog.dsk"});
}

INSTANTIATE_TEST_SUITE_P(
    Images, Zor2remapRefuses,
    ::testing::Values(
        BadImage{
            "Empty", {}, "ERROR: read error: Zor2Prog.dsk\nERROR: can't read file: Zor2Prog.dsk\n"},
        BadImage{"OneByteShort", resized_image(143359),
                 "ERROR: file size mismatch: Zor2Prog.dsk size=143359\n"},
        BadImage{"OneByteLong", resized_image(143361),
                 "ERROR: file size mismatch: Zor2Prog.dsk size=143361\n"},
        BadImage{"AlreadyPatched", test_support::image_after(program_disk_bytes),
                 "modify image\nERROR: mismatch: Zor2Prog.dsk: offset=00004129 value=8B\n"},
        BadImage{"FifthByteDiffers", image_with_byte(0x05285, 0x00),
                 "modify image\nERROR: mismatch: Zor2Prog.dsk: offset=00005285 value=00\n"},
        BadImage{"LastByteDiffers", image_with_byte(0x20DB6, 0xFF),
                 "modify image\nERROR: mismatch: Zor2Prog.dsk: offset=00020DB6 value=FF\n"}),
    CaseName{});

TEST_F(Zor2remap, MissingImageCannotBeOpened)
{
    expect_outcome(run({"-d", "none.dsk"}),
                   "read original file: none.dsk\nERROR: open error: none.dsk\n"
                   "ERROR: can't read file: none.dsk\nERROR: can't patch: none.dsk\n",
                   "", 1);
    EXPECT_TRUE(files().empty());
}

TEST_F(Zor2remap, ImageOnAPipeIsASeekError)
{
    if (windows()) {
        GTEST_SKIP() << "a pipe cannot be named as a file on Windows";
    }
    cli::RunOptions options;
    options.input = std::string(test_support::image_size, 'x');
    expect_outcome(run({"-d", "/dev/stdin"}, options),
                   "read original file: /dev/stdin\nERROR: seek error: /dev/stdin\n"
                   "ERROR: can't read file: /dev/stdin\nERROR: can't patch: /dev/stdin\n",
                   "", 1);
    EXPECT_TRUE(files().empty());
}

// --- the overwrite question ---------------------------------------------------

class Zor2remapAsks : public Zor2remap, public ::testing::WithParamInterface<Answer> {};

// An existing output is replaced whole after a yes and kept as it was after a
// no; the end of standard input counts as no and never hangs the run.
TEST_P(Zor2remapAsks, BeforeReplacingAnExistingOutput)
{
    const Answer& answer = GetParam();
    put_program_disk();
    const Bytes old_output = {'o', 'l', 'd'};
    test_support::write_file(dir() / "Zor2Prog.NEW.dsk", old_output);
    cli::RunOptions options;
    options.input = answer.typed;
    const std::string question =
        patched_lines("Zor2Prog.dsk", "Zor2Prog.NEW.dsk") + overwrite_question("Zor2Prog.NEW.dsk");
    if (answer.overwrite) {
        expect_outcome(run({}, options), question + "completed\n", "", 0);
        expect_patched("Zor2Prog.NEW.dsk");
    } else {
        expect_outcome(run({}, options), question + "ERROR: can't patch: Zor2Prog.dsk\n", "", 1);
        EXPECT_EQ(file("Zor2Prog.NEW.dsk"), old_output);
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"Zor2Prog.NEW.dsk", "Zor2Prog.dsk"}));
}

INSTANTIATE_TEST_SUITE_P(
    Dialogue, Zor2remapAsks,
    ::testing::Values(Answer{"UpperY", "Y\n", true}, Answer{"LowerY", "y\n", true},
                      Answer{"YInsideAWord", "maybe\n", true}, Answer{"UpperN", "N\n", false},
                      Answer{"LowerN", "n\n", false}, Answer{"BlanksThenN", "   \n\t\nN\n", false},
                      Answer{"NoBeforeYes", "ny\n", false}, Answer{"EndOfInput", "", false},
                      Answer{"OnlyEnterThenEnd", "\n\n", false},
                      Answer{"OtherLettersThenEnd", "ok\nfine\n", false}),
    CaseName{});

TEST_F(Zor2remap, OutputNameHeldByADirectoryFailsAfterYes)
{
    put_program_disk();
    std::filesystem::create_directory(dir() / "Zor2Prog.NEW.dsk");
    cli::RunOptions options;
    options.input = "y\n";
    expect_outcome(run({}, options),
                   patched_lines("Zor2Prog.dsk", "Zor2Prog.NEW.dsk")
                       + overwrite_question("Zor2Prog.NEW.dsk")
                       + "ERROR: open error: Zor2Prog.NEW.dsk\n"
                         "ERROR: can't write file: Zor2Prog.NEW.dsk\n"
                         "ERROR: can't patch: Zor2Prog.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), (std::vector<std::string>{"Zor2Prog.NEW.dsk/", "Zor2Prog.dsk"}));
}

// --- the input is never written -----------------------------------------------

struct LinkKind {
    const char* name;
    bool symbolic;
};

class Zor2remapLinks : public Zor2remap, public ::testing::WithParamInterface<LinkKind> {};

// An output name that leads to the input itself is refused before any
// question, so not even a yes could make the tool write over its input.
TEST_P(Zor2remapLinks, OutputThatIsTheInputIsRefused)
{
    put_program_disk("images/prog.dsk");
    if (GetParam().symbolic) {
        std::filesystem::create_symlink("images/prog.dsk", dir() / "prog.NEW.dsk");
    } else {
        std::filesystem::create_hard_link(dir() / "images/prog.dsk", dir() / "prog.NEW.dsk");
    }
    cli::RunOptions options;
    options.input = "y\n";
    expect_outcome(run({"-d", "images/prog.dsk"}, options),
                   patched_lines("images/prog.dsk", "prog.NEW.dsk")
                       + "ERROR: output file is the input file: prog.NEW.dsk\n"
                         "ERROR: can't patch: images/prog.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), (std::vector<std::string>{"images/", "images/prog.dsk", "prog.NEW.dsk"}));
}

INSTANTIATE_TEST_SUITE_P(Safety, Zor2remapLinks,
                         ::testing::Values(LinkKind{"SymbolicLink", true},
                                           LinkKind{"HardLink", false}),
                         CaseName{});

// A link that leads nowhere still bears the name: the tool asks, and a no
// leaves nothing behind at the place the link points to.
TEST_F(Zor2remap, DanglingLinkAsOutputIsAskedAbout)
{
    if (windows()) {
        GTEST_SKIP() << "links are made with POSIX calls";
    }
    put_program_disk();
    std::filesystem::create_symlink("elsewhere.dsk", dir() / "Zor2Prog.NEW.dsk");
    cli::RunOptions options;
    options.input = "n\n";
    expect_outcome(run({}, options),
                   patched_lines("Zor2Prog.dsk", "Zor2Prog.NEW.dsk")
                       + overwrite_question("Zor2Prog.NEW.dsk")
                       + "ERROR: can't patch: Zor2Prog.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), (std::vector<std::string>{"Zor2Prog.NEW.dsk", "Zor2Prog.dsk"}));
}

// --- writing fails ------------------------------------------------------------

TEST_F(Zor2remap, FullDeviceIsAWriteErrorAndTheDeviceLinkStays)
{
    if (windows()) {
        GTEST_SKIP() << "there is no full device on Windows";
    }
    put_program_disk();
    std::filesystem::create_symlink("/dev/full", dir() / "Zor2Prog.NEW.dsk");
    cli::RunOptions options;
    options.input = "y\n";
    expect_outcome(run({}, options),
                   patched_lines("Zor2Prog.dsk", "Zor2Prog.NEW.dsk")
                       + overwrite_question("Zor2Prog.NEW.dsk")
                       + "ERROR: write error: Zor2Prog.NEW.dsk\n"
                         "ERROR: can't write file: Zor2Prog.NEW.dsk\n"
                         "ERROR: can't patch: Zor2Prog.dsk\n",
                   "", 1);
    EXPECT_TRUE(std::filesystem::is_symlink(dir() / "Zor2Prog.NEW.dsk"));
}

// A write that stops part of the way leaves no truncated image behind.
TEST_F(Zor2remap, PartlyWrittenOutputIsRemoved)
{
    if (windows()) {
        GTEST_SKIP() << "the file size limit is a POSIX resource limit";
    }
    put_program_disk();
    cli::RunOptions options;
    options.file_size_limit = 4096;
    expect_outcome(run({}, options),
                   patched_lines("Zor2Prog.dsk", "Zor2Prog.NEW.dsk")
                       + "ERROR: write error: Zor2Prog.NEW.dsk\n"
                         "ERROR: can't write file: Zor2Prog.NEW.dsk\n"
                         "ERROR: can't patch: Zor2Prog.dsk\n",
                   "", 1);
    EXPECT_EQ(files(), std::vector<std::string>{"Zor2Prog.dsk"});
}

} // namespace
