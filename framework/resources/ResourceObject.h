#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;

// Base of every loadable resource (image, font, sound sample, music stream):
// its file, file mode and loading state. The content is built without any
// lock held and published under the global resource lock, so a reader that
// holds the lock never sees half a load; an unload during a load makes that
// load's result be dropped.
class ResourceObject : public BaseObject {
    TT_CLASS_RECORD(ResourceObject)
public:
    enum class State { Unloaded, Loading, Loaded };

    // Reads "file" (normalised) and "archive" from the configuration node.
    explicit ResourceObject(AbstractProperty* configuration);
    ResourceObject(const std::string& fileName, int fileMode);

    // Builds the content on the calling thread unless it is loaded already.
    // Every load ends loaded, with the error flag set when it failed, so a
    // failure never stalls a section. Takes the global lock only to publish.
    void load();
    // Drops the content (under the global lock) so that a later request
    // loads it again, and wakes the loader.
    virtual void unload();
    virtual bool isSameResource(const ResourceObject& other) const;

    // The built object (Image, BitmapFont, Sound or SoundStream), or null.
    // Read it while holding the global resource lock.
    BaseObject* getContent() const { return content.get(); }
    bool isLoaded() const { return state == State::Loaded; }
    bool isLoading() const { return state == State::Loading; }
    bool hasError() const { return error; }
    int getWeight() const { return weight; }
    int getLoadedWeight() const { return isLoaded() ? weight : 0; }
    const std::string& getFileName() const { return fileName; }
    int getFileMode() const { return fileMode; }

    void toString(std::string& out) const override;

    // Content builds begun and ended so far by every resource on any thread;
    // a frame that saw either move overlapped a load.
    static uint32_t getLoadsBegun();
    static uint32_t getLoadsEnded();

protected:
    // Builds the content from the file; sets `failed` when it could not.
    // Runs without the global lock and must touch no shared state.
    virtual RefPointer<BaseObject> buildContent(bool& failed) = 0;
    // The text a kind puts before the base's in dumps.
    virtual std::string describe() const { return std::string(); }

    std::string fileName;
    int fileMode = 0;

private:
    RefPointer<BaseObject> content;
    // Written under the resource lock; isLoaded and isLoading read it
    // without, while the loader thread may be writing it.
    std::atomic<State> state{State::Unloaded};
    bool error = false;
    int weight = 1;
    // Bumped by every unload: a load that started before it is dropped.
    uint32_t generation = 0;
};
