#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// What a finished run of a program left behind.
struct Outcome {
    std::string out;
    std::string err;
    int status = -1; // the exit status, or 128 + the signal that ended it
    bool timed_out = false;
};

struct RunOptions {
    std::string input;                            // all of standard input, then its end
    std::optional<unsigned long> file_size_limit; // in bytes; writes beyond it fail
};

// The program under test: the path in the environment variable `variable`
// when it is set, the one given by the build otherwise.
std::string program_path(const char* variable, const char* built_path);

// True when the program is a Windows one (run through a launcher such as Wine),
// whose console lines end in CR LF.
bool is_windows_program(const std::string& program);

// Runs `program` with `args` in the directory `cwd`, through the launcher named
// by the environment variable ZOR_LAUNCHER when that is set.
Outcome run_program(const std::string& program, const std::vector<std::string>& args,
                    const std::filesystem::path& cwd, const RunOptions& options = {});

} // namespace cli
