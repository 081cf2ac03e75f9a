#include "host/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(std::string* error, const std::string& what, const std::string& path, int code)
{
    if (error)
        *error = what + " " + path + ": " + std::strerror(code);
    return false;
}

std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool writeAll(int descriptor, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Whether the process that wrote a temporary last changed at `written` is
// gone: no process has its id, or the one that has it started later (the id
// was handed out again, as after a restart of the machine).
bool writerIsGone(pid_t writer, const timespec& written)
{
    if (::kill(writer, 0) != 0)
        return errno == ESRCH;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", static_cast<long>(writer));
    FILE* file = std::fopen(path, "r");
    if (!file)
        return false;
    char line[1024];
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    // The start time is the 22nd field, the 20th after the name's closing
    // parenthesis (a name may hold spaces and parentheses of its own).
    const char* field = read ? std::strrchr(line, ')') : nullptr;
    for (int skipped = 0; field && skipped < 20; ++skipped)
        field = std::strchr(field + 1, ' ');
    if (!field)
        return false;
    char* end = nullptr;
    const unsigned long long startTicks = std::strtoull(field + 1, &end, 10);
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    timespec now, sinceBoot;
    if (end == field + 1 || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_REALTIME, &now) != 0 ||
        ::clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0)
        return false;
    const double bootedAt = double(now.tv_sec - sinceBoot.tv_sec) + double(now.tv_nsec - sinceBoot.tv_nsec) * 1e-9;
    const double startedAt = bootedAt + double(startTicks) / double(ticksPerSecond);
    const double writtenAt = double(written.tv_sec) + double(written.tv_nsec) * 1e-9;
    // A margin of a few clock ticks: the start time is counted in ticks.
    return startedAt > writtenAt + 0.05;
}

// Where a write of `path` lands: a symbolic link in its place is followed
// to its final target, so that a file the player linked elsewhere (a synced
// folder, say) is replaced there and the link stays. A link that cannot be
// read, or a chain too long, leaves the path as it is.
std::string writeTarget(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return target;
        std::string link(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(target.c_str(), &link[0], link.size());
        if (length <= 0 || static_cast<size_t>(length) >= link.size())
            return path;
        link.resize(static_cast<size_t>(length));
        target = link[0] == '/' ? link : folderOf(target) + "/" + link;
    }
    return path;
}

} // namespace

// The writer's process id is part of each temporary's name; a temporary
// whose writer is gone can never be renamed into place. The whole folder is
// swept, not only the file being written: a dead writer's file may not be
// saved again for a long time. Temporaries of live processes stay.
void removeStaleTemporaries(const std::string& folder)
{
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    const pid_t self = ::getpid();
    while (dirent* entry = ::readdir(listing)) {
        // ".<name>.tmp-<pid>-XXXXXX", as writeFileAtomically names them.
        const char* entryName = entry->d_name;
        const char* marker = entryName[0] == '.' ? std::strstr(entryName + 1, ".tmp-") : nullptr;
        if (!marker || marker == entryName + 1)
            continue;
        const char* digits = marker + 5;
        char* end = nullptr;
        const long writer = std::strtol(digits, &end, 10);
        if (end == digits || *end != '-' || std::strlen(end + 1) != 6 || writer <= 0 || writer == self)
            continue;
        struct stat file;
        if (::fstatat(::dirfd(listing), entryName, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
            writerIsGone(static_cast<pid_t>(writer), file.st_mtim))
            ::unlinkat(::dirfd(listing), entryName, 0);
    }
    ::closedir(listing);
}

bool writeFileAtomically(const std::string& requestedPath, const void* data, size_t size, std::string* error)
{
    if (requestedPath.empty() || requestedPath.back() == '/')
        return fail(error, "cannot write", requestedPath.empty() ? std::string("an empty path") : requestedPath,
                    EINVAL);
    // The temporary goes beside the link's target, so that the rename stays
    // within one file system and replaces the target, not the link.
    const std::string path = writeTarget(requestedPath);

    // mkstemp gives a unique name, so two writers of the same file never share
    // a temporary; the name starts with a dot so folder listings skip it, and
    // holds the writer's process id so that a later save can tell a dead
    // writer's leftover from a file still being written.
    std::string folder = folderOf(path);
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    removeStaleTemporaries(folder);
    std::string temporary = folder + "/." + name + ".tmp-" + std::to_string(::getpid()) + "-XXXXXX";
    int descriptor = ::mkstemp(&temporary[0]);
    if (descriptor < 0)
        return fail(error, "cannot create a temporary file beside", path, errno);

    // Keep the permissions of the file being replaced; a new file gets the
    // usual rw-r--r-- (never world-writable).
    struct stat existing;
    mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 0777 & ~0002) : 0644;
    ::fchmod(descriptor, mode);

    if (!writeAll(descriptor, data, size) || ::fsync(descriptor) != 0) {
        int code = errno;
        ::close(descriptor);
        ::unlink(temporary.c_str());
        return fail(error, "cannot write", path, code);
    }
    if (::close(descriptor) != 0) {
        int code = errno;
        ::unlink(temporary.c_str());
        return fail(error, "cannot close", path, code);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int code = errno;
        ::unlink(temporary.c_str());
        return fail(error, "cannot replace", path, code);
    }

    // The rename is only durable once the folder's entry is on disk. The new
    // file is in place by now, so a failure here is not reported as one.
    int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}
