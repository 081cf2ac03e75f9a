#include "framework/resources/FontResource.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/FontLayer.h"
#include "framework/graphics/Image.h"
#include "framework/platform/FileNames.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceManager.h"

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

RefPointer<BitmapFont> FontResource::buildFont(const PropertyNode& fontNode, const std::vector<LayerSheet>& layers)
{
    RefPointer<BitmapFont> font(new BitmapFont(&fontNode));
    for (const LayerSheet& sheet : layers)
        font->addLayer(new FontLayer(sheet.padding, sheet.colour, sheet.image.get()));
    return font;
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
    // The baked fonts keep "layers" inside the "font" node; a file may also
    // keep it beside the node.
    const PropertyVector* layerList = store->getNode("font")->hasChild("layers")
                                          ? store->getNode("font")->getVector("layers")
                                          : store->getVector("layers");
    for (const RefPointer<AbstractProperty>& element : *layerList) {
        // A font is several pictures, each slow to decode on a busy machine.
        if (ResourceManager::stopping())
            return nullptr;
        const PropertyNode* layer = element->asNode();
        const std::string image = layer->hasChild("image") ? folder + "/" + layer->getString("image") : std::string();
        const std::string mask = layer->hasChild("mask") ? folder + "/" + layer->getString("mask") : std::string();
        RefPointer<ImageResource> sheet(new ImageResource(image, mask, fileMode));
        sheet->load();
        if (ResourceManager::stopping())
            return nullptr;
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
