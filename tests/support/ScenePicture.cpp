#include "support/ScenePicture.h"

#include <sys/stat.h>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/RenderTask.h"
#include "support/FontFixtures.h"

RefPointer<Image> writeScenePicture(Scene* scene, const std::string& fileName)
{
    if (!scene)
        return RefPointer<Image>();
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    if (!writePng(canvas.get(), folder + "/" + fileName))
        return RefPointer<Image>();
    return canvas;
}
