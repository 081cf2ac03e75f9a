#pragma once

#include <string>
#include <vector>

// The user's folders (XDG base directories) and plain file-system calls.
// Paths use "/" and carry no trailing separator.

// $XDG_CONFIG_HOME, else ~/.config.
std::string getConfigHome();
// $XDG_DATA_HOME, else ~/.local/share (in place of the machine-wide
// application-data folder).
std::string getDataHome();
// $XDG_RUNTIME_DIR when it names an existing folder, else empty.
std::string getRuntimeFolder();
// The maker's folder under a base: base + "/Quillmark/Games".
std::string makerFolderUnder(const std::string& base);

// The running executable's full path and its folder (empty when unknown).
std::string getExecutablePath();
std::string getExecutableFolder();
std::string getCurrentFolder();
bool setCurrentFolder(const std::string& path);

bool pathExists(const std::string& path);
bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);
// Creates one folder (rwxr-xr-x); true when it exists afterwards.
bool makeDirectory(const std::string& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool makeDirectoryTree(const std::string& path);
// The same; on failure the system's reason goes to `reason`.
bool makeDirectoryTree(const std::string& path, std::string* reason);
bool removeFile(const std::string& path);
bool removeEmptyDirectory(const std::string& path);
bool renamePath(const std::string& from, const std::string& to);

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
};
// The entries of a folder without "." and ".."; false when it cannot be listed.
bool listDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);
// Seconds since 1970 (UTC).
long long getUnixTime();

// Reads a whole regular file of at most `maxSize` bytes. False (with the
// reason in `error`) for a missing, unreadable or larger file, or a folder.
bool readWholeFile(const std::string& path, std::string& contents, size_t maxSize, std::string* error);
