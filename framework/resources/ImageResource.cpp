#include "framework/resources/ImageResource.h"

#include <atomic>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/MemoryBuffer.h"

TT_DEFINE_RECORD(ImageResource, &ResourceObject::classRecord);
TT_REGISTER_CREATOR(Image, ImageResource);

namespace {

// PNG first, then JPEG (never for a mask-only image).
RefPointer<Image> decodeFile(int fileMode, const std::string& path, uint8_t flags, bool maskOnly)
{
    MemoryBuffer buffer;
    if (!loadFileToBuffer(fileMode, path, buffer))
        return nullptr;
    const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.getData());
    RefPointer<Image> image = loadPngMemory(bytes, buffer.getByteCount(), flags);
    if (!image && !maskOnly)
        image = loadJpegMemory(bytes, buffer.getByteCount());
    return image;
}

// A fast level: the loader thread pays for it, and the game's flat art
// shrinks nearly as well as at the slowest.
constexpr int kCompressOnLoadLevel = 1;

std::atomic<bool> compressOnLoad {false};

} // namespace

void ImageResource::setCompressOnLoad(bool enabled)
{
    compressOnLoad.store(enabled);
}

bool ImageResource::getCompressOnLoad()
{
    return compressOnLoad.load();
}

ImageResource::ImageResource(AbstractProperty* configuration) : ResourceObject(configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    maskFileName = node->getString("mask");
    colour = node->getInt("color", 0);
    useAlphaChannel = node->getBool("usealphachannel", true);
    alpha = node->getBool("alpha", false);
    frameCount = node->getInt("nrofframes", 1);
    compressible = node->getBool("compress", true);
}

ImageResource::ImageResource(const std::string& name, const std::string& mask, int mode)
    : ResourceObject(name, mode), maskFileName(mask)
{
}

Image* ImageResource::getImage() const
{
    return objectCast<Image>(getContent());
}

bool ImageResource::isSameResource(const ResourceObject& other) const
{
    const auto* image = objectCast<ImageResource>(&other);
    return image && image->maskFileName == maskFileName && image->colour == colour &&
           ResourceObject::isSameResource(other);
}

RefPointer<BaseObject> ImageResource::buildContent(bool& failed)
{
    const bool maskOnly = fileName.empty();
    const std::string path = maskOnly ? maskFileName : fileName;
    const uint8_t flags = static_cast<uint8_t>((maskOnly ? DecodeOnlyMask : 0) | (alpha ? DecodeGreyAsAlpha : 0));
    RefPointer<Image> image = path.empty() ? nullptr : decodeFile(fileMode, path, flags, maskOnly);
    if (!image) {
        failed = true;
        return nullptr;
    }
    image->setHasAlphaChannel(useAlphaChannel);
    image->setFrameCount(frameCount);
    if (!maskOnly && !maskFileName.empty()) {
        RefPointer<ImageResource> mask(new ImageResource(std::string(), maskFileName, fileMode));
        bool maskFailed = false;
        RefPointer<BaseObject> maskContent = mask->buildContent(maskFailed);
        Image* maskImage = objectCast<Image>(maskContent.get());
        if (maskImage) {
            // The mask's values become the picture's alpha; its colours stay.
            RefPointer<Graphics> graphics = image->getGraphics();
            if (graphics)
                graphics->blitChannel(maskImage, Graphics::ChannelAlpha, 0, 0);
        } else {
            failed = true;
        }
    }
    const int64_t rawBytes = int64_t(image->getWidth()) * image->getHeight() * (image->getBytesPerPixel() + (image->getAlphaPlane() ? 1 : 0));
    if (compressOnLoad.load() && compressible && rawBytes >= kCompressOnLoadBytes)
        image->compressKeepingCopy(kCompressOnLoadLevel);
    return RefPointer<BaseObject>(image.get());
}

std::string ImageResource::describe() const
{
    return std::string("Object: ") + (getContent() ? "not 0" : "NULL") + "; Color: " + std::to_string(colour) +
           "; Only Mask: " + (fileName.empty() ? "true" : "false") + "; Mask File Name: " + maskFileName + "; ";
}
