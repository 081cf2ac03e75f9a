#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"
#include "game/production/PastryStation.h"

// The conveyor belt of the arcade and the exam levels as a pastry station.
// TODO(issue 22): a seam; the belt, its plates and its deliveries arrive with
// the conveyor's issue. Until then it takes no ingredient.
class ConveyorView : public PastryStation {
public:
    // Hangs its own animation container under `phaseContainer`.
    explicit ConveyorView(Modifier* phaseContainer) : root(new ModifierContainer())
    {
        if (phaseContainer)
            Modifier::addChild(phaseContainer, root.get());
    }
    Modifier* getAnimationRoot() override { return root.get(); }
    bool deliverIngredients(const MatchedCell&, bool, int, int, int, int) override { return false; }
    void tearDown() override {}

private:
    RefPointer<ModifierContainer> root;
};
