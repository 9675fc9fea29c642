#include "cli_fixture.hpp"

namespace cli {

std::string patched_lines(const std::string& input, const std::string& output)
{
    return "read original file: " + input + "\nmodify image\nwrite modified file: " + output + "\n";
}

std::string overwrite_question(const std::string& output)
{
    return "already exists '" + output + "'\noverwrite ? (Y or N): ";
}

CliTest::CliTest(const char* program_variable, const char* built_program)
    : program_(program_path(program_variable, built_program))
{
}

void CliTest::TearDown()
{
    for (const auto& [name, content] : inputs_) {
        EXPECT_EQ(file(name), content) << "input " << name << " was changed";
    }
}

void CliTest::put_input(const std::string& name, const test_support::Bytes& content)
{
    const std::filesystem::path path = dir() / name;
    std::filesystem::create_directories(path.parent_path());
    test_support::write_file(path, content);
    inputs_[name] = content;
}

Outcome CliTest::run(const std::vector<std::string>& args, const RunOptions& options) const
{
    Outcome outcome = run_program(program_, args, dir(), options);
    EXPECT_FALSE(outcome.timed_out) << "the program did not end in time";
    return outcome;
}

std::string CliTest::console(const std::string& text) const
{
    if (!windows()) {
        return text;
    }
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

void CliTest::expect_outcome(const Outcome& got, const std::string& out, const std::string& err,
                             int status) const
{
    EXPECT_EQ(got.out, console(out));
    EXPECT_EQ(got.err, console(err));
    EXPECT_EQ(got.status, status);
}

} // namespace cli
