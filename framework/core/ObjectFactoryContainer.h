#pragma once

#include <string>
#include <unordered_map>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;

// The singleton map from class name to creator. Every data-driven object
// (scenes, dialogs, nodes, modifiers, resources, bonuses) is made through it.
class ObjectFactoryContainer : public BaseObject {
    TT_CLASS_RECORD(ObjectFactoryContainer)
public:
    // Returns a new object with a count of 0, or null when it creates nothing.
    using Creator = BaseObject* (*)(AbstractProperty* configuration);

    static ObjectFactoryContainer* instance;
    // Creates the singleton and takes one reference; callers test `instance` first.
    static void createInstance();
    // Creates the factory when needed and stores the creator; used by static
    // registrations before main runs. Returns true so it can initialise a static.
    static bool registerGlobal(const char* name, Creator creator);

    // The singleton, created when missing.
    static ObjectFactoryContainer& shared();
    // A new object of the class that `definition`'s type name registers,
    // configured by `definition`; null when there is none or it is no T.
    template <class T>
    static RefPointer<T> createFrom(AbstractProperty* definition)
    {
        RefPointer<BaseObject> object = createFromDefinition(definition);
        return RefPointer<T>(objectCast<T>(object.get()));
    }
    static RefPointer<BaseObject> createFromDefinition(AbstractProperty* definition);

    // A later registration under the same name replaces the earlier creator.
    void registerCreator(const std::string& name, Creator creator);
    bool hasCreator(const std::string& name) const;
    // Null when no creator is registered under the name (nothing is inserted).
    RefPointer<BaseObject> createInstance(const std::string& name, AbstractProperty* configuration) const;
    // Like createInstance, but only returns objects of class T.
    template <class T>
    RefPointer<T> create(const std::string& name, AbstractProperty* configuration) const
    {
        RefPointer<BaseObject> object = createInstance(name, configuration);
        return RefPointer<T>(objectCast<T>(object.get()));
    }

private:
    std::unordered_map<std::string, Creator> creators;
};

// Registers `Class` under its own name with a creator that builds it from its
// configuration entry (the class needs a constructor taking AbstractProperty*).
#define TT_REGISTER_CREATOR(Name, Class)                                                    \
    static BaseObject* Class##_create##Name(AbstractProperty* configuration)                \
    {                                                                                       \
        return new Class(configuration);                                                    \
    }                                                                                       \
    static const bool Class##_registered##Name =                                            \
        ObjectFactoryContainer::registerGlobal(#Name, &Class##_create##Name)

#define TT_REGISTER_CLASS(Class) TT_REGISTER_CREATOR(Class, Class)
