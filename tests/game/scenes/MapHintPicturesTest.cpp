// The chef's hints at the front door on the real art: where his bubble
// stands, which way its tail points and what his hand points at, checked
// against the map's own buttons and written to the build folder's
// "pictures" for a person to look at.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogHint.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "game/scenes/ThemeNode.h"
#include "game/text/GameText.h"
#include "support/FontFixtures.h"
#include "MapHintFixture.h"
#include "support/FrontDoorFixture.h"

namespace {

struct Box {
    int left;
    int top;
    int right;
    int bottom;
    bool overlaps(const Box& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool holds(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
};

// Where a sprite's picture lies on the screen.
Box drawnBox(Sprite* sprite)
{
    const int left = sprite->getAbsoluteX() - static_cast<int>(sprite->getAnchorPoint().x);
    const int top = sprite->getAbsoluteY() - static_cast<int>(sprite->getAnchorPoint().y);
    return {left, top, left + sprite->getWidth(), top + sprite->getHeight()};
}

// Where the opaque part of a sprite's picture lies on the screen.
Box opaqueBox(Sprite* sprite)
{
    const Box drawn = drawnBox(sprite);
    Image* picture = sprite->getImage();
    Box found {drawn.right, drawn.bottom, drawn.left, drawn.top};
    for (int y = 0; picture && y < picture->getHeight(); ++y) {
        for (int x = 0; x < picture->getWidth(); ++x) {
            uint32_t argb = 0;
            std::memcpy(&argb, picture->getPixels() + static_cast<size_t>(y) * picture->getPitch() + x * 4, 4);
            if ((argb >> 24) < 128)
                continue;
            found.left = std::min(found.left, drawn.left + x);
            found.top = std::min(found.top, drawn.top + y);
            found.right = std::max(found.right, drawn.left + x + 1);
            found.bottom = std::max(found.bottom, drawn.top + y + 1);
        }
    }
    return found;
}

int tailCorner(DialogHint* hint)
{
    auto* painter = objectCast<DialogHintPainter>(hint->getPainter());
    return painter ? painter->getCorner() : -1;
}

class MapHintPicturesTest : public MapHintFixture {};

TEST_F(MapHintPicturesTest, NewPlayersMapHints)
{
    addPlayer("Anna", -1);
    enter("SCENE_SELECTION");
    enter("SCENE_MAP");
    DialogHint* hint = waitForHint("HINT_LEVELSELECTION");
    ASSERT_NE(nullptr, hint);
    render("hint_map_HINT_LEVELSELECTION.png");
    EXPECT_EQ(11, tailCorner(hint));
    hint->closeHint();
    hint = waitForHint("HINT_CLICK_START", 12000);
    ASSERT_NE(nullptr, hint);
    render("hint_map_HINT_CLICK_START.png");

    // The chef stands at the right, clear of the first theme he asks for and
    // of the map's buttons; the bubble's tail points at him (lower right) and
    // the hand at the first theme.
    auto* state = dynamic_cast<MapHintState*>(map()->getState());
    ASSERT_NE(nullptr, state);
    Sprite* host = state->getHost();
    ASSERT_NE(nullptr, host);
    EXPECT_EQ(Sprite::BottomRight, host->getAnchorKind());
    const Box chef = opaqueBox(host);
    Button* theme = map()->getTheme(0)->getPastryButton();
    for (Sprite* covered : {static_cast<Sprite*>(theme), static_cast<Sprite*>(map()->getBackButton()),
                            static_cast<Sprite*>(map()->getStartButton()),
                            static_cast<Sprite*>(map()->getShopButton())})
        EXPECT_FALSE(chef.overlaps(drawnBox(covered))) << covered->getName();
    EXPECT_EQ(11, tailCorner(hint));
    Hint* record = HintManager::instance->findHint("HINT_CLICK_START");
    ASSERT_NE(nullptr, record);
    EXPECT_TRUE(drawnBox(theme).holds(record->handX, record->handY));
}

TEST_F(MapHintPicturesTest, WelcomeInTheSelection)
{
    addPlayer("Anna", -1);
    enter("SCENE_SELECTION");
    frames(3000);
    if (!shownHint())
        selection()->henriEntrance(nullptr);
    DialogHint* hint = waitForHint("HINT_WELCOME");
    ASSERT_NE(nullptr, hint);
    render("hint_selection_HINT_WELCOME.png");
    // The chef stands at the right of the selection.
    EXPECT_EQ(11, tailCorner(hint));
}

} // namespace

// The rank and the score at the top of the map stand clear of the full-screen
// buttons (minimise, back to a window and quit, 32 pixels each from the right
// edge down to y 32) and of each other, whatever the rank's name.
TEST_F(MapHintPicturesTest, RankAndScoreStandClearOfTheFullScreenButtons)
{
    addPlayer("Anna", 5);
    enter("SCENE_SELECTION");
    enter("SCENE_MAP");
    frames(500);
    const Box buttons {800 - 3 * 32, 0, 800, 32};
    auto boxOf = [this](const char* name) {
        auto* label = dynamic_cast<Sprite*>(map()->getComponent(name));
        EXPECT_NE(nullptr, label) << name;
        if (!label)
            return Box {0, 0, 0, 0};
        return Box {label->getAbsoluteX() - static_cast<int>(label->getAnchorPoint().x),
                    label->getAbsoluteY() - static_cast<int>(label->getAnchorPoint().y),
                    label->getAbsoluteX() - static_cast<int>(label->getAnchorPoint().x) + label->getWidth(),
                    label->getAbsoluteY() - static_cast<int>(label->getAnchorPoint().y) + label->getHeight()};
    };
    setLabelText(map()->getComponent("LABEL_SCOREVALUE"), groupedNumber(9999999));
    const Box score = boxOf("LABEL_SCOREVALUE");
    EXPECT_FALSE(boxOf("LABEL_RANK").overlaps(buttons));
    for (int rank = 0; rank < 12; ++rank) {
        setLabelText(map()->getComponent("LABEL_RANKVALUE"), textByKey("TEXT_RANK" + std::to_string(rank)));
        const Box value = boxOf("LABEL_RANKVALUE");
        EXPECT_GT(value.right - value.left, 20) << "rank " << rank;
        EXPECT_FALSE(value.overlaps(buttons)) << "rank " << rank << " reaches x " << value.right;
        EXPECT_GE(value.left, score.right + 8) << "rank " << rank;
    }
}
