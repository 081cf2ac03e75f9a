#pragma once

#include <string>

#include "framework/graphics/ImageContainer.h"
#include "framework/resources/ResourceObject.h"

class Image;

// An image resource ("Image"): a PNG (or JPEG) file, optionally with a
// separate mask file drawn over it, or a mask file alone.
class ImageResource : public ResourceObject {
    TT_CLASS_RECORD(ImageResource)
public:
    // Reads "file", "archive", "mask", "color", "usealphachannel", "alpha",
    // "nrofframes" and "compress" (false: never kept compressed, for a large
    // picture that nearly every screen draws).
    explicit ImageResource(AbstractProperty* configuration);
    // An image made from a file and a mask file (either may be empty).
    ImageResource(const std::string& fileName, const std::string& maskFileName, int fileMode = 0);

    Image* getImage() const;
    virtual const std::string& getMaskFileName() const { return maskFileName; }
    virtual bool getUseAlphaChannel() const { return useAlphaChannel; }
    int getColour() const { return colour; }
    int getFrameCount() const { return frameCount; }

    bool isSameResource(const ResourceObject& other) const override;

    // While on, pictures of at least kCompressOnLoadBytes are kept compressed
    // from their loading on (Image::compressKeepingCopy): most of what loads
    // in the background is drawn rarely or later. Off by default; the game
    // turns it on once what it shows at once has loaded.
    static void setCompressOnLoad(bool enabled);
    static bool getCompressOnLoad();
    static constexpr int64_t kCompressOnLoadBytes = 64 * 1024;

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override;
    std::string describe() const override;

private:
    int colour = 0;
    bool useAlphaChannel = true;
    bool alpha = false;
    int frameCount = 1;
    bool compressible = true;
    std::string maskFileName;
};
