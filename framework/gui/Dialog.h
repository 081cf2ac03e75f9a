#pragma once

#include <string>

#include "framework/core/GuiMethod.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/AbstractPainter.h"
#include "framework/gui/Panel.h"
#include "framework/platform/iInputListenerContainer.h"

class PropertyNode;

// A panel that takes input through a listener container of its own, can be
// dragged, is framed by a painter or a background image, can draw its
// components into one buffered image, and is shown and hidden inside a scene.
//
// A modal dialog's container answers that it took every event, so nothing
// beneath it hears anything while it is shown; with "modal" false it passes
// on what none of its listeners took.
class Dialog : public Panel, public iInputListener {
    TT_CLASS_RECORD(Dialog)
public:
    explicit Dialog(AbstractProperty* configuration);
    ~Dialog() override;

    Interface* getInterface(const ClassRecord* record) override;
    void setWidth(int value) override;
    void setHeight(int value) override;
    void addComponent(GameNode* node) override;
    void removeComponent(GameNode* node) override;
    void render(Graphics* graphics) override;

    // Centres (with autocenter), asks for a redraw and turns input on.
    virtual void show();
    virtual void hide();
    // Repaints the frame when needed and rebuilds the shown image.
    virtual void refreshBuffer();
    virtual void renderIntoBuffer(Sprite* sprite);
    // Finds the component, puts it first among the dialog's listeners and
    // binds its callback. Returns the component, or null (logged) when none has the name.
    virtual GameNode* bindComponent(const std::string& name, const GuiMethod& method);

    // Puts the component's listener first in the dialog's container (a
    // swallowing container resets the others first) and binds its callback
    // when it has one. Nothing for null.
    void addListener(GameNode* component, const GuiMethod& method = GuiMethod());
    // Hides the dialog in the current scene and makes the scene forget it,
    // so the next lookup of its name builds it afresh.
    void close();

    void setPainter(AbstractPainter* newPainter);
    AbstractPainter* getPainter() const { return painter.get(); }
    void setBackground(Image* image);
    Image* getFrameImage() const { return frameImage.get(); }
    Graphics* getBufferGraphics() const { return bufferGraphics.get(); }

    iInputListenerContainer& getInputContainer() { return inputContainer; }
    PropertyNode* getConfiguration() const { return configuration.get(); }
    bool isBufferDirty() const { return bufferDirty; }
    void setBufferDirty(bool value) { bufferDirty = value; }
    bool isMovable() const { return movable; }
    void setMovable(bool value) { movable = value; }
    bool isModal() const { return modal; }
    void setModal(bool value)
    {
        modal = value;
        inputContainer.setSwallowAll(value);
    }
    void setUseBuffer(bool value);
    bool isUseBuffer() const { return useBuffer; }
    void setAutoEnlarge(bool value);
    void setAutoCenter(bool value) { autoCenter = value; }
    int getDragState() const { return dragState; }
    // Counts rebuilds of the shown image (tests watch the buffer with it).
    int getRefreshCount() const { return refreshCount; }

    // iInputListener: the dialog's own listener drags it.
    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;
    void resetInput() override;

protected:
    // True when a visible, not removed sprite below the component root
    // (nested dialogs excluded) carries the dirty flag.
    bool hasDirtyComponents() const;
    static int windowBytesPerPixel();
    static void windowSize(int& width, int& height);

    RefPointer<Graphics> bufferGraphics;
    RefPointer<Image> frameImage;
    RefPointer<PropertyNode> configuration;
    iInputListenerContainer inputContainer;

private:
    void drawComponents(GameNode* node, bool isRoot);
    // Takes the node and everything below it out of the input container.
    void forgetListenersBelow(GameNode* node);
    void readConfiguration(PropertyNode* node);

    bool useBuffer = false;
    int lastX = 0;
    int lastY = 0;
    int pressX = 0;
    int pressY = 0;
    bool movable = false;
    int dragState = 0;
    RefPointer<AbstractPainter> painter;
    int requestedWidth = -1;
    int requestedHeight = -1;
    bool bufferDirty = false;
    bool autoEnlarge = true;
    bool autoCenter = false;
    bool modal = true;
    int refreshCount = 0;
};
