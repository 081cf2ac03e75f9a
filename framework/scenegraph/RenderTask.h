#pragma once

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "framework/scenegraph/ChangedAreaRenderer.h"
#include "framework/scenegraph/GameNode.h"

class Graphics;

// The scene task that draws a node tree into the window's back buffer each
// frame, again only where it changed since its last frame. Invisible and removed nodes are skipped with their subtrees;
// suspended ones are drawn. Later siblings draw over earlier ones, a parent
// below its children.
class RenderTask : public Task {
    TT_CLASS_RECORD(RenderTask)
public:
    // Where a frame is drawn: the back-buffer graphics (the game window's
    // when none is installed) and the scene manager's current scene (either
    // may answer null).
    struct Environment {
        Graphics* (*graphics)() = nullptr;
        GameNode* (*currentScene)() = nullptr;
    };
    static void setEnvironment(const Environment& environment);

    explicit RenderTask(GameNode* root);

    void run(int elapsedMs) override;
    // The scene is left: its next frame is drawn whole, and the back buffer
    // of this one is not held meanwhile.
    void forgetLastFrame() { renderer.forget(); }

    // Draws one frame outside the frame timer: the visible scene's own
    // drawing first, then the tree.
    static void renderFrame(GameNode* scene, Graphics* graphics, GameNode* root);
    // The node renderer: `node` and its subtree, offset by the ancestors'
    // positions already applied to the graphics.
    static void renderNode(Graphics* graphics, GameNode* node);

private:
    RefPointer<GameNode> root;
    ChangedAreaRenderer renderer;
};
