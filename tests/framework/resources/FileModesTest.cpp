#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/resources/FileArchive.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/MemoryBuffer.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"
#include "support/ZipFixture.h"

namespace {

std::string enciphered(std::string text)
{
    applyFileCipher(&text[0], text.size());
    return text;
}

std::string contentOf(const MemoryBuffer& buffer)
{
    return buffer.isEmpty() ? std::string() : std::string(buffer.getData(), buffer.getByteCount());
}

TEST(FileCipherTest, SelfInverseAndTopBitKept)
{
    std::string bytes;
    for (int i = 0; i < 700; ++i)
        bytes += static_cast<char>(i * 37);
    std::string once = enciphered(bytes);
    EXPECT_NE(bytes, once);
    for (size_t i = 0; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i] & 0x80, once[i] & 0x80) << i;
    EXPECT_EQ(bytes, enciphered(once));
    // The key stream repeats every 256 bytes.
    for (size_t i = 0; i + 256 < once.size(); ++i)
        EXPECT_EQ(static_cast<char>(bytes[i] ^ once[i]), static_cast<char>(bytes[i + 256] ^ once[i + 256]));
}

TEST(FileCipherTest, KeyNeverChanges)
{
    // Saved players and games depend on this exact key stream.
    std::vector<unsigned char> zeros(256, 0);
    applyFileCipher(zeros.data(), zeros.size());
    uint32_t sum = 0;
    for (size_t i = 0; i < zeros.size(); ++i)
        sum = sum * 31 + zeros[i];
    std::string head;
    for (int i = 0; i < 8; ++i)
        head += std::to_string(zeros[static_cast<size_t>(i)]) + " ";
    EXPECT_EQ("16 80 76 119 85 24 71 92 ", head);
    EXPECT_EQ(99935318u, sum);
    
}

class FileModesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shutdownArchive();
        folder = makeTestFolder("files");
    }
    void TearDown() override { shutdownArchive(); }

    std::string folder;
};

TEST_F(FileModesTest, PlainAndEncipheredDiskFiles)
{
    writeTestFile(folder + "/a.txt", "hello");
    writeTestFile(folder + "/b.txt.!", enciphered("secret \xE9"));
    MemoryBuffer buffer;
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_FILE, folder + "/a.txt", buffer));
    EXPECT_EQ("hello", contentOf(buffer));
    EXPECT_EQ('\0', buffer.getData()[buffer.getSize()]);
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ENCRYPT_FILE, folder + "/b.txt", buffer));
    EXPECT_EQ("secret \xE9", contentOf(buffer));
    // Without an archive, 0 is plain files and the zip modes read the disk.
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_DEFAULT, folder + "\\a.txt", buffer));
    EXPECT_EQ("hello", contentOf(buffer));
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ZIP, folder + "/a.txt", buffer));
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ENCRYPT_ZIP, folder + "/b.txt", buffer));
    EXPECT_EQ("secret \xE9", contentOf(buffer));
}

TEST_F(FileModesTest, MissingAndEmptyFilesGiveNoData)
{
    writeTestFile(folder + "/empty.txt", "");
    writeTestFile(folder + "/empty.txt.!", "");
    MemoryBuffer buffer;
    buffer.assign("stale", 5);
    EXPECT_FALSE(loadFileToBuffer(FILE_MODE_FILE, folder + "/none.txt", buffer));
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_FALSE(loadFileToBuffer(FILE_MODE_FILE, folder + "/empty.txt", buffer));
    EXPECT_FALSE(loadFileToBuffer(FILE_MODE_ENCRYPT_FILE, folder + "/empty.txt", buffer));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST_F(FileModesTest, StoredNamesAndModeWords)
{
    EXPECT_EQ("p.xml", storedFileName("p.xml", FILE_MODE_FILE));
    EXPECT_EQ("p.xml.!", storedFileName("p.xml", FILE_MODE_ENCRYPT_FILE));
    EXPECT_EQ("p.xml.!", storedFileName("p.xml", FILE_MODE_ENCRYPT_ZIP));
    EXPECT_EQ("p.xml", storedFileName("p.xml", FILE_MODE_DEFAULT));
    setupArchive(folder + "/nothing.dat", FILE_MODE_ENCRYPT_ZIP);
    EXPECT_EQ(FILE_MODE_ENCRYPT_ZIP, getDefaultFileMode());
    EXPECT_EQ("p.xml.!", storedFileName("p.xml", FILE_MODE_DEFAULT));
    setupArchive(folder + "/nothing.dat", FILE_MODE_DEFAULT);
    EXPECT_EQ(FILE_MODE_ENCRYPT_ZIP, getDefaultFileMode());
    shutdownArchive();
    EXPECT_EQ(FILE_MODE_FILE, getDefaultFileMode());

    EXPECT_EQ(1, fileModeFromWord("file"));
    EXPECT_EQ(2, fileModeFromWord("zip"));
    EXPECT_EQ(3, fileModeFromWord("encryptfile"));
    EXPECT_EQ(4, fileModeFromWord("encryptzip"));
    EXPECT_EQ(0, fileModeFromWord("Zip"));
}

TEST_F(FileModesTest, ArchiveLookupIgnoresCaseAndFallsBackToDisk)
{
    const std::string archive = folder + "/media.dat";
    ASSERT_TRUE(writeTestZip(archive,
                             {{"media/properties/a.xml", "from zip"},
                              {"media/secret.bin.!", enciphered("deciphered")},
                              {"media/empty.txt", ""}},
                             true));
    writeTestFile(folder + "/only-on-disk.txt", "from disk");
    setupArchive(archive, FILE_MODE_ZIP);
    MemoryBuffer buffer;
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_DEFAULT, "Media\\Properties\\A.XML", buffer));
    EXPECT_EQ("from zip", contentOf(buffer));
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ENCRYPT_ZIP, "media/secret.bin", buffer));
    EXPECT_EQ("deciphered", contentOf(buffer));
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ZIP, folder + "/only-on-disk.txt", buffer));
    EXPECT_EQ("from disk", contentOf(buffer));
    // An empty entry exists: it loads as zero bytes with its terminator.
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ZIP, "media/empty.txt", buffer));
    EXPECT_EQ(0, buffer.getSize());
    // The plain file mode never looks into the archive.
    EXPECT_FALSE(loadFileToBuffer(FILE_MODE_FILE, "media/properties/a.xml", buffer));
}

TEST_F(FileModesTest, EntryWithCrcErrorClosesTheArchiveAndTheNextLookupReopens)
{
    LogCapture log;
    const std::string archive = folder + "/damaged.dat";
    const std::string payload = "PAYLOAD-0123456789";
    ASSERT_TRUE(writeTestZip(archive, {{"bad.txt", payload}, {"good.txt", "fine"}}, false));
    // Flip one byte of the stored (uncompressed) data of the first entry.
    std::string bytes = readTestFile(archive);
    const size_t at = bytes.find(payload);
    ASSERT_NE(std::string::npos, at);
    bytes[at + 3] = 'X';
    writeTestFile(archive, bytes);

    setupArchive(archive, FILE_MODE_ZIP);
    MemoryBuffer buffer;
    EXPECT_FALSE(loadFileToBuffer(FILE_MODE_ZIP, "bad.txt", buffer));
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_FALSE(FileArchive::instance->isOpen());
    EXPECT_TRUE(log.contains("CRC"));
    ASSERT_TRUE(loadFileToBuffer(FILE_MODE_ZIP, "good.txt", buffer));
    EXPECT_EQ("fine", contentOf(buffer));
    EXPECT_TRUE(FileArchive::instance->isOpen());
}

TEST_F(FileModesTest, ArchiveFromMemoryAndBrokenArchives)
{
    LogCapture log;
    const std::string archive = folder + "/m.zip";
    ASSERT_TRUE(writeTestZip(archive, {{"One.txt", "1"}, {"two.txt", "22"}}, true));
    const std::string bytes = readTestFile(archive);
    RefPointer<FileArchive> memory(new FileArchive());
    memory->setArchiveBytes(bytes.data(), bytes.size());
    MemoryBuffer buffer;
    EXPECT_EQ(FileArchive::ReadResult::Loaded, memory->readFile("one.TXT", buffer));
    EXPECT_EQ("1", contentOf(buffer));
    std::vector<std::string> names;
    for (bool more = memory->firstEntry(); more; more = memory->nextEntry())
        names.push_back(memory->getEntryInfo().name);
    EXPECT_EQ((std::vector<std::string> {"One.txt", "two.txt"}), names);
    EXPECT_EQ(FileArchive::ReadResult::Missing, memory->readFile("three.txt", buffer));
    // An entry read byte by byte: its bytes, then -1 at its end.
    EXPECT_TRUE(memory->closeEntry()) << "nothing open";
    EXPECT_FALSE(memory->locateAndOpen("three.txt"));
    ASSERT_TRUE(memory->locateAndOpen("TWO.txt"));
    EXPECT_FALSE(memory->isEntryAtEnd());
    EXPECT_EQ('2', memory->readByte());
    EXPECT_EQ('2', memory->readByte());
    EXPECT_EQ(-1, memory->readByte());
    EXPECT_TRUE(memory->isEntryAtEnd());
    EXPECT_TRUE(memory->closeEntry());
    EXPECT_EQ(-1, memory->readByte()) << "closed";

    // Truncated archives and non-zip bytes read as missing entries.
    RefPointer<FileArchive> truncated(new FileArchive());
    truncated->setArchiveBytes(bytes.data(), bytes.size() / 2);
    EXPECT_EQ(FileArchive::ReadResult::Missing, truncated->readFile("one.txt", buffer));
    RefPointer<FileArchive> junk(new FileArchive());
    junk->setArchiveBytes("not a zip", 9);
    EXPECT_EQ(FileArchive::ReadResult::Missing, junk->readFile("one.txt", buffer));
    EXPECT_TRUE(junk->isOpen());
    EXPECT_FALSE(junk->hasHandle());
    EXPECT_FALSE(junk->firstEntry());
    EXPECT_TRUE(log.contains("cannot be read as a zip file"));
}

} // namespace
