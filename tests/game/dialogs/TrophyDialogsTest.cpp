// The trophy watcher and the trophy dialogs with the real trophy file, texts
// and pictures: each trophy's kind, announcing one at a time in index order,
// the trophy screen's pages, information and hints, the values put into the
// descriptions, and trophy files too short for the game.
#include <fstream>

#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/StyleLabel.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogBuyTool.h"
#include "game/dialogs/DialogTrophyAwarded.h"
#include "game/dialogs/DialogTrophyHint.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/DialogTrophyScreen.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyText.h"
#include "game/dialogs/TrophyWatcher.h"
#include "support/ShopSceneFixture.h"

namespace {

// The announcing moment of each trophy: 0 shop, 1 game, 3 map, 4 arcade.
constexpr int kKindOf[15] = {1, 3, 0, 1, 1, 3, 3, 4, 1, 1, 1, 1, 3, 3, 3};

std::string narrow(const WString& text)
{
    return toNarrowString(text);
}

std::string textOf(GameNode* label)
{
    if (auto* styled = objectCast<StyleLabel>(label))
        return narrow(styled->getText());
    if (auto* plain = objectCast<Label>(label))
        return narrow(plain->getText());
    return "";
}

class TrophyDialogsTest : public ShopSceneTest {
protected:
    void SetUp() override
    {
        ShopSceneTest::SetUp();
        scene = enter("SCENE_TOOLSHOP");
        ASSERT_NE(nullptr, scene);
        trophies = player->getTrophies();
        ASSERT_EQ(15, trophies->getCount());
    }
    void TearDown() override
    {
        Trophies::setDefinitionFile(Trophies::kDefaultFile);
        ShopSceneTest::TearDown();
    }
    DialogTrophyAwarded* awarded() const
    {
        return scene->isDialogShown("DIALOG_TROPHYAWARDED")
                   ? objectCast<DialogTrophyAwarded>(scene->getDialog("DIALOG_TROPHYAWARDED"))
                   : nullptr;
    }
    // Presses OK once it has faded in, then waits until the dialog has gone.
    void confirmAwarded()
    {
        RefPointer<DialogTrophyAwarded> dialog(awarded());
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(runUntil([&] { return dialog->getOkButton()->isEnabled(); }));
        dialog->onOk(nullptr);
        // Gone, or followed at once by the next trophy's dialog.
        ASSERT_TRUE(runUntil([&] { return awarded() != dialog.get(); }));
    }
    DialogTrophyScreen* openScreen()
    {
        DialogTrophyScreen* screen = DialogTrophyScreen::open(scene);
        frames(30);
        return screen;
    }
    // The centre of a trophy's place on the screen.
    void hoverTrophy(DialogTrophyScreen* screen, int index)
    {
        Button* place = screen->getEarnedButton(index);
        moveMouse(place->getAbsoluteX() + place->getWidth() / 2, place->getAbsoluteY() + place->getHeight() / 2);
    }

    static int announced(void*, BaseObject*) { return ++callbacks; }

    Scene* scene = nullptr;
    Trophies* trophies = nullptr;
    static int callbacks;
};

int TrophyDialogsTest::callbacks = 0;

TEST_F(TrophyDialogsTest, EachTrophyIsCountedForItsOwnMoment)
{
    TrophyWatcher* watcher = TrophyWatcher::instance;
    for (int index = 0; index < 15; ++index) {
        EXPECT_EQ(kKindOf[index], watcher->kindOf(index)) << index;
        trophies->setState(index, 1);
        for (int kind : {-1, 0, 1, 2, 3, 4})
            EXPECT_EQ(kind == kKindOf[index] ? 1 : 0, watcher->countTrophiesOfKind(kind))
                << "trophy " << index << ", kind " << kind;
        // Announced, it counts no more.
        ASSERT_TRUE(watcher->requestAnnouncement(kKindOf[index]));
        frame();
        EXPECT_EQ(2, trophies->getState(index)) << index;
        ASSERT_NE(nullptr, awarded()) << index;
        EXPECT_EQ(index, awarded()->getTrophy());
        confirmAwarded();
        ASSERT_TRUE(runUntil([&] { return !watcher->isBusy(); }));
        EXPECT_EQ(0, watcher->countTrophiesOfKind(kKindOf[index]));
    }
}

TEST_F(TrophyDialogsTest, TrophiesOfAKindAreAnnouncedOneAtATimeInIndexOrderThenTheAskerIsCalledOnce)
{
    TrophyWatcher* watcher = TrophyWatcher::instance;
    callbacks = 0;
    trophies->setState(8, 1);
    trophies->setState(3, 1);
    trophies->setState(2, 1);
    EXPECT_FALSE(watcher->requestAnnouncement(TrophyWatcher::KindUnused));
    EXPECT_FALSE(watcher->requestAnnouncement(TrophyWatcher::KindMap, GuiMethod(nullptr, &announced)))
        << "no map trophy waits";
    EXPECT_FALSE(watcher->onAnnounced.isBound()) << "a refused request sets no callback";
    ASSERT_TRUE(watcher->requestAnnouncement(TrophyWatcher::KindGameScene, GuiMethod(this, &announced)));
    EXPECT_FALSE(watcher->requestAnnouncement(TrophyWatcher::KindToolShop)) << "busy with the game's trophies";

    frame();
    ASSERT_NE(nullptr, awarded());
    EXPECT_EQ(3, awarded()->getTrophy());
    EXPECT_EQ(2, trophies->getState(3));
    EXPECT_EQ(1, trophies->getState(8));
    frames(20);
    EXPECT_EQ(3, awarded()->getTrophy()) << "the next waits for the open one";
    EXPECT_EQ(1, trophies->getState(8));
    confirmAwarded();
    ASSERT_TRUE(runUntil([&] { return awarded() != nullptr; }));
    EXPECT_EQ(8, awarded()->getTrophy());
    EXPECT_EQ(0, callbacks);
    confirmAwarded();
    ASSERT_TRUE(runUntil([&] { return callbacks > 0; }));
    frames(50);
    EXPECT_EQ(1, callbacks);
    EXPECT_FALSE(watcher->isBusy());
    EXPECT_EQ(nullptr, awarded()) << "never announced twice";
    EXPECT_EQ(1, trophies->getState(2)) << "the shop's trophy waits for the shop's moment";
}

TEST_F(TrophyDialogsTest, NothingIsAnnouncedWhileTheTrophyScreenIsOpen)
{
    trophies->setState(4, 1);
    DialogTrophyScreen* screen = openScreen();
    ASSERT_NE(nullptr, screen);
    ASSERT_TRUE(TrophyWatcher::instance->requestAnnouncement(TrophyWatcher::KindGameScene));
    frames(20);
    EXPECT_EQ(nullptr, awarded());
    EXPECT_EQ(1, trophies->getState(4));
    screen->close();
    ASSERT_TRUE(runUntil([&] { return awarded() != nullptr; }));
    EXPECT_EQ(4, awarded()->getTrophy());
}

TEST_F(TrophyDialogsTest, TheAwardedDialogShowsTheTrophyWithItsValues)
{
    struct Case {
        int index;
        const char* name;
        const char* description;
    };
    const Case cases[] = {
        {1, "Real Chef", "You reached the rank of Chef!"},
        {7, "Giant Score", "You scored 50,000 points in one belt game!"},
        {11, "Perseverance", "You have baked 500 pastries!"},
    };
    for (const Case& c : cases) {
        DialogTrophyAwarded* dialog = DialogTrophyAwarded::showTrophy(c.index);
        ASSERT_NE(nullptr, dialog) << c.index;
        EXPECT_EQ(c.name, textOf(dialog->getNameLabel()));
        EXPECT_EQ(std::string(c.description) + "\n", textOf(dialog->getDescriptionLabel()));
        ASSERT_NE(nullptr, dialog->getPicture()->getImage());
        EXPECT_EQ(160, dialog->getPicture()->getImage()->getWidth()) << "the large picture";
        EXPECT_FALSE(dialog->getPicture()->isVisible()) << "it pops in after the fade";
        EXPECT_FALSE(dialog->getOkButton()->isEnabled());
        ASSERT_TRUE(runUntil([&] { return dialog->getOkButton()->isEnabled(); }));
        EXPECT_TRUE(dialog->getPicture()->isVisible());
        if (c.index == 7) {
            frames(10);
            screenshot("trophy_awarded.png");
        }
        // OK moves down by the description's lines (with its closing line feed) less one.
        const int lines = c.index == 7 ? 2 : 1;
        EXPECT_NEAR(296 + 22 * lines, dialog->getOkButton()->getY(), 1);
        confirmAwarded();
    }
}

// Each trophy's description takes its own rank or value; the others keep their text.
TEST_F(TrophyDialogsTest, EachDescriptionTakesItsOwnRankOrValue)
{
    using trophytext::Column;
    player->numPastries = 1234;
    struct Case {
        int index;
        Column column;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {0, Column::Awarded, "at % and %1", "at % and %1"},
        {1, Column::Awarded, "rank %, %", "rank Chef, Chef"},
        {1, Column::HintAndInfo, "rank %", "rank Chef"},
        {2, Column::HintAndInfo, "%", "%"},
        {4, Column::Awarded, "%", "%"},
        {5, Column::Awarded, "rank %, %", "rank Dish Washer, Dish Washer"},
        {6, Column::HintAndInfo, "% or %", "Master Patissier or Master Patissier"},
        {7, Column::Awarded, "% and %", "50,000 and 50,000"},
        {7, Column::HintAndInfo, "% points", "50,000 points"},
        {8, Column::Awarded, "% and %", "3 and 3"},
        {9, Column::Awarded, "%", "%"},
        {10, Column::Awarded, "% and %", "5 and 5"},
        {10, Column::HintAndInfo, "% and %", "5 and 5"},
        {11, Column::Awarded, "% and %", "500 and 500"},
        {11, Column::HintAndInfo, "%1 so far %2 (%1, %2)", "500 so far 1,234 (500, 1,234)"},
        {12, Column::Awarded, "%", "%"},
        {14, Column::HintAndInfo, "%", "%"},
        {15, Column::Awarded, "%", "%"},
        {-1, Column::Awarded, "%", "%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, narrow(trophytext::substituteValues(c.index, toWide(c.text), c.column)))
            << "trophy " << c.index << ", " << c.text;
}

TEST_F(TrophyDialogsTest, TheScreenPagesThroughThePlayersAndTurnsAnnouncedTrophiesIntoSeenOnes)
{
    TortelunePlayer* other = addPlayer("Bea");
    trophies->setState(5, 2);
    trophies->setState(6, 3);
    other->getTrophies()->setState(0, 2);
    DialogTrophyScreen* screen = openScreen();
    ASSERT_NE(nullptr, screen);
    ASSERT_EQ(15, screen->getTrophyCount());
    EXPECT_EQ(0, screen->getShownPlayerIndex());
    EXPECT_EQ("Tester", narrow(screen->getHeaderLabel()->getText()));
    EXPECT_FALSE(screen->getPreviousButton()->isEnabled());
    EXPECT_TRUE(screen->getNextButton()->isEnabled());
    EXPECT_EQ(3, trophies->getState(5)) << "an announced trophy is seen once shown";
    for (int index : {5, 6}) {
        EXPECT_TRUE(screen->getEarnedButton(index)->isVisible()) << index;
        EXPECT_TRUE(screen->getEarnedButton(index)->isEnabled()) << index;
        EXPECT_FALSE(screen->getLockedButton(index)->isVisible()) << index;
    }
    EXPECT_FALSE(screen->getEarnedButton(0)->isVisible());
    EXPECT_TRUE(screen->getLockedButton(0)->isVisible());
    EXPECT_EQ(DialogTrophyScreen::kLockedRestAlpha, screen->getLockedButton(0)->getAlpha())
        << "a locked place shows as locked before any hover and lights up under the mouse";

    screen->next(nullptr);
    EXPECT_EQ("Bea", narrow(screen->getHeaderLabel()->getText()));
    EXPECT_EQ(3, other->getTrophies()->getState(0));
    frames(5);  // the newly seen trophy appears with its sound
    EXPECT_TRUE(screen->getEarnedButton(0)->isVisible());
    EXPECT_FALSE(screen->getEarnedButton(5)->isVisible());
    EXPECT_TRUE(screen->getPreviousButton()->isEnabled());
    EXPECT_FALSE(screen->getNextButton()->isEnabled());
    screen->next(nullptr);
    EXPECT_EQ(1, screen->getShownPlayerIndex()) << "no page after the last player";
    screen->previous(nullptr);
    EXPECT_EQ("Tester", narrow(screen->getHeaderLabel()->getText()));

    // Clicking an earned trophy tells about it, in the hint's words.
    screen->onTrophyClicked(screen->getEarnedButton(6));
    auto* info = objectCast<DialogTrophyInfo>(scene->getDialog("DIALOG_TROPHYINFO"));
    ASSERT_NE(nullptr, info);
    EXPECT_TRUE(scene->isDialogShown("DIALOG_TROPHYINFO"));
    EXPECT_EQ(6, info->getTrophy());
    EXPECT_EQ("Master", textOf(info->getNameLabel()));
    EXPECT_EQ("Reach the rank of Master Patissier.\n", textOf(info->getDescriptionLabel()));
    ASSERT_NE(nullptr, info->getPicture()->getImage());
}

TEST_F(TrophyDialogsTest, HintsFollowTheMouseOverTheTrophiesPlaces)
{
    player->numPastries = 1234;
    for (int seen : {0, 3, 5, 9, 13})
        trophies->setState(seen, 3);
    DialogTrophyScreen* screen = openScreen();
    ASSERT_NE(nullptr, screen);
    hoverTrophy(screen, 11);
    DialogTrophyHint* first = screen->getOpenHint();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(11, first->getTrophy());
    EXPECT_EQ("Perseverance", textOf(first->getNameLabel()));
    EXPECT_EQ("Bake 500 pastries. So far: 1,234.\n", textOf(first->getDescriptionLabel()))
        << "the hint shows what is needed and what is reached";
    EXPECT_EQ(255, screen->getLockedButton(11)->getAlpha());
    EXPECT_EQ(588, first->getY() + first->getHeight()) << "its lower edge at the screen's hint line";

    // An earned trophy's place opens its hint too; the locked places go back to rest.
    const std::string firstName = first->getName();
    hoverTrophy(screen, 3);
    DialogTrophyHint* second = screen->getOpenHint();
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(3, second->getTrophy());
    EXPECT_EQ(nullptr, scene->getDialog(firstName));
    EXPECT_EQ(DialogTrophyScreen::kLockedRestAlpha, screen->getLockedButton(11)->getAlpha());
    for (int index = 0; index < 15; ++index) {
        if (index != 3 && index != 11) {
            EXPECT_EQ(DialogTrophyScreen::kLockedRestAlpha, screen->getLockedButton(index)->getAlpha()) << index;
        }
    }
    EXPECT_FALSE(screen->getLockedButton(3)->isVisible()) << "an earned trophy's locked place stays hidden";
    hoverTrophy(screen, 10);
    frames(25);
    screenshot("trophy_screen_hint.png");

    moveMouse(400, 560);
    EXPECT_EQ(nullptr, screen->getOpenHint());

}

// Only a shop tool not owned yet is bought: its price is paid once and the
// collector's trophy waits for the last tool.
TEST_F(TrophyDialogsTest, APurchaseIsRecordedOnlyForAShopToolNotOwnedYet)
{
    player->tools = {3};
    struct Case {
        int id;
        bool bought;
    };
    const Case cases[] = {{-1, false}, {14, false}, {3, false}, {5, true}, {5, false}};
    for (const Case& c : cases) {
        const int offsetBefore = player->starsOffset;
        const size_t toolsBefore = player->tools.size();
        EXPECT_EQ(c.bought, DialogBuyTool::recordPurchase(*player, c.id)) << c.id;
        EXPECT_EQ(toolsBefore + (c.bought ? 1 : 0), player->tools.size()) << c.id;
        if (!c.bought) {
            EXPECT_EQ(offsetBefore, player->starsOffset) << c.id;
        } else {
            EXPECT_GT(offsetBefore, player->starsOffset) << c.id;
        }
    }
    EXPECT_EQ(Trophy::NotEarned, trophies->getState(DialogBuyTool::kAllToolsTrophy));
}

// A trophy file with two trophies, the second with only two records: only
// the first exists.
TEST_F(TrophyDialogsTest, TrophiesMissingFromAShortFileDoNotExist)
{
    const std::string path = folder.path() + "/short_trophies.xml";
    std::ofstream(path) << R"(<root><Text id="TROPHY_SECTION" value="trophies"/><Vector id="TROPHIES">
        <Trophy><Vector id="trophyinfos">
            <Info x="110" y="150" image="TROPHY_BUTTON0" headerId="TEXT_TROPHY0_NAME" textId="TEXT_TROPHY0_HINT"/>
            <Info image="TROPHY_BIG0" headerId="TEXT_TROPHY0_NAME" textId="TEXT_TROPHY0_DESC"/>
            <Info x="110" y="150" image="TROPHY_LOCKED"/></Vector></Trophy>
        <Trophy><Vector id="trophyinfos">
            <Info x="230" y="150" image="TROPHY_BUTTON1" headerId="TEXT_TROPHY1_NAME" textId="TEXT_TROPHY1_HINT"/>
            <Info image="TROPHY_BIG1" headerId="TEXT_TROPHY1_NAME" textId="TEXT_TROPHY1_DESC"/></Vector></Trophy>
    </Vector></root>)";
    Trophies::setDefinitionFile(path);
    addPlayer("Short");
    PlayerManager::getInstance()->selectPlayer("Short");
    auto* shortPlayer = objectCast<TortelunePlayer>(PlayerManager::getInstance()->getCurrentPlayer());
    ASSERT_NE(nullptr, shortPlayer);
    Trophies* few = shortPlayer->getTrophies();
    ASSERT_EQ(2, few->getCount());
    few->setState(5, 1);  // ignored: no such trophy
    EXPECT_EQ(0, TrophyWatcher::instance->countTrophiesOfKind(TrophyWatcher::KindMap));
    EXPECT_FALSE(TrophyWatcher::instance->requestAnnouncement(TrophyWatcher::KindMap));
    few->setState(1, 1);
    EXPECT_EQ(nullptr, DialogTrophyAwarded::showTrophy(1)) << "two records make no trophy";
    EXPECT_EQ(nullptr, DialogTrophyAwarded::showTrophy(5));
    EXPECT_EQ(nullptr, DialogTrophyAwarded::showTrophy(-1));
    EXPECT_FALSE(scene->isDialogShown("DIALOG_TROPHYAWARDED"));

    DialogTrophyScreen* screen = openScreen();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(1, screen->getTrophyCount());
    EXPECT_EQ(nullptr, screen->getEarnedButton(1));
    hoverTrophy(screen, 0);
    EXPECT_NE(nullptr, screen->getOpenHint());
    moveMouse(790, 10);
    EXPECT_EQ(nullptr, screen->getOpenHint());
}

TEST_F(TrophyDialogsTest, TheScreenWithoutACurrentPlayerShowsNoOne)
{
    PlayerManager::destroyInstance();
    PlayerManager::create(false, "1");
    PlayerManager::getInstance()->setBaseFolder(folder.path());
    player = nullptr;
    DialogTrophyScreen* screen = openScreen();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(-1, screen->getShownPlayerIndex());
    EXPECT_EQ(nullptr, screen->getShownPlayer());
    EXPECT_EQ("", narrow(screen->getHeaderLabel()->getText()));
    EXPECT_FALSE(screen->getPreviousButton()->isEnabled());
    EXPECT_FALSE(screen->getNextButton()->isEnabled());
    screen->next(nullptr);
    screen->previous(nullptr);
    EXPECT_EQ(-1, screen->getShownPlayerIndex());
    for (int index = 0; index < screen->getTrophyCount(); ++index)
        EXPECT_FALSE(screen->getEarnedButton(index)->isVisible()) << index;
    EXPECT_EQ(0, TrophyWatcher::instance->countTrophiesOfKind(TrophyWatcher::KindGameScene));
}

} // namespace
