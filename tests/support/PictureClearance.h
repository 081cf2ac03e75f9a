#pragma once

#include <initializer_list>
#include <string>

#include "framework/core/RefPointer.h"

class GameNode;
class Image;
class Scene;
class Sprite;

// A rectangle of the screen, right and bottom exclusive.
struct ScreenBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool overlaps(const ScreenBox& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool holds(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    ScreenBox grownBy(int margin) const { return {left - margin, top - margin, right + margin, bottom + margin}; }
    std::string text() const;
};

// Where a sprite (or label) is drawn on the screen, from its place, anchor and size.
ScreenBox screenBoxOf(Sprite* sprite);
// The same for a node that is a sprite; an empty box for any other.
ScreenBox screenBoxOf(GameNode* node);
// Where a node's pixels lie on the screen as the scene draws it: the box of
// what changes when the node is hidden. Empty when it shows nothing.
ScreenBox inkBoxOf(Scene* scene, GameNode* node);

// The current frame of the scene and its dialogs as an 800 x 600 picture.
RefPointer<Image> renderedScene(Scene* scene);
// How many pixels of the two pictures differ inside the box.
int changedPixelsInside(Image* before, Image* after, const ScreenBox& box);

// The pixels `covering` changes inside `box`: the scene is drawn with the
// nodes shown and again with them hidden (nothing else moves in between).
int pixelsCoveredBy(Scene* scene, const std::initializer_list<GameNode*>& covering, const ScreenBox& box);
