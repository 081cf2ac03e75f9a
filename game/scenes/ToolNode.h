#pragma once

#include "framework/scenegraph/GameNode.h"

class Button;
class Label;
class Sprite;

// One tool's place on the shop's shelf: a bar in the colour of the tool's
// slot, its name, its picture (lit with the buy button), its price with a
// star and a buy button; once the player owns it, a toolbox and a sold-out
// button instead. Built from its layout: the keys "bar", "toolname",
// "button", "buttonsoldout", "icon", "star", "price" and "toolbox" each name
// a child definition.
class ToolNode : public GameNode {
    TT_CLASS_RECORD(ToolNode)
public:
    explicit ToolNode(AbstractProperty* configuration);

    // Shows the tool (texts and pictures only when the id changes) and
    // brings the owned and not-owned pieces up to date.
    void setTool(int toolId);
    // The picture follows the buy button's state (normal, over, pressed, disabled).
    void update(int deltaMs) override;

    int getToolId() const { return toolId; }
    Button* getBuyButton() const { return buyButton; }
    Button* getSoldOutButton() const { return soldOutButton; }
    Sprite* getBar() const { return bar; }
    Label* getNameLabel() const { return toolName; }
    Sprite* getIcon() const { return icon; }
    Sprite* getStar() const { return star; }
    Label* getPriceLabel() const { return price; }
    Sprite* getToolbox() const { return toolbox; }

private:
    Sprite* bar = nullptr;
    Label* toolName = nullptr;
    Button* buyButton = nullptr;
    Button* soldOutButton = nullptr;
    Sprite* icon = nullptr;
    Sprite* star = nullptr;
    Label* price = nullptr;
    Sprite* toolbox = nullptr;
    int toolId = -1;
};
