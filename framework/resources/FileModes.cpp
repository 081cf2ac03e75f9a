#include "framework/resources/FileModes.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <unistd.h>
#include <mutex>

#include "framework/core/Log.h"
#include "framework/platform/FileNames.h"
#include "framework/resources/FileArchive.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/MemoryBuffer.h"
#include "host/Folders.h"

namespace {

std::atomic<int> defaultFileMode {FILE_MODE_FILE};

// The archive is used from the main thread and the loader thread alike.
std::mutex& archiveMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Only a regular file is read, and never more than `maxBytes` of it: a pipe
// in place of a stored file would block the open, a huge one exhaust memory.
FileReadResult readDiskFile(const std::string& path, MemoryBuffer& buffer, size_t maxBytes)
{
    int descriptor = -1;
    size_t size = 0;
    std::string reason;
    FileReadResult result = openRegularFile(path, maxBytes, descriptor, size, &reason);
    if (result == FileReadResult::Read) {
        if (size == 0) {
            result = FileReadResult::Failed;
        } else if (!buffer.allocate(size)) {
            LOG_ERROR("file \"" + path + "\" is too large to load");
            result = FileReadResult::TooLarge;
        } else {
            size_t done = 0;
            while (done < size) {
                const ssize_t got = ::read(descriptor, buffer.getData() + done, size - done);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    break;
                done += static_cast<size_t>(got);
            }
            if (done != size) {
                LOG_ERROR("file \"" + path + "\" could not be read whole");
                buffer.clear();
                result = FileReadResult::Failed;
            }
        }
        ::close(descriptor);
    } else if (result != FileReadResult::Missing) {
        LOG_ERROR("file " + reason);
    }
    return result;
}

} // namespace

void setupArchive(const std::string& name, int mode)
{
    std::string archiveName = name;
    if (archiveName.empty()) {
        if (std::FILE* probe = std::fopen("media.dat", "rb")) {
            std::fclose(probe);
            archiveName = "media.dat";
            if (mode != FILE_MODE_ENCRYPT_ZIP)
                mode = FILE_MODE_ZIP;
        }
    }
    if (mode == FILE_MODE_DEFAULT)
        mode = FILE_MODE_ENCRYPT_ZIP;
    std::lock_guard<std::mutex> lock(archiveMutex());
    if (FileArchive::instance)
        FileArchive::instance->release();
    FileArchive::instance = new FileArchive(archiveName);
    FileArchive::instance->addRef();
    defaultFileMode = mode;
}

void shutdownArchive()
{
    std::lock_guard<std::mutex> lock(archiveMutex());
    if (FileArchive::instance)
        FileArchive::instance->release();
    FileArchive::instance = nullptr;
    defaultFileMode = FILE_MODE_FILE;
}

int getDefaultFileMode()
{
    std::lock_guard<std::mutex> lock(archiveMutex());
    return FileArchive::instance ? defaultFileMode.load() : FILE_MODE_FILE;
}

int effectiveFileMode(int mode)
{
    return mode == FILE_MODE_DEFAULT ? getDefaultFileMode() : mode;
}

int fileModeFromWord(const std::string& word)
{
    if (word == "file")
        return FILE_MODE_FILE;
    if (word == "zip")
        return FILE_MODE_ZIP;
    if (word == "encryptfile")
        return FILE_MODE_ENCRYPT_FILE;
    if (word == "encryptzip")
        return FILE_MODE_ENCRYPT_ZIP;
    return FILE_MODE_DEFAULT;
}

std::string storedFileName(const std::string& path, int mode)
{
    const int effective = effectiveFileMode(mode);
    if (effective == FILE_MODE_ENCRYPT_FILE || effective == FILE_MODE_ENCRYPT_ZIP)
        return path + ".!";
    return path;
}

bool loadFileToBuffer(int mode, const std::string& path, MemoryBuffer& buffer, size_t maxBytes,
                      FileReadResult* diskResult)
{
    if (diskResult)
        *diskResult = FileReadResult::Missing;
    buffer.clear();
    int effective = effectiveFileMode(mode);
    if (effective < FILE_MODE_FILE || effective > FILE_MODE_ENCRYPT_ZIP)
        effective = FILE_MODE_FILE;
    const std::string stored = storedFileName(normalizePath(path), effective);
    bool loaded = false;
    if (effective == FILE_MODE_ZIP || effective == FILE_MODE_ENCRYPT_ZIP) {
        FileArchive::ReadResult result = FileArchive::ReadResult::Missing;
        {
            std::lock_guard<std::mutex> lock(archiveMutex());
            if (FileArchive::instance)
                result = FileArchive::instance->readFile(stored, buffer);
        }
        if (result == FileArchive::ReadResult::Damaged)
            return false;
        if (result == FileArchive::ReadResult::Loaded)
            loaded = true;
        else
            effective = effective == FILE_MODE_ZIP ? FILE_MODE_FILE : FILE_MODE_ENCRYPT_FILE;
    }
    if (!loaded) {
        const FileReadResult result = readDiskFile(stored, buffer, maxBytes);
        loaded = result == FileReadResult::Read;
        if (diskResult)
            *diskResult = result;
    }
    if (loaded && (effective == FILE_MODE_ENCRYPT_FILE || effective == FILE_MODE_ENCRYPT_ZIP))
        applyFileCipher(buffer.getData(), buffer.getByteCount());
    return loaded;
}
