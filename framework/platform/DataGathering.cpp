#include "framework/platform/DataGathering.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/RegistryValue.h"
#include "framework/platform/SystemInfo.h"
#include "framework/resources/FileModes.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"

DataGathering* DataGathering::instance = nullptr;

namespace {

const char kTotalTimeValue[] = "qpx/totalplayingtime";
const char kFileNameValue[] = "qpx/dgfilename";

int nowInSeconds()
{
    return static_cast<int>(getUnixTime());
}

} // namespace

DataGathering::DataGathering(std::string fileName, std::shared_ptr<SettingsStore> store)
    : fileName(std::move(fileName)), store(std::move(store))
{
    RegistryDWord total(kTotalTimeValue, 0, this->store);
    totalPlayingTime = total.read();
    startTick = getMilliseconds();
}

void DataGathering::start(const std::string& fileName, std::shared_ptr<SettingsStore> store)
{
    if (instance)
        return;
    if (!store)
        store = openGameSettingsStore();
    std::string path = fileName.empty() ? getScratchFolder() + "/" + kFileName : fileName;
    instance = new DataGathering(path, store);
    RegistryString published(kFileNameValue, std::string(), store);
    published.write(path);
    instance->writeSystemInfo();
}

void DataGathering::startSession(int gameMode, int numPlayers)
{
    if (!instance)
        return;
    PlayingSession session;
    session.startTime = nowInSeconds();
    session.gameMode = gameMode;
    session.numPlayers = numPlayers;
    if (GameWindow::instance) {
        session.fullScreen = GameWindow::instance->isFullScreen();
        session.bitDepth = GameWindow::instance->getBytesPerPixel() * 8;
    } else {
        session.bitDepth = 32;
    }
    DesktopMode desktop = HostPlatform::current().getDesktopMode();
    session.screenWidth = desktop.width;
    session.screenHeight = desktop.height;
    instance->sessions.push_back(session);
    instance->noSession = false;
    instance->closed = false;
}

void DataGathering::endSession()
{
    if (!instance || instance->noSession || instance->closed)
        return;
    instance->sessions.back().endTime = nowInSeconds();
    instance->closed = true;
}

void DataGathering::stop()
{
    if (!instance)
        return;
    DataGathering* gathering = instance;
    instance = nullptr;
    uint32_t elapsed = (getMilliseconds() - gathering->startTick) / 1000;
    RegistryDWord total(kTotalTimeValue, 0, gathering->store);
    total.write(gathering->totalPlayingTime + elapsed);
    gathering->writeSessions();
    delete gathering;
}

PropertyNode* DataGathering::openStatisticsFile(PropertyStore& file) const
{
    file.setFileMode(FILE_MODE_FILE);
    file.setSavePath(fileName);
    if (pathExists(fileName) && file.isReadable(fileName) && !file.loadFile(fileName))
        LOG_WARNING("statistics: " + fileName + " could not be read; starting it anew");
    PropertyNode* node = file.getNode("DataGathering");
    if (node == DUMMY_NODE) {
        file.removeChild("DataGathering");
        node = file.addNode("DataGathering", "DataGathering");
    }
    return node;
}

bool DataGathering::writeSystemInfo() const
{
    RefPointer<PropertyStore> file(new PropertyStore());
    PropertyNode* root = openStatisticsFile(*file);
    const std::string before = file->toXmlText();
    // Only this run's values: the node of an earlier run is replaced whole.
    root->removeChild("SystemInfo");
    PropertyNode* info = root->addNode("SystemInfo", "SystemInfo");
    SystemInfo().writeTo(info, getGameId());
    // The same machine as last time: the file holds it already, and writing
    // it again would cost every start a flush to disk.
    if (file->toXmlText() == before)
        return true;
    return file->save();
}

bool DataGathering::writeSessions() const
{
    RefPointer<PropertyStore> file(new PropertyStore());
    PropertyNode* root = openStatisticsFile(*file);
    PropertyVector* list = root->getVector("PlayingSessions");
    if (list == DUMMY_VECTOR) {
        root->removeChild("PlayingSessions");
        list = root->addVector("PlayingSessions");
    }
    for (const PlayingSession& session : sessions) {
        RefPointer<PropertyNode> entry(new PropertyNode(std::string(), "PlayingSession"));
        session.writeTo(entry.get());
        list->add(entry.get());
    }
    if (list->getCount() > kMaxSessions) {
        // Only the most recent sessions are kept, so the file cannot grow without end.
        PropertyVector::Elements kept(list->getElements().end() - kMaxSessions, list->getElements().end());
        list->clear();
        for (const RefPointer<AbstractProperty>& entry : kept)
            list->add(entry.get());
    }
    return file->save();
}
