#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzTargets.h"
#include "support/TestFolders.h"

namespace {

// Every kept crash input and every seed of a fuzz target, so that a fault
// the fuzzer once found stays fixed.
std::vector<std::string> inputsOf(const std::string& corpus)
{
    std::vector<std::string> files;
    for (const char* base : {"/tests/data/regress/", "/fuzz/corpus/"}) {
        const std::filesystem::path folder = std::string(TORTELUNE_SOURCE_DIR) + base + corpus;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path().string());
        }
    }
    return files;
}

void replay(const std::string& corpus, int (*body)(const uint8_t*, size_t))
{
    const std::vector<std::string> files = inputsOf(corpus);
    EXPECT_FALSE(files.empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string bytes = readTestFile(file);
        EXPECT_EQ(0, body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
}

TEST(FuzzRegressionTest, PropertyXmlInputs)
{
    replay("property_xml", &fuzzPropertyXml);
}

TEST(FuzzRegressionTest, ArchiveInputs)
{
    replay("archive", &fuzzArchive);
}

} // namespace
