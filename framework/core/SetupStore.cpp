#include "framework/core/SetupStore.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"

TT_DEFINE_RECORD(SetupLoadListener, &BaseObject::classRecord);
TT_DEFINE_RECORD(SetupStore, &BaseObject::classRecord);

SetupStore* SetupStore::instance = nullptr;

const char* const kGamePropertyFiles[5] = {
    "media/properties/dialogs.xml",    "media/properties/default.xml", "media/properties/dynamic.xml",
    "media/properties/commontext.xml", "media/properties/text.xml",
};

namespace {

bool isSection(const std::string& name)
{
    return name == "setups" || name == "templates" || name == "dialogs" || name == "scenes";
}

void gather(PropertyNode& target, const PropertyStore& store, const char* section)
{
    AbstractProperty* found = store.getChild(section);
    if (!found || !found->isNode())
        return;
    for (AbstractProperty* child : found->asNode()->getNamedChildren())
        target.addChild(child);
}

PropertyNode* findIn(const PropertyNode& section, const std::string& name, const char* what)
{
    AbstractProperty* found = section.getChild(name);
    if (found && found->isNode())
        return found->asNode();
    LOG_WARNING(std::string("no ") + what + " named \"" + name + "\"");
    return DUMMY_NODE;
}

} // namespace

void SetupStore::createInstance()
{
    destroyInstance();
    holdGlobalInstance(instance, new SetupStore());
}

void SetupStore::destroyInstance()
{
    releaseGlobalInstance(instance);
}

SetupStore::SetupStore()
    : templates(new PropertyNode("templates", "Node")), dialogs(new PropertyNode("dialogs", "Node")),
      scenes(new PropertyNode("scenes", "Node"))
{
}

SetupStore::~SetupStore() = default;

void SetupStore::setLoadListener(SetupLoadListener* newListener)
{
    listener = newListener;
}

bool SetupStore::load()
{
    std::vector<RefPointer<PropertyStore>> stores;
    bool all = true;
    for (const std::string& path : fileNames) {
        RefPointer<PropertyStore> store(new PropertyStore(path));
        store->setCondenseWhiteSpace(false);
        store->setFileMode(fileMode);
        if (!store->load()) {
            LOG_ERROR("setup file not loaded: " + store->getLastError());
            all = false;
        }
        stores.push_back(store);
    }
    mergeStores(stores);
    return all;
}

bool SetupStore::loadFromTexts(const std::vector<std::string>& texts)
{
    std::vector<RefPointer<PropertyStore>> stores;
    bool all = true;
    int index = 0;
    for (const std::string& text : texts) {
        RefPointer<PropertyStore> store(new PropertyStore());
        store->setCondenseWhiteSpace(false);
        if (!store->loadFromBuffer(text.data(), text.size(), "setup text " + std::to_string(index)))
            all = false;
        stores.push_back(store);
        ++index;
    }
    mergeStores(stores);
    return all;
}

void SetupStore::mergeStores(const std::vector<RefPointer<PropertyStore>>& stores)
{
    templates->clear();
    dialogs->clear();
    scenes->clear();
    if (!BasicProperties::instance)
        BasicProperties::createInstance();
    BasicProperties& properties = *BasicProperties::instance;

    for (const RefPointer<PropertyStore>& store : stores) {
        for (AbstractProperty* child : store->getNamedChildren()) {
            if (!isSection(child->getName()))
                properties.merge(child);
        }
    }
    for (const RefPointer<PropertyStore>& store : stores) {
        if (AbstractProperty* setups = store->getChild("setups"))
            properties.mergeChildren(setups->asNode());
    }
    for (const RefPointer<PropertyStore>& store : stores)
        store->resolveTemplates();
    for (const RefPointer<PropertyStore>& store : stores) {
        if (AbstractProperty* overrides = store->getChild("properties"))
            properties.mergeChildren(overrides->asNode());
    }
    for (const RefPointer<PropertyStore>& store : stores) {
        gather(*templates, *store, "templates");
        gather(*dialogs, *store, "dialogs");
        gather(*scenes, *store, "scenes");
    }
    if (listener)
        listener->load();
}

PropertyNode* SetupStore::findTemplate(const std::string& name) const
{
    return findIn(*templates, name, "template");
}

PropertyNode* SetupStore::findDialog(const std::string& name) const
{
    return findIn(*dialogs, name, "dialog");
}

PropertyNode* SetupStore::findScene(const std::string& name) const
{
    return findIn(*scenes, name, "scene");
}
