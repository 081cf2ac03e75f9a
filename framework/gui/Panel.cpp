#include "framework/gui/Panel.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"

TT_DEFINE_RECORD(Panel, &Sprite::classRecord);
TT_REGISTER_CLASS(Panel);

Panel::Panel(AbstractProperty* configuration) : Sprite(configuration), componentRoot(new GameNode())
{
    GameNode::addChild(this, componentRoot.get());
    PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    createComponents(node->getVector("components"));
}

Panel::~Panel() = default;

void Panel::createComponents(PropertyVector* components)
{
    if (!components)
        return;
    for (const auto& entry : *components) {
        if (!entry)
            continue;
        RefPointer<GameNode> component = ObjectFactoryContainer::createFrom<GameNode>(entry.get());
        if (!component) {
            LOG_WARNING("No component can be made of the type \"" + entry->getTypeName() + "\" (\"" +
                        entry->getName() + "\")");
            continue;
        }
        addComponent(component.get());
    }
}

GameNode* Panel::getComponent(const std::string& componentName)
{
    for (GameNode* child = componentRoot->getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getName() == componentName)
            return child;
        if (child->isRemoved())
            continue;
        if (Panel* panel = objectCast<Panel>(child)) {
            if (GameNode* found = panel->getComponent(componentName))
                return found;
        }
    }
    return nullptr;
}

void Panel::addComponent(GameNode* node)
{
    if (!node)
        return;
    GameNode::addChild(componentRoot.get(), node);
    node->setRemoved(false);
    setDirty(true);
}

void Panel::removeComponent(GameNode* node)
{
    if (!node)
        return;
    node->setRemoved(true);
    setDirty(true);
}

void Panel::clipComponents()
{
    const std::optional<Rect>& clip = getClipRect();
    if (!clip)
        return;
    const Rect rect = *clip;
    for (GameNode* child = componentRoot->getFirstChild(); child; child = child->getNextSibling()) {
        GameNode::visitSubtree(child, [&](GameNode* node) {
            if (Sprite* sprite = objectCast<Sprite>(node))
                sprite->setClipRect(rect.x, rect.y, rect.width, rect.height);
        });
    }
    setDirty(true);
}
