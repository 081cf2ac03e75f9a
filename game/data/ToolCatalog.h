#pragma once

#include <map>
#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;
class Image;

// The fixed data of one tool: texts, image names, price, slot and level.
class Tool : public BaseObject {
    TT_CLASS_RECORD(Tool)
public:
    explicit Tool(AbstractProperty* node);

    std::string name;
    std::string description;
    std::string descriptionShort;
    std::string icon;
    std::string button;
    int price = 0;
    // 0 for slot "A", 1 for "B".
    int slot = 0;
    // The profile's tool level that unlocks it: 0 for level 1, 1 for level 2.
    int level = 0;
};

// Every tool of the tool file, by id (the position in the file's "tools").
class ToolCatalog : public BaseObject {
public:
    static constexpr const char* kFile = "media/properties/tools.xml";
    // The resource section that holds every tool image.
    static constexpr const char* kImageSection = "tools";

    static ToolCatalog* create();
    static ToolCatalog* getInstance() { return instance; }
    static void destroyInstance();

    void load(const std::string& fileName = kFile);
    // Replaces the tools with the root's "tools" entries; an entry whose tag
    // has no creator leaves its id empty.
    void parse(AbstractProperty* root);
    // Null for an id the catalogue does not hold; callers check.
    Tool* find(int toolId) const;
    int getToolCount() const { return static_cast<int>(tools.size()); }
    const std::map<int, RefPointer<Tool>>& getTools() const { return tools; }

    // Names of the tool's images in the section "tools" (empty for an unknown id).
    std::string getIconImageName(int toolId) const;
    std::string getBigIconImageName(int toolId) const;
    std::string getButtonImageName(int toolId) const;
    std::string getShopButtonImageName(int toolId) const;

    // The tool's loaded pictures from the section "tools", looked up under the
    // global resource lock; null (logged) for an unknown id or a picture not loaded.
    RefPointer<Image> getIconImage(int toolId) const;
    RefPointer<Image> getBigIconImage(int toolId) const;
    RefPointer<Image> getButtonImage(int toolId) const;
    RefPointer<Image> getShopButtonImage(int toolId) const;

private:
    static ToolCatalog* instance;

    std::map<int, RefPointer<Tool>> tools;
};
