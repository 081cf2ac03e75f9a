#include "GameDialogsFixture.h"

#include "framework/graphics/Image.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Scene.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogYesNo.h"

namespace {

using QuitQuestionLayoutTest = GameDialogsFixture;

struct Box {
    int left, top, right, bottom;
    bool overlaps(const Box& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// The frame's cake tower decorates the quit question's lower right corner:
// it covers neither the buttons nor the question's text.
TEST_F(QuitQuestionLayoutTest, TheCakeTowerCoversNoControlOrText)
{
    enter(selection);
    DialogYesNo* question =
        DialogYesNo::ask("CTEXT_QUESTION_QUIT", "CTEXT_QUIT_HEADER", nullptr, nullptr, nullptr, nullptr, selection);
    ASSERT_NE(nullptr, question);
    // The size the painter frames, before the background is darkened.
    const int width = question->getWidth();
    const int height = question->getHeight();
    RefPointer<Image> tower;
    {
        ResourceLock lock;
        tower = ResourceManager::instance->getResourceAs<Image>("EIFFELTOWER", "default");
    }
    ASSERT_NE(nullptr, tower.get());
    const int towerLeft = width - tuning().DEFAULTDIALOG_EIFFEL_OFFSETX - tower->getWidth();
    const int towerTop = height - tuning().DEFAULTDIALOG_EIFFEL_OFFSETY - tower->getHeight();
    const Box cake {towerLeft, towerTop, towerLeft + tower->getWidth(), towerTop + tower->getHeight()};

    for (const char* name : {"BUTTON_YES", "BUTTON_NO", "MESSAGE", "HEADER"}) {
        auto* component = objectCast<Sprite>(question->getComponent(name));
        ASSERT_NE(nullptr, component) << name;
        const Box box {component->getLeft(), component->getTop(), component->getLeft() + component->getWidth(),
                       component->getTop() + component->getHeight()};
        EXPECT_FALSE(cake.overlaps(box)) << name << " at " << box.left << "," << box.top << " " << box.right << ","
                                         << box.bottom << "; the tower at " << cake.left << "," << cake.top << " "
                                         << cake.right << "," << cake.bottom;
    }
}

// The settings keep their buttons left of the tower, so both stay whole.
TEST_F(QuitQuestionLayoutTest, TheSettingsButtonsStandClearOfTheCakeTower)
{
    Dialog* settings = open("DIALOG_SETTINGS");
    ASSERT_NE(nullptr, settings);
    advance(400);
    RefPointer<Image> tower;
    {
        ResourceLock lock;
        tower = ResourceManager::instance->getResourceAs<Image>("EIFFELTOWER", "default");
    }
    ASSERT_NE(nullptr, tower.get());
    // The framed size of the template; the darkened background widens the dialog itself.
    PropertyNode* layout = settings->getConfiguration();
    ASSERT_NE(nullptr, layout);
    const int towerLeft = layout->getInt("width") - tuning().DEFAULTDIALOG_EIFFEL_OFFSETX - tower->getWidth();
    const int towerTop = layout->getInt("height") - tuning().DEFAULTDIALOG_EIFFEL_OFFSETY - tower->getHeight();
    const Box cake {towerLeft, towerTop, towerLeft + tower->getWidth(), towerTop + tower->getHeight()};
    for (const char* name : {"BUTTON_OK", "BUTTON_CANCEL", "BUTTON_INFO"}) {
        auto* button = objectCast<Sprite>(settings->getComponent(name));
        ASSERT_NE(nullptr, button) << name;
        const Box box {button->getLeft(), button->getTop(), button->getLeft() + button->getWidth(),
                       button->getTop() + button->getHeight()};
        EXPECT_FALSE(cake.overlaps(box)) << name << " at " << box.left << "," << box.top << " " << box.right << ","
                                         << box.bottom << "; the tower at " << cake.left << "," << cake.top << " "
                                         << cake.right << "," << cake.bottom;
    }
}

} // namespace
