#include "framework/gui/SceneManager.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Scene.h"
#include "framework/gui/ToolTip.h"
#include "framework/gui/TransitionScene.h"
#include "framework/platform/GameWindow.h"
#include "framework/scenegraph/RenderTask.h"

TT_DEFINE_RECORD(SceneManager, &Task::classRecord);
TT_REGISTER_CLASS(SceneManager);

SceneManager* SceneManager::instance = nullptr;

namespace {

SceneManager::SectionRequest sectionRequest = nullptr;

GameNode* runningScene()
{
    return SceneManager::instance ? SceneManager::instance->getRunningScene() : nullptr;
}

} // namespace

SceneManager* SceneManager::create()
{
    if (!instance) {
        holdGlobalInstance(instance, new SceneManager());
        RenderTask::Environment environment;
        environment.currentScene = &runningScene;
        RenderTask::setEnvironment(environment);
        if (GameWindow::instance)
            GameWindow::instance->setCloseHandler(&SceneManager::onWindowClose, nullptr);
    }
    return instance;
}

bool SceneManager::onWindowClose(void*)
{
    Scene* scene = instance ? instance->getCurrentScene() : nullptr;
    if (!scene)
        return false;
    scene->quit();
    return true;
}

void SceneManager::destroyInstance()
{
    if (!instance)
        return;
    SceneManager* old = instance;
    instance = nullptr;
    RenderTask::setEnvironment(RenderTask::Environment());
    if (GameWindow::instance)
        GameWindow::instance->setCloseHandler(nullptr, nullptr);
    old->release();
}

void SceneManager::setSectionRequest(SectionRequest request)
{
    sectionRequest = request;
}

SceneManager::SceneManager() = default;

SceneManager::~SceneManager()
{
    // Containers borrow the tooltip's listener: take it out before it can go.
    setToolTip(nullptr);
    previous = nullptr;
    current = nullptr;
    next = nullptr;
    transition = nullptr;
    toolTip = nullptr;
    scenes.clear();
}

Scene* SceneManager::registerScene(const std::string& name)
{
    PropertyNode* definition = SetupStore::instance ? SetupStore::instance->findScene(name) : nullptr;
    if (!definition || definition->isNullObject()) {
        LOG_WARNING("No scene definition \"" + name + "\"");
        return nullptr;
    }
    RefPointer<Scene> scene = ObjectFactoryContainer::createFrom<Scene>(definition);
    if (!scene) {
        LOG_WARNING("The scene definition \"" + name + "\" makes no scene (type \"" + definition->getTypeName() +
                    "\")");
        return nullptr;
    }
    scene->setName(name);
    scenes[name] = scene;
    return scene.get();
}

Scene* SceneManager::getScene(const std::string& name) const
{
    auto found = scenes.find(name);
    return found == scenes.end() ? nullptr : found->second.get();
}

Scene* SceneManager::getCurrentScene() const
{
    if (TransitionScene* running = objectCast<TransitionScene>(current.get()))
        return running->getTo();
    return current.get();
}

void SceneManager::setTransition(const std::string& name)
{
    PropertyNode* definition = SetupStore::instance ? SetupStore::instance->findScene(name) : nullptr;
    if (!definition || definition->isNullObject()) {
        LOG_WARNING("No transition definition \"" + name + "\"");
        transition = nullptr;
        return;
    }
    RefPointer<TransitionScene> created = ObjectFactoryContainer::createFrom<TransitionScene>(definition);
    if (!created)
        LOG_WARNING("The definition \"" + name + "\" makes no transition (type \"" + definition->getTypeName() + "\")");
    transition = created;
}

void SceneManager::setNextScene(Scene* scene)
{
    next = scene;
    if (scene && sectionRequest && !objectCast<TransitionScene>(scene))
        sectionRequest(scene);
}

void SceneManager::setToolTip(ToolTip* newToolTip)
{
    if (newToolTip == toolTip.get())
        return;
    if (newToolTip) {
        Scene* watched = next ? next.get() : current.get();
        newToolTip->setRoot(watched ? watched->getTree() : nullptr);
    }
    for (auto& entry : scenes) {
        Scene* scene = entry.second.get();
        iInputListenerContainer* containers[1] = {&scene->getInputContainer()};
        auto replace = [&](iInputListenerContainer* container) {
            if (toolTip)
                container->removeListener(toolTip.get());
            if (newToolTip) {
                container->removeListener(newToolTip);
                container->addListener(newToolTip, true);
            }
        };
        replace(containers[0]);
        for (auto& dialog : scene->getDialogs())
            replace(&dialog.second->getInputContainer());
    }
    toolTip = newToolTip;
}

void SceneManager::run(int deltaMs)
{
    for (auto it = scenes.begin(); it != scenes.end();) {
        if (it->second->isRemoved() && it->second->getState() != Scene::Current)
            it = scenes.erase(it);
        else
            ++it;
    }
    if (!current) {
        if (!next)
            return;
        switchScene();
    } else if (current->getState() == Scene::Current) {
        if (next) {
            switchScene();
            return;
        }
        if (previous && previous->getState() == Scene::Current) {
            previous->getInputContainer().resetInput();
            previous->hide();
            previous->setState(Scene::Loaded);
        }
    }
    // Held for the frame: a scene's own code may switch or drop scenes while it runs.
    RefPointer<Scene> scene = current;
    RefPointer<ToolTip> tip = toolTip;
    scene->getInputHandler()->run(deltaMs);
    scene->update(deltaMs);
    scene->getMoveTask()->run(deltaMs);
    scene->getRenderTask()->run(deltaMs);
    if (tip)
        tip->run(deltaMs);
    scene->getPurgeTask()->run(deltaMs);
}

void SceneManager::switchScene()
{
    const bool pending = transition && transition.get() != current.get();
    const bool ending = transition && transition.get() == current.get();
    RefPointer<Scene> entered;
    if (pending) {
        transition->setScenes(current.get(), next.get());
        entered = transition.get();
    } else {
        entered = next;
        if (ending)
            transition = nullptr;
    }
    previous = current;
    current = entered;
    next = nullptr;
    ++switches;
    if (!ending)
        current->show();
    current->setState(Scene::Current);
}
