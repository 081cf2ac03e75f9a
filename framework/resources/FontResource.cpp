#include "framework/resources/FontResource.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"
#include "framework/platform/FileNames.h"
#include "framework/resources/ImageResource.h"

TT_DEFINE_RECORD(FontResource, &ResourceObject::classRecord);
TT_REGISTER_CREATOR(Font, FontResource);

FontResource::FontResource(AbstractProperty* configuration) : ResourceObject(configuration)
{
}

BitmapFont* FontResource::getFont() const
{
    return objectCast<BitmapFont>(getContent());
}

bool FontResource::isSameResource(const ResourceObject& other) const
{
    return objectCast<FontResource>(&other) && ResourceObject::isSameResource(other);
}

RefPointer<BitmapFont> FontResource::buildFont(const PropertyNode&, const std::vector<LayerSheet>&)
{
    // The glyph tables and layers are read by the bitmap font itself once it
    // can be built from its node; until then the font is an empty one.
    return RefPointer<BitmapFont>(new BitmapFont());
}

RefPointer<BaseObject> FontResource::buildContent(bool& failed)
{
    // The mode is passed down explicitly; the archive's default is never changed.
    RefPointer<PropertyStore> store(new PropertyStore(fileName));
    store->setFileMode(fileMode);
    if (!store->load()) {
        failed = true;
        return nullptr;
    }
    const std::string folder = getDirectoryPart(fileName);
    std::vector<LayerSheet> layers;
    for (const RefPointer<AbstractProperty>& element : *store->getVector("layers")) {
        const PropertyNode* layer = element->asNode();
        const std::string image = layer->hasChild("image") ? folder + "/" + layer->getString("image") : std::string();
        const std::string mask = layer->hasChild("mask") ? folder + "/" + layer->getString("mask") : std::string();
        RefPointer<ImageResource> sheet(new ImageResource(image, mask, fileMode));
        sheet->load();
        Image* loaded = sheet->getImage();
        if (sheet->hasError() || !loaded) {
            LOG_ERROR("font \"" + fileName + "\": layer sheet \"" + (image.empty() ? mask : image) +
                      "\" could not be loaded");
            failed = true;
            continue;
        }
        LayerSheet sheetInfo;
        sheetInfo.image = loaded;
        sheetInfo.padding = layer->getInt("padding", 0);
        sheetInfo.colour = static_cast<uint32_t>(layer->getInt("color", 0));
        layers.push_back(sheetInfo);
    }
    RefPointer<BitmapFont> font = buildFont(*store->getNode("font"), layers);
    return RefPointer<BaseObject>(font.get());
}

std::string FontResource::describe() const
{
    return std::string("Object: ") + (getContent() ? "not 0" : "NULL") + "; ";
}
