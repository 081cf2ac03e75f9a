// The little tower of cakes that the ordinary dialog frame draws in its lower
// right corner: no button, text or picture of a dialog stands on it.
#include "GameDialogsFixture.h"

#include <chrono>
#include <thread>

#include "framework/graphics/Image.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Panel.h"
#include "framework/gui/Scene.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogRankUp.h"
#include "game/dialogs/DialogTrophyAwarded.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/DialogYesNo.h"

namespace {

using QuitQuestionLayoutTest = GameDialogsFixture;
using CakeTowerLayoutTest = GameDialogsFixture;

struct Box {
    int left, top, right, bottom;
    bool overlaps(const Box& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Where the frame's cake tower stands in a dialog framed at width x height.
Box towerIn(int width, int height)
{
    RefPointer<Image> tower;
    {
        ResourceLock lock;
        tower = ResourceManager::instance->getResourceAs<Image>("EIFFELTOWER", "default");
    }
    if (!tower)
        return {0, 0, 0, 0};
    const int left = width - tuning().DEFAULTDIALOG_EIFFEL_OFFSETX - tower->getWidth();
    const int top = height - tuning().DEFAULTDIALOG_EIFFEL_OFFSETY - tower->getHeight();
    return {left, top, left + tower->getWidth(), top + tower->getHeight()};
}

// The component's box stays off the tower; (originX, originY) is where its
// parent panel stands in the dialog.
void expectOffTheTower(Sprite* component, const Box& cake, int originX = 0, int originY = 0)
{
    const Box box {originX + component->getLeft(), originY + component->getTop(),
                   originX + component->getLeft() + component->getWidth(),
                   originY + component->getTop() + component->getHeight()};
    EXPECT_FALSE(cake.overlaps(box)) << component->getName() << " at " << box.left << "," << box.top << " "
                                     << box.right << "," << box.bottom << "; the tower at " << cake.left << ","
                                     << cake.top << " " << cake.right << "," << cake.bottom;
}

// Every visible picture, text and button under `parent` stays off the tower;
// the panels that group them are looked into. Returns how many were checked.
int expectAllOffTheTower(GameNode* parent, const Box& cake, int originX = 0, int originY = 0)
{
    int checked = 0;
    for (GameNode* node = parent->getFirstChild(); node; node = node->getNextSibling()) {
        if (!node->isVisible())
            continue;
        if (auto* panel = objectCast<Panel>(node)) {
            checked += expectAllOffTheTower(panel->getComponentRoot(), cake, originX + node->getX(),
                                            originY + node->getY());
            continue;
        }
        auto* component = objectCast<Sprite>(node);
        if (!component || component->getWidth() <= 0 || component->getHeight() <= 0)
            continue;
        ++checked;
        expectOffTheTower(component, cake, originX, originY);
    }
    return checked;
}

void expectNothingOnTheTower(Dialog* dialog, const Box& cake)
{
    ASSERT_GT(cake.right, cake.left);
    EXPECT_GE(expectAllOffTheTower(dialog->getComponentRoot(), cake), 1);
}

// The frame's cake tower decorates the quit question's lower right corner:
// it covers neither the buttons nor the question's text.
TEST_F(QuitQuestionLayoutTest, TheCakeTowerCoversNoControlOrText)
{
    enter(selection);
    DialogYesNo* question =
        DialogYesNo::ask("CTEXT_QUESTION_QUIT", "CTEXT_QUIT_HEADER", nullptr, nullptr, nullptr, nullptr, selection);
    ASSERT_NE(nullptr, question);
    // The size the painter frames, before the background is darkened.
    const Box cake = towerIn(question->getWidth(), question->getHeight());
    ASSERT_GT(cake.right, cake.left);
    for (const char* name : {"BUTTON_YES", "BUTTON_NO", "MESSAGE", "HEADER"}) {
        auto* component = objectCast<Sprite>(question->getComponent(name));
        ASSERT_NE(nullptr, component) << name;
        expectOffTheTower(component, cake);
    }
}

// The settings keep their buttons left of the tower, so both stay whole.
TEST_F(QuitQuestionLayoutTest, TheSettingsButtonsStandClearOfTheCakeTower)
{
    Dialog* settings = open("DIALOG_SETTINGS");
    ASSERT_NE(nullptr, settings);
    advance(400);
    // The framed size of the template; the darkened background widens the dialog itself.
    PropertyNode* layout = settings->getConfiguration();
    ASSERT_NE(nullptr, layout);
    const Box cake = towerIn(layout->getInt("width"), layout->getInt("height"));
    ASSERT_GT(cake.right, cake.left);
    for (const char* name : {"BUTTON_OK", "BUTTON_CANCEL", "BUTTON_INFO"}) {
        auto* button = objectCast<Sprite>(settings->getComponent(name));
        ASSERT_NE(nullptr, button) << name;
        expectOffTheTower(button, cake);
    }
}

// Before a level, with a tool in each slot: where the frame draws the tower,
// the start button, the tools and the goal all keep off it.
TEST_F(CakeTowerLayoutTest, TheLevelInformationKeepsOffTheCakeTower)
{
    enter(map);
    player->highestLevelReached = 3;
    player->tools = {0, 4};
    player->toolSlots = {0, 4};
    GameData::instance->state->mode = 0;
    GameData::instance->startLevel(1);
    auto* info = objectCast<DialogLevelInfo>(map->getOrCreateDialog("DIALOG_LEVEL_INFO", "DIALOG_LEVEL_INFO"));
    ASSERT_NE(nullptr, info);
    info->showSelectedTools();
    info->showLevel(GameData::instance->getCurrentLevel());
    PropertyNode* layout = info->getConfiguration();
    ASSERT_NE(nullptr, layout);
    // A darkened dialog drops its painter when it shows.
    auto* painter = objectCast<DefaultDialogPainter>(info->getPainter());
    const bool tower = painter && painter->getDrawEiffel();
    map->showDialog(info);
    advance(400);
    if (tower)
        expectNothingOnTheTower(info, towerIn(layout->getInt("width"), layout->getInt("height")));
}

// A trophy just earned and one looked at, with descriptions of two lines:
// the dialogs grow and the tower moves down with them, still clear of the
// picture, the texts and OK.
TEST_F(CakeTowerLayoutTest, TheTrophyDialogsKeepOffTheCakeTower)
{
    enter(selection);
    player->numPastries = 123;
    for (const char* name : {"DIALOG_TROPHYAWARDED", "DIALOG_TROPHYINFO"}) {
        Dialog* dialog = selection->getOrCreateDialog(name, name);
        ASSERT_NE(nullptr, dialog) << name;
        if (auto* awarded = objectCast<DialogTrophyAwarded>(dialog)) {
            ASSERT_TRUE(awarded->setTrophy(7));
        } else if (auto* info = objectCast<DialogTrophyInfo>(dialog)) {
            ASSERT_TRUE(info->setTrophy(11));
        }
        // The size the painter frames, before the background is darkened.
        const Box cake = towerIn(dialog->getWidth(), dialog->getHeight());
        selection->showDialog(dialog);
        advance(3000);
        SCOPED_TRACE(name);
        expectNothingOnTheTower(dialog, cake);
    }
}

// The other dialogs, as they open: where the frame draws the tower, nothing
// stands on it.
TEST_F(CakeTowerLayoutTest, NoDialogStandsOnTheCakeTowerOfItsFrame)
{
    // The pictures of the shop, the trophies and the player list, so that
    // every component has its size.
    for (const char* section : {"scenegame", "sceneselection", "scenetoolshop", "trophies", "tools"})
        ResourceManager::instance->requestSection(section);
    for (int waited = 0; ResourceManager::instance->hasPendingRequests() && waited < 120000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
    // The rank-up shows a rank's name and reward.
    ASSERT_NE(nullptr, RankTable::create());
    // The tool choice describes a tool in each slot.
    ASSERT_NE(nullptr, ToolCatalog::create());
    struct RanksGone {
        ~RanksGone()
        {
            RankTable::destroyInstance();
            ToolCatalog::destroyInstance();
        }
    } ranksGone;
    player->tools = {0, 1};
    player->toolSlots = {0, 1};
    enter(selection);
    int framedWithTheTower = 0;
    for (const char* name : {"DIALOG_LEVEL_END", "DIALOG_SELECTTOOL", "DIALOG_NEWPLAYER", "DIALOG_PLAYERSELECT",
                             "DIALOG_BUYTOOL", "DIALOG_TROPHYSCREEN", "DIALOG_MENU", "DIALOG_PAUSE",
                             "DIALOG_SETTINGS", "DIALOG_GAMEEND", "DIALOG_RANKUP"}) {
        SCOPED_TRACE(name);
        Dialog* dialog = selection->getOrCreateDialog(name, name);
        ASSERT_NE(nullptr, dialog);
        if (auto* rankUp = objectCast<DialogRankUp>(dialog))
            rankUp->rank = 1;
        // A darkened dialog drops its painter when it shows.
        auto* painter = objectCast<DefaultDialogPainter>(dialog->getPainter());
        const bool tower = painter && painter->getDrawEiffel();
        PropertyNode* layout = dialog->getConfiguration();
        ASSERT_NE(nullptr, layout);
        const Box cake = towerIn(layout->getInt("width"), layout->getInt("height"));
        selection->showDialog(dialog);
        advance(2000);
        if (tower) {
            ++framedWithTheTower;
            expectNothingOnTheTower(dialog, cake);
        }
        selection->hideDialog(dialog);
    }
    EXPECT_GE(framedWithTheTower, 5);
}

} // namespace
