#include "GameDialogsFixture.h"

#include <algorithm>
#include <set>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogCredits.h"
#include "game/dialogs/DialogGameEnd.h"
#include "game/dialogs/DialogHelp.h"
#include "game/scenes/SceneGame.h"
#include "support/PictureClearance.h"

namespace {

using CreditsHelpGameEndTest = GameDialogsFixture;

int callbacks;
int countCallback(void*, BaseObject*)
{
    return ++callbacks;
}

// The hue (in sixths of the colour circle, 0 to 5) of the opaque pixels of
// the frame a sprite shows, or -1 when it shows nothing opaque.
int hueSixthOf(Sprite* sprite)
{
    Image* image = sprite ? sprite->getImage() : nullptr;
    if (!image || image->getBytesPerPixel() != 4 || sprite->getFrameCount() <= 0)
        return -1;
    const int height = image->getHeight() / sprite->getFrameCount();
    const int top = sprite->getCurrentFrame() * height;
    double sum[3] = {0, 0, 0};
    int count = 0;
    image->lock();
    for (int y = top; y < top + height; ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint32_t pixel = image->row32(y)[x];
            if ((pixel >> 24) < 200)
                continue;
            sum[0] += (pixel >> 16) & 0xFF;
            sum[1] += (pixel >> 8) & 0xFF;
            sum[2] += pixel & 0xFF;
            ++count;
        }
    }
    image->unlock();
    if (count == 0)
        return -1;
    const double r = sum[0] / count, g = sum[1] / count, b = sum[2] / count;
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high - low < 1)
        return -1;
    double hue = high == r ? (g - b) / (high - low) : (high == g ? 2 + (b - r) / (high - low) : 4 + (r - g) / (high - low));
    hue = hue < 0 ? hue + 6 : hue;
    return static_cast<int>(hue) % 6;
}

Button* buttonOf(Dialog* dialog, const std::string& name)
{
    return dialog ? objectCast<Button>(dialog->getComponent(name)) : nullptr;
}

// The template's band: y 84 to 384; start 1.5 s, scroll 24 s, stand 2.5 s.
TEST_F(CreditsHelpGameEndTest, CreditsScrollThroughTheBandAndCloseThemselvesOnce)
{
    callbacks = 0;
    auto* credits = objectCast<DialogCredits>(open("DIALOG_CREDITS"));
    ASSERT_NE(nullptr, credits);
    credits->closeCallback = GuiMethod(nullptr, &countCallback);
    Label* message = credits->getMessage();
    ASSERT_NE(nullptr, message);
    const int height = message->getHeight();
    ASSERT_GT(height, 300) << "the credits are longer than the band";
    EXPECT_EQ(84 + 300 + 10, credits->getStartY());
    EXPECT_EQ(84 + 300 - 40, credits->getEndY() + height) << "the last line stops 40 px above the band's edge";
    advance(1400);
    EXPECT_EQ(credits->getStartY(), message->getY()) << "still waiting";
    advance(1500 - 1400 + 12000);
    EXPECT_NEAR((credits->getStartY() + credits->getEndY()) / 2, message->getY(), height / 40 + 2);
    screenshot("dialog_credits.png");
    advance(12000 + 100);
    EXPECT_EQ(credits->getEndY(), message->getY());
    advance(2300);
    EXPECT_EQ(0, callbacks);
    EXPECT_TRUE(isShown("DIALOG_CREDITS"));
    advance(200 + 300);
    EXPECT_EQ(1, callbacks);
    EXPECT_FALSE(isShown("DIALOG_CREDITS"));
}

// The cake the dialog's frame carries stands beside the band the credits
// scroll through, never under a line of them: none of its opaque pixels lies
// where the message's lines can be, in the band.
TEST_F(CreditsHelpGameEndTest, TheCakeStandsClearOfTheScrollingCredits)
{
    auto* credits = objectCast<DialogCredits>(open("DIALOG_CREDITS"));
    ASSERT_NE(nullptr, credits);
    advance(1500 + 12000);
    Label* message = credits->getMessage();
    ASSERT_NE(nullptr, message);
    const ScreenBox lines = screenBoxOf(message);
    // The darkened layer spans the screen; the frame keeps its place and size.
    GameNode* frame = credits->getComponentRoot();
    const int frameWidth = credits->getConfiguration()->getInt("width");
    const int frameHeight = credits->getConfiguration()->getInt("height");
    const int bandTop = frame->getAbsoluteY() + 84;
    const ScreenBox band {lines.left, bandTop, lines.right, bandTop + 300};
    RefPointer<Image> cake;
    {
        ResourceLock lock;
        cake = ResourceManager::instance->getResourceAs<Image>("EIFFELTOWER", "default");
    }
    ASSERT_NE(nullptr, cake.get());
    const int cakeLeft = frame->getAbsoluteX() + frameWidth - tuning().DEFAULTDIALOG_EIFFEL_OFFSETX - cake->getWidth();
    const int cakeTop = frame->getAbsoluteY() + frameHeight - tuning().DEFAULTDIALOG_EIFFEL_OFFSETY - cake->getHeight();
    int inside = 0;
    cake->lock();
    for (int y = 0; y < cake->getHeight(); ++y)
        for (int x = 0; x < cake->getWidth(); ++x)
            if ((cake->row32(y)[x] >> 24) >= 32 && band.holds(cakeLeft + x, cakeTop + y))
                ++inside;
    cake->unlock();
    EXPECT_EQ(0, inside) << "the cake at (" << cakeLeft << ", " << cakeTop << ") reaches into the credits' band "
                         << band.text();
    // The dialog still fits the screen.
    EXPECT_GE(frame->getAbsoluteX(), 0);
    EXPECT_LE(frame->getAbsoluteX() + frameWidth, 800);
    screenshot("dialog_credits_cake.png");
}

TEST_F(CreditsHelpGameEndTest, OkStopsTheScrollAndTheCreditsCloseOnceEvenWhenTheirTimeComes)
{
    callbacks = 0;
    RefPointer<DialogCredits> credits(objectCast<DialogCredits>(open("DIALOG_CREDITS")));
    ASSERT_NE(nullptr, credits);
    credits->closeCallback = GuiMethod(nullptr, &countCallback);
    advance(5000);
    buttonOf(credits.get(), "BUTTON_OK")->fire();
    EXPECT_TRUE(credits->getMessage()->getOwnModifiers().empty()) << "the scroll ends with the close";
    advance(40000);
    EXPECT_EQ(1, callbacks);

    // Shown again by an opener that kept it, the credits roll from the start.
    game->showDialog(credits.get());
    EXPECT_EQ(credits->getStartY(), credits->getMessage()->getY());
    advance(1500 + 24000 + 2500 + 400);
    EXPECT_EQ(2, callbacks);
    EXPECT_FALSE(isShown("DIALOG_CREDITS"));
}

struct HelpCase {
    const char* what;
    int mode;
    int level;
    int page;
    bool icy;
    const char* picture;
};

// In the game scene the level decides page and look at every showing, also
// when the same dialog is shown again for another kind of level.
TEST_F(CreditsHelpGameEndTest, HelpInTheGameSceneShowsThePageAndLookOfTheLevel)
{
    const HelpCase cases[] = {
        {"career", 0, 0, 0, false, "IMAGE_HELP_PAGE0"},
        {"arcade", 1, 0, 1, true, "IMAGE_HELP_PAGE1_ICY"},
        {"career after arcade", 0, 5, 0, false, "IMAGE_HELP_PAGE0"},
        {"exam", 0, 12, 1, true, "IMAGE_HELP_PAGE1_ICY"},
        {"career after exam", 0, 1, 0, false, "IMAGE_HELP_PAGE0"},
    };
    GameData& data = *GameData::instance;
    RefPointer<DialogHelp> help(objectCast<DialogHelp>(game->getOrCreateDialog("DIALOG_HELP", "DIALOG_HELP")));
    ASSERT_NE(nullptr, help);
    for (const HelpCase& c : cases) {
        data.state->mode = c.mode;
        data.state->levelManager.selectLevel(c.level);
        game->showDialog(help.get());
        advance(800);
        EXPECT_EQ(c.page, help->getPage()) << c.what;
        EXPECT_EQ(c.icy, help->isIcy()) << c.what;
        EXPECT_EQ(c.picture, help->pictureName()) << c.what;
        ResourceLock lock;
        EXPECT_EQ(ResourceManager::instance->getResourceAs<Image>(c.picture, "dialogs").get(), help->getFrameImage())
            << c.what;
        EXPECT_EQ(c.page > 0, buttonOf(help.get(), "BUTTON_PREV")->isEnabled()) << c.what;
        EXPECT_EQ(c.page < 1, buttonOf(help.get(), "BUTTON_NEXT")->isEnabled()) << c.what;
        if (c.icy && c.mode == 1)
            screenshot("dialog_help_page1_icy.png");
        game->hideDialog(help.get());
    }
}

TEST_F(CreditsHelpGameEndTest, HelpElsewhereTurnsItsPagesAndKeepsThePageLastSeen)
{
    enter(selection);
    RefPointer<DialogHelp> help(objectCast<DialogHelp>(open("DIALOG_HELP")));
    ASSERT_NE(nullptr, help);
    EXPECT_EQ(0, help->getPage());
    advance(100);
    EXPECT_EQ(0, help->getAlpha()) << "the help waits 200 ms before it fades in";
    advance(700);
    EXPECT_EQ(255, help->getAlpha());
    screenshot("dialog_help_page0.png");
    buttonOf(help.get(), "BUTTON_PREV")->fire();
    EXPECT_EQ(0, help->getPage());
    buttonOf(help.get(), "BUTTON_NEXT")->fire();
    EXPECT_EQ(1, help->getPage());
    EXPECT_EQ("IMAGE_HELP_PAGE1", help->pictureName());
    EXPECT_FALSE(buttonOf(help.get(), "BUTTON_NEXT")->isEnabled());
    EXPECT_TRUE(buttonOf(help.get(), "BUTTON_PREV")->isEnabled());
    buttonOf(help.get(), "BUTTON_NEXT")->fire();
    EXPECT_EQ(1, help->getPage());
    selection->hideDialog(help.get());
    selection->showDialog(help.get());
    EXPECT_EQ(1, help->getPage());
    EXPECT_FALSE(help->isIcy());
    buttonOf(help.get(), "BUTTON_OK")->fire();
    advance(1000);
    EXPECT_FALSE(isShown("DIALOG_HELP"));
}

// The end of the career: confetti at once and every 5 s while the chef
// speaks, then the credits, then the dialog closes and tells its opener once.
TEST_F(CreditsHelpGameEndTest, GameEndRunsConfettiWordsCreditsAndClosesOnce)
{
    callbacks = 0;
    enter(selection);
    auto* end = objectCast<DialogGameEnd>(open("DIALOG_GAMEEND"));
    ASSERT_NE(nullptr, end);
    end->closeCallback = GuiMethod(nullptr, &countCallback);
    auto* hint = objectCast<DialogTortelune>(selection->getDialog("DIALOG_GAMEENDHINT"));
    ASSERT_NE(nullptr, hint);
    EXPECT_TRUE(isShown("DIALOG_GAMEENDHINT"));
    auto* words = objectCast<Label>(hint->getComponent("LABEL_HINT"));
    ASSERT_NE(nullptr, words);
    EXPECT_EQ(BasicProperties::instance->getText("TEXT_GAMEEND"), words->getText());
    EXPECT_EQ(140 + 30, hint->getX());
    EXPECT_EQ(206 - 130, hint->getY());

    advance(20);
    EXPECT_EQ(1, end->getBurstCount()) << "the first confetti comes with the first update";
    int pieces[2] = {0, 0};
    for (int layer = 0; layer < 2; ++layer)
        for (GameNode* piece = end->getComponent(layer ? "NODE_CONFETTIFRONT" : "NODE_CONFETTIBACK")->getFirstChild();
             piece; piece = piece->getNextSibling())
            ++pieces[layer];
    EXPECT_EQ(150, pieces[0]) << "small pieces behind the picture";
    EXPECT_EQ(50, pieces[1]) << "large pieces in front of it";
    advance(5000);
    EXPECT_EQ(1, end->getBurstCount()) << "5000 ms is not yet more than 5000";
    advance(20);
    EXPECT_EQ(2, end->getBurstCount());
    advance(1500);
    screenshot("dialog_gameend.png");

    buttonOf(hint, "BUTTON_OK")->fire();
    advance(600);
    EXPECT_EQ(DialogGameEnd::kConfettiStopped, end->getConfettiTimer());
    EXPECT_FALSE(isShown("DIALOG_GAMEENDHINT"));
    EXPECT_EQ(nullptr, selection->getDialog("DIALOG_GAMEENDHINT"));
    auto* credits = objectCast<DialogCredits>(selection->getDialog("DIALOG_CREDITS"));
    ASSERT_NE(nullptr, credits);
    EXPECT_TRUE(isShown("DIALOG_CREDITS"));
    EXPECT_TRUE(isShown("DIALOG_GAMEEND"));
    advance(10000);
    EXPECT_EQ(2, end->getBurstCount()) << "no confetti once the chef has finished";
    screenshot("dialog_gameend_credits.png");

    buttonOf(credits, "BUTTON_OK")->fire();
    advance(1000);
    EXPECT_FALSE(isShown("DIALOG_CREDITS"));
    EXPECT_FALSE(isShown("DIALOG_GAMEEND"));
    EXPECT_EQ(1, callbacks);
}

// The game's end throws only the ribbon pieces; caught at their random
// frames, a shower of them shows more colours than one.
TEST_F(CreditsHelpGameEndTest, GameEndConfettiRainsInSeveralColours)
{
    enter(selection);
    auto* end = objectCast<DialogGameEnd>(open("DIALOG_GAMEEND"));
    ASSERT_NE(nullptr, end);
    advance(20);
    std::set<int> hues;
    int pieces = 0;
    for (const char* layer : {"NODE_CONFETTIBACK", "NODE_CONFETTIFRONT"}) {
        for (GameNode* piece = end->getComponent(layer)->getFirstChild(); piece; piece = piece->getNextSibling()) {
            const int hue = hueSixthOf(objectCast<Sprite>(piece));
            ++pieces;
            if (hue >= 0)
                hues.insert(hue);
        }
    }
    ASSERT_EQ(200, pieces);
    EXPECT_GE(hues.size(), 3u) << "the celebration's confetti is all of one colour";
}

} // namespace
