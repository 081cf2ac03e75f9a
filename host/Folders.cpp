#include "host/Folders.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return home;
    if (passwd* entry = ::getpwuid(::getuid()))
        if (entry->pw_dir && entry->pw_dir[0] == '/')
            return entry->pw_dir;
    return "/tmp";
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The XDG rule: a relative value in the variable is ignored.
std::string xdgFolder(const char* variable, const char* underHome)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return withoutTrailingSlash(value);
    return homeFolder() + "/" + underHome;
}

} // namespace

std::string getConfigHome() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string getDataHome() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

std::string getRuntimeFolder()
{
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value && value[0] == '/' && isDirectory(value))
        return withoutTrailingSlash(value);
    return std::string();
}

std::string makerFolderUnder(const std::string& base) { return base + "/Quillmark/Games"; }

std::string getExecutablePath()
{
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(length));
}

std::string getExecutableFolder()
{
    std::string path = getExecutablePath();
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string getCurrentFolder()
{
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return std::string();
    return buffer;
}

bool setCurrentFolder(const std::string& path) { return !path.empty() && ::chdir(path.c_str()) == 0; }

bool pathExists(const std::string& path)
{
    struct stat status;
    return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat status;
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat status;
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool makeDirectory(const std::string& path)
{
    if (path.empty())
        return false;
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    return errno == EEXIST && isDirectory(path);
}

bool makeDirectoryTree(const std::string& path)
{
    std::string folder = withoutTrailingSlash(path);
    if (folder.empty())
        return false;
    if (isDirectory(folder))
        return true;
    size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeDirectoryTree(folder.substr(0, slash)))
        return false;
    return makeDirectory(folder);
}

bool makeDirectoryTree(const std::string& path, std::string* reason)
{
    if (makeDirectoryTree(path))
        return true;
    // Names the first folder that could not be made, with the system's reason.
    std::string folder = withoutTrailingSlash(path);
    std::string failing = folder;
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        if (!isDirectory(folder.substr(0, slash))) {
            failing = folder.substr(0, slash);
            break;
        }
    }
    int code = EACCES;
    if (pathExists(failing))
        code = ENOTDIR;
    else if (::mkdir(failing.c_str(), 0755) != 0)
        code = errno;
    if (reason)
        *reason = "cannot make the folder " + failing + ": " + std::strerror(code);
    return false;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool createNewFile(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    return true;
}

bool removeEmptyDirectory(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool renamePath(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool listDirectory(const std::string& path, std::vector<DirectoryEntry>& entries)
{
    DIR* folder = ::opendir(path.c_str());
    if (!folder)
        return false;
    while (dirent* item = ::readdir(folder)) {
        std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        DirectoryEntry entry;
        entry.name = name;
        if (item->d_type == DT_DIR)
            entry.isDirectory = true;
        else if (item->d_type == DT_UNKNOWN || item->d_type == DT_LNK)
            entry.isDirectory = isDirectory(path + "/" + name);
        entries.push_back(entry);
    }
    ::closedir(folder);
    return true;
}

long long getUnixTime() { return static_cast<long long>(std::time(nullptr)); }

namespace {

FileReadResult failedRead(FileReadResult result, const std::string& path, const std::string& reason,
                          std::string* error)
{
    if (error)
        *error = path + ": " + reason;
    return result;
}

std::string largerThan(size_t maxBytes) { return "larger than " + std::to_string(maxBytes) + " bytes"; }

} // namespace

FileReadResult openRegularFile(const std::string& path, size_t maxBytes, int& descriptor, size_t& size,
                               std::string* error)
{
    descriptor = -1;
    size = 0;
    // O_NONBLOCK: opening a named pipe for reading waits for a writer
    // otherwise; a device may block too. The descriptor is made blocking
    // again once it is known to be a regular file.
    const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (opened < 0) {
        const int code = errno;
        return failedRead(code == ENOENT || code == ENOTDIR ? FileReadResult::Missing : FileReadResult::Failed, path,
                          std::strerror(code), error);
    }
    struct stat status;
    if (::fstat(opened, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(opened);
        return failedRead(FileReadResult::NotRegular, path, "not a regular file", error);
    }
    if (static_cast<unsigned long long>(status.st_size) > maxBytes) {
        ::close(opened);
        return failedRead(FileReadResult::TooLarge, path, largerThan(maxBytes), error);
    }
    const int flags = ::fcntl(opened, F_GETFL);
    if (flags >= 0)
        ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK);
    descriptor = opened;
    size = static_cast<size_t>(status.st_size);
    return FileReadResult::Read;
}

FileReadResult readRegularFile(const std::string& path, size_t maxBytes, std::string& contents, std::string* error)
{
    contents.clear();
    int descriptor = -1;
    size_t expected = 0;
    const FileReadResult opened = openRegularFile(path, maxBytes, descriptor, expected, error);
    if (opened != FileReadResult::Read)
        return opened;
    contents.reserve(expected);
    char buffer[65536];
    for (;;) {
        ssize_t size = ::read(descriptor, buffer, sizeof buffer);
        if (size < 0 && errno == EINTR)
            continue;
        if (size < 0) {
            int code = errno;
            ::close(descriptor);
            contents.clear();
            return failedRead(FileReadResult::Failed, path, std::strerror(code), error);
        }
        if (size == 0)
            break;
        // The file may grow while it is read.
        if (contents.size() + static_cast<size_t>(size) > maxBytes) {
            ::close(descriptor);
            contents.clear();
            return failedRead(FileReadResult::TooLarge, path, largerThan(maxBytes), error);
        }
        contents.append(buffer, static_cast<size_t>(size));
    }
    ::close(descriptor);
    return FileReadResult::Read;
}

bool readWholeFile(const std::string& path, std::string& contents, size_t maxSize, std::string* error)
{
    return readRegularFile(path, maxSize, contents, error) == FileReadResult::Read;
}
