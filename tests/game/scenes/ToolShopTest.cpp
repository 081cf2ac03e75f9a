// The tool shop with the real layout, tools and pictures: the first visit's
// gift, the shelves' order, locked tools and the blankets, purchases through
// the purchase dialog, hover hints, and what a purchase leaves in the players
// file.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/platform/InputHandler.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogBuyTool.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogToolHint.h"
#include "game/dialogs/DialogTrophyAwarded.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/effects/LabelTicker.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneToolShop.h"
#include "game/scenes/ToolNode.h"
#include "support/PictureClearance.h"
#include "support/ShopSceneFixture.h"

namespace {

// Tools 0 to 13 by price, slot and level, as tools.xml lists them.
constexpr int kPrice[14] = {25, 20, 45, 30, 25, 25, 0, 40, 45, 35, 50, 50, 20, 55};

class ToolShopTest : public ShopSceneTest {
protected:
    SceneToolShop* open()
    {
        shop = objectCast<SceneToolShop>(enter("SCENE_TOOLSHOP"));
        return shop;
    }
    // Leaves the shop and comes back, as a visit from the map does.
    void revisit()
    {
        shop->hide();
        shop->show();
    }
    // The centre of a tool's place on the shelf.
    static void placeOf(ToolNode* node, int& x, int& y)
    {
        Button* button = node->getBuyButton();
        x = button->getAbsoluteX();
        y = button->getAbsoluteY();
    }
    void hover(int toolId)
    {
        int x = 0;
        int y = 0;
        placeOf(shop->findToolNode(toolId), x, y);
        moveMouse(x, y);
    }
    DialogBuyTool* press(int toolId)
    {
        shop->onToolPressed(shop->findToolNode(toolId)->getBuyButton());
        return objectCast<DialogBuyTool>(shop->getDialog("DIALOG_BUYTOOL"));
    }
    static std::wstring wide(const WString& text) { return std::wstring(text.begin(), text.end()); }

    SceneToolShop* shop = nullptr;
};

TEST_F(ToolShopTest, ShelvesHoldTheToolsByKindAndLevel)
{
    // Slot A level 2, slot A level 1, slot B level 2, slot B level 1, each by id.
    const std::array<int, 14> expected = {7, 9, 10, 11, 0, 4, 5, 2, 8, 13, 1, 3, 6, 12};
    EXPECT_EQ(expected, SceneToolShop::toolOrder());
    ASSERT_NE(nullptr, open());
    for (int position = 0; position < 14; ++position) {
        ToolNode* node = shop->getToolNode(position);
        ASSERT_NE(nullptr, node) << position;
        EXPECT_EQ(expected[position], node->getToolId());
        EXPECT_EQ(expected[position], node->getTag());
        ASSERT_NE(nullptr, node->getIcon()->getImage()) << "the shop picture of tool " << expected[position];
        EXPECT_EQ(4, node->getIcon()->getFrameCount());
        // Its four frames lie one above the other, as the buy button's do.
        EXPECT_EQ(node->getIcon()->getImage()->getWidth(), node->getIcon()->getWidth());
        EXPECT_EQ(node->getIcon()->getImage()->getHeight() / 4, node->getIcon()->getHeight());
    }
    // A price of 50 stars and the slot's bar colour.
    ToolNode* ten = shop->findToolNode(10);
    EXPECT_EQ(u"50", ten->getPriceLabel()->getText());
    EXPECT_EQ(0, ten->getBar()->getCurrentFrame());
    EXPECT_EQ(1, shop->findToolNode(13)->getBar()->getCurrentFrame());
}

TEST_F(ToolShopTest, FirstVisitGivesToolSixInItsSlotAndShowsTheShopHints)
{
    player->addToolLevel(0);
    ASSERT_NE(nullptr, open());
    EXPECT_TRUE(player->hasTool(SceneToolShop::kFreeTool));
    EXPECT_EQ((std::vector<int>{-1, 6}), player->toolSlots) << "tool 6 is a slot-B tool";
    EXPECT_EQ(0, player->starsOffset) << "a gift costs nothing";
    EXPECT_EQ(1, player->numShopVisits);
    EXPECT_EQ("HINT_SHOPFIRST", HintManager::instance->lastRequested);
    ToolNode* six = shop->findToolNode(6);
    EXPECT_TRUE(six->getSoldOutButton()->isVisible());
    EXPECT_TRUE(six->getToolbox()->isVisible());
    EXPECT_FALSE(six->getBuyButton()->isVisible());
    EXPECT_FALSE(six->getPriceLabel()->isVisible());
    EXPECT_TRUE(six->getSoldOutButton()->isEnabled());
    EXPECT_FALSE(six->getBuyButton()->isEnabled());

    // The vendor's welcome stands above him, its tail towards him.
    frames(60);
    screenshot("hint_shop_HINT_SHOPFIRST.png");

    // Closing the first hint shows its follow-up.
    ASSERT_TRUE(HintManager::instance->closedCallback.isBound());
    HintManager::instance->closedCallback.invoke(nullptr);
    EXPECT_EQ("HINT_SHOPFIRST2", HintManager::instance->lastRequested);

    revisit();
    EXPECT_EQ("HINT_SHOPSECOND", HintManager::instance->lastRequested);
    HintManager::instance->lastRequested.clear();
    revisit();
    EXPECT_EQ("", HintManager::instance->lastRequested) << "later visits show no shop hint";
    EXPECT_EQ(3, player->numShopVisits);
}

TEST_F(ToolShopTest, APlayerOwningToolSixGetsNothingButStillTheHint)
{
    player->buyTool(6);
    player->toolSlots = {-1, -1};
    ASSERT_NE(nullptr, open());
    EXPECT_EQ((std::vector<int>{6}), player->tools);
    EXPECT_EQ((std::vector<int>{-1, -1}), player->toolSlots);
    EXPECT_EQ("HINT_SHOPFIRST", HintManager::instance->lastRequested);
}

TEST_F(ToolShopTest, LockedLevelsDisableTheirToolsUnderTheBlankets)
{
    player->addToolLevel(0);
    ASSERT_NE(nullptr, open());
    EXPECT_TRUE(shop->getBlankets()->isVisible());
    for (int id = 0; id < 14; ++id) {
        ToolNode* node = shop->findToolNode(id);
        const bool secondLevel = id == 2 || id == 7 || id == 8 || id == 9 || id == 10 || id == 11 || id == 13;
        if (secondLevel) {
            EXPECT_FALSE(node->getBuyButton()->isEnabled()) << id;
            EXPECT_FALSE(node->getSoldOutButton()->isEnabled()) << id;
        } else {
            EXPECT_TRUE(node->getBuyButton()->isEnabled() || node->getSoldOutButton()->isEnabled()) << id;
        }
    }
    // The second level, already open, shows no blankets.
    player->addToolLevel(1);
    revisit();
    EXPECT_FALSE(shop->getBlankets()->isVisible());
    EXPECT_TRUE(shop->findToolNode(13)->getBuyButton()->isEnabled());
}

TEST_F(ToolShopTest, BlanketsLiftWhenTheSecondLevelHasJustOpened)
{
    player->addToolLevel(0);
    player->addToolLevel(1);
    player->toolLevel1Notice = true;
    ASSERT_NE(nullptr, open());
    Sprite* blankets = shop->getBlankets();
    EXPECT_FALSE(player->toolLevel1Notice) << "the reveal is shown once";
    EXPECT_TRUE(blankets->isVisible());
    EXPECT_EQ(56, blankets->getY());
    EXPECT_EQ(255, blankets->getAlpha());
    // Entering took two frames (40 ms) of the animation already.
    frames(20);  // 440 ms: still within the 500 ms wait
    EXPECT_EQ(56, blankets->getY());
    frames(18);  // 800 ms: 300 ms into the lift: y = 56 + (-h - 56) * (1 - 0.4^2)
    const int height = blankets->getHeight();
    EXPECT_NEAR(56 + (-height - 56) * 0.84, blankets->getY(), 3);
    frames(20);
    EXPECT_EQ(-height, blankets->getY());
    EXPECT_EQ(128, blankets->getAlpha());
}

TEST_F(ToolShopTest, BuyingWithEnoughStarsRecordsTheToolAndLowersTheSpendableStars)
{
    player->addToolLevel(0);
    player->levelStars = {{0, 20}, {1, 10}};
    ASSERT_NE(nullptr, open());
    frames(100);
    EXPECT_EQ(u"30", shop->getStarsLabel()->getText());
    DialogBuyTool* buy = press(0);
    ASSERT_NE(nullptr, buy);
    EXPECT_EQ(0, buy->getTool());
    EXPECT_TRUE(buy->getBuyButton()->isEnabled());
    EXPECT_EQ(u"", buy->getInfoLabel()->getText());
    EXPECT_EQ(u"25", buy->getPriceLabel()->getText());
    ASSERT_NE(nullptr, buy->getIcon()->getImage());
    EXPECT_EQ(128, buy->getIcon()->getImage()->getWidth()) << "the tool's big picture";
    frames(30);
    screenshot("toolshop_purchase.png");
    buy->onBuy(nullptr);
    EXPECT_TRUE(player->hasTool(0));
    EXPECT_EQ(-25, player->starsOffset);
    EXPECT_EQ(0, player->toolSlots[0]) << "a bought tool goes into its slot";
    EXPECT_EQ(30, player->getTotalStars()) << "the stars earned in levels stay";
    EXPECT_EQ(0, buy->getTag());
    ASSERT_TRUE(runUntil([&] { return !shop->getDialog("DIALOG_BUYTOOL"); }));
    frames(100);
    EXPECT_EQ(5, static_cast<int>(shop->getStarsTicker()->getTarget()));
    EXPECT_EQ(u"5", shop->getStarsLabel()->getText());
    EXPECT_TRUE(shop->findToolNode(0)->getSoldOutButton()->isVisible());
}

TEST_F(ToolShopTest, WhyAToolCannotBeBought)
{
    player->addToolLevel(0);
    player->levelStars = {{0, 29}};
    player->buyTool(4);
    ASSERT_NE(nullptr, open());
    struct Case {
        int tool;
        const char16_t* info;
    };
    const Case cases[] = {
        {0, u""},                                        // 25 of 29 stars: can be bought
        {3, u"You need 1 more stars for this tool."},   // 30 of 29
        {4, u"You already have this tool."},             // owned, though affordable
        {13, u""},                                       // second level, not open: no text
    };
    for (const Case& c : cases) {
        DialogBuyTool* buy = press(c.tool);
        ASSERT_NE(nullptr, buy) << c.tool;
        EXPECT_EQ(WString(c.info), buy->getInfoLabel()->getText()) << c.tool;
        EXPECT_EQ(c.tool == 0, buy->getBuyButton()->isEnabled()) << c.tool;
        buy->onBack(nullptr);
        EXPECT_EQ(-1, buy->getTag());
        ASSERT_TRUE(runUntil([&] { return !shop->getDialog("DIALOG_BUYTOOL"); }));
    }
    // Exactly the price can be bought.
    player->levelStars = {{0, 30}};
    DialogBuyTool* buy = press(3);
    EXPECT_TRUE(buy->getBuyButton()->isEnabled());
    EXPECT_EQ(0, player->starsOffset) << "looking costs nothing";
}

TEST_F(ToolShopTest, TheLastOfTheFourteenToolsEarnsTheCollectorTrophyAnnouncedInTheShop)
{
    player->addToolLevel(0);
    player->addToolLevel(1);
    int total = 0;
    for (int price : kPrice)
        total += price;
    player->levelStars = {{0, total}};
    for (int id = 0; id < 13; ++id)
        ASSERT_TRUE(DialogBuyTool::recordPurchase(*player, id));
    Trophies* trophies = player->getTrophies();
    EXPECT_EQ(0, trophies->getState(DialogBuyTool::kAllToolsTrophy));
    ASSERT_NE(nullptr, open());
    DialogBuyTool* buy = press(13);
    ASSERT_TRUE(buy->getBuyButton()->isEnabled());
    buy->onBuy(nullptr);
    EXPECT_EQ(1, trophies->getState(DialogBuyTool::kAllToolsTrophy));
    EXPECT_EQ(0, player->getSpendableStars());
    ASSERT_TRUE(runUntil([&] { return shop->isDialogShown("DIALOG_TROPHYAWARDED"); }));
    EXPECT_EQ(2, trophies->getState(DialogBuyTool::kAllToolsTrophy));
    auto* awarded = objectCast<DialogTrophyAwarded>(shop->getDialog("DIALOG_TROPHYAWARDED"));
    ASSERT_NE(nullptr, awarded);
    EXPECT_EQ(DialogBuyTool::kAllToolsTrophy, awarded->getTrophy());
    // An earned trophy stays as it is when a tool is bought again.
    trophies->setState(DialogBuyTool::kAllToolsTrophy, 3);
    EXPECT_FALSE(DialogBuyTool::recordPurchase(*player, 13));
    EXPECT_EQ(3, trophies->getState(DialogBuyTool::kAllToolsTrophy));
}

// The players file written by a purchase holds all of it: a program killed
// right after that write (or before it) never finds the tool without its
// slot, its price or its trophy.
TEST_F(ToolShopTest, APurchaseIsSavedWholeOrNotAtAll)
{
    player->addToolLevel(0);
    player->addToolLevel(1);
    player->levelStars = {{0, 500}};
    for (int id = 0; id < 14; ++id)
        if (id != 1)
            DialogBuyTool::recordPurchase(*player, id);
    player->toolSlots = {-1, -1};
    const int offsetBefore = player->starsOffset;
    ASSERT_TRUE(PlayerManager::getInstance()->savePlayerList());
    ASSERT_NE(nullptr, open());
    // The shop's first visit changed the profile only in memory.
    auto saved = [&] {
        PlayerManager reader(false, "1");
        reader.setBaseFolder(folder.path());
        reader.loadPlayerList();
        EXPECT_EQ(1u, reader.getPlayers().size());
        RefPointer<AbstractPlayer> first = reader.getPlayers().empty() ? nullptr : reader.getPlayers()[0];
        return RefPointer<TortelunePlayer>(objectCast<TortelunePlayer>(first.get()));
    };
    RefPointer<TortelunePlayer> before = saved();
    ASSERT_TRUE(before);
    EXPECT_FALSE(before->hasTool(1));

    DialogBuyTool* buy = press(1);
    ASSERT_TRUE(buy->getBuyButton()->isEnabled());
    buy->onBuy(nullptr);
    RefPointer<TortelunePlayer> after = saved();
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->hasTool(1));
    EXPECT_EQ(offsetBefore - kPrice[1], after->starsOffset);
    EXPECT_EQ(1, after->toolSlots[1]) << "the slot is in the same write as the tool";
    // Earned, not yet announced: saved as announced (the trophy file says so).
    EXPECT_EQ(2, after->getTrophies()->getState(DialogBuyTool::kAllToolsTrophy))
        << "the trophy is in the same write as the tool";
}

// The same with the program killed at random moments while it buys one tool
// after the other: whatever moment the kill comes, the players file read
// afterwards holds whole purchases only.
class ToolShopKillTest : public ToolShopTest {
protected:
    void SetUp() override
    {
        withMedia = false;  // no loader thread: the forked buyer is the only thread
        ToolShopTest::SetUp();
    }
};

TEST_F(ToolShopKillTest, AKilledPurchaseLeavesWholePurchasesOnly)
{
    player->addToolLevel(0);
    player->addToolLevel(1);
    player->levelStars = {{0, 500}};
    player->numShopVisits = 5;
    ASSERT_TRUE(PlayerManager::getInstance()->savePlayerList());
    ASSERT_NE(nullptr, open());
    // Buys every tool in a child process; killed after `delayUs` unless negative.
    auto buyAll = [&](long delayUs) {
        ASSERT_TRUE(PlayerManager::getInstance()->savePlayerList());  // back to "before"
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int id = 0; id < 14; ++id) {
                if (DialogBuyTool* buy = press(id))
                    buy->onBuy(nullptr);
            }
            _exit(0);
        }
        if (delayUs >= 0) {
            usleep(static_cast<useconds_t>(delayUs));
            kill(child, SIGKILL);
        }
        int status = 0;
        waitpid(child, &status, 0);
    };
    const auto start = std::chrono::steady_clock::now();
    buyAll(-1);
    const long whole = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
    std::set<size_t> seen;
    for (int round = 0; round <= 16; ++round) {
        if (round > 0)
            buyAll(whole * (round - 1) / 15);
        PlayerManager reader(false, "1");
        reader.setBaseFolder(folder.path());
        reader.loadPlayerList();
        ASSERT_EQ(1u, reader.getPlayers().size()) << "round " << round;
        auto* saved = objectCast<TortelunePlayer>(reader.getPlayers()[0].get());
        ASSERT_NE(nullptr, saved);
        int spent = 0;
        for (int id : saved->tools)
            spent += kPrice[id];
        EXPECT_EQ(-spent, saved->starsOffset) << "round " << round;
        for (int slot = 0; slot < 2; ++slot) {
            const int chosen = saved->toolSlots[static_cast<size_t>(slot)];
            EXPECT_TRUE(chosen == -1 || saved->hasTool(chosen)) << "round " << round;
        }
        seen.insert(saved->tools.size());
        const bool all = saved->tools.size() == 14u;
        EXPECT_EQ(all, saved->getTrophies()->getState(DialogBuyTool::kAllToolsTrophy) != 0) << "round " << round;
    }
    EXPECT_GE(seen.size(), 2u) << "the kills came at different moments of the purchases";
}

TEST_F(ToolShopTest, HoverHintsFollowTheMouseAndTheVendorPoints)
{
    // The chef's welcome would be a modal bubble over the shelves.
    player->showHints = false;
    player->addToolLevel(0);
    ASSERT_NE(nullptr, open());
    frames(30);
    hover(0);
    DialogToolHint* first = shop->getOpenToolHint();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0, first->getTool());
    EXPECT_FALSE(first->isModal());
    EXPECT_TRUE(shop->isDialogShown(first->getName()));
    EXPECT_EQ(1, shop->getVendor()->getCurrentFrame()) << "tool 0 is a slot-A tool";
    // The same tool again changes nothing.
    hover(0);
    EXPECT_EQ(first, shop->getOpenToolHint());
    // The tool's picture lights up with its button.
    frames(20);
    Button* buy = shop->findToolNode(0)->getBuyButton();
    EXPECT_NE(0, buy->getCurrentFrame());
    EXPECT_EQ(buy->getCurrentFrame(), shop->findToolNode(0)->getIcon()->getCurrentFrame());
    // Through the shown hint, the shop still hears the mouse: another tool replaces it.
    const std::string firstName = first->getName();
    hover(12);
    DialogToolHint* second = shop->getOpenToolHint();
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(12, second->getTool());
    EXPECT_EQ(nullptr, shop->getDialog(firstName));
    EXPECT_EQ(2, shop->getVendor()->getCurrentFrame()) << "tool 12 is a slot-B tool";
    frames(20);
    EXPECT_EQ(2, shop->getVendor()->getCurrentFrame());
    screenshot("toolshop_hover_hint.png");

    // Off every tool: the hint goes, the vendor looks ahead.
    moveMouse(400, 420);
    EXPECT_EQ(nullptr, shop->getOpenToolHint());
    EXPECT_EQ(0, shop->getVendor()->getCurrentFrame());
    EXPECT_TRUE(second->isClosing());

    // The hint answers from the first to the last pixel of the tool's button, not one past it.
    const ScreenBox box = screenBoxOf(shop->findToolNode(0)->getBuyButton());
    struct Spot {
        int x;
        int y;
        bool onTool;
    };
    for (const Spot& spot : {Spot{box.left, box.top, true}, Spot{box.right - 1, box.bottom - 1, true},
                             Spot{box.right, box.bottom - 1, false}, Spot{box.right - 1, box.bottom, false},
                             Spot{box.left - 1, box.top, false}, Spot{box.left, box.top - 1, false}}) {
        SCOPED_TRACE(std::to_string(spot.x) + "," + std::to_string(spot.y));
        moveMouse(400, 420);
        moveMouse(spot.x, spot.y);
        DialogToolHint* shown = shop->getOpenToolHint();
        EXPECT_EQ(spot.onTool, shown && shown->getTool() == 0);
    }
    moveMouse(400, 420);

    // Pressing a tool while its hint is open closes the hint first.
    hover(5);
    DialogToolHint* third = shop->getOpenToolHint();
    ASSERT_NE(nullptr, third);
    ASSERT_NE(nullptr, press(5));
    EXPECT_TRUE(third->isClosing());
    EXPECT_EQ(nullptr, shop->getOpenToolHint());
    EXPECT_EQ(0, shop->getVendor()->getCurrentFrame());
}

// The click that follows a dismissed shop hint reaches the tool it lands on:
// press and release through the shop's own input, each hint dismissed by a
// click of the player's, then one click on a tool opens its purchase.
TEST_F(ToolShopTest, TheFirstClickAfterADismissedHintOpensThePurchase)
{
    player->addToolLevel(0);
    player->levelStars = {{0, 20}, {1, 10}};
    ASSERT_NE(nullptr, open());
    InputHandler* input = shop->getInputHandler();
    auto click = [&](int x, int y) {
        moveMouse(x, y);
        input->onLeftDown(x, y, 1, false);
        frame();
        input->onLeftUp(x, y, 0);
        frame();
    };
    auto shownHint = [&]() -> DialogHint* {
        return shop->isDialogShown("DIALOG_HINT") ? objectCast<DialogHint>(shop->getDialog("DIALOG_HINT"))
                                                  : nullptr;
    };
    auto showing = [&](const std::string& name) { return shownHint() && shownHint()->hintName == name; };
    for (const char* name : {"HINT_SHOPFIRST", "HINT_SHOPFIRST2"}) {
        ASSERT_TRUE(runUntil([&] { return showing(name); })) << name;
        frames(60);
        click(shownHint()->getAbsoluteX() + 20, shownHint()->getAbsoluteY() + 20);
        EXPECT_TRUE(!shownHint() || shownHint()->isClosing() || !showing(name)) << name;
        if (std::string(name) == "HINT_SHOPFIRST") {
            ASSERT_TRUE(runUntil([&] { return !showing(name); })) << name;
        }
    }
    // The player does not wait for the bubble's fade to end.
    int x = 0;
    int y = 0;
    placeOf(shop->findToolNode(0), x, y);
    click(x, y);
    EXPECT_TRUE(shop->isDialogShown("DIALOG_BUYTOOL")) << "the first click on a tool opens its purchase";
}

TEST_F(ToolShopTest, CharactersHopAcrossTheShopAndLeave)
{
    ASSERT_NE(nullptr, open());
    GameNode* root = shop->getComponentRoot();
    const int pieces = root->getChildCount();
    shop->sendCharacter();
    ASSERT_EQ(pieces + 1, root->getChildCount());
    GameNode* walker = root->getFirstChild();
    while (walker->getNextSibling())
        walker = walker->getNextSibling();
    const int startX = walker->getX();
    EXPECT_TRUE(startX < 0 || startX > 800) << "it starts off screen";
    EXPECT_EQ(596, walker->getY()) << "600 + offset -8 + height 8 / 2";
    // It faces the way it walks: from the left, one of the pictures facing right.
    auto* figure = objectCast<Sprite>(walker->getFirstChild());
    ASSERT_NE(nullptr, figure);
    const std::string facing = startX < 0 ? "RIGHT" : "LEFT";
    bool facesItsWay = false;
    for (int kind = 0;; ++kind) {
        ResourceLock lock;
        RefPointer<Image> picture =
            ResourceManager::instance->getResourceAs<Image>("CHARACTER" + std::to_string(kind) + facing, "scenetoolshop");
        if (!picture)
            break;
        facesItsWay = facesItsWay || picture.get() == figure->getImage();
    }
    EXPECT_TRUE(facesItsWay) << facing;
    RefPointer<GameNode> held(walker);
    frames(155);  // longer than the longest walk
    EXPECT_NE(startX, walker->getX());
    EXPECT_EQ(nullptr, walker->getParent()) << "a character that has crossed is taken away";
    // Meanwhile the shop's own countdowns have sent characters of their own.
    EXPECT_GE(root->getChildCount(), pieces);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

} // namespace

namespace {

struct ShopSight {
    std::string name;
    ScreenBox box;
};

// What the shopkeeper's hints must leave in sight: every tool's picture,
// name and price on the shelf, the sign over the locked shelf, the star
// counter and Back.
std::vector<ShopSight> shopSights(SceneToolShop* shop)
{
    std::vector<ShopSight> sights;
    // The locked shelf lies under the blankets; only their scallops let slivers of it through.
    const ScreenBox blankets = screenBoxOf(shop->getBlankets());
    for (int position = 0; position < 14; ++position) {
        ToolNode* node = shop->getToolNode(position);
        const std::string tool = "tool " + std::to_string(node->getToolId()) + " ";
        const std::pair<const char*, GameNode*> parts[] = {
            {"picture", node->getIcon()},          {"buy button", node->getBuyButton()},
            {"sold-out box", node->getToolbox()},  {"name", node->getNameLabel()},
            {"sold-out button", node->getSoldOutButton()},
            {"price", node->getPriceLabel()},      {"price star", node->getStar()},
            {"bar", node->getBar()}};
        for (const auto& [what, part] : parts) {
            const ScreenBox box = inkBoxOf(shop, part);
            if (!box.isEmpty() && !(shop->getBlankets()->isVisible() && box.bottom <= blankets.bottom))
                sights.push_back({tool + what, box});
        }
    }
    // The "Coming soon" sign is painted on the blankets, across their middle.
    const int middle = (blankets.left + blankets.right) / 2;
    sights.push_back({"the sign", {middle - 115, blankets.top + 50, middle + 115, blankets.top + 100}});
    // The counter's plate around the star figure, and the figure itself.
    sights.push_back({"the star counter", {560, 503, 762, 577}});
    sights.push_back({"the star figure", inkBoxOf(shop, shop->getStarsLabel())});
    sights.push_back({"Back", inkBoxOf(shop, shop->getComponent("BUTTON_BACK"))});
    return sights;
}

} // namespace

// The shopkeeper's hints, on the real art: neither the bubble nor the hand
// covers a tool, the sign, the star counter or Back; the hand's tip may
// touch the tool it points at, no more; the bubble's tail leaves it towards
// the shopkeeper, who stays in sight.
TEST_F(ToolShopTest, TheShopkeepersHintsStandClearOfTheTools)
{
    player->addToolLevel(0);
    ASSERT_NE(nullptr, open());
    auto shownHint = [&]() -> DialogHint* {
        return shop->isDialogShown("DIALOG_HINT") ? objectCast<DialogHint>(shop->getDialog("DIALOG_HINT"))
                                                  : nullptr;
    };
    auto expectClear = [&](const std::string& name) {
        ASSERT_TRUE(runUntil([&] { return shownHint() && shownHint()->hintName == name; })) << name;
        // The bubble has grown in and the hand swings at rest.
        frames(60);
        DialogHint* hint = shownHint();
        screenshot("hint_shop_clear_" + name + ".png");
        Sprite* hand = hint->getHand();
        ASSERT_NE(nullptr, hand) << name;
        Hint* record = HintManager::instance->findHint(name);
        ASSERT_NE(nullptr, record);
        hint->setVisible(false);
        hand->setVisible(false);
        const std::vector<ShopSight> sights = shopSights(shop);
        const ScreenBox vendor = inkBoxOf(shop, shop->getVendor());
        hint->setVisible(true);
        hand->setVisible(true);
        EXPECT_GE(sights.size(), 7u * 4u) << name << ": the open shelf's tools";
        int targets = 0;
        for (const ShopSight& sight : sights) {
            EXPECT_EQ(0, pixelsCoveredBy(shop, {hint}, sight.box))
                << name << ": the bubble covers " << sight.name << " " << sight.box.text();
            // The fingertip lies a few pixels in from the hand picture's corner.
            const bool target = sight.box.grownBy(10).holds(record->handX, record->handY);
            targets += target ? 1 : 0;
            const int area = (sight.box.right - sight.box.left) * (sight.box.bottom - sight.box.top);
            EXPECT_LE(pixelsCoveredBy(shop, {hand}, sight.box), target ? area / 10 : 0)
                << name << ": the hand covers " << sight.name << " " << sight.box.text();
        }
        EXPECT_GE(targets, 1) << name << ": the hand points at a tool";
        // The shopkeeper's face is not hidden by his own words.
        ASSERT_FALSE(vendor.isEmpty());
        const ScreenBox face {vendor.left, vendor.top, vendor.right, vendor.top + 90};
        EXPECT_EQ(0, pixelsCoveredBy(shop, {hint, hand}, face)) << name << ": the shopkeeper " << face.text();
        // The tail leaves the bubble's bottom on the side that faces him.
        const ScreenBox bubble = inkBoxOf(shop, hint);
        const int vendorMiddle = (vendor.left + vendor.right) / 2;
        const int bubbleMiddle = (bubble.left + bubble.right) / 2;
        EXPECT_EQ(bubbleMiddle < vendorMiddle ? "bottomright" : "bottomleft", record->connector) << name;
    };
    expectClear("HINT_SHOPFIRST");
    shownHint()->closeHint();
    expectClear("HINT_SHOPFIRST2");
    shownHint()->closeHint();
    frames(60);
    revisit();
    expectClear("HINT_SHOPSECOND");
}
