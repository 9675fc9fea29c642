#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// One byte of an image to verify and rewrite. A table of these is read in
// order and ends at the first entry whose offset is negative.
struct PatchEntry {
    std::int32_t offset;
    std::uint8_t old_byte;
    std::uint8_t new_byte;
};

// The one length that every input image must have.
inline constexpr std::size_t DISK_IMAGE_SIZE = 0x23000;

// Loads the image at `path`, checks its size, verifies and applies every entry
// of `patch_info` in order, and saves the result under make_output_name(path)
// in the working directory, asking first when that name already exists. The
// input is only ever read. Returns 0 when the patched image has been saved and
// -1 on any failure, after printing the failure's lines on standard output.
int patch_disk_image(const char* path, const PatchEntry* patch_info);

// Returns the base name of `path` (what follows its last '/' or '\', and on
// Windows a leading drive such as "C:") with ".NEW" put before its last
// extension, or appended when it has none; a null pointer, after
// "ERROR: memory exhausted!", when no memory is left.
std::unique_ptr<char[]> make_output_name(const char* path);
