#include "support/FontFixtures.h"

#include <cstdio>
#include <vector>

#include <png.h>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/graphics/FontLayer.h"
#include "framework/graphics/ImageDecoders.h"

RefPointer<BitmapFont> loadFontFile(const std::string& path)
{
    RefPointer<PropertyStore> store(new PropertyStore(path));
    store->setFileMode(1);
    if (!store->load())
        return nullptr;
    RefPointer<BitmapFont> font(new BitmapFont(store->getChild("font")));
    const std::string folder = path.substr(0, path.rfind('/'));
    const PropertyVector* layers = store->getNode("font")->getVector("layers");
    for (int i = 0; i < layers->getCount(); ++i) {
        const PropertyNode* entry = layers->getNodeAt(i);
        const bool mask = !entry->hasChild("image");
        const std::string file = folder + "/" + entry->getString(mask ? "mask" : "image");
        RefPointer<Image> sheet = loadPngFile(file, mask ? DecodeOnlyMask : 0);
        if (!sheet)
            return nullptr;
        font->addLayer(new FontLayer(entry->getInt("padding"), static_cast<uint32_t>(entry->getInt("color")),
                                     sheet.get()));
    }
    return font;
}

RefPointer<BitmapFont> loadTestFont(const std::string& name)
{
    return loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/tests/data/fonts/" + name + ".xml");
}

RefPointer<BitmapFont> fontFromXml(const std::string& fontNodeXml)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    const std::string text = "<root>" + fontNodeXml + "</root>";
    if (!store->loadFromBuffer(text.data(), text.size()))
        return nullptr;
    return RefPointer<BitmapFont>(new BitmapFont(store->getChild("font")));
}

bool writePng(Image* image, const std::string& path)
{
    if (!image || image->getBytesPerPixel() != 4 || !image->lock())
        return false;
    const int width = image->getWidth();
    const int height = image->getHeight();
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = image->row32(y);
        for (int x = 0; x < width; ++x) {
            uint8_t* out = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            out[0] = static_cast<uint8_t>(row[x] >> 16);
            out[1] = static_cast<uint8_t>(row[x] >> 8);
            out[2] = static_cast<uint8_t>(row[x]);
            out[3] = static_cast<uint8_t>(row[x] >> 24);
        }
    }
    image->unlock();
    png_image out{};
    out.version = PNG_IMAGE_VERSION;
    out.width = static_cast<png_uint_32>(width);
    out.height = static_cast<png_uint_32>(height);
    out.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&out, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}
