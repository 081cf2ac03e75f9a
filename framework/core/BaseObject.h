#pragma once

#include <cstdint>
#include <string>

#include "framework/core/ClassRecord.h"

class Interface;

// Root of every class: an intrusive, non-atomic reference count and the class
// record used by the program's only run-time type test.
// A new object starts at count 0; the first holder takes the reference, and the
// last release destroys it. Objects are never deleted directly.
class BaseObject {
public:
    static const ClassRecord classRecord;

    BaseObject() = default;
    BaseObject(const BaseObject&) = delete;
    BaseObject& operator=(const BaseObject&) = delete;

    virtual void addRef() { ++referenceCount; }
    // Destroys the object when the count has just become 0.
    virtual void release();
    virtual BaseObject* self() { return this; }
    virtual void destroy();
    virtual const ClassRecord* getClassName() const { return &classRecord; }
    virtual ~BaseObject() = default;
    // The sub-object of the interface with exactly this record, or null.
    virtual Interface* getInterface(const ClassRecord* /*interfaceRecord*/) { return nullptr; }
    virtual void toString(std::string& out) const;

    int32_t getReferenceCount() const { return referenceCount; }

    // The type test: this object's record is `record` or derives from it.
    bool isKindOf(const ClassRecord* record) const { return getClassName()->isKindOf(record); }
    template <class T>
    bool isKindOf() const { return isKindOf(&T::classRecord); }

private:
    int32_t referenceCount = 0;
};

// A class's global instance: the pointer is cleared before the old object is
// released, so nothing reached from its destructor finds a dying instance.
template <class T>
void releaseGlobalInstance(T*& instance)
{
    T* old = instance;
    instance = nullptr;
    if (old)
        old->release();
}

// Makes `created` the global instance, held by one reference.
template <class T>
T* holdGlobalInstance(T*& instance, T* created)
{
    instance = created;
    created->addRef();
    return created;
}

// Checked down-cast through the class records: null when `object` is not a T.
template <class T>
T* objectCast(BaseObject* object)
{
    if (!object || !object->isKindOf(&T::classRecord))
        return nullptr;
    return static_cast<T*>(object);
}

template <class T>
const T* objectCast(const BaseObject* object)
{
    if (!object || !object->isKindOf(&T::classRecord))
        return nullptr;
    return static_cast<const T*>(object);
}

// Base of the interface classes (iInputListener, iGuiMethod, IRenderable):
// no reference count of its own; reached from an object through getInterface.
class Interface {
public:
    static const ClassRecord classRecord;
    virtual const ClassRecord* getClassName() const { return &classRecord; }

protected:
    ~Interface() = default;
};

// The interface of an object, or null when it does not offer it.
template <class I>
I* interfaceCast(BaseObject* object)
{
    if (!object)
        return nullptr;
    return static_cast<I*>(object->getInterface(&I::classRecord));
}
