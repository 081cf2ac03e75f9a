#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Sprite.h"

class PropertyVector;

// A sprite that holds named components under a component root of its own,
// builds them from its "components" and finds them again by name.
class Panel : public Sprite {
    TT_CLASS_RECORD(Panel)
public:
    explicit Panel(AbstractProperty* configuration);
    ~Panel() override;

    // Depth-first over the component root's children: an exact name match
    // wins; nested panels that are not marked removed are searched too. No
    // reference is added; null when nothing matches.
    virtual GameNode* getComponent(const std::string& name);
    // Moves the node under the component root (last) and clears its removal mark.
    virtual void addComponent(GameNode* node);
    // Marks the node removed; the scene's purge task takes it out.
    virtual void removeComponent(GameNode* node);
    // Gives every sprite below the component root the panel's clip rectangle.
    virtual void clipComponents();

    GameNode* getComponentRoot() const { return componentRoot.get(); }

protected:
    // Creates one object per entry of `components` under its type name and adds it.
    void createComponents(PropertyVector* components);

    RefPointer<GameNode> componentRoot;
};
