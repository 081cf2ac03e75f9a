#pragma once

#include <string>
#include <vector>

// The folders the game writes into, each made on first use and then cached:
//   data root:      $XDG_DATA_HOME/Quillmark/Games (the executable's folder when
//                   no data home can be found)
//   game folder:    data root + "/" + GAME_NAME (players, saved games, scores)
//   scratch folder: game folder + "/_temp" (logs, usage statistics)
std::string getDataRoot();
std::string getGameFolder();
std::string getScratchFolder();
// The folders of the game folder that the game writes into: "players"
// (players and scores), "savegames" and the scratch folder's "log".
std::vector<std::string> getWrittenFolders();
// Whether every folder the game writes can be written: makes each of
// getWrittenFolders() and `moreFolders` (the settings folder, say) and
// writes and removes a small file in it. On failure `reason` holds the
// system's reason, naming the folder.
bool canWriteGameFolder(std::string* reason, const std::vector<std::string>& moreFolders = {});
// Forgets the cached folders (tests that change the environment).
void resetDataFolders();

// Creates the folder and its missing parents; failures show up later, when a
// file in it cannot be written.
void createDirectoryTree(const std::string& path);
// Removes the folder with everything in it. A symbolic link inside is removed
// as a link, never followed. False for a path shorter than 2 characters and
// when anything could not be removed.
bool deleteDirectoryTree(const std::string& path);
// Saved files stay the user's own with ordinary permissions; there is no
// access list to widen here, so this only reports whether the path exists.
bool grantEveryoneFullAccess(const std::string& path);
