#include "platform.hpp"

#ifdef _WIN32

#include <windows.h>

// The programs take their arguments as the shell passed them: the MinGW
// runtime expands no wildcards.
extern "C" {
int _dowildcard = 0;
}

namespace {

// Opens a name only to look at it: no access to its content is asked for,
// every kind of sharing is allowed, and directories open too.
HANDLE open_for_query(const char* path)
{
    return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool query_identity(const char* path, BY_HANDLE_FILE_INFORMATION& info)
{
    HANDLE handle = open_for_query(path);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const BOOL known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return known != 0;
}

} // namespace

const char* path_after_drive(const char* path)
{
    const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    return letter && path[1] == ':' ? path + 2 : path;
}

bool path_exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool same_file(const char* first, const char* second)
{
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return query_identity(first, a) && query_identity(second, b)
           && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber
           && a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool is_regular_file(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES
           && (attributes
               & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT))
                  == 0;
}

#else

#include <sys/stat.h>

const char* path_after_drive(const char* path)
{
    return path;
}

bool path_exists(const char* path)
{
    struct stat status {};
    return lstat(path, &status) == 0;
}

bool same_file(const char* first, const char* second)
{
    struct stat a {};
    struct stat b {};
    return stat(first, &a) == 0 && stat(second, &b) == 0 && a.st_dev == b.st_dev
           && a.st_ino == b.st_ino;
}

bool is_regular_file(const char* path)
{
    struct stat status {};
    return lstat(path, &status) == 0 && S_ISREG(status.st_mode);
}

#endif
