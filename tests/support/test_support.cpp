#include "test_support.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

namespace test_support {

TempDir::TempDir()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zorremap-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Bytes filler_image(std::size_t size)
{
    // Only the bytes 0x60 to 0x7F occur, none of which a patch table names.
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<unsigned char>(0x60 + (i * 7 + i / 251) % 32);
    }
    return image;
}

namespace {

Bytes image_with(const std::vector<ImageByte>& bytes, bool patched)
{
    Bytes image = filler_image();
    for (const ImageByte& byte : bytes) {
        image.at(byte.offset) = patched ? byte.after : byte.before;
    }
    return image;
}

} // namespace

Bytes image_before(const std::vector<ImageByte>& bytes)
{
    return image_with(bytes, false);
}

Bytes image_after(const std::vector<ImageByte>& bytes)
{
    return image_with(bytes, true);
}

std::vector<std::size_t> differing_offsets(const Bytes& a, const Bytes& b)
{
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i]) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

void write_file(const std::filesystem::path& path, const Bytes& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void write_file(const std::filesystem::path& path, const std::string& content)
{
    write_file(path, Bytes(content.begin(), content.end()));
}

std::optional<Bytes> read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> list_tree(const std::filesystem::path& root)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory() && !entry.is_symlink()) {
            name += '/';
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace test_support
