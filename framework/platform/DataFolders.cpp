#include "framework/platform/DataFolders.h"

#include <mutex>
#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/platform/FileNames.h"
#include "host/AtomicFile.h"
#include "host/Folders.h"

namespace {

struct FolderCache {
    std::mutex mutex;
    std::string dataRoot;
    std::string gameFolder;
    std::string scratchFolder;
};

FolderCache& cache()
{
    static FolderCache instance;
    return instance;
}

std::string dataRootLocked(FolderCache& folders)
{
    if (folders.dataRoot.empty()) {
        const std::string dataHome = getDataHome();
        if (dataHome.empty()) {
            LOG_WARNING("no data folder found; data files go beside the executable");
            folders.dataRoot = getExecutableFolder();
        } else {
            folders.dataRoot = makerFolderUnder(dataHome);
        }
        createDirectoryTree(folders.dataRoot);
    }
    return folders.dataRoot;
}

std::string gameFolderLocked(FolderCache& folders)
{
    if (!folders.gameFolder.empty())
        return folders.gameFolder;
    const std::string root = dataRootLocked(folders);
    const std::string gameName = getGameName();
    // Without a game name the folder is not cached: the name may come later.
    if (gameName.empty())
        return root;
    folders.gameFolder = normalizePath(root + "/" + gameName);
    createDirectoryTree(folders.gameFolder);
    return folders.gameFolder;
}

} // namespace

std::string getDataRoot()
{
    FolderCache& folders = cache();
    std::lock_guard<std::mutex> lock(folders.mutex);
    return dataRootLocked(folders);
}

std::string getGameFolder()
{
    FolderCache& folders = cache();
    std::lock_guard<std::mutex> lock(folders.mutex);
    return gameFolderLocked(folders);
}

std::vector<std::string> getWrittenFolders()
{
    const std::string game = getGameFolder();
    return {game + "/players", game + "/savegames", getScratchFolder() + "/log"};
}

bool canWriteGameFolder(std::string* reason, const std::vector<std::string>& moreFolders)
{
    std::vector<std::string> folders = getWrittenFolders();
    folders.insert(folders.end(), moreFolders.begin(), moreFolders.end());
    for (const std::string& folder : folders) {
        if (!makeDirectoryTree(folder, reason))
            return false;
        const std::string probe = folder + "/.can-write";
        if (!writeFileAtomically(probe, std::string("1"), reason))
            return false;
        removeFile(probe);
    }
    return true;
}

std::string getScratchFolder()
{
    FolderCache& folders = cache();
    std::lock_guard<std::mutex> lock(folders.mutex);
    if (!folders.scratchFolder.empty())
        return folders.scratchFolder;
    const bool named = !getGameName().empty();
    const std::string scratch = gameFolderLocked(folders) + "/_temp";
    createDirectoryTree(scratch);
    if (named)
        folders.scratchFolder = scratch;
    return scratch;
}

void resetDataFolders()
{
    FolderCache& folders = cache();
    std::lock_guard<std::mutex> lock(folders.mutex);
    folders.dataRoot.clear();
    folders.gameFolder.clear();
    folders.scratchFolder.clear();
}

void createDirectoryTree(const std::string& path)
{
    if (path.empty())
        return;
    if (!makeDirectoryTree(normalizePath(path)))
        LOG_WARNING("folder \"" + path + "\" could not be created");
}

bool deleteDirectoryTree(const std::string& path)
{
    if (path.size() < 2)
        return false;
    std::string folder = normalizePath(path);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::vector<DirectoryEntry> entries;
    if (!listDirectory(folder, entries))
        return false;
    bool all = true;
    for (const DirectoryEntry& entry : entries) {
        const std::string child = folder + "/" + entry.name;
        // Unlinking first removes files and links to folders alike; only a
        // real folder refuses and is emptied in turn.
        if (removeFile(child))
            continue;
        if (!entry.isDirectory || !deleteDirectoryTree(child))
            all = false;
    }
    if (!removeEmptyDirectory(folder))
        all = false;
    return all;
}

bool grantEveryoneFullAccess(const std::string& path)
{
    return pathExists(path);
}
