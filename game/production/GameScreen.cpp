#include "game/production/GameScreen.h"

#include <set>

#include "framework/core/Log.h"
#include "framework/core/Random.h"
#include "framework/gui/Panel.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/scenes/SceneGame.h"

namespace gamescreen {

namespace {

// A layout that lacks a node is reported once, not in every frame that asks.
void reportMissing(const std::string& what, const std::string& name)
{
    static std::set<std::string> reported;
    if (reported.insert(what + name).second)
        LOG_WARNING("game screen: no " + what + " \"" + name + "\"");
}

} // namespace

GameDataState* state()
{
    return GameData::instance ? GameData::instance->state : nullptr;
}

bool isArcade()
{
    GameDataState* s = state();
    return s && s->mode == 1;
}

bool isCareerLevel()
{
    GameDataState* s = state();
    return s && s->mode == 0 && !GameData::instance->isExamLevel();
}

TortelunePlayer* currentPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
}

void earnTrophy(int index)
{
    TortelunePlayer* player = currentPlayer();
    Trophies* trophies = player ? player->getTrophies() : nullptr;
    if (trophies && index < trophies->getCount() && trophies->getState(index) == 0)
        trophies->setState(index, 1);
}

GameNode* node(const std::string& name)
{
    SceneGame* scene = SceneGame::getInstance();
    GameNode* found = scene ? scene->getComponent(name) : nullptr;
    if (!found)
        reportMissing("node", name);
    return found;
}

GameNode* child(GameNode* parent, const std::string& name)
{
    if (!parent)
        return nullptr;
    GameNode* found = nullptr;
    if (auto* panel = objectCast<Panel>(parent))
        found = panel->getComponent(name);
    else
        found = parent->findNode(name);
    if (!found)
        reportMissing("node", parent->getName() + "/" + name);
    return found;
}

Sprite* sprite(GameNode* node)
{
    return node ? objectCast<Sprite>(node) : nullptr;
}

void show(GameNode* node, bool visible)
{
    if (node)
        node->setVisible(visible);
}

void setAlpha(GameNode* node, int alpha)
{
    if (Sprite* s = sprite(node))
        s->setAlpha(alpha);
}

void releaseChildren(GameNode* node)
{
    if (node && node->getFirstChild())
        GameNode::releaseSiblings(node->getFirstChild());
}

Image* image(const std::string& key, const std::string& section)
{
    Image* found = nullptr;
    if (ResourceManager::instance) {
        ResourceLock lock;
        found = ResourceManager::instance->getResourceAs<Image>(key, section).get();
    }
    if (!found)
        reportMissing("image", section + "/" + key);
    return found;
}

void playSound(Modifier* parent, const std::string& key)
{
    if (parent)
        Modifier::addChild(parent, new ModifierSound(key, "sounds", true));
}

int scaled(int durationMs)
{
    GameDataState* s = state();
    const float speed = s ? s->playSessionInfo.getAnimationSpeedMultiplier() : 1.0f;
    return static_cast<int>(static_cast<float>(durationMs) * (2.0f - speed));
}

std::string numbered(const std::string& prefix, int number)
{
    return prefix + std::to_string(number);
}

int randomBetween(int lower, int upper)
{
    if (upper <= lower || !Random::instance)
        return lower;
    return Random::instance->nextInt(lower, upper);
}

Modifier* phaseContainer()
{
    SceneGame* scene = SceneGame::getInstance();
    return scene ? scene->getPhaseContainer() : nullptr;
}

Modifier* attach(Modifier* parent, GameNode* target, Modifier* step)
{
    step->setTarget(target);
    return Modifier::addChild(parent, step);
}

Modifier* visibleStep(Modifier* parent, GameNode* target, bool visible)
{
    if (!parent || !target)
        return parent;
    return attach(parent, target, new ModifierVisible(visible));
}

void doubleFlip(Sprite* node)
{
    if (!node)
        return;
    if (node->getPivotKind() != Sprite::Center)
        node->setPivotPointKind(Sprite::Center);
    const float w = static_cast<float>(node->getWidth());
    const float h = static_cast<float>(node->getHeight());
    for (int i = 0; i < 2; ++i) {
        auto* in = new ModifierStretch(100, w, h, 0.0f, h, easing::smooth);
        in->setEndFlags(Modifier::EndWait);
        GameNode::addModifier(node, in);
        auto* out = new ModifierStretch(100, 0.0f, h, w, h, easing::smooth);
        out->setEndFlags(Modifier::EndWait);
        GameNode::addModifier(node, out);
    }
}

} // namespace gamescreen
