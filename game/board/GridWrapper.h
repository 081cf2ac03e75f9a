#pragma once

class AbstractProperty;
class PropertyNode;

// The board's cell model. Until the board lands it holds no cells: it saves
// an empty "cells" list and fills nothing.
class GridWrapper {
public:
    // Creates every cell anew for the current level.
    void fill() {}
    void save(PropertyNode* node) const;
    void load(AbstractProperty* node);
};
