// Feeds arbitrary text to the styled label's markup parser and layout, with
// the baked test fonts and a small picture reachable by the tags. The first
// byte picks the wrap style, the second the label's width; the rest is UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/FontLayer.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/ResourceLookup.h"

namespace {

std::string sourceDir()
{
    if (const char* fromEnvironment = std::getenv("TORTELUNE_SOURCE_DIR"))
        return fromEnvironment;
    const std::string file = __FILE__;
    return file.substr(0, file.rfind("/fuzz/"));
}

RefPointer<BitmapFont> loadFont(const std::string& name)
{
    const std::string path = sourceDir() + "/tests/data/fonts/" + name + ".xml";
    RefPointer<PropertyStore> store(new PropertyStore(path));
    store->setFileMode(1);
    if (!store->load())
        return nullptr;
    RefPointer<BitmapFont> font(new BitmapFont(store->getChild("font")));
    const PropertyVector* layers = store->getNode("font")->getVector("layers");
    for (int i = 0; i < layers->getCount(); ++i) {
        const PropertyNode* entry = layers->getNodeAt(i);
        const bool mask = !entry->hasChild("image");
        RefPointer<Image> sheet = loadPngFile(
            sourceDir() + "/tests/data/fonts/" + entry->getString(mask ? "mask" : "image"), mask ? DecodeOnlyMask : 0);
        if (!sheet)
            return nullptr;
        font->addLayer(new FontLayer(entry->getInt("padding"), static_cast<uint32_t>(entry->getInt("color")),
                                     sheet.get()));
    }
    return font;
}

struct Resources {
    RefPointer<BitmapFont> font = loadFont("testfont");
    RefPointer<BitmapFont> mask = loadFont("testmask");
    RefPointer<Image> picture = Image::create(12, 9, 4);
};

Resources* resources = nullptr;

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    if (section == "fonts" && name == "a")
        return resources->font.get();
    if (section == "fonts" && name == "m")
        return resources->mask.get();
    if (section == "pics" && name == "p")
        return resources->picture.get();
    return nullptr;
}

void setUp()
{
    setLogEcho(false);
    setLogLevel(LogLevel::Error);
    resources = new Resources();
    if (!resources->font || !resources->mask)
        __builtin_trap();  // the fonts must be found for the run to mean anything
    ResourceLookup::install(&lookUp);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (setUp(), true);
    (void)ready;
    if (size < 2 || size > 2048)
        return 0;
    const int32_t wrapStyle = data[0] % 4 == 3 ? -1 : data[0] % 4;
    const int32_t width = data[1] * 3;
    const WString text = toWideString(std::string(reinterpret_cast<const char*>(data) + 2, size - 2));

    RefPointer<StyleLabel> label(new StyleLabel(resources->font.get(), 0, 0, width, 0, wrapStyle));
    label->setText(text);
    if (label->getWidth() < 1 || label->getHeight() < 1)
        __builtin_trap();
    // Word wrap and truncation never widen the label by themselves.
    const bool widthTag = text.find(u"width") != WString::npos || text.find(u"wrapstyle") != WString::npos;
    if (!widthTag && wrapStyle != 0 && wrapStyle != -1 && label->getWidth() != std::max(width, 1))
        __builtin_trap();
    // Laying the same text out again gives the same words.
    size_t words = 0;
    for (const RefPointer<StyleLine>& line : label->getState().lines)
        words += line->words.size();
    label->refresh();
    size_t again = 0;
    for (const RefPointer<StyleLine>& line : label->getState().lines)
        again += line->words.size();
    if (again != words && text.find(u"[/") == WString::npos && text.find(u"[font") == WString::npos &&
        text.find(u"[color") == WString::npos && text.find(u"[align") == WString::npos &&
        text.find(u"[tab") == WString::npos && !widthTag)
        __builtin_trap();
    return 0;
}
