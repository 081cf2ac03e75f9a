#include "LevelSceneFixture.h"

#include "framework/core/PropertyStore.h"
#include "support/GameDataFixtures.h"
#include "framework/gui/Button.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogHint.h"
#include "game/production/CustomerView.h"
#include "framework/gui/SceneManager.h"
#include "game/scenes/HintManager.h"
#include "game/text/GameText.h"
#include "support/LogCapture.h"

class HintManagerTest : public LevelSceneTest {
protected:
    HintManagerTest() { withMedia = true; }

    DialogHint* hint() const { return objectCast<DialogHint>(shown("DIALOG_HINT")); }
    void closeHint()
    {
        ASSERT_NE(nullptr, hint());
        hint()->closeHint();
        ASSERT_TRUE(waitGone("DIALOG_HINT"));
    }
};

TEST_F(HintManagerTest, CatalogueReadsPlacesKindsAndTheFirstOfTwoNames)
{
    RefPointer<PropertyStore> file = parseXml(R"(<root><Vector id="hints">
        <Hint id="HINT_A" handx="#20" handy="0x10" arrow="bottomright" connector="bottomleft" modal="false"/>
        <Hint id="HINT_A" handx="99"/>
        <Hint id="HINT_B" arrow="sideways" connector="left" showonce="" override="false"/>
        </Vector></root>)");
    HintManager catalogue;
    catalogue.loadFrom(file.get());
    ASSERT_EQ(2u, catalogue.getHintCount());
    Hint* a = catalogue.findHint("HINT_A");
    EXPECT_EQ(32, a->handX);
    EXPECT_EQ(16, a->handY);
    EXPECT_EQ(8, a->cornerFor(0, 0));
    EXPECT_EQ(10, a->connectorKind());
    EXPECT_FALSE(a->modal);
    Hint* b = catalogue.findHint("HINT_B");
    EXPECT_EQ(0, b->cornerFor(700, 500));
    EXPECT_EQ(9, b->connectorKind());
    EXPECT_FALSE(b->showOnce);
    EXPECT_FALSE(b->override);
    EXPECT_TRUE(b->modal);
    // "auto": the hand comes from the middle of the screen.
    const int corners[][3] = {{399, 299, 0}, {400, 300, 8}, {399, 300, 6}, {400, 299, 2}};
    for (const auto& c : corners)
        EXPECT_EQ(c[2], cornerForPoint(c[0], c[1])) << c[0] << "," << c[1];
    EXPECT_EQ(nullptr, catalogue.findHint("HINT_MISSING"));
    // The game's own catalogue reads without a complaint.
    LogCapture log;
    HintManager game;
    game.load(std::string(TORTELUNE_SOURCE_DIR) + "/media/properties/hints.xml");
    EXPECT_NE(nullptr, game.findHint("HINT_SHOPFIRST"));
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
    // A catalogue that cannot be read leaves no hints and says so.
    game.load(std::string(TORTELUNE_SOURCE_DIR) + "/media/properties/no-such-hints.xml");
    EXPECT_EQ(nullptr, game.findHint("HINT_SHOPFIRST"));
    EXPECT_TRUE(log.contains("could not be read; no hints"));
}

TEST_F(HintManagerTest, AHintShowsOncePerPlayerAndNeverForAnUnknownName)
{
    HintManager& hints = *HintManager::instance;
    ASSERT_NE(nullptr, hints.findHint("HINT_RANKMETER"));
    hints.showHint("HINT_NOT_IN_THE_CATALOGUE");
    EXPECT_EQ(nullptr, hint());
    EXPECT_FALSE(player->hasSeenHint("HINT_NOT_IN_THE_CATALOGUE"));

    player->showHints = false;
    hints.showHint("HINT_RANKMETER");
    EXPECT_EQ(nullptr, hint());
    EXPECT_FALSE(player->hasSeenHint("HINT_RANKMETER"));

    player->showHints = true;
    hints.showHint("HINT_RANKMETER");
    ASSERT_NE(nullptr, hint());
    EXPECT_EQ("HINT_RANKMETER", hint()->hintName);
    EXPECT_TRUE(player->hasSeenHint("HINT_RANKMETER"));
    // While it is open, another hint waits its turn and is not marked.
    hints.showHint("HINT_TOOLSSELECT");
    EXPECT_EQ("HINT_RANKMETER", hint()->hintName);
    EXPECT_FALSE(player->hasSeenHint("HINT_TOOLSSELECT"));
    // Closing by name closes only the hint of that name.
    EXPECT_FALSE(hints.closeShownHint("HINT_TOOLSSELECT"));
    EXPECT_FALSE(hint()->isClosing());
    EXPECT_TRUE(hints.closeShownHint("HINT_RANKMETER"));
    ASSERT_TRUE(waitGone("DIALOG_HINT"));
    EXPECT_FALSE(hints.closeShownHint("HINT_RANKMETER"));

    hints.showHint("HINT_RANKMETER");
    EXPECT_EQ(nullptr, hint());
    // Another player sees it again.
    auto* other = new TortelunePlayer("Other");
    PlayerManager::getInstance()->addPlayer(other);
    PlayerManager::getInstance()->selectPlayer("Other");
    hints.showHint("HINT_RANKMETER");
    EXPECT_NE(nullptr, hint());
}

TEST_F(HintManagerTest, PlacementDefaultsTheCallersPointAndTheHand)
{
    HintManager& hints = *HintManager::instance;
    scene->leavePhase();
    RefPointer<PropertyStore> places = parseXml(R"(<root><Vector id="hints">
        <Hint id="HINT_RANKMETER" handx="400" handy="420" dialogx="220" dialogy="90" connector="bottomright"/>
        <Hint id="HINT_TOOLSSELECT" handx="400" handy="330" dialogx="220" dialogy="80"/>
        </Vector></root>)");
    hints.loadFrom(places.get());
    // HINT_RANKMETER: dialog at (220, 90), hand at (400, 420) -> auto corner 8;
    // the bubble's tail on the side the catalogue names.
    hints.showHint("HINT_RANKMETER");
    ASSERT_NE(nullptr, hint());
    EXPECT_EQ(220, hint()->getX());
    EXPECT_EQ(90, hint()->getY());
    ASSERT_NE(nullptr, hint()->getHand());
    EXPECT_EQ(8, hint()->getHand()->getAnchorKind());
    EXPECT_EQ(400, hint()->getHand()->getX());
    auto* painter = objectCast<DialogHintPainter>(hint()->getPainter());
    ASSERT_NE(nullptr, painter);
    EXPECT_EQ(11, painter->getCorner());
    closeHint();
    // At the caller's point, placed as the catalogue says, corner from the point.
    hints.showHintAt("HINT_TOOLSSELECT", 100, 120);
    ASSERT_NE(nullptr, hint());
    EXPECT_EQ(220, hint()->getX());
    EXPECT_EQ(80, hint()->getY());
    EXPECT_EQ(0, hint()->getHand()->getAnchorKind());
    EXPECT_EQ(100, hint()->getHand()->getX());
    closeHint();
    // No hand for a point outside the screen; the catalogue's zero places mean (200, 70).
    RefPointer<PropertyStore> file = parseXml(
        R"(<root><Vector id="hints"><Hint id="HINT_PLAIN"/><Hint id="HINT_AGAIN" showonce="false"/></Vector></root>)");
    hints.loadFrom(file.get());
    hints.showHint("HINT_PLAIN");
    ASSERT_NE(nullptr, hint());
    EXPECT_EQ(200, hint()->getX());
    EXPECT_EQ(70, hint()->getY());
    EXPECT_EQ(nullptr, hint()->getHand());
    EXPECT_EQ(0, hint()->getComponentRoot()->getY()) << "only the shop's hints hang above their place";
    closeHint();
    for (const char* shopHint : {"HINT_SHOPFIRST", "HINT_SHOPSECOND", "HINT_SHOPFIRST2"}) {
        SCOPED_TRACE(shopHint);
        RefPointer<PropertyStore> shop = parseXml(std::string(R"(<root><Vector id="hints"><Hint id=")") + shopHint +
                                                  R"("/></Vector></root>)");
        hints.loadFrom(shop.get());
        hints.showHint(shopHint);
        ASSERT_NE(nullptr, hint());
        EXPECT_EQ(-hint()->getHeight(), hint()->getComponentRoot()->getY());
        closeHint();
    }
    hints.loadFrom(file.get());
    // A hint the catalogue does not limit to once is never marked seen and shows again.
    for (int time = 0; time < 2; ++time) {
        SCOPED_TRACE(time);
        hints.showHint("HINT_AGAIN");
        ASSERT_NE(nullptr, hint());
        EXPECT_FALSE(player->hasSeenHint("HINT_AGAIN"));
        closeHint();
    }
    // The caller's own corner and place win over the catalogue's.
    hints.showHintAt("HINT_AGAIN", 100, 120, 8, 300, 150);
    ASSERT_NE(nullptr, hint());
    EXPECT_EQ(300, hint()->getX());
    EXPECT_EQ(150, hint()->getY());
    EXPECT_EQ(8, hint()->getHand()->getAnchorKind());
    closeHint();
}

TEST_F(HintManagerTest, DuringPlayWithTheChefAsCustomerTheChefSaysTheHint)
{
    startCareerLevel(0);
    ASSERT_EQ("CUSTOMER_HENRI", GameData::instance->getCurrentLevel().customerName);
    HintManager::instance->showHint("HINT_RANKMETER");
    ASSERT_NE(nullptr, hint());
    // He speaks from where his own words stand, the tail towards him.
    int x = 0;
    int bottom = 0;
    ASSERT_NE(nullptr, scene->getCustomerView());
    ASSERT_TRUE(scene->getCustomerView()->getSpeechPoint(x, bottom));
    EXPECT_EQ(x, hint()->getX());
    EXPECT_EQ(bottom - hint()->getHeight(), hint()->getY());
    auto* painter = objectCast<DialogHintPainter>(hint()->getPainter());
    ASSERT_NE(nullptr, painter);
    EXPECT_EQ(10, painter->getCorner());
    EXPECT_TRUE(hint()->henriEntrance);
    // The customer's own speech gives way while the chef talks.
    frame();
    EXPECT_FALSE(node("CUSTOMER_CLOUD") && node("CUSTOMER_CLOUD")->isVisible());
}

TEST_F(HintManagerTest, DuringPlayWithAnotherCustomerTheBubbleKeepsItsOwnPlace)
{
    startCareerLevel(4);
    ASSERT_EQ("CUSTOMER_CHILD", GameData::instance->getCurrentLevel().customerName);
    HintManager::instance->showHint("HINT_RANKMETER");
    ASSERT_NE(nullptr, hint());
    Hint* record = HintManager::instance->findHint("HINT_RANKMETER");
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(record->dialogX, hint()->getX());
    EXPECT_EQ(record->dialogY, hint()->getY());
    EXPECT_FALSE(hint()->henriEntrance);
}

// A level paused in the game scene keeps the chef as its customer, but in
// another scene nobody stands on screen: the bubble keeps its own place and
// has no tail.
TEST_F(HintManagerTest, InAnotherSceneThanThePlayedLevelNobodySaysTheHint)
{
    startCareerLevel(0);
    ASSERT_EQ("CUSTOMER_HENRI", GameData::instance->getCurrentLevel().customerName);
    Scene* elsewhere = SceneManager::instance->registerScene("SCENE_ARCADE");
    ASSERT_NE(nullptr, elsewhere);
    SceneManager::instance->setNextScene(elsewhere);
    for (int i = 0; i < 50 && SceneManager::instance->getCurrentScene() != elsewhere; ++i)
        SceneManager::instance->run(20);
    ASSERT_EQ(elsewhere, SceneManager::instance->getCurrentScene());
    HintManager::instance->showHint("HINT_ARCADEFIRST");
    ASSERT_TRUE(elsewhere->isDialogShown("DIALOG_HINT"));
    auto* bubble = objectCast<DialogHint>(elsewhere->getDialog("DIALOG_HINT"));
    ASSERT_NE(nullptr, bubble);
    Hint* record = HintManager::instance->findHint("HINT_ARCADEFIRST");
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(record->dialogX, bubble->getX());
    EXPECT_EQ(record->dialogY, bubble->getY());
    auto* painter = objectCast<DialogHintPainter>(bubble->getPainter());
    ASSERT_NE(nullptr, painter);
    EXPECT_EQ(DialogHintPainter::kNoConnector, painter->getCorner());
    EXPECT_FALSE(bubble->henriEntrance);
}

TEST_F(HintManagerTest, AReusedBubbleStartsEachFillFromItsTemplate)
{
    auto* bubble = objectCast<DialogHint>(scene->getOrCreateDialog(std::string(), "DIALOG_HINT"));
    ASSERT_NE(nullptr, bubble);
    const int height = bubble->getHeight();
    const int okY = bubble->getOkButton()->getY();
    bubble->setHintText(toWide("One line."));
    EXPECT_EQ(height, bubble->getHeight());
    EXPECT_EQ(okY, bubble->getOkButton()->getY());
    const WString longText = toWide("A much longer hint that surely takes three lines of the bubble's width, "
                                    "because it goes on and on about pastries, ovens and the chef's hat.");
    bubble->setHintText(longText);
    // The button moves down by the extra lines; the frame grows by as much,
    // rounded up to its whole edge tiles.
    const int moved = bubble->getOkButton()->getY() - okY;
    const int grownHeight = bubble->getHeight();
    EXPECT_GT(moved, 0);
    EXPECT_GE(grownHeight, height + moved);
    EXPECT_LT(grownHeight, height + moved + 8);
    // Filled again without being rebuilt: the same size, not grown twice.
    bubble->setHintText(longText);
    EXPECT_EQ(grownHeight, bubble->getHeight());
    EXPECT_EQ(okY + moved, bubble->getOkButton()->getY());
    // A header pushes text and button down by its line + 5.
    bubble->setHintText(toWide("One line."));
    const int line = bubble->getHeaderLabel()->getLineHeight();
    bubble->setHeaderText(toWide("Row Whisk"));
    EXPECT_EQ(okY + line + 5, bubble->getOkButton()->getY());
    EXPECT_GE(bubble->getHeight(), height + line + 5);
    EXPECT_LT(bubble->getHeight(), height + line + 5 + 8);
}

// A hint's width widens or narrows the bubble: text and OK button stay centred
// and inside, a narrower bubble takes more lines and grows taller, and the
// width stays between the narrowest that holds the button with the
// template's margins and the screen's.
TEST_F(HintManagerTest, AHintsWidthWidensOrNarrowsTheBubbleKeepingTextAndButtonInside)
{
    auto* bubble = objectCast<DialogHint>(scene->getOrCreateDialog(std::string(), "DIALOG_HINT"));
    ASSERT_NE(nullptr, bubble);
    auto* text = dynamic_cast<Sprite*>(bubble->getHintLabel());
    Button* ok = bubble->getOkButton();
    ASSERT_NE(nullptr, text);
    ASSERT_NE(nullptr, ok);
    const int templateWidth = bubble->getWidth();
    const int margins = templateWidth - text->getWidth();
    ASSERT_GT(margins, 0);
    const int narrowest = ok->getWidth() + margins;
    const WString words = toWide("Your score fills the rank meter. Each new rank brings a reward!");
    bubble->setHintText(words);
    const int templateHeight = bubble->getHeight();
    struct Case {
        int asked;
        int width;
    };
    const Case cases[] = {
        {0, templateWidth}, {620, 620}, {5000, 800}, {256, 256}, {narrowest, narrowest}, {10, narrowest},
        {-30, templateWidth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("asked " + std::to_string(c.asked));
        bubble->setHintText(words, c.asked);
        // The frame rounds up to its whole edge tiles.
        const int width = bubble->getWidth();
        EXPECT_GE(width, c.width);
        EXPECT_LT(width, c.width + 8);
        EXPECT_EQ(width - margins, text->getWidth());
        EXPECT_NEAR(width / 2, text->getX(), 1);
        EXPECT_NEAR(width / 2, ok->getX(), 1);
        EXPECT_GE(ok->getX() - ok->getWidth() / 2, 0);
        EXPECT_LE(ok->getX() + ok->getWidth() / 2, bubble->getWidth());
        // The text's lines end above the button, which ends inside the frame.
        EXPECT_LE(text->getY() + labelTextHeight(text), ok->getY() - ok->getHeight() / 2);
        EXPECT_LE(ok->getY() + ok->getHeight() / 2, bubble->getHeight());
        if (c.width < templateWidth) {
            EXPECT_GT(bubble->getHeight(), templateHeight);
        } else {
            EXPECT_LE(bubble->getHeight(), templateHeight);
        }
    }
    // Filled again without a width: back to the template.
    bubble->setHintText(words);
    EXPECT_EQ(templateWidth, bubble->getWidth());
    EXPECT_EQ(templateHeight, bubble->getHeight());
}

TEST_F(HintManagerTest, BonusHintsGetTheBonusNameAsHeader)
{
    RefPointer<PropertyStore> file = parseXml(
        R"(<root><Vector id="hints"><Hint id="HINT_BONUS_ROWZAP" handx="300" handy="300"/></Vector></root>)");
    HintManager::instance->loadFrom(file.get());
    HintManager::instance->showHint("HINT_BONUS_ROWZAP");
    ASSERT_NE(nullptr, hint());
    EXPECT_EQ(toWide("Row Whisk"), hint()->getHeaderLabel()->getText());
}
