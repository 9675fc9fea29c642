#include "patcher/command_line.hpp"

#include <cstdio>

namespace {

const ImageOption* find_option(std::string_view word, std::span<const ImageOption> options)
{
    for (const ImageOption& option : options) {
        if (word == option.short_word || word == option.long_word) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

int read_command_line(int argc, char** argv, std::span<const ImageOption> options,
                      void (*print_usage)())
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg{argv[i]};
        if (!arg.starts_with('-')) {
            std::fprintf(stderr, "ERROR: illegal parameter '%s'\n", argv[i]);
            return 1;
        }
        if (arg == "-?" || arg == "--help") {
            print_usage();
            return 1;
        }
        const ImageOption* option = find_option(arg, options);
        if (option == nullptr) {
            std::fprintf(stderr, "ERROR: unknown option '%s'\n", argv[i]);
            return 1;
        }
        if (++i == argc) {
            std::printf("%s", option->missing_name_line);
            return 1;
        }
        *option->image_name = argv[i];
    }
    return 0;
}
