#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/resources/ResourceManager.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"
#include "support/LogCapture.h"

namespace {

// The game's own resource file: every section and every resource in it is
// made and loaded the way the game does, from the source tree.
TEST(ResourceFileContentTest, EveryDeclaredResourceLoads)
{
    const std::string previousFolder = getCurrentFolder();
    ASSERT_TRUE(setCurrentFolder(TORTELUNE_SOURCE_DIR));
    LogCapture log;
    ResourceManager::create();
    ResourceManager& manager = *ResourceManager::instance;
    manager.addResourceFile("media/properties/resources.xml");
    EXPECT_TRUE(manager.loadResourceFiles());

    std::vector<std::pair<std::string, std::string>> resources;
    const std::vector<std::string> sectionNames = manager.getSectionNames();
    for (const char* name : {"splash", "music", "preloading", "default", "dialogs", "sceneselection", "trophies",
                             "scenegame", "sounds"})
        EXPECT_NE(sectionNames.end(), std::find(sectionNames.begin(), sectionNames.end(), name)) << name;
    {
        ResourceLock lock;
        for (const std::string& name : sectionNames) {
            ResourceSection* section = manager.getSection(name);
            for (const RefPointer<ResourceObject>& object : section->getObjects())
                resources.emplace_back(name, object->getFileName());
        }
    }
    EXPECT_GT(resources.size(), 100u);
    for (const std::string& name : sectionNames) {
        manager.requestSection(name);
    }
    manager.setLoadingEnabled(true);
    // Waits for the loader with a generous bound; it sleeps between checks.
    for (int i = 0; i < 6000 && manager.hasPendingRequests(); ++i)
        sleepMilliseconds(10);
    EXPECT_FALSE(manager.hasPendingRequests());
    EXPECT_DOUBLE_EQ(1.0, manager.getLoadProgress());

    std::vector<std::string> failures;
    {
        ResourceLock lock;
        for (const std::string& name : sectionNames) {
            for (const RefPointer<ResourceObject>& object : manager.getSection(name)->getObjects()) {
                if (object->hasError() || !object->getContent())
                    failures.push_back(name + ": " + object->getFileName());
            }
        }
    }
    for (const std::string& failure : failures)
        ADD_FAILURE() << "not loaded: " << failure;
    EXPECT_FALSE(log.contains("unknown resource kind"));
    ResourceManager::destroyInstance();
    setCurrentFolder(previousFolder);
}

} // namespace
