#include "patch_table.hpp"
#include "patcher/image_patcher.hpp"

#include <cstdio>
#include <string_view>

namespace {

void print_usage()
{
    std::printf("usage: zor2remap [option]\n");
    std::printf("option: -d|--program-disk FILE      specify program disk image name\n");
    std::printf("        -?|--help                   print usage\n");
}

// Reads the options into `program_disk`. Returns 0 when the whole command line
// is accepted, or the exit status of a run that it ends.
int read_command_line(int argc, char** argv, const char*& program_disk)
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
        if (arg == "-d" || arg == "--program-disk") {
            if (++i == argc) {
                std::printf("ERROR: no program disk name\n");
                return 1;
            }
            program_disk = argv[i];
            continue;
        }
        std::fprintf(stderr, "ERROR: unknown option '%s'\n", argv[i]);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* program_disk = "Zor2Prog.dsk";
    if (const int status = read_command_line(argc, argv, program_disk); status != 0) {
        return status;
    }
    if (patch_disk_image(program_disk, one_disk_patches) < 0) {
        std::printf("ERROR: can't patch: %s\n", program_disk);
        return 1;
    }
    std::printf("completed\n");
    return 0;
}
