#include "framework/gui/Dialog.h"

#include <cmath>
#include <cstdlib>
#include <functional>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/GuiCallback.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/ToolTip.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/ResourceLookup.h"

TT_DEFINE_RECORD(Dialog, &Panel::classRecord, &iInputListener::classRecord);
TT_REGISTER_CLASS(Dialog);

namespace {

// A drag starts once the pointer is more than this far from the press on either axis.
constexpr int kDragThreshold = 3;

} // namespace

Dialog::Dialog(AbstractProperty* properties) : Panel(properties)
{
    inputContainer.setFocusListener(this);
    inputContainer.addListener(this);
    inputContainer.setSwallowAll(true);
    inputContainer.setInputEnabled(false);
    if (SceneManager::instance) {
        if (ToolTip* toolTip = SceneManager::instance->getToolTip())
            inputContainer.addListener(toolTip, true);
    }
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    configuration = node;
    readConfiguration(node);
}

Dialog::~Dialog() = default;

void Dialog::readConfiguration(PropertyNode* node)
{
    if (node->hasChild("modal")) {
        modal = node->getBool("modal", true);
        inputContainer.setSwallowAll(modal);
    }
    if (node->hasChild("movable"))
        movable = node->getBool("movable", false);
    if (node->hasChild("usebuffer"))
        setUseBuffer(node->getBool("usebuffer", false));
    if (node->hasChild("autoenlarge"))
        setAutoEnlarge(node->getBool("autoenlarge", true));
    if (node->hasChild("autocenter"))
        autoCenter = node->getBool("autocenter", false);

    PropertyNode* painterDefinition = nullptr;
    if (node->hasChild("painter")) {
        painterDefinition = node->getNode("painter");
    } else if (node->hasChild("painterid")) {
        const std::string id = node->getString("painterid");
        painterDefinition = SetupStore::instance ? SetupStore::instance->findTemplate(id) : DUMMY_NODE;
    }
    if (painterDefinition) {
        if (autoEnlarge) {
            setWidth(node->getInt("minwidth", 0));
            setHeight(node->getInt("minheight", 0));
        }
        RefPointer<AbstractPainter> created = ObjectFactoryContainer::createFrom<AbstractPainter>(painterDefinition);
        if (created)
            setPainter(created.get());
        else
            LOG_WARNING("Dialog \"" + getName() + "\": no painter of the type \"" +
                        painterDefinition->getTypeName() + "\"");
    } else {
        requestedWidth = getWidth();
        requestedHeight = getHeight();
    }

    if (node->hasChild("background")) {
        const std::string imageName = node->getString("background");
        const std::string section = node->getString("section");
        RefPointer<Image> image = ResourceLookup::findAs<Image>(imageName, section);
        if (image) {
            setBackground(image.get());
            setWidth(image->getWidth());
            setHeight(image->getHeight());
        } else {
            LOG_WARNING("Dialog \"" + getName() + "\": no background image \"" + imageName + "\" in \"" +
                        section + "\"");
        }
    }
}

Interface* Dialog::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    return Panel::getInterface(record);
}

void Dialog::setUseBuffer(bool value)
{
    if (value == useBuffer)
        return;
    useBuffer = value;
    // The scene's tree walk skips hidden components; they are drawn into the image instead.
    componentRoot->setVisible(!value);
    bufferDirty = true;
}

void Dialog::setAutoEnlarge(bool value)
{
    if (value == autoEnlarge)
        return;
    autoEnlarge = value;
    setWidth(getWidth());
    setHeight(getHeight());
}

void Dialog::setWidth(int value)
{
    requestedWidth = value;
    if (!autoEnlarge || !painter)
        Sprite::setWidth(value);
    else
        Sprite::setWidth(painter->fitWidth(value));
    bufferDirty = true;
    setDirty(true);
}

void Dialog::setHeight(int value)
{
    requestedHeight = value;
    if (!autoEnlarge || !painter)
        Sprite::setHeight(value);
    else
        Sprite::setHeight(painter->fitHeight(value));
    bufferDirty = true;
    setDirty(true);
}

void Dialog::setPainter(AbstractPainter* newPainter)
{
    if (newPainter == painter.get())
        return;
    if (!newPainter) {
        painter = nullptr;
        bufferDirty = true;
    } else {
        painter = newPainter;
        painter->setChanged(true);
    }
    const int width = requestedWidth >= 0 ? requestedWidth : getWidth();
    const int height = requestedHeight >= 0 ? requestedHeight : getHeight();
    setWidth(width);
    setHeight(height);
    setDirty(true);
}

void Dialog::setBackground(Image* image)
{
    if (image == frameImage.get())
        return;
    frameImage = image;
    bufferDirty = true;
}

void Dialog::addComponent(GameNode* node)
{
    Panel::addComponent(node);
    bufferDirty = true;
}

void Dialog::removeComponent(GameNode* node)
{
    Panel::removeComponent(node);
    // The purge frees the node later; until then and after, no input may reach it.
    if (node)
        forgetListenersBelow(node);
    bufferDirty = true;
}

void Dialog::forgetListenersBelow(GameNode* node)
{
    if (iInputListener* listener = interfaceCast<iInputListener>(node)) {
        if (listener != static_cast<iInputListener*>(this))
            inputContainer.removeListener(listener);
    }
    for (GameNode* child = node->getFirstChild(); child; child = child->getNextSibling())
        forgetListenersBelow(child);
}

int Dialog::windowBytesPerPixel()
{
    return GameWindow::instance ? GameWindow::instance->getBytesPerPixel() : 4;
}

void Dialog::windowSize(int& width, int& height)
{
    width = GameWindow::instance ? GameWindow::instance->getWidth() : 800;
    height = GameWindow::instance ? GameWindow::instance->getHeight() : 600;
}

void Dialog::show()
{
    if (autoCenter) {
        int windowWidth = 0, windowHeight = 0;
        windowSize(windowWidth, windowHeight);
        setPosition((windowWidth - getWidth()) / 2, (windowHeight - getHeight()) / 2);
    }
    bufferDirty = true;
    inputContainer.setInputEnabled(true);
}

void Dialog::hide()
{
    inputContainer.setInputEnabled(false);
}

GameNode* Dialog::bindComponent(const std::string& componentName, const GuiMethod& method)
{
    GameNode* component = getComponent(componentName);
    if (!component) {
        LOG_WARNING("Dialog \"" + getName() + "\" has no component \"" + componentName + "\" to bind");
        return nullptr;
    }
    addListener(component, method);
    return component;
}

void Dialog::addListener(GameNode* component, const GuiMethod& method)
{
    if (!component)
        return;
    if (iInputListener* listener = interfaceCast<iInputListener>(component)) {
        inputContainer.removeListener(listener);
        iInputListenerContainer* nested = listener->asInputContainer();
        if (nested && nested->isSwallowAll())
            inputContainer.resetInput();
        inputContainer.addListener(listener, true);
    }
    if (method.isBound()) {
        if (GuiCallback* callback = GuiCallback::from(interfaceCast<iGuiMethod>(component)))
            callback->setCallback(method);
    }
}

void Dialog::close()
{
    if (!SceneManager::instance)
        return;
    Scene* scene = SceneManager::instance->getCurrentScene();
    if (scene && scene != this)
        scene->forgetDialog(this);
}

bool Dialog::hasDirtyComponents() const
{
    // The component root always counts as visible; its siblings are not components.
    bool found = false;
    const std::function<void(GameNode*, bool)> walk = [&](GameNode* node, bool isRoot) {
        for (; node && !found; node = isRoot ? nullptr : node->getNextSibling()) {
            if (node->isRemoved() || (!isRoot && !node->isVisible()))
                continue;
            Sprite* sprite = objectCast<Sprite>(node);
            if (sprite && sprite->isDirty()) {
                found = true;
                return;
            }
            if (!objectCast<Dialog>(node))
                walk(node->getFirstChild(), false);
        }
    };
    walk(componentRoot.get(), true);
    return found;
}

void Dialog::render(Graphics* graphics)
{
    if (useBuffer && hasDirtyComponents())
        bufferDirty = true;
    if (bufferDirty || (painter && painter->isChanged()))
        refreshBuffer();
    Sprite::render(graphics);
}

void Dialog::refreshBuffer()
{
    if (painter) {
        if (!frameImage || frameImage->getWidth() != getWidth() || frameImage->getHeight() != getHeight()) {
            frameImage = Image::create(getWidth(), getHeight(), windowBytesPerPixel());
            painter->setChanged(true);
        }
        if (painter->isChanged() && frameImage) {
            RefPointer<Graphics> frameGraphics = frameImage->getGraphics();
            if (frameGraphics)
                painter->paint(frameGraphics.get());
            painter->setChanged(false);
            bufferDirty = true;
        }
    }
    if (frameImage && bufferDirty) {
        RefPointer<Image> shown = Image::clone(frameImage.get());
        if (shown) {
            const int width = getWidth();
            const int height = getHeight();
            const int keptWidth = requestedWidth;
            const int keptHeight = requestedHeight;
            setImage(shown.get());
            // The image may be smaller than the dialog (a background picture); the size stays,
            // and so does the size asked for, from which a later painter fits again.
            Sprite::setWidth(width);
            Sprite::setHeight(height);
            requestedWidth = keptWidth;
            requestedHeight = keptHeight;
            bufferGraphics = shown->getGraphics();
            if (useBuffer && bufferGraphics) {
                const PointF2 anchor = getAnchorPoint();
                const int anchorX = static_cast<int>(std::lround(anchor.x));
                const int anchorY = static_cast<int>(std::lround(anchor.y));
                bufferGraphics->moveOffset(anchorX, anchorY);
                drawComponents(componentRoot.get(), true);
                bufferGraphics->moveOffset(-anchorX, -anchorY);
            }
            ++refreshCount;
        }
        bufferDirty = false;
        setDirty(true);
    }
}

void Dialog::drawComponents(GameNode* node, bool isRoot)
{
    Graphics* graphics = bufferGraphics.get();
    for (; node; node = isRoot ? nullptr : node->getNextSibling()) {
        if (node->isRemoved() || (!isRoot && !node->isVisible()))
            continue;
        if (Sprite* sprite = objectCast<Sprite>(node)) {
            // A sprite's own clip is taken from the buffer's offset while it draws.
            renderIntoBuffer(sprite);
            sprite->setDirty(false);
        }
        if (GameNode* child = node->getFirstChild()) {
            graphics->moveOffset(node->getX(), node->getY());
            drawComponents(child, false);
            graphics->moveOffset(-node->getX(), -node->getY());
        }
    }
}

void Dialog::renderIntoBuffer(Sprite* sprite)
{
    if (!bufferGraphics || !sprite)
        return;
    if (IRenderable* renderable = interfaceCast<IRenderable>(sprite))
        renderable->render(bufferGraphics.get());
}

bool Dialog::onLeftDown(int x, int y, int, bool)
{
    const bool hit = containsPoint(x, y);
    if (hit && movable) {
        pressX = lastX = x;
        pressY = lastY = y;
        dragState = 1;
    }
    return hit;
}

bool Dialog::onMouseMove(int x, int y, int)
{
    if (dragState == 1 && (std::abs(x - pressX) > kDragThreshold || std::abs(y - pressY) > kDragThreshold)) {
        // Only this listener (the container's focus) hears the drag.
        inputContainer.setInputEnabled(false);
        dragState = 2;
    }
    if (dragState == 2) {
        setPosition(getX() + x - lastX, getY() + y - lastY);
        lastX = x;
        lastY = y;
    }
    return false;
}

bool Dialog::onLeftUp(int x, int y, int)
{
    if (dragState == 1) {
        dragState = 0;
        return containsPoint(x, y);
    }
    if (dragState == 2) {
        inputContainer.setInputEnabled(true);
        dragState = 0;
        return true;
    }
    return false;
}

void Dialog::resetInput()
{
    dragState = 0;
}
