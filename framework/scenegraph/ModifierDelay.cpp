#include "framework/scenegraph/ModifierDelay.h"

TT_DEFINE_RECORD(ModifierDelay, &Modifier::classRecord);

ModifierDelay::ModifierDelay(int durationMs) : remaining(durationMs)
{
    setEndFlags(EndWait);
}

ModifierDelay::ModifierDelay(Modifier* awaited) : awaited(awaited)
{
    setEndFlags(EndWait);
}

void ModifierDelay::step(int deltaMs)
{
    bool over;
    if (awaited) {
        over = awaited->isFinished();
    } else {
        remaining -= deltaMs;
        over = remaining <= 0;
    }
    if (over) {
        awaited.reset();
        finish();
    }
}
