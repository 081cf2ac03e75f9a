#include "game/data/ToolCatalog.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Image.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/ResourceManager.h"

TT_DEFINE_RECORD(Tool, &BaseObject::classRecord);
TT_REGISTER_CLASS(Tool);

Tool::Tool(AbstractProperty* node)
    : name(childString(node, "name")), description(childString(node, "description")),
      descriptionShort(childString(node, "descriptionshort")), icon(childString(node, "icon")),
      button(childString(node, "button")), price(childInt(node, "price"))
{
    const std::string slotText = childString(node, "slot");
    if (slotText == "A")
        slot = 0;
    else if (slotText == "B")
        slot = 1;
    const int levelNumber = childInt(node, "level");
    if (levelNumber == 1)
        level = 0;
    else if (levelNumber == 2)
        level = 1;
}

ToolCatalog* ToolCatalog::instance = nullptr;

ToolCatalog* ToolCatalog::create()
{
    destroyInstance();
    holdGlobalInstance(instance, new ToolCatalog());
    instance->load();
    return instance;
}

void ToolCatalog::destroyInstance()
{
    releaseGlobalInstance(instance);
}

void ToolCatalog::load(const std::string& fileName)
{
    parse(PropertyStore::loadedFrom(fileName).get());
}

void ToolCatalog::parse(AbstractProperty* root)
{
    tools.clear();
    PropertyVector* list = childVector(root, "tools");
    for (int i = 0; i < elementCount(list); ++i) {
        PropertyNode* element = nodeOrDummy(elementAt(list, i));
        RefPointer<Tool> tool = ObjectFactoryContainer::createFrom<Tool>(element);
        if (tool)
            tools[i] = tool;
        else
            LOG_WARNING("Tool entry " + std::to_string(i) + " of unknown kind \"" + element->getTypeName() +
                        "\" skipped");
    }
}

Tool* ToolCatalog::find(int toolId) const
{
    auto found = tools.find(toolId);
    return found == tools.end() ? nullptr : found->second.get();
}

std::string ToolCatalog::getIconImageName(int toolId) const
{
    const Tool* tool = find(toolId);
    return tool ? tool->icon : std::string();
}

std::string ToolCatalog::getBigIconImageName(int toolId) const
{
    const Tool* tool = find(toolId);
    return tool ? tool->icon + "_BIG" : std::string();
}

std::string ToolCatalog::getButtonImageName(int toolId) const
{
    const Tool* tool = find(toolId);
    return tool ? tool->button : std::string();
}

std::string ToolCatalog::getShopButtonImageName(int toolId) const
{
    const Tool* tool = find(toolId);
    return tool ? tool->button + "_SHOP" : std::string();
}

namespace {

RefPointer<Image> findToolImage(int toolId, const std::string& name)
{
    if (name.empty()) {
        LOG_WARNING("No tool " + std::to_string(toolId) + " in the tool catalogue");
        return nullptr;
    }
    ResourceManager* resources = ResourceManager::instance;
    RefPointer<Image> image;
    if (resources) {
        ResourceLock lock;
        image = resources->getResourceAs<Image>(name, ToolCatalog::kImageSection);
    }
    if (!image)
        LOG_WARNING("No image " + name + " in section " + ToolCatalog::kImageSection);
    return image;
}

} // namespace

RefPointer<Image> ToolCatalog::getIconImage(int toolId) const
{
    return findToolImage(toolId, getIconImageName(toolId));
}

RefPointer<Image> ToolCatalog::getBigIconImage(int toolId) const
{
    return findToolImage(toolId, getBigIconImageName(toolId));
}

RefPointer<Image> ToolCatalog::getButtonImage(int toolId) const
{
    return findToolImage(toolId, getButtonImageName(toolId));
}

RefPointer<Image> ToolCatalog::getShopButtonImage(int toolId) const
{
    return findToolImage(toolId, getShopButtonImageName(toolId));
}
