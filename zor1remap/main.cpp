#include "patch_tables.hpp"
#include "patcher/command_line.hpp"
#include "patcher/image_patcher.hpp"

#include <cstdio>

namespace {

void print_usage()
{
    std::printf("usage: zor1remap [option]\n");
    std::printf("option: -d1|--program-disk FILE     specify program disk image name\n");
    std::printf("        -d2|--player-disk FILE      specify player disk image name\n");
    std::printf("        -? |--help                  print usage\n");
}

} // namespace

int main(int argc, char** argv)
{
    const char* program_disk = "zor1Mater.dsk";
    const char* player_disk = "zor1player.dsk";
    const ImageOption options[] = {
        {"-d1", "--program-disk", &program_disk, "ERROR: no program disk name\n"},
        {"-d2", "--player-disk", &player_disk, "ERROR: no player disk name\n"},
    };
    if (const int status = read_command_line(argc, argv, options, print_usage); status != 0) {
        return status;
    }
    // The program disk always comes first, whatever the order of the options.
    if (patch_disk_image(program_disk, program_disk_patches) < 0) {
        std::printf("ERROR: can't patch: %s\n", program_disk);
        return 1;
    }
    if (patch_disk_image(player_disk, player_disk_patches) < 0) {
        std::printf("ERROR: can't patch: %s\n", player_disk);
        return 1;
    }
    std::printf("completed\n");
    return 0;
}
