#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// A program's whole run (run_whole.sh) names a scratch space of its own: it
// runs beside the same program's single cases, which use these names too.
std::string scratchSpace()
{
    const char* scratch = std::getenv("TORTELUNE_TEST_SCRATCH");
    return scratch && *scratch ? scratch : "test-scratch";
}

// ctest runs each case in a process of its own, several at once: two cases
// of one fixture asking for the same name would empty each other's folder
// in the middle of a run. Each case's folders therefore live under its own
// name (lower case: resource files name their files in lower case).
std::string caseFolder(const std::string& name)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test)
        return name;
    std::string owner = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(owner.begin(), owner.end(), '/', '_');
    std::transform(owner.begin(), owner.end(), owner.begin(),
                   [](unsigned char letter) { return static_cast<char>(std::tolower(letter)); });
    return owner + "/" + name;
}

} // namespace

std::string makeTestFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(TORTELUNE_BINARY_DIR) / scratchSpace() / caseFolder(name);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder.string();
}

std::string makeRelativeTestFolder(const std::string& name)
{
    makeTestFolder(name);
    return scratchSpace() + "/" + caseFolder(name);
}

void writeTestFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readTestFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool testFileExists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}
