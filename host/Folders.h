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
// Creates an empty file that did not exist (rw-r--r--); false when anything
// is there by that name already or it cannot be made. Two processes never
// both succeed on one name.
bool createNewFile(const std::string& path);
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

// How reading a stored file ended.
enum class FileReadResult {
    Read,       // the whole file is in `contents`
    Missing,    // nothing by that name
    NotRegular, // a folder, pipe, device or socket: never opened for reading
    TooLarge,   // a regular file over the size cap
    Failed,     // it exists but could not be read (permissions, I/O error)
};

// Reads a whole regular file of at most `maxBytes` bytes. Symbolic links are
// followed. Anything but a regular file is refused without blocking (a named
// pipe in place of a file would otherwise hang the open until a writer
// comes). The reason for any other result goes to `error`.
FileReadResult readRegularFile(const std::string& path, size_t maxBytes, std::string& contents, std::string* error);

// The opening half of readRegularFile, for readers that fill their own
// buffer: on Read, `descriptor` is open (blocking, close-on-exec) on a regular
// file of `size` bytes, at most `maxBytes`; the caller closes it. On any
// other result nothing is left open.
FileReadResult openRegularFile(const std::string& path, size_t maxBytes, int& descriptor, size_t& size,
                               std::string* error);

// readRegularFile reduced to success or failure.
bool readWholeFile(const std::string& path, std::string& contents, size_t maxSize, std::string* error);
