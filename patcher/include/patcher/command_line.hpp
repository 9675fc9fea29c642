#pragma once

#include <span>
#include <string_view>

// An option that names an image file: its short and long word, the name it
// sets, and the line printed when it is the last argument.
struct ImageOption {
    std::string_view short_word;
    std::string_view long_word;
    const char** image_name;
    const char* missing_name_line;
};

// Reads the arguments after the program's own name. Each option word in
// `options` sets its image name to the argument after it, whatever that looks
// like; "-?" and "--help" print the usage text. The first argument that ends
// the run (a help word, a bad argument, a missing name) is the last one read.
// Returns 0 when the whole command line is accepted, otherwise the exit status
// that ends the run (1) after its line or the usage text.
int read_command_line(int argc, char** argv, std::span<const ImageOption> options,
                      void (*print_usage)());
