#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneToolShop.h"

#include "framework/core/Log.h"
#include "framework/core/Random.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogBuyTool.h"
#include "game/dialogs/DialogToolHint.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/effects/Effects.h"
#include "game/effects/LabelTicker.h"
#include "game/production/GameScreen.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/ToolNode.h"

TT_DEFINE_RECORD(SceneToolShop, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneToolShop);

namespace {

const char kBuyDialog[] = "DIALOG_BUYTOOL";
const char kToolHintTemplate[] = "DIALOG_TOOLHINT";
constexpr int kToolHintX = 400;
constexpr int kToolHintY = 270;
constexpr int kBlanketsX = 400;
constexpr int kBlanketsY = 56;
constexpr int kCharacterKinds = 5;
constexpr int kBopRise = 8;
// Anchor and pivot at the bottom centre.
constexpr int kBottomCentre = 7;

// Tool hints are named apart over the whole run, so a closing one never
// takes the place of the next.
int toolHintCounter = 0;

TortelunePlayer* player()
{
    return gamescreen::currentPlayer();
}

int spendableStars()
{
    TortelunePlayer* profile = player();
    return profile ? profile->getSpendableStars() : 0;
}

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

} // namespace

SceneToolShop::SceneToolShop(AbstractProperty* configuration) : SceneTortelune(configuration)
{
    const TuningTable& values = tuning();
    characters[0].restart(values.TOOLSHOP_CHARACTER0_DELAY_MIN);
    characters[1].restart(values.TOOLSHOP_CHARACTER1_DELAY_MAX);
}

std::array<int, SceneToolShop::kToolCount> SceneToolShop::toolOrder()
{
    std::array<int, kToolCount> order;
    order.fill(-1);
    ToolCatalog* catalog = ToolCatalog::getInstance();
    if (!catalog)
        return order;
    size_t position = 0;
    for (int slot : {0, 1})
        for (int level : {1, 0})
            for (int id = 0; id < kToolCount; ++id) {
                Tool* tool = catalog->find(id);
                if (tool && tool->slot == slot && tool->level == level && position < order.size())
                    order[position++] = id;
            }
    return order;
}

void SceneToolShop::loadContent()
{
    SceneTortelune::loadContent();
    backButton = objectCast<Button>(bindComponent("BUTTON_BACK", GuiMethod::bind<SceneToolShop, &SceneToolShop::onBack>(this)));
    starsLabel = objectCast<Label>(getComponent("LABEL_TOTALSTARS"));
    starsTicker = objectCast<LabelTicker>(getComponent("TICKER_TOTALSTARS"));
    blankets = objectCast<Sprite>(getComponent("SPRITE_BLANKETS"));
    vendor = objectCast<Sprite>(getComponent("SPRITE_VENDOR"));
    if (starsTicker && starsLabel)
        starsTicker->setLabel(starsLabel);

    const std::array<int, kToolCount> order = toolOrder();
    const GuiMethod pressed = GuiMethod::bind<SceneToolShop, &SceneToolShop::onToolPressed>(this);
    for (int position = 0; position < kToolCount; ++position) {
        ToolNode* node = objectCast<ToolNode>(getComponent("BUTTON_TOOL" + std::to_string(position)));
        toolNodes[static_cast<size_t>(position)] = node;
        if (!node) {
            LOG_WARNING("tool shop: no tool node \"BUTTON_TOOL" + std::to_string(position) + "\"");
            continue;
        }
        node->setTag(order[static_cast<size_t>(position)]);
        node->setTool(order[static_cast<size_t>(position)]);
        addListener(node->getBuyButton(), pressed);
        addListener(node->getSoldOutButton(), pressed);
    }
}

void SceneToolShop::show()
{
    SceneTortelune::show();
    if (SoundManager::instance && ResourceManager::instance) {
        RefPointer<SoundStream> music;
        {
            ResourceLock lock;
            music = ResourceManager::instance->getResourceAs<SoundStream>("MUSIC_SHOP", "music");
        }
        if (music)
            SoundManager::instance->playMusic(1000, 1.0f, 100, music.get(), 600, 306);
        else
            LOG_WARNING("tool shop: no music \"MUSIC_SHOP\"");
    }
    setStarCount(spendableStars());
    refreshToolNodes();
    for (ToolNode* node : toolNodes) {
        Button* buy = node ? node->getBuyButton() : nullptr;
        if (!buy)
            continue;
        GameNode::clearModifiers(buy);
        GameNode::cancelModifiers(buy);
        // Detaching hands the tree's reference to us.
        while (GameNode* child = buy->getFirstChild()) {
            GameNode::removeFromParent(child);
            child->release();
        }
    }

    TortelunePlayer* profile = player();
    if (profile && profile->toolLevel1Notice) {
        profile->toolLevel1Notice = false;
        revealSecondLevel();
    } else if (blankets) {
        blankets->setVisible(!(profile && profile->hasToolLevel(1)));
    }

    if (profile) {
        HintManager* hints = HintManager::instance;
        if (profile->numShopVisits == 0) {
            Tool* gift = ToolCatalog::getInstance() ? ToolCatalog::getInstance()->find(kFreeTool) : nullptr;
            if (gift && !profile->hasTool(kFreeTool)) {
                profile->buyTool(kFreeTool);
                profile->toolSlots.resize(TortelunePlayer::kToolSlotCount, -1);
                profile->toolSlots[gift->slot == 1 ? 1 : 0] = kFreeTool;
                refreshToolNodes();
            }
            if (hints)
                hints->showHint("HINT_SHOPFIRST", this, &SceneToolShop::onFirstHintClosed);
        } else if (profile->numShopVisits == 1 && hints) {
            hints->showHint("HINT_SHOPSECOND");
        }
        ++profile->numShopVisits;
    }
    setVendorFrame(0);
    openToolHint = nullptr;
    hoveredTool = kNoTool;
}

void SceneToolShop::hide()
{
    openToolHint = nullptr;
    for (const char* name : {kBuyDialog, "DIALOG_HINT"})
        if (Dialog* dialog = getDialog(name))
            forgetDialog(dialog);
    for (int counter = toolHintCounter; counter >= toolHintCounter - 1 && counter >= 0; --counter)
        if (Dialog* dialog = getDialog(kToolHintTemplate + std::to_string(counter)))
            forgetDialog(dialog);
    SceneTortelune::hide();
}

void SceneToolShop::update(int deltaMs)
{
    SceneTortelune::update(deltaMs);
    const TuningTable& values = tuning();
    const int delayMin[2] = {values.TOOLSHOP_CHARACTER0_DELAY_MIN, values.TOOLSHOP_CHARACTER1_DELAY_MIN};
    const int delayMax[2] = {values.TOOLSHOP_CHARACTER0_DELAY_MAX, values.TOOLSHOP_CHARACTER1_DELAY_MAX};
    for (int which = 0; which < 2; ++which) {
        Countdown& countdown = characters[which];
        countdown.time -= deltaMs;
        if (countdown.running() && countdown.ringing()) {
            sendCharacter();
            // At least one millisecond, so a zero delay cannot send one every frame for ever.
            countdown.restart(std::max(1, randomBetween(delayMin[which], delayMax[which])));
        }
    }
}

int SceneToolShop::randomBetween(int low, int high) const
{
    if (high <= low)
        return low;
    return Random::instance ? Random::instance->nextInt(low, high) : low;
}

int SceneToolShop::onBack(BaseObject* /*button*/)
{
    switchTo({"scenemap"}, "TRANSITION_DEFAULT", "SCENE_MAP");
    return 0;
}

ToolNode* SceneToolShop::findToolNode(int toolId) const
{
    for (ToolNode* node : toolNodes)
        if (node && node->getToolId() == toolId)
            return node;
    return nullptr;
}

int SceneToolShop::onToolPressed(BaseObject* button)
{
    int toolId = -1;
    for (ToolNode* node : toolNodes)
        if (node && button && (node->getBuyButton() == button || node->getSoldOutButton() == button))
            toolId = node->getTag();
    closeToolHint();
    setVendorFrame(0);
    Dialog* dialog = getOrCreateDialog(kBuyDialog, kBuyDialog);
    auto* buy = objectCast<DialogBuyTool>(dialog);
    if (!buy) {
        if (dialog)
            forgetDialog(dialog);
        LOG_WARNING(std::string("the template \"") + kBuyDialog + "\" makes no tool purchase");
        return 0;
    }
    buy->setTool(toolId);
    buy->closeCallback = GuiMethod::bind<SceneToolShop, &SceneToolShop::onBuyDialogClosed>(this);
    showDialog(buy);
    return 0;
}

int SceneToolShop::onBuyDialogClosed(BaseObject* /*dialog*/)
{
    if (TrophyWatcher* watcher = TrophyWatcher::instance)
        watcher->requestAnnouncement(TrophyWatcher::KindToolShop);
    setStarCount(spendableStars());
    refreshToolNodes();
    return 0;
}

int SceneToolShop::onFirstHintClosed(void* context, BaseObject* /*argument*/)
{
    auto* shop = static_cast<SceneToolShop*>(context);
    shop->refreshToolNodes();
    if (HintManager::instance)
        HintManager::instance->showHint("HINT_SHOPFIRST2");
    return 0;
}

void SceneToolShop::refreshToolNodes()
{
    ToolCatalog* catalog = ToolCatalog::getInstance();
    TortelunePlayer* profile = player();
    for (ToolNode* node : toolNodes) {
        if (!node)
            continue;
        node->setTool(node->getTag());
        Tool* tool = catalog ? catalog->find(node->getTag()) : nullptr;
        Button* buy = node->getBuyButton();
        Button* soldOut = node->getSoldOutButton();
        const bool unlocked = tool && profile && profile->hasToolLevel(tool->level);
        const bool buyShown = buy && buy->isVisible();
        if (buy)
            buy->setEnabled(unlocked && buyShown);
        if (soldOut)
            soldOut->setEnabled(unlocked && !buyShown);
    }
}

void SceneToolShop::setStarCount(int value)
{
    if (starsTicker)
        starsTicker->setTarget(value);
}

void SceneToolShop::setVendorFrame(int frame)
{
    if (vendor)
        vendor->setCurrentFrame(frame);
}

int SceneToolShop::toolAt(int x, int y) const
{
    for (ToolNode* node : toolNodes) {
        if (!node)
            continue;
        Button* buy = node->getBuyButton();
        Button* soldOut = node->getSoldOutButton();
        if ((buy && buy->isEnabled() && buy->containsPoint(x, y)) ||
            (soldOut && soldOut->isEnabled() && soldOut->containsPoint(x, y)))
            return node->getTag();
    }
    return kNoTool;
}

void SceneToolShop::closeToolHint()
{
    if (openToolHint)
        openToolHint->close();
    openToolHint = nullptr;
}

void SceneToolShop::openToolHintFor(int toolId, int slot)
{
    if (Dialog* previous = getDialog(kToolHintTemplate + std::to_string(toolHintCounter)))
        forgetDialog(previous);
    ++toolHintCounter;
    Dialog* dialog = getOrCreateDialog(kToolHintTemplate + std::to_string(toolHintCounter), kToolHintTemplate);
    auto* hint = objectCast<DialogToolHint>(dialog);
    openToolHint = nullptr;
    if (!hint) {
        if (dialog)
            forgetDialog(dialog);
        LOG_WARNING(std::string("the template \"") + kToolHintTemplate + "\" makes no tool hint");
        return;
    }
    hint->setTool(toolId);
    hint->setAutoCenter(false);
    hint->placeAt(kToolHintX, kToolHintY);
    showDialog(hint);
    openToolHint = hint;
    setVendorFrame(slot + 1);
}

bool SceneToolShop::onMouseMove(int x, int y, int keys)
{
    const int toolId = toolAt(x, y);
    Tool* tool = toolId != kNoTool && ToolCatalog::getInstance() ? ToolCatalog::getInstance()->find(toolId) : nullptr;
    const int slot = tool ? tool->slot : 0;
    if (!openToolHint) {
        if (toolId == kNoTool)
            setVendorFrame(0);
        else
            openToolHintFor(toolId, slot);
    } else if (toolId == kNoTool) {
        closeToolHint();
        setVendorFrame(0);
    } else if (openToolHint->getTool() != toolId) {
        openToolHintFor(toolId, slot);
    }
    hoveredTool = toolId;
    return SceneTortelune::onMouseMove(x, y, keys);
}

bool SceneToolShop::onChar(int character)
{
    if (character == 'b')
        revealSecondLevel();
    return false;
}

void SceneToolShop::revealSecondLevel()
{
    if (!blankets)
        return;
    GameNode::cancelModifiers(blankets);
    blankets->setPosition(kBlanketsX, kBlanketsY);
    blankets->setAlpha(255);
    blankets->setVisible(true);
    Modifier* wait = Modifier::addChild(getAnimTree(), targeted(new ModifierDelay(500), blankets));
    Modifier::addChild(wait, targeted(new ModifierLocationLine(500, kBlanketsX, kBlanketsY, kBlanketsX,
                                                               -blankets->getHeight(), easeOut),
                                      blankets));
    Modifier::addChild(wait, targeted(new ModifierAlpha(500, 255, 128), blankets));
}

void SceneToolShop::sendCharacter()
{
    const TuningTable& values = tuning();
    const int duration = randomBetween(values.TOOLSHOP_CHARACTER_DURATION_MIN, values.TOOLSHOP_CHARACTER_DURATION_MAX);
    const int side = randomBetween(0, 2);
    const int kind = randomBetween(0, kCharacterKinds);
    const std::string name = "CHARACTER" + std::to_string(kind) + (side == 0 ? "RIGHT" : "LEFT");
    RefPointer<Image> image;
    if (ResourceManager::instance) {
        ResourceLock lock;
        image = ResourceManager::instance->getResourceAs<Image>(name, "scenetoolshop");
    }
    if (!image) {
        LOG_WARNING("tool shop: no character picture \"" + name + "\"");
        return;
    }
    const int y = 600 + values.TOOLSHOP_CHARACTER_BOP_OFFSET + values.TOOLSHOP_CHARACTER_BOP_HEIGHT / 2;
    const int halfWidth = image->getWidth() / 2;
    const int fromX = side == 0 ? -halfWidth : 800 + halfWidth;
    const int toX = side == 0 ? 800 + halfWidth : -halfWidth;
    // The walker carries the picture across; the picture bops inside it, so
    // the bops never fight the walk.
    RefPointer<GameNode> walker(new GameNode());
    walker->setPosition(fromX, y);
    RefPointer<Sprite> figure(new Sprite(0, 0, image.get()));
    figure->setAnchorPoint(kBottomCentre);
    figure->setPivotPointKind(kBottomCentre);
    figure->setVisible(true);
    GameNode::addChild(walker.get(), figure.get());
    GameNode::addChild(getComponentRoot(), walker.get());

    Modifier* walk = new ModifierLocationLine(duration, fromX, y, toX, y);
    walk->addEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(getAnimTree(), targeted(walk, walker.get()));
    Modifier* bop = getAnimTree();
    const int bopTime = std::max(1, values.TOOLSHOP_CHARACTER_BOP_DURATION);
    for (int count = 0; count < values.TOOLSHOP_CHARACTER_BOP_COUNT && count < 100; ++count) {
        bop = Modifier::addChild(bop, targeted(new ModifierLocationLine(bopTime, 0, 0, 0, -kBopRise), figure.get()));
        bop = Modifier::addChild(bop, targeted(new ModifierLocationLine(bopTime, 0, -kBopRise, 0, 0), figure.get()));
    }
}
