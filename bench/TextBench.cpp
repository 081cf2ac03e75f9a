// Text costs: measuring a line, laying out and rendering a wrapped label, a
// styled text with markup, and drawing a label's cached image each frame.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/FontResource.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/LabelLayout.h"

namespace {

RefPointer<BitmapFont> loadFont(const std::string& name)
{
    setLogEcho(false);
    const std::string xml = "<root><Font id=\"F\" file=\"media/fonts/" + name + ".xml\" archive=\"file\"/></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    store->loadFromBuffer(xml.data(), xml.size());
    if (chdir(TORTELUNE_SOURCE_DIR) != 0)
        return nullptr;
    RefPointer<FontResource> resource(new FontResource(store->getChild("F")));
    resource->load();
    return resource->getFont();
}

BitmapFont* dialogFont()
{
    static RefPointer<BitmapFont> font = loadFont("dialog");
    return font.get();
}

BitmapFont* titleFont()
{
    static RefPointer<BitmapFont> font = loadFont("title");
    return font.get();
}

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    if (section != "fonts")
        return nullptr;
    if (name == "title")
        return titleFont();
    return dialogFont();
}

const WString kParagraph =
    u"Three éclairs and a crème brûlée: the customers are delighted, and the chef asks for two more "
    u"trays of raspberry tarts before the evening rush begins in the little bakery on the corner.";

void measureLine(benchmark::State& state)
{
    BitmapFont* font = dialogFont();
    const WString line = u"The quick brown fox jumps over the lazy dog, 0123456789!";
    for (auto _ : state)
        benchmark::DoNotOptimize(font->measure(line, 0, -1, BitmapFont::MetricRight));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(line.size()));
}
BENCHMARK(measureLine);

void wrappedLabelLayout(benchmark::State& state)
{
    RefPointer<Label> label(new Label(dialogFont(), 0, 0, 360, 0, LabelLayout::WrapWordWrap));
    bool flip = false;
    for (auto _ : state) {
        label->setText(flip ? kParagraph : kParagraph + u"!");
        flip = !flip;
        label->updateLayout();
    }
}
BENCHMARK(wrappedLabelLayout)->Unit(benchmark::kMicrosecond);

void styledTextRefresh(benchmark::State& state)
{
    ResourceLookup::install(&lookUp);
    RefPointer<StyleLabel> label(new StyleLabel(dialogFont(), 0, 0, 500, 0, StyleLabel::WrapWordWrap));
    const WString markup = u"[font=title,fonts]Recipe[/font][br][color=#ffc0306a]Raspberry[/color] tart: " +
                           kParagraph + u"[br][alignh=center]Centred[br][/alignh]";
    label->setText(markup);
    for (auto _ : state)
        label->refresh();
    ResourceLookup::install(nullptr);
}
BENCHMARK(styledTextRefresh)->Unit(benchmark::kMicrosecond);

void cachedLabelPerFrame(benchmark::State& state)
{
    RefPointer<Label> label(new Label(titleFont(), 100, 100, 0, 0, 0));
    label->setText(u"Score: 1,234,567");
    RefPointer<Image> frame = Image::create(800, 600, 4);
    RefPointer<Graphics> g = frame->getGraphics();
    for (auto _ : state)
        label->render(g.get());
}
BENCHMARK(cachedLabelPerFrame)->Unit(benchmark::kMicrosecond);

} // namespace
