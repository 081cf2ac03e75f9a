#pragma once

#include <cstddef>
#include <string>

#include "framework/core/PropertyNode.h"
#include "framework/core/RefPointer.h"

// What one players file gave. The node is the file's "players" element:
// "version", "currentplayer" and the vector "playernames" of player entries.
struct PlayersFileReading {
    enum class Outcome {
        Missing,      // no regular file there
        Unreadable,   // too large, unreadable, or not even its header could be read
        OtherVersion, // read, but written for another version
        Whole,        // parsed as it stands
        Partial,      // damaged: the node holds the entries that could be read
    };
    Outcome outcome = Outcome::Missing;
    std::string reason;
    RefPointer<PropertyNode> players;
    // Player entries found in a damaged file that could not be read; a list
    // cut off between two entries counts as one.
    int unreadableEntries = 0;
};

// Reads the players file stored at `storedPath` (enciphered when the file
// mode says so), refusing a file larger than `maxBytes` unread. A file that
// does not parse as a whole is searched for complete player entries, each
// parsed on its own, so that one damaged entry or a cut-off end costs only
// the entries it touches. Linear in the file's size.
PlayersFileReading readPlayersFile(const std::string& storedPath, int fileMode, const std::string& version,
                                   size_t maxBytes);

// The recovery on its own, over the deciphered text of a players file that
// does not parse: the node holds the complete entries; null when not even the
// players element could be found.
RefPointer<PropertyNode> recoverPlayerEntries(const std::string& text, int& unreadableEntries);
