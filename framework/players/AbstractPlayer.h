#pragma once

#include <string>

#include "framework/core/BaseObject.h"

class AbstractProperty;
class PropertyNode;

// Base of every player profile: a name, and the hooks through which a
// profile writes itself into the players file and its own player file.
class AbstractPlayer : public BaseObject {
    TT_CLASS_RECORD(AbstractPlayer)
public:
    explicit AbstractPlayer(const std::string& name);
    // Reads "name" from the node (the null node when it is not a node).
    explicit AbstractPlayer(AbstractProperty* node);

    // Adds the untyped "name"; subclasses call it first and add their own.
    virtual void writeTo(PropertyNode* node);
    virtual void writePlayerFile(PropertyNode* /*node*/) {}
    virtual void readPlayerFile(PropertyNode* /*node*/) {}
    virtual void onDeselected() {}

    const std::string& getName() const { return name; }
    // True when reading the profile had to replace a damaged value; the
    // players file it came from is then kept aside.
    bool wasRepairedOnRead() const { return repairedOnRead; }

protected:
    // Logs the replaced value and marks the profile as repaired.
    void noteRepair(const std::string& what);

private:
    std::string name;
    bool repairedOnRead = false;
};
