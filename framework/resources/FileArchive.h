#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"

class MemoryBuffer;

// The central-directory record of the current archive entry.
struct ArchiveEntryInfo {
    virtual ~ArchiveEntryInfo() = default;
    int versionMadeBy = 0;
    int versionNeeded = 0;
    int flag = 0;
    int compressionMethod = 0;
    uint32_t dosDate = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    int internalAttributes = 0;
    int externalAttributes = 0;
    std::string name;
    std::string extraField;
    std::string comment;
};

// The zip archive of the game's media ("media.dat"), read through minizip.
// Entry names are found without regard to case. A read error or a CRC
// mismatch closes the archive; the next lookup opens it again.
// Not thread-safe by itself: the file layer serialises every use.
class FileArchive : public BaseObject {
    TT_CLASS_RECORD(FileArchive)
public:
    // The global archive, set by setupArchive (FileModes.h); null before.
    static FileArchive* instance;

    explicit FileArchive(const std::string& archiveName = std::string());
    ~FileArchive() override;

    void addName(const std::string& name) { names.push_back(name); }
    // Closes the archive first.
    void setArchiveName(const std::string& name);
    const std::string& getArchiveName() const { return archiveName; }
    // Reads the archive from these bytes (copied) instead of a file.
    void setArchiveBytes(const void* bytes, size_t size);

    // Opens the zip file; the archive counts as open even when the file could
    // not be read as a zip, so a broken archive is not retried on every lookup.
    void open();
    void close();
    bool firstEntry();
    bool nextEntry();
    // Finds the entry by its normalised name, ignoring case.
    bool locate(const std::string& name);
    bool locateAndOpen(const std::string& name);
    bool openEntry();
    bool readEntryInfo();
    // False when the zip reader reported an error (such as a CRC mismatch);
    // the archive is then closed.
    bool closeEntry();
    const ArchiveEntryInfo& getEntryInfo() const { return entryInfo; }
    // The next byte of the open entry, or -1.
    int readByte();
    // Up to `count` bytes of the open entry; negative on error (the archive is then closed).
    int read(void* buffer, int count);
    // The whole open entry into the buffer; false (and the buffer empty) when
    // the entry is damaged or implausibly large.
    bool readEntry(MemoryBuffer& buffer);
    bool isEntryAtEnd();
    bool isOpen() const { return openFlag; }
    bool isEntryOpen() const { return entryOpenFlag; }
    bool hasHandle() const { return handle != nullptr; }

    enum class ReadResult { Loaded, Missing, Damaged };
    // locate, open, read and close the named entry. Damaged leaves the buffer
    // empty and the archive closed.
    ReadResult readFile(const std::string& name, MemoryBuffer& buffer);

private:
    // Closes the entry being read, if any; false when the archive is closed
    // (or a damaged entry has just closed it).
    bool readyForEntry();

    std::vector<std::string> names;
    std::string archiveName;
    std::vector<unsigned char> archiveBytes;
    bool fromMemory = false;
    void* handle = nullptr;
    bool openFlag = false;
    bool entryOpenFlag = false;
    ArchiveEntryInfo entryInfo;
};
