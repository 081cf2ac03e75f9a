#include "framework/scenegraph/RenderTask.h"

#include <optional>

#include "framework/graphics/Graphics.h"
#include "framework/platform/GameWindow.h"
#include "framework/scenegraph/IRenderable.h"
#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(RenderTask, &Task::classRecord);

namespace {

RenderTask::Environment environment;

} // namespace

void RenderTask::setEnvironment(const Environment& value)
{
    environment = value;
}

RenderTask::RenderTask(GameNode* root) : root(root) {}

void RenderTask::run(int)
{
    Graphics* graphics = nullptr;
    if (environment.graphics)
        graphics = environment.graphics();
    else if (GameWindow::instance)
        graphics = GameWindow::instance->getGraphics();
    if (!graphics)
        return;
    GameNode* scene = environment.currentScene ? environment.currentScene() : nullptr;
    renderer.render(scene, graphics, root.get());
}

void RenderTask::renderFrame(GameNode* scene, Graphics* graphics, GameNode* root)
{
    if (!graphics)
        return;
    if (scene && scene->isVisible()) {
        if (IRenderable* renderable = interfaceCast<IRenderable>(scene))
            renderable->render(graphics);
    }
    if (root)
        renderNode(graphics, root);
}

void RenderTask::renderNode(Graphics* graphics, GameNode* node)
{
    if (!node->isVisible() || node->isRemoved())
        return;
    // A clipping sprite clips its children too.
    std::optional<Rect> savedClip;
    if (Sprite* sprite = objectCast<Sprite>(node)) {
        if (const std::optional<Rect>& clip = sprite->getClipRect()) {
            savedClip = graphics->getClipRect();
            graphics->setClip(clip->x + graphics->getOffsetX(), clip->y + graphics->getOffsetY(), clip->width,
                              clip->height);
        }
    }
    if (IRenderable* renderable = interfaceCast<IRenderable>(node))
        renderable->render(graphics);
    if (GameNode* child = node->getFirstChild()) {
        const int x = node->getX();
        const int y = node->getY();
        graphics->moveOffset(x, y);
        for (; child; child = child->getNextSibling())
            renderNode(graphics, child);
        graphics->moveOffset(-x, -y);
    }
    if (savedClip)
        graphics->setClip(*savedClip);
}
