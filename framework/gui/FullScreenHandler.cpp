#include "framework/gui/FullScreenHandler.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/TransitionScene.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/IGameSettings.h"
#include "framework/platform/SettingsManager.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/sound/SoundManager.h"

TT_DEFINE_RECORD(FullScreenHandler, &GameNode::classRecord);
TT_REGISTER_CLASS(FullScreenHandler);

FullScreenHandler* FullScreenHandler::instance = nullptr;

FullScreenHandler* FullScreenHandler::create(const std::string& name)
{
    PropertyNode* definition = SetupStore::instance ? SetupStore::instance->findTemplate(name) : nullptr;
    if (!definition || definition->isNullObject()) {
        LOG_WARNING("No full-screen handler template \"" + name + "\"");
        return nullptr;
    }
    RefPointer<FullScreenHandler> handler = ObjectFactoryContainer::createFrom<FullScreenHandler>(definition);
    if (!handler) {
        LOG_WARNING("The template \"" + name + "\" makes no full-screen handler");
        return nullptr;
    }
    destroyInstance();
    return holdGlobalInstance(instance, handler.get());
}

void FullScreenHandler::destroyInstance()
{
    if (!instance)
        return;
    FullScreenHandler* old = instance;
    instance = nullptr;
    if (old->getParent()) {
        GameNode::removeFromParent(old);
        old->release();
    }
    old->release();
}

void FullScreenHandler::refresh(Scene* scene)
{
    if (!instance)
        return;
    const bool fullScreen = GameWindow::instance && GameWindow::instance->isFullScreen();
    instance->setVisible(instance->showFlag && fullScreen);
    if (!scene && SceneManager::instance)
        scene = SceneManager::instance->getCurrentScene();
    if (scene)
        GameNode::addChild(scene->getTree(), instance);
}

void FullScreenHandler::setActive(bool active)
{
    if (!instance)
        return;
    const bool fullScreen = GameWindow::instance && GameWindow::instance->isFullScreen();
    instance->container.setInputEnabled(active && fullScreen);
    if (!instance->container.isInputEnabled()) {
        for (Button* button : {instance->quitButton.get(), instance->restoreButton.get(),
                               instance->minimizeButton.get()}) {
            if (button)
                button->resetInput();
        }
    }
}

void FullScreenHandler::moveToTop()
{
    if (instance && instance->getParent())
        GameNode::addChild(instance->getParent(), instance);
}

FullScreenHandler::FullScreenHandler(AbstractProperty* properties) : GameNode(properties)
{
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->addListener(this);
    inputHandler = new InputHandler();
    inputHandler->addListener(&container);
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->addListener(inputHandler.get());
    if (TimedTaskManager::instance)
        TimedTaskManager::instance->addTask(inputHandler.get());

    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    int placedWidth = 0;
    auto place = [&](Button* button) {
        if (!button)
            return;
        placedWidth += button->getWidth();
        button->setX(-placedWidth);
        container.addListener(button);
        GameNode::addChild(this, button);
    };
    quitButton = makeButton(node, "button_quit", &FullScreenHandler::onQuit);
    place(quitButton.get());
    // Leaving full screen makes sense only where a window fits on the desktop.
    if (!GameWindow::instance || GameWindow::instance->isModeSwitchAllowed()) {
        restoreButton = makeButton(node, "button_restore", &FullScreenHandler::onRestore);
        place(restoreButton.get());
    }
    minimizeButton = makeButton(node, "button_minimize", &FullScreenHandler::onMinimize);
    place(minimizeButton.get());
}

FullScreenHandler::~FullScreenHandler()
{
    if (GameWindow::instance && GameWindow::instance->getMessageHandler()) {
        GameWindow::instance->getMessageHandler()->removeListener(this);
        GameWindow::instance->getMessageHandler()->removeListener(inputHandler.get());
    }
    if (inputHandler)
        inputHandler->setFinished(true);
    container.clearListeners();
}

RefPointer<Button> FullScreenHandler::makeButton(PropertyNode* node, const char* key, GuiMethod::Function action)
{
    if (!node->hasChild(key))
        return nullptr;
    PropertyNode* definition = node->getNode(key);
    RefPointer<Button> button = ObjectFactoryContainer::createFrom<Button>(definition);
    if (!button) {
        LOG_WARNING(std::string("Full-screen handler: \"") + key + "\" makes no button");
        return nullptr;
    }
    button->setCallback(GuiMethod(this, action));
    return button;
}

int FullScreenHandler::onQuit(void*, BaseObject*)
{
    if (SceneManager::instance) {
        if (Scene* scene = SceneManager::instance->getCurrentScene())
            scene->quit();
    }
    return 0;
}

int FullScreenHandler::onRestore(void*, BaseObject*)
{
    if (GameWindow::instance)
        GameWindow::instance->toggleFullScreen();
    return 0;
}

int FullScreenHandler::onMinimize(void*, BaseObject*)
{
    if (GameWindow::instance)
        GameWindow::instance->minimise();
    return 0;
}

void FullScreenHandler::onMessage(uint32_t message, uint32_t wParam, uint32_t)
{
    switch (message) {
    case MSG_MODE_SWITCHED:
        if (SettingsManager::instance && SettingsManager::instance->getSettings()) {
            SettingsManager::instance->getSettings()->setFullScreen(wParam != 0);
            SettingsManager::instance->saveToRegistry();
        }
        if (instance) {
            refresh(nullptr);
            setActive(true);
        }
        break;
    case MSG_WINDOW_DEACTIVATED:
        if (SoundManager::isSoundOn())
            SoundManager::instance->setMuted(true);
        break;
    case MSG_WINDOW_REACTIVATED:
        if (SoundManager::isSoundOn())
            SoundManager::instance->setMuted(false);
        break;
    default: break;
    }
}
