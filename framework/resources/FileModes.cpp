#include "framework/resources/FileModes.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "framework/core/Log.h"
#include "framework/platform/FileNames.h"
#include "framework/resources/FileArchive.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/MemoryBuffer.h"

namespace {

std::atomic<int> defaultFileMode {FILE_MODE_FILE};

// The archive is used from the main thread and the loader thread alike.
std::mutex& archiveMutex()
{
    static std::mutex mutex;
    return mutex;
}

bool readDiskFile(const std::string& path, MemoryBuffer& buffer)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bool loaded = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            if (!buffer.allocate(static_cast<size_t>(size))) {
                LOG_ERROR("file \"" + path + "\" is too large to load");
            } else if (std::fread(buffer.getData(), 1, static_cast<size_t>(size), file) ==
                       static_cast<size_t>(size)) {
                loaded = true;
            } else {
                LOG_ERROR("file \"" + path + "\" could not be read whole");
                buffer.clear();
            }
        }
    }
    std::fclose(file);
    return loaded;
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

bool loadFileToBuffer(int mode, const std::string& path, MemoryBuffer& buffer)
{
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
    if (!loaded)
        loaded = readDiskFile(stored, buffer);
    if (loaded && (effective == FILE_MODE_ENCRYPT_FILE || effective == FILE_MODE_ENCRYPT_ZIP))
        applyFileCipher(buffer.getData(), buffer.getByteCount());
    return loaded;
}
