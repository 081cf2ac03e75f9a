#include "game/production/PastryGoalPanel.h"

#include <algorithm>

#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TuningTable.h"
#include "game/production/GameScreen.h"
#include "game/production/Phase.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

constexpr int kArcadeSets = 6;

// Hidden, at (x, y) in the level sign.
void place(const char* name, int x, int y)
{
    if (GameNode* n = node(name)) {
        n->setVisible(false);
        n->setPosition(x, y);
    }
}

int currentIndex()
{
    GameDataState* s = state();
    if (!s)
        return 0;
    return s->mode == 1 ? s->arcadeManager.getCurrentIndex() : s->levelManager.getCurrentIndex();
}

} // namespace

PastryGoalPanel* getPastryGoalPanel()
{
    SceneGame* scene = SceneGame::getInstance();
    RefPointer<Phase> phase = scene ? scene->getPhase() : RefPointer<Phase>();
    GamePieces* pieces = phase ? phase->getPieces() : nullptr;
    return pieces ? pieces->pastryGoalPanel.get() : nullptr;
}

int PastryGoalPanel::examGoal()
{
    return GameData::instance ? GameData::instance->getCurrentLevel().starsGoal : 0;
}

PastryGoalPanel::PastryGoalPanel()
{
    const bool arcade = isArcade();
    setLabelText(node("LABEL_STARS"), textByKey(arcade ? "TEXT_ARCADE_PASTRIES" : "TEXT_EXAM_PASTRIES"));
    setLabelText(node("LABEL_GOAL"), textByKey("TEXT_EXAM_GOAL"));
    refresh();
    // The sign's smoke, finished mark and shine stand where the conveyor's
    // sign puts them, hidden until a phase shows them.
    place("LEVEL_SMOKE", 34, 60);
    place("LEVEL_FINISHED", 52, 171);
    place("LEVEL_SHINE", 41, 162);
    for (const char* name : {"GOAL_STAR", "EARNED_STAR"})
        show(node(name), false);
    for (const char* name : {"SPRITE_SPACELEVEL", "LABEL_LEVEL", "LABEL_LEVEL_VALUE", "LEVEL_ICON"})
        show(node(name), arcade);
    for (const char* name : {"SPRITE_SPACEGOAL", "LABEL_GOAL", "LABEL_GOAL_VALUE", "GOAL_PACKAGE"})
        show(node(name), !arcade);
    show(node("EARNED_PACKAGE"), true);
    show(node("LADDER"), true);
}

void PastryGoalPanel::refresh()
{
    GameDataState* s = state();
    if (!s || !GameData::instance)
        return;
    const bool arcade = isArcade();
    const Level& level = GameData::instance->getCurrentLevel();
    count = s->playSessionInfo.starCount;
    const int goal = arcade ? level.pastriesStart + s->playSessionInfo.arcadeLevel * level.pastriesDelta : examGoal();
    setLabelText(node("LABEL_GOAL_VALUE"), groupedNumber(goal));
    setLabelText(node("LABEL_EARNED_VALUE"), groupedNumber(count));
    const int index = currentIndex();
    // Six arcade sets have a name and a picture frame each.
    const int set = std::clamp(index, 0, kArcadeSets - 1);
    if (arcade)
        setLabelText(node("LABEL_THEME"), textByKey(numbered("TEXT_ARCADENAME", set)));
    else
        setLabelText(node("LABEL_THEME"), getThemeTitle(getThemeIndex(level.themeName)));
    for (const char* name : {"SPRITE_SPACESTARS_BLUE", "SPRITE_SPACEGOAL"}) {
        if (Sprite* space = sprite(node(name))) {
            space->setImage(image("STAR_SPACE_ARCADE"));
            GameNode::cancelModifiers(space);
            space->setAlpha(255);
        }
    }
    if (Sprite* picture = sprite(node("LEVEL"))) {
        if (arcade) {
            picture->setImage(image("ARCADE_LEVELNUMBERS"));
            picture->setFrameCount(6, false);
            picture->setVisible(true);
            picture->setCurrentFrame(set);
            picture->setPosition(83, 198);
        } else {
            const int perTheme = std::max(1, tuning().LEVEL_PER_THEME);
            picture->setImage(image(numbered("LEVELINFO_LEVEL", index % perTheme), "dialogs"));
            picture->setFrameCount(4, false);
            picture->setVisible(true);
            picture->setPosition(43, 172);
        }
    }
    refreshLevelValue(false);
}

void PastryGoalPanel::addEarnedPackage()
{
    doubleFlip(sprite(node("EARNED_PACKAGE")));
    count += isArcade() ? -1 : 1;
    if (GameDataState* s = state())
        s->playSessionInfo.starCount = count;
    setLabelText(node("LABEL_EARNED_VALUE"), toWideString(std::to_string(count)));
}

void PastryGoalPanel::refreshLevelValue(bool animate)
{
    GameDataState* s = state();
    setLabelText(node("LABEL_LEVEL_VALUE"), groupedNumber(s ? s->playSessionInfo.arcadeLevel + 1 : 1));
    if (animate)
        doubleFlip(sprite(node("LEVEL_ICON")));
}

Modifier* PastryGoalPanel::addIntroBlink(Modifier* after)
{
    if (!after || isCareerLevel())
        return after;
    Sprite* target = sprite(node(isArcade() ? "SPRITE_SPACELEVEL" : "SPRITE_SPACEGOAL"));
    if (!target)
        return after;
    const int speed = tuning().GOALSTART_SPEED;
    // 255 down to 128 and back each time; a counted blink rests at its first
    // value, so the sign ends fully opaque.
    auto* blink = new ModifierBlink(255, 128, speed, speed, 0, 0, tuning().GOALSTART_COUNT);
    blink->setTarget(target);
    return Modifier::addChild(after, blink);
}
