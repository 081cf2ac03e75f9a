#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/PlayingSession.h"

class PropertyNode;
class PropertyStore;
class SettingsStore;

// The local record of how the game is used: a description of the machine,
// the total time played over all runs, and one record per playing session,
// kept in "gd.xml" in the scratch folder. Nothing is sent anywhere. The file
// keeps the most recent kMaxSessions sessions.
class DataGathering {
public:
    static constexpr int kMaxSessions = 1000;
    static constexpr const char* kFileName = "gd.xml";

    static DataGathering* instance;

    // Creates the instance (reading the total playing time), publishes the
    // file's path and writes this run's machine description. An empty
    // `fileName` means the scratch folder's "gd.xml"; a null store the game's.
    static void start(const std::string& fileName = std::string(), std::shared_ptr<SettingsStore> store = nullptr);
    // Appends a session that begins now; nothing without an instance.
    static void startSession(int gameMode, int numPlayers);
    // Stamps the end of the current session unless it is closed already.
    static void endSession();
    // Adds this run's time to the total, writes the sessions and destroys the
    // instance; nothing without an instance.
    static void stop();

    const std::string& getFileName() const { return fileName; }
    uint32_t getTotalPlayingTime() const { return totalPlayingTime; }
    bool hasSession() const { return !noSession; }
    bool isClosed() const { return closed; }
    const std::vector<PlayingSession>& getSessions() const { return sessions; }

    // The file's "DataGathering" node in `store` (read from disk when the file
    // is readable), added empty when there is none.
    PropertyNode* openStatisticsFile(PropertyStore& store) const;
    bool writeSystemInfo() const;
    bool writeSessions() const;

private:
    DataGathering(std::string fileName, std::shared_ptr<SettingsStore> store);

    bool noSession = true;
    bool closed = false;
    std::string fileName;
    std::shared_ptr<SettingsStore> store;
    uint32_t totalPlayingTime = 0;
    uint32_t startTick = 0;
    std::vector<PlayingSession> sessions;
};
