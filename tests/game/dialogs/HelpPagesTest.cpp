// The help's page pictures as drawn by their generator: each illustration
// stays inside its panel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDecoders.h"

namespace {

// The third panel of a page: its box, and the column below it that holds
// the panel's caption.
constexpr int kPanelLeft = 400;
constexpr int kPanelRight = 556;
constexpr int kPanelTop = 100;
constexpr int kPanelBottom = 246;
constexpr int kCaptionBottom = 400;

// Pixels of the chef's white coat and hat (the page's creams are never this white).
int whitePixels(Image* page, int top, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = kPanelLeft; x < kPanelRight; ++x) {
            uint32_t argb = 0;
            std::memcpy(&argb, page->getPixels() + static_cast<size_t>(y) * page->getPitch() + x * 4, 4);
            const uint32_t r = (argb >> 16) & 0xFF;
            const uint32_t g = (argb >> 8) & 0xFF;
            const uint32_t b = argb & 0xFF;
            count += (r > 245 && g > 245 && b > 245) ? 1 : 0;
        }
    }
    return count;
}

RefPointer<Image> page(const std::string& name)
{
    return loadPngFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/images/dialogs/" + name + ".png", 0);
}

} // namespace

TEST(HelpPagesTest, TheServingPanelShowsOneChefInsideItsBox)
{
    for (const char* name : {"image_help_page0", "image_help_page0_icy"}) {
        RefPointer<Image> picture = page(name);
        ASSERT_NE(nullptr, picture) << name;
        ASSERT_EQ(4, picture->getBytesPerPixel()) << name;
        // Below the box only the caption: no further frames of his strip.
        EXPECT_EQ(0, whitePixels(picture.get(), kPanelBottom + 4, kCaptionBottom)) << name;
    }
    // On the plain page the chef himself stands in the box.
    RefPointer<Image> plain = page("image_help_page0");
    ASSERT_NE(nullptr, plain);
    EXPECT_GT(whitePixels(plain.get(), kPanelTop, kPanelBottom), 200);
}
