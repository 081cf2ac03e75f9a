// Every hint of the map, on the real art: the chef's bubble, his pointing
// hand and the chef himself stand clear of the themes' cupcakes and names,
// the figures at the top and the map's buttons. The pictures go to the build
// folder's "pictures" for a person to look at.
#include <string>
#include <vector>

#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/DialogHint.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/ThemeNode.h"
#include "MapHintFixture.h"
#include "support/FrontDoorFixture.h"
#include "support/PictureClearance.h"

namespace {

struct NamedBox {
    std::string name;
    ScreenBox box;
    // The theme a cupcake or level button belongs to; -1 for the rest.
    int theme = -1;
    bool isThemePicture = false;
};

class MapHintClearanceTest : public MapHintFixture {
protected:
    // What the map's hints must leave in sight: the cupcakes and names of
    // the themes on screen, the figures at the top and the buttons.
    std::vector<NamedBox> mapSights() const
    {
        std::vector<NamedBox> sights;
        const ScreenBox screen {0, 0, 800, 600};
        for (int t = 0; t < SceneMap::kThemeCount; ++t) {
            ThemeNode* theme = map()->getTheme(t);
            if (!theme)
                continue;
            std::vector<std::pair<std::string, Sprite*>> parts = {{"cupcake", theme->getPastryButton()},
                                                                   {"name", theme->getPastryName()}};
            for (int level = 0; level < 4; ++level)
                parts.push_back({"level button " + std::to_string(level),
                                 theme->getLevelButton(level)});
            for (const auto& [what, part] : parts) {
                if (!part || !screenBoxOf(part).overlaps(screen))
                    continue;
                // What the node draws now, with the hint's pieces out of the way.
                const ScreenBox box = inkBoxOf(map(), part);
                if (!box.isEmpty())
                    sights.push_back({"theme " + std::to_string(t) + " " + what, box, t, what != "name"});
            }
        }
        const std::pair<const char*, Sprite*> figures[] = {
            {"total stars", map()->getTotalStarsLabel()},
            {"star", dynamic_cast<Sprite*>(map()->getComponent("SPRITE_TOTALSTARS"))},
            {"rank", dynamic_cast<Sprite*>(map()->getComponent("LABEL_RANK"))},
            {"rank value", map()->getRankValueLabel()},
            {"score", dynamic_cast<Sprite*>(map()->getComponent("LABEL_SCORE"))},
            {"score value", map()->getScoreValueLabel()}};
        for (const auto& [name, label] : figures) {
            if (!label || !label->isVisible())
                continue;
            const ScreenBox ink = inkBoxOf(map(), label);
            sights.push_back({name, ink.isEmpty() ? screenBoxOf(label) : ink});
        }
        for (Button* button : {map()->getStartButton(), map()->getBackButton(), map()->getShopButton()}) {
            const ScreenBox box = inkBoxOf(map(), button);
            if (!box.isEmpty())
                sights.push_back({button->getName(), box});
        }
        return sights;
    }
    // Checks the shown hint against the map's sights; the hand may only
    // touch what it points at with its tip.
    void expectClearOfTheMap(const std::string& name)
    {
        DialogHint* hint = waitForHint(name);
        if (!hint)
            render("hint_map_missing_" + name + ".png");
        ASSERT_NE(nullptr, hint) << name;
        render("hint_map_clear_" + name + ".png");
        auto* state = dynamic_cast<MapHintState*>(map()->getState());
        Sprite* chef = state ? state->getHost() : nullptr;
        Sprite* hand = hint->getHand();
        Hint* record = HintManager::instance->findHint(name);
        ASSERT_NE(nullptr, record);
        std::vector<GameNode*> pieces = {hint, hand, chef};
        std::vector<bool> shown;
        for (GameNode* piece : pieces) {
            shown.push_back(piece && piece->isVisible());
            if (piece)
                piece->setVisible(false);
        }
        const std::vector<NamedBox> sights = mapSights();
        EXPECT_GE(sights.size(), 2u) << name << ": at least the map's buttons";
        for (size_t i = 0; i < pieces.size(); ++i)
            if (pieces[i])
                pieces[i]->setVisible(shown[i]);
        // The theme the hint is about: the one whose cupcake or level button the hand points at.
        int subject = -1;
        for (const NamedBox& sight : sights)
            if (sight.isThemePicture && sight.box.holds(record->handX, record->handY))
                subject = sight.theme;
        for (const NamedBox& sight : sights) {
            // On a page full of open themes the bubble finds no room beside
            // every cupcake: it keeps clear of the names, the figures, the
            // buttons and the theme it explains.
            if (!sight.isThemePicture || sight.theme == subject) {
                EXPECT_EQ(0, pixelsCoveredBy(map(), {hint}, sight.box))
                    << name << ": the bubble covers " << sight.name << " " << sight.box.text();
            }
            if (chef) {
                EXPECT_EQ(0, pixelsCoveredBy(map(), {chef}, sight.box))
                    << name << ": the chef covers " << sight.name << " " << sight.box.text();
            }
            if (!hand)
                continue;
            // The hand's tip may touch what it points at, no more.
            const bool target = sight.box.holds(record->handX, record->handY);
            const int area = (sight.box.right - sight.box.left) * (sight.box.bottom - sight.box.top);
            EXPECT_LE(pixelsCoveredBy(map(), {hand}, sight.box), target ? area / 10 : 0)
                << name << ": the hand covers " << sight.name << " " << sight.box.text();
        }
    }
};

TEST_F(MapHintClearanceTest, FirstMapHintsOfANewPlayer)
{
    addPlayer("Anna", -1);
    enter("SCENE_SELECTION");
    enter("SCENE_MAP");
    expectClearOfTheMap("HINT_LEVELSELECTION");
    shownHint()->closeHint();
    expectClearOfTheMap("HINT_CLICK_START");
}

// The hints that follow a finished level: the player comes back from the
// game with a new highest level (and what it unlocked).
struct AfterLevelCase {
    const char* hint;
    int highest;
    bool toolNotice;
    bool arcadeNotice;
};

class MapHintAfterLevelTest : public MapHintClearanceTest, public ::testing::WithParamInterface<AfterLevelCase> {
};

TEST_P(MapHintAfterLevelTest, StandsClearOfTheMap)
{
    const AfterLevelCase& c = GetParam();
    TortelunePlayer* player = addPlayer("Anna", c.highest - 1);
    player->setHintSeen("HINT_CLICK_START");
    // The trophies of levels 24 and 48 were announced long ago.
    for (int trophy : {12, 13})
        player->getTrophies()->setState(trophy, 2);
    enter("SCENE_SELECTION");
    enter("SCENE_MAP");
    frames(400);
    enter("SCENE_GAME");
    player->highestLevelReached = c.highest;
    player->newLevelNotice = true;
    player->toolLevel0Notice = c.toolNotice;
    player->arcadeSet0Notice = c.arcadeNotice;
    for (int level = 0; level < c.highest; ++level)
        player->levelStars[level] = 2;
    enter("SCENE_MAP");
    expectClearOfTheMap(c.hint);
}

INSTANTIATE_TEST_SUITE_P(EveryHint, MapHintAfterLevelTest,
                         ::testing::Values(AfterLevelCase {"HINT_FIRSTLEVEL", 0, false, false},
                                           AfterLevelCase {"HINT_FIRSTTHEME", 3, false, false},
                                           AfterLevelCase {"HINT_EXAM1_UNLOCKED", 11, false, false},
                                           AfterLevelCase {"HINT_EXAM1_FINISHED", 15, false, false},
                                           AfterLevelCase {"HINT_EXAM3_UNLOCKED", 43, false, false},
                                           AfterLevelCase {"HINT_EXAM3_FINISHED", 47, false, false},
                                           AfterLevelCase {"HINT_SHOP", 5, true, false},
                                           AfterLevelCase {"HINT_ARCADEUNLOCK", 8, false, true}),
                         [](const ::testing::TestParamInfo<AfterLevelCase>& info) {
                             return std::string(info.param.hint).substr(5);
                         });

} // namespace
