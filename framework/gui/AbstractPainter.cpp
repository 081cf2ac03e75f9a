#include "framework/gui/AbstractPainter.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyVector.h"
#include "framework/resources/ResourceLookup.h"

TT_DEFINE_RECORD(AbstractPainter, &BaseObject::classRecord);

AbstractPainter::AbstractPainter(AbstractProperty* configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    if (node->getChild("section")) {
        section = node->getString("section");
        changed = true;
        imagesLoaded = false;
    }
    if (const AbstractProperty* names = node->getChild("images")) {
        const PropertyVector* list = names->asVector();
        for (int32_t i = 0; i < list->getCount(); ++i)
            imageNames.push_back(list->getValueAt(i)->getString());
    }
}

void AbstractPainter::lookUpImages()
{
    if (imagesLoaded)
        return;
    imagesLoaded = true;
    images.assign(imageNames.size(), nullptr);
    for (size_t i = 0; i < imageNames.size(); ++i) {
        if (imageNames[i].empty())
            continue;
        images[i] = ResourceLookup::findAs<Image>(imageNames[i], section);
        if (!images[i])
            LOG_WARNING("painter: no image \"" + imageNames[i] + "\" in section \"" + section + "\"");
    }
}

Image* AbstractPainter::getImage(int32_t index)
{
    lookUpImages();
    if (index < 0 || static_cast<size_t>(index) >= images.size())
        return nullptr;
    return images[static_cast<size_t>(index)].get();
}

int32_t AbstractPainter::pieceWidth(int32_t index)
{
    const Image* image = getImage(index);
    return image ? image->getWidth() : 0;
}

int32_t AbstractPainter::pieceHeight(int32_t index)
{
    const Image* image = getImage(index);
    return image ? image->getHeight() : 0;
}
