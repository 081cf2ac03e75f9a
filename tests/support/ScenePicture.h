#pragma once

#include <string>

#include "framework/core/RefPointer.h"

class Image;
class Scene;

// Draws the scene with its shown dialogs into an 800 x 600 picture and writes
// it to "pictures/<fileName>" in the build folder, for a person to look at.
// Returns the picture, or null when it could not be written.
RefPointer<Image> writeScenePicture(Scene* scene, const std::string& fileName);
