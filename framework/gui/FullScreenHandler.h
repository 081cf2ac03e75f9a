#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/gui/Button.h"
#include "framework/platform/InputHandler.h"
#include "framework/platform/MessageHandler.h"
#include "framework/scenegraph/GameNode.h"

class PropertyNode;
class Scene;

// In full screen there is no window frame: this node supplies its three
// buttons (minimise, leave full screen, quit) on top of the current scene,
// with an input handler of its own so they work whatever the scene does. It
// also hears the window's mode-switch, mute and unmute messages.
class FullScreenHandler : public GameNode, public iMessageListener {
    TT_CLASS_RECORD(FullScreenHandler)
public:
    static FullScreenHandler* instance;
    // Builds the handler from the named template and keeps it as the global one.
    static FullScreenHandler* create(const std::string& name);
    static void destroyInstance();
    // Shows the handler when wanted and in full screen, and moves it to the
    // end of the scene's tree (the current scene's, or a transition's target, when null).
    static void refresh(Scene* scene = nullptr);
    // Takes input only while active and in full screen; otherwise its buttons are reset.
    static void setActive(bool active);
    // Moves the handler to the end of its tree, so its buttons stay on top.
    static void moveToTop();

    explicit FullScreenHandler(AbstractProperty* configuration);
    ~FullScreenHandler() override;

    void onMessage(uint32_t message, uint32_t wParam, uint32_t lParam) override;

    iInputListenerContainer& getContainer() { return container; }
    InputHandler* getInputHandler() const { return inputHandler.get(); }
    Button* getQuitButton() const { return quitButton.get(); }
    Button* getRestoreButton() const { return restoreButton.get(); }
    Button* getMinimizeButton() const { return minimizeButton.get(); }

    // Set by the first scene that wants the buttons; never cleared.
    bool showFlag = false;

private:
    RefPointer<Button> makeButton(PropertyNode* node, const char* key, GuiMethod::Function action);
    static int onQuit(void* context, BaseObject* argument);
    static int onRestore(void* context, BaseObject* argument);
    static int onMinimize(void* context, BaseObject* argument);

    iInputListenerContainer container;
    RefPointer<InputHandler> inputHandler;
    RefPointer<Button> minimizeButton;
    RefPointer<Button> restoreButton;
    RefPointer<Button> quitButton;
};
