#pragma once

#include <sys/stat.h>

#include <string>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/RenderTask.h"
#include "support/FontFixtures.h"

// Draws the scene with its shown dialogs into "pictures/<fileName>" in the
// build folder, for a person to look at.
inline bool writeScenePicture(Scene* scene, const std::string& fileName)
{
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    return writePng(canvas.get(), folder + "/" + fileName);
}
