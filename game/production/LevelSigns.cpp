#include "game/production/LevelSigns.h"

#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/production/GameScreen.h"

using namespace gamescreen;

namespace levelsigns {

void showScore(int score)
{
    // TODO(issue 20): the score counts up through the game's LabelTicker
    // ("TICKER_SCORE") once it lands; until then the label shows the score.
    setLabelText(node("LABEL_SCORE"), formatGroupedNumber(score, getDigitGroupingSymbol()));
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
