#pragma once

#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class PropertyNode;
class PropertyStore;

// Told once the setup store has read and merged its files (the game fills its
// tuning table from it).
class SetupLoadListener : public BaseObject {
    TT_CLASS_RECORD(SetupLoadListener)
public:
    virtual void load() = 0;
};

// Reads the game's property files, merges their entries into
// BasicProperties, resolves "setup" template inheritance, and gathers the
// sections "templates", "dialogs" and "scenes" by name.
//
// In a file the sections are nodes named by "id" at top level:
//   <Node id="setups">     named nodes that become templates ("Node" map)
//   <Node id="properties"> entries that win over every top-level entry
//   <Node id="templates">, <Node id="dialogs">, <Node id="scenes">
// Later files win within each pass.
class SetupStore : public BaseObject {
    TT_CLASS_RECORD(SetupStore)
public:
    static SetupStore* instance;
    // Creates the singleton and takes one reference; callers test `instance` first.
    static void createInstance();
    static void destroyInstance();

    SetupStore();
    ~SetupStore() override;

    std::vector<std::string>& getFileNames() { return fileNames; }
    void addFileName(const std::string& path) { fileNames.push_back(path); }
    // Loads in plain mode or through the archive (0 = the archive's default).
    void setFileMode(int mode) { fileMode = mode; }

    // Reads every file, merges, resolves and gathers, then tells the
    // listener. True when every file loaded (the others still count when one fails).
    bool load();
    // The same from XML texts held in memory, in order (tests and tools).
    bool loadFromTexts(const std::vector<std::string>& texts);

    // Called after every load; replaces (and releases) the earlier listener.
    void setLoadListener(SetupLoadListener* listener);

    PropertyNode* getTemplates() const { return templates.get(); }
    PropertyNode* getDialogs() const { return dialogs.get(); }
    PropertyNode* getScenes() const { return scenes.get(); }
    // A definition by name; DUMMY_NODE (and a log line) when there is none.
    PropertyNode* findTemplate(const std::string& name) const;
    PropertyNode* findDialog(const std::string& name) const;
    PropertyNode* findScene(const std::string& name) const;

private:
    void mergeStores(const std::vector<RefPointer<PropertyStore>>& stores);

    std::vector<std::string> fileNames;
    int fileMode = 0;
    RefPointer<PropertyNode> templates;
    RefPointer<PropertyNode> dialogs;
    RefPointer<PropertyNode> scenes;
    RefPointer<SetupLoadListener> listener;
};

// The files the game reads at start-up, in their merge order.
extern const char* const kGamePropertyFiles[5];
