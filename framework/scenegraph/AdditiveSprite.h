#pragma once

#include "framework/scenegraph/Sprite.h"

// A sprite whose image is added onto what lies beneath instead of blended
// over it: glows, sparkles and light effects.
class AdditiveSprite : public Sprite {
    TT_CLASS_RECORD(AdditiveSprite)
public:
    explicit AdditiveSprite(AbstractProperty* configuration) : Sprite(configuration) {}
    AdditiveSprite(int x, int y, Image* image) : Sprite(x, y, image) {}

    void render(Graphics* graphics) override;
};
