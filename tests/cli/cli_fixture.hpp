#pragma once

#include "run_program.hpp"
#include "test_support.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace cli {

// The three lines of an image that was read, patched and is about to be
// written under `output`.
std::string patched_lines(const std::string& input, const std::string& output);

// The lines about an existing output and the question that follows them.
std::string overwrite_question(const std::string& output);

// A command line that ends the run before any file is opened.
struct RejectedLine {
    const char* name;
    std::vector<std::string> args;
    std::string out;
    std::string err;
};

// What the user types at an overwrite question, and whether it means yes.
struct Answer {
    const char* name;
    std::string typed;
    bool overwrite;
};

// One program run in a fresh working directory. Every file the test places
// there with put_input() must hold the same bytes when the test ends.
class CliTest : public ::testing::Test {
  protected:
    CliTest(const char* program_variable, const char* built_program);

    void TearDown() override;

    const std::filesystem::path& dir() const { return dir_.path(); }
    const std::string& program() const { return program_; }
    bool windows() const { return is_windows_program(program_); }

    // Places an input file, directories included, and remembers its content.
    void put_input(const std::string& name, const test_support::Bytes& content);

    Outcome run(const std::vector<std::string>& args, const RunOptions& options = {}) const;

    // The console text that the program prints for `text`: on Windows every
    // "\n" reaches the console as CR LF.
    std::string console(const std::string& text) const;

    // Compares everything a run shows a user: both streams and the exit status.
    void expect_outcome(const Outcome& got, const std::string& out, const std::string& err,
                        int status) const;

    // The names in the working directory afterwards, sorted.
    std::vector<std::string> files() const { return test_support::list_tree(dir()); }

    std::optional<test_support::Bytes> file(const std::string& name) const
    {
        return test_support::read_file(dir() / name);
    }

  private:
    test_support::TempDir dir_;
    std::string program_;
    std::map<std::string, test_support::Bytes> inputs_;
};

} // namespace cli
