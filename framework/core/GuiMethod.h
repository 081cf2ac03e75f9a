#pragma once

#include "framework/core/BaseObject.h"

// Interface of everything that can be called back with an argument: buttons,
// dialog close handlers and ModifierFunction call into game code through it.
class iGuiMethod : public Interface {
public:
    static const ClassRecord classRecord;
    const ClassRecord* getClassName() const override { return &classRecord; }
    virtual int invoke(BaseObject* argument) = 0;

protected:
    ~iGuiMethod() = default;
};

// A callback made of a context object and a plain function.
class GuiMethod final : public iGuiMethod {
public:
    using Function = int (*)(void* context, BaseObject* argument);

    GuiMethod() = default;
    GuiMethod(void* context, Function function) : context(context), function(function) {}

    // Binds a member function `int T::method(BaseObject*)` of `object`.
    template <class T, int (T::*Method)(BaseObject*)>
    static GuiMethod bind(T* object)
    {
        return GuiMethod(object, [](void* context, BaseObject* argument) {
            return (static_cast<T*>(context)->*Method)(argument);
        });
    }

    int invoke(BaseObject* argument) override { return function ? function(context, argument) : 0; }
    bool isBound() const { return function != nullptr; }
    void* getContext() const { return context; }

    void* context = nullptr;
    Function function = nullptr;
};
