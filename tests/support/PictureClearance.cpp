#include "support/PictureClearance.h"

#include <algorithm>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"

std::string ScreenBox::text() const
{
    return "(" + std::to_string(left) + ", " + std::to_string(top) + ") to (" + std::to_string(right) + ", " +
           std::to_string(bottom) + ")";
}

ScreenBox screenBoxOf(Sprite* sprite)
{
    if (!sprite)
        return {};
    const int left = sprite->getAbsoluteX() - static_cast<int>(sprite->getAnchorPoint().x);
    const int top = sprite->getAbsoluteY() - static_cast<int>(sprite->getAnchorPoint().y);
    return {left, top, left + sprite->getWidth(), top + sprite->getHeight()};
}

ScreenBox screenBoxOf(GameNode* node)
{
    return screenBoxOf(dynamic_cast<Sprite*>(node));
}

RefPointer<Image> renderedScene(Scene* scene)
{
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    if (scene)
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    return canvas;
}

namespace {

// Calls `visit` for each pixel position inside the box and both pictures
// whose colours differ.
template <class Visit>
void forEachChange(Image* before, Image* after, const ScreenBox& box, Visit visit)
{
    if (!before || !after)
        return;
    const int right = std::min({box.right, before->getWidth(), after->getWidth()});
    const int bottom = std::min({box.bottom, before->getHeight(), after->getHeight()});
    before->lock();
    after->lock();
    for (int y = std::max(0, box.top); y < bottom; ++y)
        for (int x = std::max(0, box.left); x < right; ++x)
            if ((before->row32(y)[x] & 0xFFFFFF) != (after->row32(y)[x] & 0xFFFFFF))
                visit(x, y);
    after->unlock();
    before->unlock();
}

// Draws the scene once with the nodes hidden and gives each its visibility back.
RefPointer<Image> renderedWithout(Scene* scene, const std::vector<GameNode*>& nodes)
{
    std::vector<bool> shown;
    for (GameNode* node : nodes) {
        shown.push_back(node && node->isVisible());
        if (node)
            node->setVisible(false);
    }
    RefPointer<Image> picture = renderedScene(scene);
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i])
            nodes[i]->setVisible(shown[i]);
    return picture;
}

} // namespace

int changedPixelsInside(Image* before, Image* after, const ScreenBox& box)
{
    int count = 0;
    forEachChange(before, after, box, [&](int, int) { ++count; });
    return count;
}

int pixelsCoveredBy(Scene* scene, const std::initializer_list<GameNode*>& covering, const ScreenBox& box)
{
    RefPointer<Image> with = renderedScene(scene);
    RefPointer<Image> without = renderedWithout(scene, std::vector<GameNode*>(covering));
    return changedPixelsInside(with.get(), without.get(), box);
}

ScreenBox inkBoxOf(Scene* scene, GameNode* node)
{
    RefPointer<Image> with = renderedScene(scene);
    RefPointer<Image> without = renderedWithout(scene, {node});
    ScreenBox found {800, 600, 0, 0};
    forEachChange(with.get(), without.get(), {0, 0, 800, 600}, [&](int x, int y) {
        found.left = std::min(found.left, x);
        found.top = std::min(found.top, y);
        found.right = std::max(found.right, x + 1);
        found.bottom = std::max(found.bottom, y + 1);
    });
    return found.isEmpty() ? ScreenBox {} : found;
}
