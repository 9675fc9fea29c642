#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

using Bytes = std::vector<unsigned char>;

// The length of every disk image the programs accept, stated here on its own
// so that tests do not take it from the code under test.
inline constexpr std::size_t image_size = 143360;

// A byte of a synthetic image that a patch is expected to rewrite.
struct ImageByte {
    std::size_t offset;
    unsigned char before;
    unsigned char after;
};

// A fresh, empty directory for one test, removed with all it holds at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A synthetic image of `size` bytes: a fixed pattern with no meaning, which
// never happens to hold any byte that a test places.
Bytes filler_image(std::size_t size = image_size);

// The filler image with each listed byte set to its `before` value.
Bytes image_before(const std::vector<ImageByte>& bytes);

// The filler image with each listed byte set to its `after` value.
Bytes image_after(const std::vector<ImageByte>& bytes);

// The offsets at which two byte strings of equal length differ.
std::vector<std::size_t> differing_offsets(const Bytes& a, const Bytes& b);

void write_file(const std::filesystem::path& path, const Bytes& content);
void write_file(const std::filesystem::path& path, const std::string& content);

// The whole content of a file, or nothing when it cannot be read.
std::optional<Bytes> read_file(const std::filesystem::path& path);

// Every name below `root`, relative to it and sorted; directories end in '/'.
std::vector<std::string> list_tree(const std::filesystem::path& root);

} // namespace test_support
