#pragma once

#include <cstdint>
#include <string>

#include "framework/core/RefPointer.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"

// Builds fonts for tests the way the font resource does: the "font" node of a
// font file, and one layer per entry of its "layers" list with the sheet
// beside the file. Null when the file cannot be read.
RefPointer<BitmapFont> loadFontFile(const std::string& path);
// The baked test fonts of tests/data/fonts: "testfont" (a face over a padded
// outline) and "testmask" (one mask layer).
RefPointer<BitmapFont> loadTestFont(const std::string& name);
// A font from the text of a font file's "font" node, without layers.
RefPointer<BitmapFont> fontFromXml(const std::string& fontNodeXml);

// Writes a 4-byte image as an RGBA PNG (tests' pictures). False on failure.
bool writePng(Image* image, const std::string& path);
