#pragma once

#include <memory>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/platform/IGameSettings.h"

class PropertyNode;
class SettingsStore;

// Owns the player's settings: read from the game's settings store at
// start-up, written back at shut-down. The three flags "dontuseregistry",
// "shutdowncorrect" and "fatalerror" exist only in the node form.
class SettingsManager : public BaseObject {
    TT_CLASS_RECORD(SettingsManager)
public:
    static SettingsManager* instance;
    // Makes the global manager (one reference) around `settings`, on the
    // given store or the running game's, and loads the stored values.
    static void create(IGameSettings* settings, std::shared_ptr<SettingsStore> store = nullptr);
    static void destroyInstance();

    SettingsManager(IGameSettings* settings, std::shared_ptr<SettingsStore> store);

    // Writes all six values; false (and logged) when the store could not keep them.
    virtual bool saveToRegistry();
    virtual void loadFromRegistry();
    virtual void writeTo(PropertyNode* node) const;
    virtual void readFrom(const PropertyNode* node);

    IGameSettings* getSettings() const { return settings.get(); }
    bool getDontUseRegistry() const { return dontUseRegistry; }
    bool getShutdownCorrect() const { return shutdownCorrect; }
    bool getFatalError() const { return fatalError; }
    void setShutdownCorrect(bool value) { shutdownCorrect = value; }
    void setFatalError(bool value) { fatalError = value; }

private:
    RefPointer<IGameSettings> settings;
    std::shared_ptr<SettingsStore> store;
    bool dontUseRegistry = false;
    bool shutdownCorrect = true;
    bool fatalError = false;
};
