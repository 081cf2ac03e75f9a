#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneTortelune.h"

#include "framework/core/Log.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/TransitionScene.h"
#include "framework/resources/ResourceManager.h"

TT_DEFINE_RECORD(SceneTortelune, &Scene::classRecord);
TT_REGISTER_CLASS(SceneTortelune);

namespace {

SceneTortelune::QuitQuestion quitQuestion = nullptr;

} // namespace

SceneTortelune::SceneTortelune(AbstractProperty* configuration) : Scene(configuration) {}

void SceneTortelune::setQuitQuestion(QuitQuestion question)
{
    quitQuestion = question;
}

void SceneTortelune::quit()
{
    // Without the application's question the window closes as in any scene.
    if (quitQuestion)
        quitQuestion(this);
    else
        Scene::quit();
}

void SceneTortelune::switchTo(std::initializer_list<const char*> sectionNames, const std::string& transitionName,
                              const std::string& sceneName, TargetInput input)
{
    if (ResourceManager* resources = ResourceManager::instance) {
        resources->clearLoadQueue();
        for (const char* section : sectionNames)
            resources->requestSection(section);
        // What the target draws is unpacked behind the transition and kept so;
        // every scene opens dialogs, whose first frame would otherwise unpack
        // their pictures.
        std::vector<std::string> inUse(sectionNames.begin(), sectionNames.end());
        inUse.push_back(kDialogSection);
        resources->setSectionsInUse(inUse);
    }
    SceneManager* scenes = SceneManager::instance;
    if (!scenes)
        return;
    Scene* target = scenes->getScene(sceneName);
    if (!target) {
        LOG_WARNING("switch: no scene \"" + sceneName + "\"");
        return;
    }
    scenes->setTransition(transitionName);
    if (TransitionScene* transition = scenes->getTransition())
        transition->setEnableTargetInput(input == TargetInput::EnableAtEnd);
    scenes->setNextScene(target);
}

void SceneTortelune::preload(std::initializer_list<const char*> sectionNames)
{
    if (ResourceManager* resources = ResourceManager::instance) {
        for (const char* section : sectionNames)
            resources->requestSection(section);
    }
}
