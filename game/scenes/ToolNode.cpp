#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/ToolNode.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/production/GameScreen.h"

TT_DEFINE_RECORD(ToolNode, &GameNode::classRecord);
TT_REGISTER_CLASS(ToolNode);

namespace {

constexpr int kShopPictureFrames = 4;

// Builds the piece the key names and makes it a child; null (logged) when
// the layout lacks it or it is not of the kind the node needs.
template <class T>
T* buildPiece(GameNode* owner, PropertyNode* layout, const char* key)
{
    AbstractProperty* definition = layout->getChild(key);
    if (!definition) {
        LOG_WARNING(std::string("tool node \"") + owner->getName() + "\": no \"" + key + "\" in its layout");
        return nullptr;
    }
    RefPointer<T> piece = ObjectFactoryContainer::createFrom<T>(definition);
    if (!piece) {
        LOG_WARNING(std::string("tool node \"") + owner->getName() + "\": \"" + key + "\" makes no piece of its kind");
        return nullptr;
    }
    piece->setRemoved(false);
    GameNode::addChild(owner, piece.get());
    return piece.get();
}

void show(GameNode* node, bool visible)
{
    if (node)
        node->setVisible(visible);
}

} // namespace

ToolNode::ToolNode(AbstractProperty* configuration) : GameNode(configuration)
{
    PropertyNode* layout = configuration && configuration->isNode() ? configuration->asNode() : DUMMY_NODE;
    // Children in drawing order, bottom to top.
    toolbox = buildPiece<Sprite>(this, layout, "toolbox");
    buyButton = buildPiece<Button>(this, layout, "button");
    soldOutButton = buildPiece<Button>(this, layout, "buttonsoldout");
    bar = buildPiece<Sprite>(this, layout, "bar");
    toolName = buildPiece<Label>(this, layout, "toolname");
    icon = buildPiece<Sprite>(this, layout, "icon");
    star = buildPiece<Sprite>(this, layout, "star");
    price = buildPiece<Label>(this, layout, "price");
}

void ToolNode::setTool(int id)
{
    ToolCatalog* catalog = ToolCatalog::getInstance();
    if (id != toolId) {
        toolId = id;
        Tool* tool = catalog ? catalog->find(id) : nullptr;
        if (!tool) {
            LOG_WARNING("tool node \"" + getName() + "\": no tool " + std::to_string(id));
        } else {
            if (bar)
                bar->setCurrentFrame(tool->slot);
            if (toolName) {
                toolName->setText(BasicProperties::instance ? BasicProperties::instance->getText(tool->name) : WString());
                toolName->updateLayout();
            }
            if (icon) {
                RefPointer<Image> picture = catalog->getShopButtonImage(id);
                icon->setImage(picture.get());
                icon->setFrameCount(kShopPictureFrames, false);
                icon->setCurrentFrame(0);
            }
            if (price) {
                price->setText(formatGroupedNumber(tool->price, getDigitGroupingSymbol()));
                price->updateLayout();
            }
        }
    }
    TortelunePlayer* player = gamescreen::currentPlayer();
    const bool owned = player && player->hasTool(toolId);
    show(star, !owned);
    show(icon, !owned);
    show(price, !owned);
    show(buyButton, !owned);
    show(toolbox, owned);
    show(soldOutButton, owned);
}

void ToolNode::update(int /*deltaMs*/)
{
    if (icon && buyButton && icon->getCurrentFrame() != buyButton->getCurrentFrame())
        icon->setCurrentFrame(buyButton->getCurrentFrame());
}
