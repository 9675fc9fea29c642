#include "patcher/image_patcher.hpp"

#include "patcher/file_console.hpp"
#include "platform.hpp"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Verifies and applies the table to the image in memory, entry by entry, so
// that a later entry for the same offset is compared with the byte an earlier
// one wrote. Stops at the first entry that lies outside the image or does not
// find its old byte. Returns 0 or -1.
int apply_patches(const char* path, unsigned char* image, std::size_t length,
                  const PatchEntry* patch_info)
{
    for (int i = 0; patch_info[i].offset >= 0; ++i) {
        const PatchEntry& entry = patch_info[i];
        const auto offset = static_cast<std::size_t>(entry.offset);
        if (offset >= length) {
            std::printf("BUG: patch_info[%d] offset=%08X old=%02X new=%02X\n", i,
                        static_cast<unsigned>(entry.offset), unsigned{entry.old_byte},
                        unsigned{entry.new_byte});
            return -1;
        }
        if (image[offset] != entry.old_byte) {
            std::printf("ERROR: mismatch: %s: offset=%08X value=%02X\n", path,
                        static_cast<unsigned>(entry.offset), unsigned{image[offset]});
            return -1;
        }
        image[offset] = entry.new_byte;
    }
    return 0;
}

// Decides whether the output may be written under its name: a free name may,
// an existing one only after the user agrees, and never one that leads to the
// input file itself. Returns 0 or -1.
int confirm_output(const char* path, const char* output_name)
{
    if (!path_exists(output_name)) {
        return 0;
    }
    if (same_file(path, output_name)) {
        std::printf("ERROR: output file is the input file: %s\n", output_name);
        return -1;
    }
    std::printf("already exists '%s'\n", output_name);
    return ask_yes_no("overwrite ?") == 1 ? 0 : -1;
}

} // namespace

std::unique_ptr<char[]> make_output_name(const char* path)
{
    // A drive without a separator after it ("C:prog.dsk") is a directory part
    // too, or the output would land in that drive's current directory.
    const char* path_body = path_after_drive(path);
    const char* slash = std::strrchr(path_body, '/');
    const char* backslash = std::strrchr(path_body, '\\');
    const char* separator = slash;
    if (backslash != nullptr && (slash == nullptr || backslash > slash)) {
        separator = backslash;
    }
    const char* base = separator != nullptr ? separator + 1 : path_body;
    const std::size_t base_length = std::strlen(base);

    std::unique_ptr<char[]> name{new (std::nothrow) char[base_length + 5]};
    if (!name) {
        std::printf("ERROR: memory exhausted!\n");
        return name;
    }
    const char* dot = std::strrchr(base, '.');
    const std::size_t stem_length =
        dot != nullptr ? static_cast<std::size_t>(dot - base) : base_length;
    std::memcpy(name.get(), base, stem_length);
    std::memcpy(name.get() + stem_length, ".NEW", 4);
    std::memcpy(name.get() + stem_length + 4, base + stem_length, base_length - stem_length + 1);
    return name;
}

int patch_disk_image(const char* path, const PatchEntry* patch_info)
{
    std::printf("read original file: %s\n", path);
    std::unique_ptr<unsigned char[]> image;
    std::size_t length = 0;
    if (load_file(path, image, length) < 0) {
        std::printf("ERROR: can't read file: %s\n", path);
        return -1;
    }
    if (length != DISK_IMAGE_SIZE) {
        std::printf("ERROR: file size mismatch: %s size=%zu\n", path, length);
        return -1;
    }
    std::printf("modify image\n");
    if (apply_patches(path, image.get(), length, patch_info) < 0) {
        return -1;
    }
    const std::unique_ptr<char[]> output_name = make_output_name(path);
    if (!output_name) {
        std::printf("ERROR: can't make output filename\n");
        return -1;
    }
    std::printf("write modified file: %s\n", output_name.get());
    if (confirm_output(path, output_name.get()) < 0) {
        return -1;
    }
    if (save_file(output_name.get(), image.get(), length) < 0) {
        std::printf("ERROR: can't write file: %s\n", output_name.get());
        return -1;
    }
    return 0;
}
