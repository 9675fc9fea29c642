#include "run_program.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cli {

namespace {

std::vector<std::string> split_words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> command_words(const std::string& program,
                                       const std::vector<std::string>& args)
{
    const char* launcher = std::getenv("ZOR_LAUNCHER");
    std::vector<std::string> words = split_words(launcher != nullptr ? launcher : "");
    words.push_back(program);
    words.insert(words.end(), args.begin(), args.end());
    return words;
}

std::chrono::seconds run_time_limit()
{
    const char* text = std::getenv("ZOR_TEST_TIMEOUT");
    return std::chrono::seconds(text != nullptr ? std::atoi(text) : 30);
}

struct Pipe {
    int read_end = -1;
    int write_end = -1;
};

Pipe make_pipe()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    return {ends[0], ends[1]};
}

[[noreturn]] void start_child(char* const* argv, const std::filesystem::path& cwd,
                              const RunOptions& options, const Pipe& in, const Pipe& out,
                              const Pipe& err)
{
    if (chdir(cwd.c_str()) != 0 || dup2(in.read_end, 0) < 0 || dup2(out.write_end, 1) < 0
        || dup2(err.write_end, 2) < 0) {
        _exit(126);
    }
    std::signal(SIGPIPE, SIG_DFL);
    if (options.file_size_limit) {
        // A write beyond the limit then fails with EFBIG instead of a signal.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*options.file_size_limit, *options.file_size_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    execvp(argv[0], argv);
    _exit(127);
}

// Feeds standard input and collects both output streams until the child has
// closed them, or until the time limit, when the child is killed.
bool exchange(pid_t child, const std::string& input, int in_fd, int out_fd, int err_fd,
              Outcome& outcome)
{
    const auto deadline = std::chrono::steady_clock::now() + run_time_limit();
    std::size_t written = 0;
    if (input.empty()) {
        close(in_fd);
        in_fd = -1;
    }
    while (out_fd >= 0 || err_fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(child, SIGKILL);
            break;
        }
        pollfd fds[3] = {{in_fd, POLLOUT, 0}, {out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
        if (poll(fds, 3, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            throw std::runtime_error("poll failed");
        }
        if (fds[0].revents != 0) {
            const ssize_t n = write(in_fd, input.data() + written, input.size() - written);
            written += n > 0 ? static_cast<std::size_t>(n) : 0;
            if (n < 0 || written == input.size()) {
                close(in_fd);
                in_fd = -1;
            }
        }
        int* readers[2] = {&out_fd, &err_fd};
        std::string* sinks[2] = {&outcome.out, &outcome.err};
        for (int i = 0; i < 2; ++i) {
            if (fds[i + 1].revents == 0) {
                continue;
            }
            char chunk[4096];
            const ssize_t n = read(*readers[i], chunk, sizeof chunk);
            if (n > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(n));
            } else {
                close(*readers[i]);
                *readers[i] = -1;
            }
        }
    }
    for (int fd : {in_fd, out_fd, err_fd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    return out_fd < 0 && err_fd < 0;
}

} // namespace

std::string program_path(const char* variable, const char* built_path)
{
    const char* path = std::getenv(variable);
    return path != nullptr && *path != '\0' ? path : built_path;
}

bool is_windows_program(const std::string& program)
{
    return program.size() > 4 && program.compare(program.size() - 4, 4, ".exe") == 0;
}

Outcome run_program(const std::string& program, const std::vector<std::string>& args,
                    const std::filesystem::path& cwd, const RunOptions& options)
{
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> words = command_words(program, args);
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const Pipe in = make_pipe();
    const Pipe out = make_pipe();
    const Pipe err = make_pipe();
    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        start_child(argv.data(), cwd, options, in, out, err);
    }
    close(in.read_end);
    close(out.write_end);
    close(err.write_end);

    Outcome outcome;
    outcome.timed_out =
        !exchange(child, options.input, in.write_end, out.read_end, err.read_end, outcome);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return outcome;
}

} // namespace cli
