#include "game/effects/ModifierCallback.h"

TT_DEFINE_RECORD(ModifierCallback, &Modifier::classRecord);

bool ModifierCallback::isPending() const
{
    if (!call)
        return false;
    return !link || link->node;
}

void ModifierCallback::step(int)
{
    finish();
    if (!isPending()) {
        call = nullptr;
        return;
    }
    // Taken out first: the call happens once even if the callee steps us again.
    std::function<void()> once = std::move(call);
    call = nullptr;
    // The callee may drop the last outside reference to this step or to its object.
    RefPointer<Modifier> holdSelf(getReferenceCount() > 0 ? this : nullptr);
    RefPointer<BaseObject> holdObject(link ? static_cast<BaseObject*>(link->node) : held.get());
    once();
}
