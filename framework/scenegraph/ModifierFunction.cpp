#include "framework/scenegraph/ModifierFunction.h"

TT_DEFINE_RECORD(ModifierFunction, &Modifier::classRecord);

void ModifierFunction::step(int)
{
    finish();
    // The callback may drop the last outside reference to this modifier.
    RefPointer<Modifier> hold(getReferenceCount() > 0 ? this : nullptr);
    callback.invoke(this);
}

Interface* ModifierFunction::getInterface(const ClassRecord* record)
{
    if (record == &iGuiMethod::classRecord)
        return &callback;
    return Modifier::getInterface(record);
}
