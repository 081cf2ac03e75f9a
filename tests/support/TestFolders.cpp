#include "support/TestFolders.h"

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

} // namespace

std::string makeTestFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(TORTELUNE_BINARY_DIR) / scratchSpace() / name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder.string();
}

std::string makeRelativeTestFolder(const std::string& name)
{
    makeTestFolder(name);
    return scratchSpace() + "/" + name;
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
