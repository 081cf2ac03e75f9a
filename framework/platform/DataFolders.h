#pragma once

#include <string>

// The folders the game writes into, each made on first use and then cached:
//   data root:      $XDG_DATA_HOME/Quillmark/Games (the executable's folder when
//                   no data home can be found)
//   game folder:    data root + "/" + GAME_NAME (players, saved games, scores)
//   scratch folder: game folder + "/_temp" (logs, usage statistics)
std::string getDataRoot();
std::string getGameFolder();
std::string getScratchFolder();
// Whether players, saved games and scores can be written into the game
// folder: makes its "players" folder and writes and removes a small file
// there. On failure `reason` holds the system's reason.
bool canWriteGameFolder(std::string* reason);
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
