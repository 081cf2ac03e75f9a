#include "framework/gui/Scene.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/FullScreenHandler.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/ToolTip.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/ResourceLookup.h"

TT_DEFINE_RECORD(Scene, &Dialog::classRecord);
TT_REGISTER_CLASS(Scene);

Scene::Scene(AbstractProperty* properties) : Dialog(properties), tree(new GameTree())
{
    GameNode::addChild(tree.get(), componentRoot.get());
    renderTask = new RenderTask(tree.get());
    inputHandler = new InputHandler();
    inputHandler->addListener(&inputContainer);
    animTree = new AnimTree();
    moveTask = new MoveTask(tree.get(), animTree.get());
    purgeTask = new PurgeTask(tree.get(), animTree.get());
    if (properties && properties->isNode()) {
        PropertyNode* node = properties->asNode();
        setName(node->getName());
        if (node->hasChild("scenecomponents"))
            sceneComponents = node->getVector("scenecomponents");
    }
}

Scene::~Scene()
{
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->removeListener(inputHandler.get());
    shownDialogs.clear();
    dialogs.clear();
}

void Scene::render(Graphics* graphics)
{
    if (frameImage && graphics)
        graphics->blitCopy(frameImage.get(), 0, 0, 0, 0, frameImage->getWidth(), frameImage->getHeight());
}

void Scene::show()
{
    if (state == NeverShown) {
        loadContent();
        state = Loaded;
    }
    Dialog::show();
    if (SceneManager::instance) {
        if (ToolTip* toolTip = SceneManager::instance->getToolTip())
            toolTip->setRoot(tree.get());
    }
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->addListener(inputHandler.get());
    // Dropping the queue: input meant for another screen must not reach this one.
    inputHandler->setActive(false);
    inputHandler->setActive(true);
}

void Scene::hide()
{
    inputContainer.setInputEnabled(false);
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->removeListener(inputHandler.get());
    purgeTask->run(0);
    renderTask->forgetLastFrame();
}

void Scene::loadContent()
{
    createComponents(sceneComponents.get());
    if (configuration && configuration->hasChild("scenebackground")) {
        const std::string imageName = configuration->getString("scenebackground");
        const std::string section = configuration->getString("section");
        RefPointer<Image> image = ResourceLookup::findAs<Image>(imageName, section);
        if (image) {
            frameImage = image;
            setBufferDirty(true);
        } else {
            LOG_WARNING("Scene \"" + getName() + "\": no background image \"" + imageName + "\" in \"" + section +
                        "\"");
        }
    }
}

void Scene::quit()
{
    if (GameWindow::instance)
        GameWindow::instance->postQuitMessage(0);
}

Dialog* Scene::getOrCreateDialog(std::string dialogName, const std::string& className)
{
    if (dialogName.empty())
        dialogName = className;
    auto found = dialogs.find(dialogName);
    if (found != dialogs.end()) {
        Dialog* dialog = found->second.get();
        if (std::find(shownDialogs.begin(), shownDialogs.end(), dialog) != shownDialogs.end())
            hideDialog(dialog);
        return dialog;
    }
    PropertyNode* definition = SetupStore::instance ? SetupStore::instance->findDialog(className) : nullptr;
    if (!definition || definition->isNullObject()) {
        LOG_WARNING("Scene \"" + getName() + "\": no dialog definition \"" + className + "\" for \"" + dialogName +
                    "\"");
        return nullptr;
    }
    RefPointer<Dialog> dialog = ObjectFactoryContainer::createFrom<Dialog>(definition);
    if (!dialog) {
        LOG_WARNING("Scene \"" + getName() + "\": the definition \"" + className + "\" makes no dialog (type \"" +
                    definition->getTypeName() + "\")");
        return nullptr;
    }
    dialog->setName(dialogName);
    dialogs[dialogName] = dialog;
    return dialog.get();
}

void Scene::showDialog(Dialog* dialog)
{
    if (!dialog)
        return;
    RefPointer<Dialog> keep(dialog);
    GameNode::addChild(tree.get(), dialog);
    dialog->setRemoved(false);
    shownDialogs.remove(keep);
    shownDialogs.push_front(keep);
    inputHandler->addListener(&dialog->getInputContainer());
    dialog->show();
    FullScreenHandler::moveToTop();
}

void Scene::hideDialog(Dialog* dialog)
{
    if (!dialog)
        return;
    RefPointer<Dialog> keep(dialog);
    dialog->hide();
    dialog->setRemoved(true);
    inputHandler->removeListener(&dialog->getInputContainer());
    shownDialogs.remove(keep);
}

bool Scene::isDialogShown(const std::string& dialogName) const
{
    auto found = dialogs.find(dialogName);
    if (found == dialogs.end())
        return false;
    return std::find(shownDialogs.begin(), shownDialogs.end(), found->second) != shownDialogs.end();
}

Dialog* Scene::getDialog(const std::string& dialogName) const
{
    auto found = dialogs.find(dialogName);
    return found == dialogs.end() ? nullptr : found->second.get();
}

void Scene::forgetDialog(Dialog* dialog)
{
    if (!dialog)
        return;
    auto found = dialogs.find(dialog->getName());
    if (found == dialogs.end() || found->second.get() != dialog)
        return;
    // The tree (or the caller) keeps the dialog alive until the purge task runs.
    RefPointer<Dialog> keep(dialog);
    hideDialog(dialog);
    dialogs.erase(found);
}
