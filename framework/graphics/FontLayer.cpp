#include "framework/graphics/FontLayer.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"

TT_DEFINE_RECORD(FontLayer, &BaseObject::classRecord);
TT_REGISTER_CLASS(FontLayer);

namespace {
// A padding beyond this is a broken file, not a font; it would only make the
// sheet offsets overflow.
constexpr int32_t kMaxPadding = 256;
}

FontLayer::FontLayer(AbstractProperty* configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    padding = std::clamp(node->getInt("padding"), 0, kMaxPadding);
    colour = static_cast<uint32_t>(node->getInt("color"));
}

FontLayer::FontLayer(int32_t padding, uint32_t colour, Image* image)
    : padding(std::clamp(padding, 0, kMaxPadding)), colour(colour), image(image)
{
}
