#pragma once

#include <cstddef>
#include <memory>

// Whole-file reading and writing and the yes/no question. Every line these
// print goes to standard output; each reports failure by its result after
// printing its own line.

// Reads the whole file at `path` into a new buffer of exactly its length.
// Sets `buffer` to none and `length` to 0 first; the buffer is handed over as
// soon as it is allocated, so it belongs to the caller even when the read
// fails. Returns 0 when the whole file was read, -1 otherwise.
int load_file(const char* path, std::unique_ptr<unsigned char[]>& buffer, std::size_t& length);

// Writes `length` bytes of `data` as the whole content of the file at `path`,
// creating it or cutting it to length 0. Failing to write, to flush or to
// close the file all count as a write error. Returns 0 or -1.
int save_file(const char* path, const unsigned char* data, std::size_t length);

// Prints "<question> (Y or N): ", flushes standard output and reads single
// characters until one is Y, y, N or n; nothing after it is read. Returns 1
// for yes and 0 for no; end of input or a read error also answers no.
int ask_yes_no(const char* question);
