#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"

class AbstractProperty;

// A chain step that waits for a condition: every frame it asks its predicate
// (with three stored arguments and the elapsed milliseconds) and finishes,
// starting its children, once the answer is true.
class ModifierLogic : public Modifier {
    TT_CLASS_RECORD(ModifierLogic)
public:
    using Predicate = bool (*)(void* context, int a, int b, int c, int ms);

    // `keepAlive` (usually the context) lives as long as the step.
    ModifierLogic(Predicate predicate, void* context, BaseObject* keepAlive, int a = 0, int b = 0, int c = 0)
        : predicate(predicate), context(context), keepAlive(keepAlive), a(a), b(b), c(c)
    {
    }
    // From data: no condition, so it finishes at its first step.
    explicit ModifierLogic(AbstractProperty*) {}

    void step(int ms) override
    {
        if (isFinished())
            return;
        if (!predicate || predicate(context, a, b, c, ms))
            finish();
    }

private:
    Predicate predicate = nullptr;
    void* context = nullptr;
    RefPointer<BaseObject> keepAlive;
    int a = 0;
    int b = 0;
    int c = 0;
};
