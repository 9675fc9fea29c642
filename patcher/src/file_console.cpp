#include "patcher/file_console.hpp"

#include "platform.hpp"

#include <cstdio>
#include <new>
#include <utility>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Measures an open file by seeking to its end and stores the position in
// `length`. A position that cannot be reported (a pipe, say) is a seek error,
// never a length.
int measure_file(const char* path, std::FILE* file, std::size_t& length)
{
    const long end = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    if (end >= 0) {
        length = static_cast<std::size_t>(end);
    }
    if (end < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::printf("ERROR: seek error: %s\n", path);
        return -1;
    }
    return 0;
}

// Writes and closes the file, so that a failure reported by the close (the
// last buffered bytes not reaching the disk) counts like any other.
int write_and_close(FileHandle file, const unsigned char* data, std::size_t length)
{
    const bool written = length == 0 || std::fwrite(data, length, 1, file.get()) == 1;
    const bool flushed = std::fflush(file.get()) == 0 && std::ferror(file.get()) == 0;
    const bool closed = std::fclose(file.release()) == 0;
    return written && flushed && closed ? 0 : -1;
}

} // namespace

int load_file(const char* path, std::unique_ptr<unsigned char[]>& buffer, std::size_t& length)
{
    buffer.reset();
    length = 0;
    const FileHandle file{std::fopen(path, "rb")};
    if (!file) {
        std::printf("ERROR: open error: %s\n", path);
        return -1;
    }
    if (measure_file(path, file.get(), length) < 0) {
        return -1;
    }
    buffer.reset(new (std::nothrow) unsigned char[length]);
    if (!buffer) {
        std::printf("ERROR: memory exhausted!\n");
        return -1;
    }
    if (std::fread(buffer.get(), length, 1, file.get()) != 1) {
        std::printf("ERROR: read error: %s\n", path);
        return -1;
    }
    return 0;
}

int save_file(const char* path, const unsigned char* data, std::size_t length)
{
    FileHandle file{std::fopen(path, "wb")};
    if (!file) {
        std::printf("ERROR: open error: %s\n", path);
        return -1;
    }
    if (write_and_close(std::move(file), data, length) < 0) {
        std::printf("ERROR: write error: %s\n", path);
        // Never leave a truncated image under the name; a link or a device
        // that bears it is not ours to remove.
        if (is_regular_file(path)) {
            std::remove(path);
        }
        return -1;
    }
    return 0;
}

int ask_yes_no(const char* question)
{
    std::printf("%s (Y or N): ", question);
    std::fflush(stdout);
    for (;;) {
        switch (std::getchar()) {
        case 'Y':
        case 'y':
            return 1;
        case 'N':
        case 'n':
        case EOF:
            return 0;
        default:
            break;
        }
    }
}
