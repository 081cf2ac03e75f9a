#pragma once

#include <cstddef>
#include <string>

#include "host/Folders.h"

class MemoryBuffer;

// Where a data file's bytes come from: a folder on disk or the archive
// "media.dat", each plain or enciphered. Enciphered files carry ".!" behind
// their names. Every caller passes its mode explicitly; 0 means the
// archive's default mode.
enum FileMode {
    FILE_MODE_DEFAULT = 0,
    FILE_MODE_FILE = 1,
    FILE_MODE_ZIP = 2,
    FILE_MODE_ENCRYPT_FILE = 3,
    FILE_MODE_ENCRYPT_ZIP = 4,
};

// Makes the global archive. With an empty name, "media.dat" in the current
// folder is used when it can be opened (and the mode becomes 2 unless it is
// 4). A mode of 0 becomes 4. The default file mode becomes `mode`.
void setupArchive(const std::string& name, int mode);
// Releases the global archive; the default mode falls back to 1.
void shutdownArchive();
// The mode that 0 stands for: the archive's default, or 1 without an archive.
int getDefaultFileMode();
// `mode`, or the default mode when it is 0.
int effectiveFileMode(int mode);
// "file", "zip", "encryptfile", "encryptzip" -> 1..4; anything else -> 0.
int fileModeFromWord(const std::string& word);

// path + ".!" when the effective mode is enciphered, else the path.
std::string storedFileName(const std::string& path, int mode);

// Reads a data file whole into `buffer` (content + a zero byte): from the
// archive in the zip modes (falling back to the disk when the entry is
// missing), deciphered in the enciphered modes. "\" in the path becomes "/".
// True when bytes were loaded; a missing file, a file of 0 bytes and a
// damaged archive entry give false and an empty buffer. A file on disk is
// read only when it is a regular file of at most `maxBytes` bytes (anything
// else is logged and treated as unreadable); how the disk read ended goes to
// `diskResult` (Missing when the archive served the file).
bool loadFileToBuffer(int mode, const std::string& path, MemoryBuffer& buffer, size_t maxBytes = size_t(1) << 30,
                      FileReadResult* diskResult = nullptr);
