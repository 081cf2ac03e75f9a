#pragma once

#include <list>
#include <string>
#include <unordered_map>

#include "framework/core/PropertyVector.h"
#include "framework/core/RefPointer.h"
#include "framework/gui/Dialog.h"
#include "framework/platform/InputHandler.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/MoveTask.h"
#include "framework/scenegraph/PurgeTask.h"
#include "framework/scenegraph/RenderTask.h"

// One screen of the game: a dialog that owns the root of its node tree, the
// tasks that draw, animate and clean that tree, the input handler that hears
// the window, and the dialogs it has opened, by name.
class Scene : public Dialog {
    TT_CLASS_RECORD(Scene)
public:
    enum State : int { NeverShown = 0, Current = 1, Loaded = 2 };

    explicit Scene(AbstractProperty* configuration);
    ~Scene() override;

    // Draws only the background image, opaque, at the target's top-left corner.
    void render(Graphics* graphics) override;

    // Enters the scene: loads content the first time, turns input on, points
    // the tooltip at this tree and listens to the window.
    void show() override;
    // Leaves it: input off, window no longer heard, removed nodes purged at once.
    void hide() override;
    // Builds the "scenecomponents" and the "scenebackground" on the first show.
    virtual void loadContent();
    // Ends the program (posts the quit message).
    virtual void quit();

    // The dialog of that name (an empty name stands for the class name),
    // built on first use from the dialogs section under `className`. A shown
    // one is hidden first. Null (logged, nothing stored) when there is no
    // such definition or it makes no dialog.
    Dialog* getOrCreateDialog(std::string name, const std::string& className);
    void showDialog(Dialog* dialog);
    void hideDialog(Dialog* dialog);
    bool isDialogShown(const std::string& name) const;
    Dialog* getDialog(const std::string& name) const;
    // Hides the dialog when shown and drops it from the dialogs map.
    void forgetDialog(Dialog* dialog);
    const std::list<RefPointer<Dialog>>& getShownDialogs() const { return shownDialogs; }
    const std::unordered_map<std::string, RefPointer<Dialog>>& getDialogs() const { return dialogs; }

    int getState() const { return state; }
    void setState(int value) { state = value; }
    GameTree* getTree() const { return tree.get(); }
    AnimTree* getAnimTree() const { return animTree.get(); }
    InputHandler* getInputHandler() const { return inputHandler.get(); }
    MoveTask* getMoveTask() const { return moveTask.get(); }
    RenderTask* getRenderTask() const { return renderTask.get(); }
    PurgeTask* getPurgeTask() const { return purgeTask.get(); }

private:
    RefPointer<MoveTask> moveTask;
    RefPointer<RenderTask> renderTask;
    RefPointer<PurgeTask> purgeTask;
    RefPointer<GameTree> tree;
    RefPointer<AnimTree> animTree;
    RefPointer<InputHandler> inputHandler;
    int state = NeverShown;
    std::unordered_map<std::string, RefPointer<Dialog>> dialogs;
    std::list<RefPointer<Dialog>> shownDialogs;
    RefPointer<PropertyVector> sceneComponents;
};
