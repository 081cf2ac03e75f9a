#include "ZipFixture.h"

#include <minizip/zip.h>
#include <zlib.h>

bool writeTestZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
                  bool compress)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto& entry : entries) {
        zip_fileinfo info {};
        if (zipOpenNewFileInZip64(zip, entry.first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                  compress ? Z_DEFLATED : 0, compress ? Z_DEFAULT_COMPRESSION : 0, 0) != ZIP_OK) {
            ok = false;
            break;
        }
        if (!entry.second.empty() &&
            zipWriteInFileInZip(zip, entry.second.data(), static_cast<unsigned>(entry.second.size())) != ZIP_OK)
            ok = false;
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return ok;
}
