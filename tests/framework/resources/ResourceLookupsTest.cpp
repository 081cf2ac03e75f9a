#include <gtest/gtest.h>

#include "support/EncodedImages.h"
#include "support/TestFolders.h"
#include "framework/core/PropertyNode.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"

// Sprites and sound modifiers named in layouts find their pictures and sounds
// through the resource manager; unknown names find nothing.
TEST(ResourceLookups, SpritesAndSoundModifiersFindResourcesByName)
{
    ResourceManager::create();
    const std::string folder = makeRelativeTestFolder("lookups");
    testimages::PngSpec spec;
    spec.width = 6;
    spec.height = 3;
    const std::vector<uint8_t> png = testimages::encodePng(spec, std::vector<uint16_t>(6 * 3 * 3, 90));
    writeTestFile(folder + "/tile.png", std::string(png.begin(), png.end()));
    const std::string xml = "<root><Vector id=\"Sections\"><Section name=\"board\">"
                            "<Image id=\"TILE\" file=\"" + folder + "/tile.png\"/>"
                            "<Sound id=\"POP\" file=\"" + folder + "/pop.wav\"/>"
                            "</Section></Vector></root>";
    writeTestFile(folder + "/resources.xml", xml);
    ResourceManager::instance->addResourceFile(folder + "/resources.xml");
    ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());
    // Load both now, as the loader thread would have.
    ASSERT_TRUE(ResourceManager::instance->getLoadedResource("TILE", "board"));
    ResourceManager::instance->getLoadedResource("POP", "board");

    PropertyNode layout;
    layout.setString("image", "TILE");
    layout.setString("section", "board");
    RefPointer<Sprite> sprite(new Sprite(&layout));
    EXPECT_EQ(sprite->getWidth(), 6);
    EXPECT_EQ(sprite->getHeight(), 3);

    PropertyNode missing;
    missing.setString("image", "NO_SUCH_TILE");
    missing.setString("section", "board");
    RefPointer<Sprite> empty(new Sprite(&missing));
    EXPECT_EQ(empty->getWidth(), 0);

    RefPointer<ModifierSound> pop(new ModifierSound("POP", "board"));
    EXPECT_NE(pop->getSound(), nullptr);
    RefPointer<ModifierSound> silent(new ModifierSound("NOPE", "board"));
    EXPECT_EQ(silent->getSound(), nullptr);
    ResourceManager::destroyInstance();
}
