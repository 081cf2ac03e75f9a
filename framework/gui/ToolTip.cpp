#include "framework/gui/ToolTip.h"

#include <functional>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/ToolTipLabel.h"
#include "framework/platform/GameWindow.h"

TT_DEFINE_RECORD(ToolTip, &Task::classRecord, &iInputListener::classRecord);
TT_REGISTER_CLASS(ToolTip);

ToolTip::ToolTip(AbstractProperty* properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    showDelay = node->getInt("showdelay", showDelay);
    removeDelay = node->getInt("removedelay", removeDelay);
    if (node->hasChild("renderer")) {
        PropertyNode* definition = node->getNode("renderer");
        renderer = ObjectFactoryContainer::createFrom<ToolTipLabel>(definition);
    }
}

ToolTip::~ToolTip() = default;

Interface* ToolTip::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    return Task::getInterface(record);
}

void ToolTip::setRenderer(ToolTipLabel* label)
{
    renderer = label;
}

Sprite* ToolTip::getCurrentNode() const
{
    return currentNode ? static_cast<Sprite*>(currentNode->node) : nullptr;
}

bool ToolTip::onMouseMove(int x, int y, int)
{
    pointerX = x;
    pointerY = y;
    return false;
}

Sprite* ToolTip::findNode() const
{
    Sprite* found = nullptr;
    // Later nodes draw on top, so the last hit of the walk wins; a dialog or a
    // panel hides the tips of what lies before it.
    const std::function<void(GameNode*)> walk = [&](GameNode* node) {
        if (node->isRemoved() || !node->isVisible())
            return;
        if (Sprite* sprite = objectCast<Sprite>(node)) {
            if (objectCast<Dialog>(sprite))
                found = nullptr;
            if (sprite->containsPoint(pointerX, pointerY)) {
                if (objectCast<Panel>(sprite))
                    found = nullptr;
                const std::optional<WString>& text = sprite->getToolTip();
                if (text && !text->empty())
                    found = sprite;
            }
        }
        for (GameNode* child = node->getFirstChild(); child; child = child->getNextSibling())
            walk(child);
    };
    walk(root.get());
    return found;
}

void ToolTip::placeTip()
{
    renderer->updateLayout();
    const int width = renderer->getWidth() + 3;
    const int height = renderer->getHeight() + 3;
    const int screenWidth = GameWindow::instance ? GameWindow::instance->getWidth() : 800;
    const int screenHeight = GameWindow::instance ? GameWindow::instance->getHeight() : 600;
    bool beside = false;
    tipX = pointerX;
    tipY = pointerY + 24;
    if (tipY + height > screenHeight) {
        beside = true;
        tipX = pointerX + 16;
        tipY = pointerY;
        if (tipY + height > screenHeight)
            tipY = screenHeight - height;
    }
    if (tipX + width > screenWidth)
        tipX = beside ? pointerX - width - 2 : screenWidth - width;
}

void ToolTip::run(int elapsedMs)
{
    showing = false;
    if (!root || !renderer)
        return;
    Sprite* found = findNode();
    if (!found) {
        currentNode = nullptr;
        return;
    }
    if (found != getCurrentNode()) {
        showCountdown = showDelay;
        removeCountdown = removeDelay;
        currentNode = found->getLink();
        renderer->setToolTip(*found->getToolTip());
        return;
    }
    if (showCountdown > 0) {
        showCountdown -= elapsedMs;
        if (showCountdown < 1)
            placeTip();
    }
    if (showCountdown < 1 && removeCountdown > 0) {
        removeCountdown -= elapsedMs;
        Graphics* target = graphics ? graphics : (GameWindow::instance ? GameWindow::instance->getGraphics() : nullptr);
        if (target) {
            target->moveOffset(tipX, tipY);
            renderer->render(target);
            target->moveOffset(-tipX, -tipY);
        }
        showing = true;
    }
}
