#pragma once

#include "framework/core/BaseObject.h"

class Graphics;

// The interface of every node that draws itself; the node renderer reaches it
// through getInterface and calls render with the graphics' offset at the
// node's parent's origin.
class IRenderable : public Interface {
public:
    static const ClassRecord classRecord;
    const ClassRecord* getClassName() const override { return &classRecord; }
    virtual void render(Graphics* graphics) = 0;

protected:
    ~IRenderable() = default;
};
