#include "patcher/file_console.hpp"
#include "unit_fixture.hpp"

#include "case_name.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using test_support::Bytes;

class LoadFile : public InWorkingDirectory {
  protected:
    int load(const char* path)
    {
        start_capture();
        const int result = load_file(path, buffer, length);
        printed = captured();
        return result;
    }

    std::unique_ptr<unsigned char[]> buffer{new unsigned char[1]};
    std::size_t length = 99;
    std::string printed;
};

TEST_F(LoadFile, ReadsAWholeImage)
{
    const Bytes image = test_support::filler_image();
    test_support::write_file("image.dsk", image);
    EXPECT_EQ(load("image.dsk"), 0);
    EXPECT_EQ(printed, "");
    ASSERT_EQ(length, test_support::image_size);
    EXPECT_EQ(Bytes(buffer.get(), buffer.get() + length), image);
}

TEST_F(LoadFile, MissingFileLeavesNoBuffer)
{
    EXPECT_EQ(load("missing.dsk"), -1);
    EXPECT_EQ(printed, "ERROR: open error: missing.dsk\n");
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(length, 0u);
}

TEST_F(LoadFile, EmptyFileIsAReadErrorWithAnEmptyBufferHandedOver)
{
    test_support::write_file("empty.dsk", Bytes{});
    EXPECT_EQ(load("empty.dsk"), -1);
    EXPECT_EQ(printed, "ERROR: read error: empty.dsk\n");
    EXPECT_NE(buffer, nullptr);
    EXPECT_EQ(length, 0u);
}

TEST_F(LoadFile, DeviceWithoutEndIsAReadError)
{
    EXPECT_EQ(load("/dev/null"), -1);
    EXPECT_EQ(printed, "ERROR: read error: /dev/null\n");
    EXPECT_EQ(length, 0u);
}

class SaveFile : public InWorkingDirectory {
  protected:
    int save(const char* path, const Bytes& data)
    {
        start_capture();
        const int result = save_file(path, data.data(), data.size());
        printed = captured();
        return result;
    }

    std::string printed;
};

TEST_F(SaveFile, ReplacesTheWholeContent)
{
    test_support::write_file("out.dsk", test_support::filler_image(200000));
    const Bytes data = {1, 2, 3, 0, 5};
    EXPECT_EQ(save("out.dsk", data), 0);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(test_support::read_file("out.dsk"), data);
}

TEST_F(SaveFile, NothingToWriteMakesAnEmptyFile)
{
    EXPECT_EQ(save("empty.dsk", Bytes{}), 0);
    EXPECT_EQ(test_support::read_file("empty.dsk"), Bytes{});
}

TEST_F(SaveFile, MissingDirectoryIsAnOpenError)
{
    EXPECT_EQ(save("no/such/dir.dsk", Bytes{1}), -1);
    EXPECT_EQ(printed, "ERROR: open error: no/such/dir.dsk\n");
    EXPECT_EQ(test_support::list_tree(dir()), std::vector<std::string>{});
}

TEST_F(SaveFile, FullDeviceIsAWriteError)
{
    EXPECT_EQ(save("/dev/full", test_support::filler_image()), -1);
    EXPECT_EQ(printed, "ERROR: write error: /dev/full\n");
}

struct AnswerCase {
    const char* name;
    std::string typed;
    int answer;
    std::string left; // what stays in standard input for the next reader
};

class AskYesNo : public InWorkingDirectory, public ::testing::WithParamInterface<AnswerCase> {};

// The first Y, y, N or n decides; anything before it is passed over, nothing
// after it is read, and the end of input answers no.
TEST_P(AskYesNo, FirstDecidingCharacterAnswers)
{
    feed_input(GetParam().typed);
    start_capture();
    EXPECT_EQ(ask_yes_no("overwrite ?"), GetParam().answer);
    EXPECT_EQ(captured(), "overwrite ? (Y or N): ");
    std::string rest;
    for (int c = std::getchar(); c != EOF; c = std::getchar()) {
        rest += static_cast<char>(c);
    }
    EXPECT_EQ(rest, GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Answers, AskYesNo,
                         ::testing::Values(AnswerCase{"UpperY", "Y\n", 1, "\n"},
                                           AnswerCase{"LowerY", "y", 1, ""},
                                           AnswerCase{"UpperN", "N\n", 0, "\n"},
                                           AnswerCase{"LowerN", "n\n", 0, "\n"},
                                           AnswerCase{"YInsideMaybe", "maybe\n", 1, "be\n"},
                                           AnswerCase{"BlanksThenN", "   \n  N\n", 0, "\n"},
                                           AnswerCase{"DigitsAndLettersFirst", "42 ok\nY", 1, ""},
                                           AnswerCase{"TypedAheadLeavesTheRest", "yn\n", 1, "n\n"},
                                           AnswerCase{"OnlyEnterThenEnd", "\n\n\n", 0, ""},
                                           AnswerCase{"EndOfInput", "", 0, ""}),
                         CaseName{});

class AskYesNoTwice : public InWorkingDirectory {};

TEST_F(AskYesNoTwice, TypedAheadAnswerServesTheNextQuestion)
{
    feed_input("yn\n");
    start_capture();
    EXPECT_EQ(ask_yes_no("first ?"), 1);
    EXPECT_EQ(ask_yes_no("second ?"), 0);
    EXPECT_EQ(captured(), "first ? (Y or N): second ? (Y or N): ");
}

} // namespace
