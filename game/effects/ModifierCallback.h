#pragma once

#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// A one-shot step that, the first time the tree steps it, finishes and then
// calls a member function of an object, with or without a stored argument.
// The object is held so that the call never reaches a dead one: a node
// through its alive record (the call is skipped once the node is gone, and no
// reference cycle forms with nodes that keep their animation steps), any other
// object through a counted reference. A callback that is killed or released
// before its turn never calls; it calls at most once.
class ModifierCallback : public Modifier {
    TT_CLASS_RECORD(ModifierCallback)
public:
    // `target->function(arguments...)`; the arguments are copied now, and
    // each call gets a fresh copy (a counted reference argument stays held
    // until the modifier is gone). Virtual functions dispatch to the override.
    template <class Object, class Owner, class Result, class... Parameters, class... Arguments>
    ModifierCallback(Object* target, Result (Owner::*function)(Parameters...), Arguments&&... arguments)
    {
        static_assert(sizeof...(Parameters) == sizeof...(Arguments), "one argument per parameter");
        bind<Object, Owner>(target, function, std::forward<Arguments>(arguments)...);
    }
    template <class Object, class Owner, class Result, class... Parameters, class... Arguments>
    ModifierCallback(Object* target, Result (Owner::*function)(Parameters...) const, Arguments&&... arguments)
    {
        static_assert(sizeof...(Parameters) == sizeof...(Arguments), "one argument per parameter");
        bind<Object, Owner>(target, function, std::forward<Arguments>(arguments)...);
    }

    void step(int deltaMs) override;

    // False once the call was made, or when it can no longer be made.
    bool isPending() const;

private:
    template <class Object, class Owner, class Function, class... Arguments>
    void bind(Object* target, Function function, Arguments&&... arguments)
    {
        static_assert(std::is_base_of_v<Owner, Object>, "the function must be a member of the target's class");
        static_assert(std::is_base_of_v<BaseObject, Object>, "the target must be a counted object");
        if (!target)
            return;
        Owner* owner = target;
        call = [owner, function,
                stored = std::make_tuple(std::decay_t<Arguments>(std::forward<Arguments>(arguments))...)]() {
            std::apply([&](const auto&... values) { (owner->*function)(values...); }, stored);
        };
        if constexpr (std::is_base_of_v<GameNode, Object>)
            link = static_cast<GameNode*>(target)->getLink();
        else
            held = static_cast<BaseObject*>(target);
    }

    std::function<void()> call;
    RefPointer<BaseObject> held;
    RefPointer<NodeLink> link;
};

// The factory form used where the step is built inline: a new callback with a
// reference count of 0 (the tree that receives it takes the reference).
template <class Object, class Function, class... Arguments>
ModifierCallback* createModifierCallback(Object* target, Function function, Arguments&&... arguments)
{
    return new ModifierCallback(target, function, std::forward<Arguments>(arguments)...);
}
