#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "GuiFixture.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/gui/Button.h"
#include "framework/gui/InputLabel.h"
#include "framework/gui/Scene.h"
#include "framework/gui/Slider.h"
#include "framework/gui/Switch.h"
#include "framework/gui/ToolTip.h"
#include "framework/gui/ToolTipLabel.h"
#include "support/FontFixtures.h"

namespace {

std::string mediaPath(const std::string& name)
{
    return std::string(TORTELUNE_SOURCE_DIR) + "/media/" + name;
}

std::string picturePath(const std::string& name)
{
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + name;
}

class GuiPictureTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        const char* pieces[] = {"tl", "t", "tr", "l", "c", "r", "bl", "b", "br"};
        for (const char* piece : pieces)
            addImage("frames", std::string("frame_") + piece, "images/dialogs/frame_" + std::string(piece) + ".png");
        for (const char* button : {"button_ok", "button_cancel"})
            addImage("ui", button, std::string("images/buttons/") + button + ".png");
        for (const char* widget : {"checkbox", "radio", "slider_track", "slider_thumb", "slider_dec", "slider_inc"})
            addImage("ui", widget, std::string("images/widgets/") + widget + ".png");
        for (const char* button : {"button_quit", "button_restore", "button_minimize"})
            addImage("fsh", button, std::string("images/fsh/") + button + ".png");
        RefPointer<Image> background = loadJpegFile(mediaPath("images/selection/background.jpg"));
        if (background)
            addResource("scenes", "background", background.get());
        addResource("ui", "caret", solidImage(2, 22, 0xFF5B3219).get());
        for (const char* font : {"dialog", "dialogbold", "header", "button", "small"}) {
            RefPointer<BitmapFont> loaded = loadFontFile(mediaPath(std::string("fonts/") + font + ".xml"));
            if (loaded)
                addResource("fonts", font, loaded.get());
        }
    }

    void addImage(const std::string& section, const std::string& name, const std::string& file)
    {
        RefPointer<Image> image = loadPngFile(mediaPath(file), 0);
        ASSERT_NE(nullptr, image) << file;
        addResource(section, name, image.get());
    }
};

const char* const kSetup =
    "<root><Node id=\"templates\">"
    "<DialogPainter id=\"FRAME\" section=\"frames\"><Vector id=\"images\">"
    "<String value=\"frame_tl\"/><String value=\"frame_t\"/><String value=\"frame_tr\"/>"
    "<String value=\"frame_l\"/><String value=\"frame_c\"/><String value=\"frame_r\"/>"
    "<String value=\"frame_bl\"/><String value=\"frame_b\"/><String value=\"frame_br\"/>"
    "</Vector></DialogPainter>"
    "<FullScreenHandler id=\"FSH\" x=\"796\" y=\"4\">"
    "<Button id=\"button_quit\" image=\"button_quit\" section=\"fsh\"/>"
    "<Button id=\"button_restore\" image=\"button_restore\" section=\"fsh\"/>"
    "<Button id=\"button_minimize\" image=\"button_minimize\" section=\"fsh\"/>"
    "</FullScreenHandler>"
    "<ToolTip id=\"TIP\" showdelay=\"40\"><ToolTipLabel id=\"renderer\" font=\"small\" section=\"fonts\" "
    "color=\"0xFF5B3219\" width=\"200\" backgroundcolor=\"0xFFF4E0\" bordercolor=\"0x5B3219\" padding=\"4\"/>"
    "</ToolTip></Node>"
    "<Node id=\"scenes\"><Scene id=\"SAMPLE\" scenebackground=\"background\" section=\"scenes\"/></Node>"
    "<Node id=\"dialogs\">"
    "<Dialog id=\"SAMPLE_DIALOG\" painterid=\"FRAME\" minwidth=\"460\" minheight=\"400\" autocenter=\"true\">"
    "<Vector id=\"components\">"
    "<Label name=\"header\" font=\"header\" section=\"fonts\" text=\"Bakery settings\" x=\"234\" y=\"40\" "
    "anchorpoint=\"top\"/>"
    "<Switch name=\"music\" image=\"checkbox\" section=\"ui\" x=\"56\" y=\"96\" checked=\"true\"/>"
    "<Label name=\"musiclabel\" font=\"dialog\" section=\"fonts\" color=\"0xFF5B3219\" text=\"Music\" x=\"98\" "
    "y=\"100\"/>"
    "<Switch name=\"slow\" image=\"radio\" section=\"ui\" x=\"250\" y=\"96\" groupid=\"7\" checked=\"true\"/>"
    "<Label name=\"slowlabel\" font=\"dialog\" section=\"fonts\" color=\"0xFF5B3219\" text=\"Slow\" x=\"292\" "
    "y=\"100\"/>"
    "<Switch name=\"fast\" image=\"radio\" section=\"ui\" x=\"250\" y=\"136\" groupid=\"7\"/>"
    "<Label name=\"fastlabel\" font=\"dialog\" section=\"fonts\" color=\"0xFF5B3219\" text=\"Fast\" x=\"292\" "
    "y=\"140\"/>"
    "<Label name=\"volumelabel\" font=\"dialog\" section=\"fonts\" color=\"0xFF5B3219\" text=\"Volume\" x=\"56\" "
    "y=\"186\"/>"
    "<Slider name=\"volume\" image=\"slider_track\" section=\"ui\" x=\"170\" y=\"186\">"
    "<Button id=\"button\" image=\"slider_thumb\" section=\"ui\"/>"
    "<Button id=\"incbutton\" image=\"slider_inc\" section=\"ui\"/>"
    "<Button id=\"decbutton\" image=\"slider_dec\" section=\"ui\"/></Slider>"
    "<Label name=\"namelabel\" font=\"dialog\" section=\"fonts\" color=\"0xFF5B3219\" text=\"Name\" x=\"56\" "
    "y=\"246\"/>"
    "<InputLabel name=\"name\" x=\"150\" y=\"240\" width=\"250\" height=\"32\" cursorimage=\"caret\" "
    "section=\"ui\" cursory=\"2\" selcolor=\"0xF2B8C6\" selbordercolor=\"0xC04060\" maxlength=\"20\">"
    "<Label id=\"label\" font=\"dialog\" section=\"fonts\" color=\"0xFF3A2010\" x=\"6\" y=\"4\"/></InputLabel>"
    "<Button name=\"ok\" image=\"button_ok\" section=\"ui\" x=\"56\" y=\"310\"/>"
    "<Button name=\"cancel\" image=\"button_cancel\" section=\"ui\" x=\"244\" y=\"310\"/>"
    "</Vector></Dialog></Node></root>";

TEST_F(GuiPictureTest, SampleDialogWithEveryWidget)
{
    loadSetup(kSetup);
    GameWindow::instance->setFullScreen(true);
    Scene* scene = SceneManager::instance->registerScene("SAMPLE");
    ASSERT_NE(nullptr, scene);
    ASSERT_NE(nullptr, FullScreenHandler::create("FSH"));
    FullScreenHandler::instance->showFlag = true;
    PropertyNode* tipDefinition = SetupStore::instance->findTemplate("TIP");
    RefPointer<ToolTip> tip = create<ToolTip>(tipDefinition->getTypeName(), tipDefinition);
    ASSERT_NE(nullptr, tip);
    SceneManager::instance->setToolTip(tip.get());
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    FullScreenHandler::refresh(scene);
    FullScreenHandler::setActive(true);

    Dialog* dialog = scene->getOrCreateDialog("", "SAMPLE_DIALOG");
    ASSERT_NE(nullptr, dialog);
    scene->showDialog(dialog);
    EXPECT_EQ(468, dialog->getWidth());
    Slider* slider = objectCast<Slider>(dialog->getComponent("volume"));
    ASSERT_NE(nullptr, slider);
    slider->setValue(0.7f);
    InputLabel* name = objectCast<InputLabel>(dialog->getComponent("name"));
    ASSERT_NE(nullptr, name);
    dialog->bindComponent("name", GuiMethod());
    dialog->bindComponent("ok", GuiMethod());
    dialog->bindComponent("cancel", GuiMethod());
    name->setFocus(true);
    for (char16_t c : std::u16string(u"Marguerite Tatin"))
        name->onChar(c);
    InputHandler::keyState[0x10] = 0x80;
    name->onKeyDown(0x25);
    name->onKeyUp(0x25);
    for (int i = 0; i < 4; ++i) {
        name->onKeyDown(0x25);
        name->onKeyUp(0x25);
    }
    InputHandler::keyState[0x10] = 0;
    Button* ok = objectCast<Button>(dialog->getComponent("ok"));
    ASSERT_NE(nullptr, ok);
    ok->setToolTip(u"Keeps the new settings and closes the dialog");
    const int okX = dialog->getX() + ok->getX() + 60;
    const int okY = dialog->getY() + ok->getY() + 20;
    scene->getInputHandler()->onMouseMove(okX, okY, 0);
    tip->onMouseMove(okX, okY, 0);

    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    tip->setGraphics(graphics.get());
    for (int frame = 0; frame < 4; ++frame) {
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
        tip->run(20);
    }
    EXPECT_TRUE(tip->isShowing());
    EXPECT_EQ(Button::Over, ok->getState());
    ASSERT_TRUE(writePng(canvas.get(), picturePath("gui_sample_dialog.png")));
    tip->setGraphics(nullptr);
}

} // namespace
