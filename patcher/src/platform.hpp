#pragma once

// The few questions about files that the standard library cannot answer, one
// implementation per platform.

// The path without the drive that begins it on Windows ("C:" in "C:prog.dsk",
// which names prog.dsk in the current directory of drive C); elsewhere, where
// a colon is an ordinary character, the path itself.
const char* path_after_drive(const char* path);

// True when something of that name exists, whatever kind of thing it is; a
// symbolic link counts by itself, even when it leads nowhere.
bool path_exists(const char* path);

// True when both names lead to one and the same file, through a symbolic or a
// hard link for instance. False when either cannot be examined.
bool same_file(const char* first, const char* second);

// True when the name itself is a regular file: not a device, a directory or a
// symbolic link.
bool is_regular_file(const char* path);
