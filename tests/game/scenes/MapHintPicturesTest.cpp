// The chef's hints at the front door on the real art: where his bubble
// stands, which way its tail points and what his hand points at, checked
// against the map's own buttons and written to the build folder's
// "pictures" for a person to look at.
#include <sys/stat.h>

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
#include "support/FontFixtures.h"
#include "support/FrontDoorFixture.h"

namespace {

class MapHintPicturesTest : public FrontDoorFixture {
protected:
    void SetUp() override
    {
        withMedia = true;
        answerHints = false;
        FrontDoorFixture::SetUp();
    }
    RefPointer<Image> render(const std::string& fileName)
    {
        Scene* scene = SceneManager::instance->getCurrentScene();
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
        const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
        mkdir(folder.c_str(), 0755);
        EXPECT_TRUE(writePng(canvas.get(), folder + "/" + fileName));
        return canvas;
    }
    DialogHint* shownHint() const
    {
        Scene* scene = SceneManager::instance->getCurrentScene();
        return scene && scene->isDialogShown("DIALOG_HINT") ? objectCast<DialogHint>(scene->getDialog("DIALOG_HINT"))
                                                           : nullptr;
    }
    // Plays until the named hint is open and its hand has come to rest.
    DialogHint* waitForHint(const std::string& name, int ms = 8000)
    {
        for (int elapsed = 0; elapsed < ms; elapsed += 20) {
            if (shownHint() && shownHint()->hintName == name) {
                frames(1200);
                return shownHint();
            }
            frames(20);
        }
        return nullptr;
    }
};

TEST_F(MapHintPicturesTest, NewPlayersMapHints)
{
    addPlayer("Anna", -1);
    enter("SCENE_SELECTION");
    enter("SCENE_MAP");
    DialogHint* hint = waitForHint("HINT_LEVELSELECTION");
    ASSERT_NE(nullptr, hint);
    render("hint_map_HINT_LEVELSELECTION.png");
    hint->closeHint();
    hint = waitForHint("HINT_CLICK_START", 12000);
    ASSERT_NE(nullptr, hint);
    render("hint_map_HINT_CLICK_START.png");
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
}

} // namespace
