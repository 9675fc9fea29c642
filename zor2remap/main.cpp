#include "patch_table.hpp"
#include "patcher/command_line.hpp"
#include "patcher/image_patcher.hpp"

#include <cstdio>

namespace {

void print_usage()
{
    std::printf("usage: zor2remap [option]\n");
    std::printf("option: -d|--program-disk FILE      specify program disk image name\n");
    std::printf("        -?|--help                   print usage\n");
}

} // namespace

int main(int argc, char** argv)
{
    const char* program_disk = "Zor2Prog.dsk";
    const ImageOption options[] = {
        {"-d", "--program-disk", &program_disk, "ERROR: no program disk name\n"},
    };
    if (const int status = read_command_line(argc, argv, options, print_usage); status != 0) {
        return status;
    }
    if (patch_disk_image(program_disk, one_disk_patches) < 0) {
        std::printf("ERROR: can't patch: %s\n", program_disk);
        return 1;
    }
    std::printf("completed\n");
    return 0;
}
