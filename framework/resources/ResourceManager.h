#pragma once

#include <atomic>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceSection.h"
#include "host/Threads.h"

// Holds the global resource lock for its scope: recursive, and every wait is
// bounded to 10 s, logged, and tried again, never skipped. Every lookup or
// use of a resource by section and key (on any thread) happens inside one.
class ResourceLock {
public:
    ResourceLock();
    ~ResourceLock();
    ResourceLock(const ResourceLock&) = delete;
    ResourceLock& operator=(const ResourceLock&) = delete;

    static BoundedMutex& mutex();
};

// Owns every loadable resource, grouped in named sections declared by
// resource files, and loads queued sections on its own loader thread while
// the main thread keeps drawing frames. Requested sections load before
// automatic ones; one resource is loaded per pass, so a new request is
// served after the resource in hand. The loader sleeps when there is no
// work and is joined at shut-down.
class ResourceManager : public BaseObject {
    TT_CLASS_RECORD(ResourceManager)
public:
    static ResourceManager* instance;
    // Makes the manager (one reference) and starts the loader thread, which
    // waits until loading is enabled.
    static void create();
    // Stops and joins the loader, then releases the manager.
    static void destroyInstance();

    ~ResourceManager() override;

    void setBasePath(const std::string& path) { basePath = path; }
    void addResourceFile(const std::string& path) { resourceFiles.push_back(path); }
    // Reads every resource file's vector "Sections"; false when a file failed.
    bool loadResourceFiles();
    // Why the last loadResourceFiles failed (the first file that could not be read).
    const std::string& getLoadError() const { return loadError; }
    // Starts (or pauses) the loader's work; start-up enables it after the files are read.
    void setLoadingEnabled(bool enabled);
    bool isLoadingEnabled() const;
    // True once the manager is being destroyed: a build under way gives up
    // between its steps, so that the loader is joined without waiting for it.
    bool isStopping() const { return !running; }
    static bool stopping() { return instance && instance->isStopping(); }

    // Stores the section, replacing one of the same name; an "auto" section
    // with work left is queued at once.
    void addSection(ResourceSection* section);
    // Queues the section unless it is fully loaded or queued already; its
    // weight counts toward the load progress.
    void requestSection(const std::string& name);
    void removeSection(const std::string& name, bool unloadResources);
    void unloadSection(const std::string& name);
    // Restarts the progress count and forgets the requests (automatic
    // sections go on loading).
    void clearLoadQueue();
    // Share of the requested weight that is loaded, 0..1; 1 with nothing requested.
    double getLoadProgress();
    // True while a requested section still has resources to load.
    bool hasPendingRequests();
    ResourceSection* getSection(const std::string& name);
    // Every declared section's name, sorted.
    std::vector<std::string> getSectionNames();

    // The content (Image, BitmapFont, Sound or SoundStream) or null when the
    // section or resource is unknown or not loaded yet; loads nothing.
    RefPointer<BaseObject> getResource(const std::string& name, const std::string& section);
    // As getResource, but a resource not loaded yet is loaded now on the calling thread.
    RefPointer<BaseObject> getLoadedResource(const std::string& name, const std::string& section);
    template <class T>
    RefPointer<T> getResourceAs(const std::string& name, const std::string& section)
    {
        RefPointer<BaseObject> content = getResource(name, section);
        return RefPointer<T>(objectCast<T>(content.get()));
    }
    template <class T>
    RefPointer<T> getLoadedResourceAs(const std::string& name, const std::string& section)
    {
        RefPointer<BaseObject> content = getLoadedResource(name, section);
        return RefPointer<T>(objectCast<T>(content.get()));
    }
    // The first resource of any section that `isSameResource` finds equal.
    ResourceObject* findSameResource(const ResourceObject& resource);
    // True when a section other than `sectionName` holds this very object.
    bool isHeldElsewhere(const ResourceObject& object, const std::string& sectionName);

    // The sections the current scene draws from: their pictures kept
    // compressed are unpacked ahead of their first draw (unpackSectionsInUse,
    // while a transition hides the switch) and the idle-picture task leaves
    // them unpacked. Main thread only.
    void setSectionsInUse(const std::vector<std::string>& names);
    bool isSectionInUse(const std::string& name);
    // The loaded pictures of the sections in use.
    std::vector<RefPointer<Image>> getPicturesInUse();
    // Unpacks packed pictures of the sections in use, one after another, until
    // about `budgetBytes` raw bytes were restored (at least one picture); true
    // when it found none of their loaded pictures packed, so that a caller
    // waiting for them starts its own work in a frame of its own.
    bool unpackSectionsInUse(int64_t budgetBytes);

    // Tells the loader there may be work; never lost, even between its idle
    // decision and its sleep.
    void wakeLoader();

private:
    ResourceManager();
    // Drops finished sections from the front of the queue; the first section
    // with work left, or null.
    ResourceSection* nextPendingSection(std::vector<std::string>& queue, bool countProgress);
    void loaderLoop();

    std::unordered_map<std::string, RefPointer<ResourceSection>> sections;
    std::string basePath;
    std::vector<std::string> resourceFiles;
    std::vector<std::string> requestQueue;
    std::vector<std::string> autoQueue;
    std::vector<std::string> sectionsInUse;
    int progressTotal = 0;
    int progressLoaded = 0;

    // Wake-ups are counted, so one that comes between the loader's idle
    // decision and its sleep is never lost.
    WakeSignal wakeSignal;
    std::atomic<bool> running {true};
    std::string loadError;
    std::atomic<bool> loadingEnabled {false};
    HostThread loaderThread;
};
