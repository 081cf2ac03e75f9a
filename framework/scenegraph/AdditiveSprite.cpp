#include "framework/scenegraph/AdditiveSprite.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Graphics.h"

TT_DEFINE_RECORD(AdditiveSprite, &Sprite::classRecord);

TT_REGISTER_CLASS(AdditiveSprite);

void AdditiveSprite::render(Graphics* graphics)
{
    if (!graphics) {
        Sprite::render(graphics);
        return;
    }
    // Only for this drawing; whatever mode the caller had is restored.
    const int32_t savedMode = graphics->getBlendMode();
    graphics->setBlendMode(Graphics::BlendAdditive);
    Sprite::render(graphics);
    graphics->setBlendMode(savedMode);
}
