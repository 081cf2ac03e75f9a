#pragma once

#include <cstdint>
#include <vector>

#include "framework/resources/ResourceObject.h"

class BitmapFont;
class Image;
class PropertyNode;

// A bitmap font resource ("Font"): a property file whose node "font" holds
// the glyph tables and whose vector "layers" (inside that node, or beside it)
// names the layer sheets ("image" and/or "mask", beside the font file) with
// "padding" and "color". The file and its sheets are read in this resource's
// own file mode.
class FontResource : public ResourceObject {
    TT_CLASS_RECORD(FontResource)
public:
    explicit FontResource(AbstractProperty* configuration);

    BitmapFont* getFont() const;
    bool isSameResource(const ResourceObject& other) const override;

    // One loaded layer sheet with its settings from the font file.
    struct LayerSheet {
        RefPointer<Image> image;
        int32_t padding = 0;
        uint32_t colour = 0;
    };
    // Makes the font from its "font" node and its loaded layer sheets.
    static RefPointer<BitmapFont> buildFont(const PropertyNode& fontNode, const std::vector<LayerSheet>& layers);

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override;
    std::string describe() const override;
};
