#include "framework/resources/FileArchive.h"

#include <minizip/unzip.h>

#include <cstring>

#include "framework/core/Log.h"
#include "framework/platform/FileNames.h"
#include "framework/resources/MemoryBuffer.h"

TT_DEFINE_RECORD(FileArchive, &BaseObject::classRecord);

FileArchive* FileArchive::instance = nullptr;

namespace {

// minizip's file functions over a byte array, for archives held in memory.
struct MemoryStream {
    const unsigned char* data;
    uint64_t size;
    uint64_t position;
};

voidpf ZCALLBACK memoryOpen(voidpf opaque, const void*, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    const auto* source = static_cast<const std::vector<unsigned char>*>(opaque);
    return new MemoryStream {source->data(), source->size(), 0};
}

uLong ZCALLBACK memoryRead(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* memory = static_cast<MemoryStream*>(stream);
    const uint64_t left = memory->size - memory->position;
    const uint64_t count = size < left ? size : left;
    if (count)
        std::memcpy(buffer, memory->data + memory->position, count);
    memory->position += count;
    return static_cast<uLong>(count);
}

uLong ZCALLBACK memoryWrite(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK memoryTell(voidpf, voidpf stream)
{
    return static_cast<MemoryStream*>(stream)->position;
}

long ZCALLBACK memorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* memory = static_cast<MemoryStream*>(stream);
    uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = memory->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = memory->size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    if (offset > memory->size - base)
        return -1;
    memory->position = base + offset;
    return 0;
}

int ZCALLBACK memoryClose(voidpf, voidpf stream)
{
    delete static_cast<MemoryStream*>(stream);
    return 0;
}

int ZCALLBACK memoryError(voidpf, voidpf)
{
    return 0;
}

// Deflate cannot expand data by more than about 1:1032; a header that claims
// more is damaged, and believing it would allocate without bound.
bool plausibleSize(const ArchiveEntryInfo& info)
{
    if (info.uncompressedSize > MemoryBuffer::kMaxSize)
        return false;
    if (info.compressionMethod == 0)
        return info.uncompressedSize == info.compressedSize;
    return info.uncompressedSize <= info.compressedSize * 1032 + 1024;
}

} // namespace

FileArchive::FileArchive(const std::string& archiveName) : archiveName(archiveName)
{
}

FileArchive::~FileArchive()
{
    close();
}

void FileArchive::setArchiveName(const std::string& name)
{
    close();
    archiveName = name;
    fromMemory = false;
    archiveBytes.clear();
}

void FileArchive::setArchiveBytes(const void* bytes, size_t size)
{
    close();
    const auto* first = static_cast<const unsigned char*>(bytes);
    archiveBytes.assign(first, first + size);
    fromMemory = true;
}

void FileArchive::open()
{
    if (openFlag)
        return;
    if (fromMemory) {
        zlib_filefunc64_def functions {};
        functions.zopen64_file = memoryOpen;
        functions.zread_file = memoryRead;
        functions.zwrite_file = memoryWrite;
        functions.ztell64_file = memoryTell;
        functions.zseek64_file = memorySeek;
        functions.zclose_file = memoryClose;
        functions.zerror_file = memoryError;
        functions.opaque = &archiveBytes;
        handle = unzOpen2_64("memory", &functions);
    } else if (!archiveName.empty()) {
        handle = unzOpen64(archiveName.c_str());
    }
    if (!handle && (fromMemory || !archiveName.empty()))
        LOG_ERROR("archive \"" + archiveName + "\" cannot be read as a zip file");
    openFlag = true;
}

void FileArchive::close()
{
    if (!openFlag)
        return;
    if (entryOpenFlag && handle)
        unzCloseCurrentFile(handle);
    entryOpenFlag = false;
    if (handle)
        unzClose(handle);
    handle = nullptr;
    openFlag = false;
}

bool FileArchive::firstEntry()
{
    open();
    if (!handle || unzGoToFirstFile(handle) != UNZ_OK)
        return false;
    return readEntryInfo();
}

bool FileArchive::nextEntry()
{
    if (!handle || unzGoToNextFile(handle) != UNZ_OK)
        return false;
    return readEntryInfo();
}

bool FileArchive::readyForEntry()
{
    if (!handle)
        return false;
    closeEntry();
    return handle != nullptr;
}

bool FileArchive::locate(const std::string& name)
{
    open();
    if (!readyForEntry())
        return false;
    const std::string normalised = normalizePath(name);
    // 2: compare without regard to case, whatever the platform's default.
    if (unzLocateFile(handle, normalised.c_str(), 2) != UNZ_OK)
        return false;
    return readEntryInfo();
}

bool FileArchive::locateAndOpen(const std::string& name)
{
    return locate(name) && openEntry();
}

bool FileArchive::openEntry()
{
    if (!readyForEntry())
        return false;
    if (unzOpenCurrentFile(handle) != UNZ_OK) {
        LOG_ERROR("archive \"" + archiveName + "\": entry \"" + entryInfo.name + "\" cannot be opened");
        close();
        return false;
    }
    entryOpenFlag = true;
    return true;
}

bool FileArchive::readEntryInfo()
{
    if (!handle)
        return false;
    unz_file_info64 info {};
    char name[1024];
    if (unzGetCurrentFileInfo64(handle, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    name[sizeof name - 1] = '\0';
    entryInfo.versionMadeBy = static_cast<int>(info.version);
    entryInfo.versionNeeded = static_cast<int>(info.version_needed);
    entryInfo.flag = static_cast<int>(info.flag);
    entryInfo.compressionMethod = static_cast<int>(info.compression_method);
    entryInfo.dosDate = static_cast<uint32_t>(info.dosDate);
    entryInfo.crc = static_cast<uint32_t>(info.crc);
    entryInfo.compressedSize = info.compressed_size;
    entryInfo.uncompressedSize = info.uncompressed_size;
    entryInfo.internalAttributes = static_cast<int>(info.internal_fa);
    entryInfo.externalAttributes = static_cast<int>(info.external_fa);
    entryInfo.name = name;
    entryInfo.extraField.clear();
    entryInfo.comment.clear();
    return true;
}

bool FileArchive::closeEntry()
{
    if (!entryOpenFlag)
        return true;
    entryOpenFlag = false;
    if (!handle)
        return false;
    const int result = unzCloseCurrentFile(handle);
    if (result != UNZ_OK) {
        LOG_ERROR("archive \"" + archiveName + "\": entry \"" + entryInfo.name +
                  (result == UNZ_CRCERROR ? "\" fails its CRC check" : "\" cannot be read"));
        close();
        return false;
    }
    return true;
}

int FileArchive::read(void* buffer, int count)
{
    if (!entryOpenFlag || !handle || count < 0)
        return -1;
    const int result = unzReadCurrentFile(handle, buffer, static_cast<unsigned>(count));
    if (result < 0) {
        LOG_ERROR("archive \"" + archiveName + "\": error reading \"" + entryInfo.name + "\"");
        close();
    }
    return result;
}

int FileArchive::readByte()
{
    unsigned char byte = 0;
    return read(&byte, 1) == 1 ? byte : -1;
}

bool FileArchive::isEntryAtEnd()
{
    return !entryOpenFlag || !handle || unzeof(handle) != 0;
}

bool FileArchive::readEntry(MemoryBuffer& buffer)
{
    buffer.clear();
    if (!entryOpenFlag)
        return false;
    if (!plausibleSize(entryInfo)) {
        LOG_ERROR("archive \"" + archiveName + "\": entry \"" + entryInfo.name + "\" has an implausible size");
        return false;
    }
    const size_t size = static_cast<size_t>(entryInfo.uncompressedSize);
    if (!buffer.allocate(size)) {
        LOG_ERROR("archive \"" + archiveName + "\": no memory for \"" + entryInfo.name + "\"");
        return false;
    }
    size_t done = 0;
    while (done < size) {
        const size_t chunk = size - done < (1u << 20) ? size - done : (1u << 20);
        const int got = read(buffer.getData() + done, static_cast<int>(chunk));
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    if (done != size) {
        LOG_ERROR("archive \"" + archiveName + "\": entry \"" + entryInfo.name + "\" is truncated");
        buffer.clear();
        return false;
    }
    return true;
}

FileArchive::ReadResult FileArchive::readFile(const std::string& name, MemoryBuffer& buffer)
{
    if (!locate(name))
        return ReadResult::Missing;
    if (!openEntry()) {
        buffer.clear();
        return ReadResult::Damaged;
    }
    const bool read = readEntry(buffer);
    const bool closed = closeEntry();
    if (read && closed)
        return ReadResult::Loaded;
    // The bytes of a damaged entry are never handed on.
    buffer.clear();
    close();
    return ReadResult::Damaged;
}
