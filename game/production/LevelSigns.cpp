#include "game/production/LevelSigns.h"

#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/effects/LabelTicker.h"
#include "game/production/GameScreen.h"

using namespace gamescreen;

namespace levelsigns {

LabelTicker* scoreTicker()
{
    auto* ticker = objectCast<LabelTicker>(node("TICKER_SCORE"));
    if (!ticker)
        return nullptr;
    // The score label moves under the ticker when it is bound, so it is
    // looked up only while it is not.
    if (!ticker->getLabel()) {
        if (GameNode* label = node("LABEL_SCORE"))
            ticker->setLabel(label);
    }
    return ticker;
}

void showScore(int score)
{
    if (LabelTicker* ticker = scoreTicker()) {
        ticker->setTarget(score);
        ticker->skipToTarget(true);
        ticker->setSuspended(false);
    }
}

void countScoreTo(int score)
{
    LabelTicker* ticker = scoreTicker();
    if (ticker && static_cast<int>(ticker->getTarget()) != score)
        ticker->setTarget(score);
}

void suspendScore(bool suspended)
{
    if (LabelTicker* ticker = scoreTicker())
        ticker->setSuspended(suspended);
}

void setUp(Modifier* container)
{
    if (!GameData::instance)
        return;
    Level& level = GameData::instance->getCurrentLevel();
    if (isCareerLevel()) {
        setLabelText(node("LABEL_THEME"), getThemeTitle(getThemeIndex(level.themeName)));
        setLabelNumber(node("LABEL_GOAL_VALUE"), level.starsGoal);
    }
    Sprite* smoke = sprite(node("LEVEL_SMOKE"));
    if (isArcade()) {
        if (smoke) {
            smoke->setVisible(false);
            GameNode::cancelModifiers(smoke);
        }
        return;
    }
    if (smoke) {
        smoke->setVisible(true);
        GameNode::cancelModifiers(smoke);
        smoke->setCurrentFrame(0);
        smoke->setAlpha(127);
        if (container) {
            auto* loop = new ModifierFrame(-1, 125);
            loop->setTarget(smoke);
            Modifier::addChild(container, loop);
        }
    }
    if (Sprite* finished = sprite(node("LEVEL_FINISHED"))) {
        TortelunePlayer* player = currentPlayer();
        finished->setVisible(player && player->highestLevelReached >= level.levelIndex);
        finished->setAlpha(255);
        GameNode::cancelModifiers(finished);
    }
    if (GameNode* shine = node("LEVEL_SHINE")) {
        shine->setVisible(false);
        GameNode::cancelModifiers(shine);
    }
}

} // namespace levelsigns
