#include "framework/core/ObjectFactoryContainer.h"

#include "framework/core/AbstractProperty.h"

ObjectFactoryContainer* ObjectFactoryContainer::instance = nullptr;

TT_DEFINE_RECORD(ObjectFactoryContainer, &BaseObject::classRecord);

void ObjectFactoryContainer::createInstance()
{
    instance = new ObjectFactoryContainer();
    instance->addRef();
}

ObjectFactoryContainer& ObjectFactoryContainer::shared()
{
    if (!instance)
        createInstance();
    return *instance;
}

RefPointer<BaseObject> ObjectFactoryContainer::createFromDefinition(AbstractProperty* definition)
{
    if (!definition)
        return RefPointer<BaseObject>();
    return shared().createInstance(definition->getTypeName(), definition);
}

bool ObjectFactoryContainer::registerGlobal(const char* name, Creator creator)
{
    shared().registerCreator(name, creator);
    return true;
}

void ObjectFactoryContainer::registerCreator(const std::string& name, Creator creator)
{
    creators[name] = creator;
}

bool ObjectFactoryContainer::hasCreator(const std::string& name) const
{
    return creators.count(name) != 0;
}

RefPointer<BaseObject> ObjectFactoryContainer::createInstance(const std::string& name,
                                                              AbstractProperty* configuration) const
{
    auto found = creators.find(name);
    if (found == creators.end() || !found->second)
        return nullptr;
    return RefPointer<BaseObject>(found->second(configuration));
}
