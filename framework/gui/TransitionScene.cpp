#include "framework/gui/TransitionScene.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceManager.h"

TT_DEFINE_RECORD(TransitionScene, &Scene::classRecord);
TT_REGISTER_CLASS(TransitionScene);

namespace {

TransitionScene::LoaderIdleCheck loaderIdleCheck = nullptr;

} // namespace

TransitionScene::TransitionScene(AbstractProperty* properties) : Scene(properties) {}

void TransitionScene::setLoaderIdleCheck(LoaderIdleCheck check)
{
    loaderIdleCheck = check;
}

bool TransitionScene::isLoaderIdle()
{
    if (loaderIdleCheck)
        return loaderIdleCheck();
    ResourceManager* resources = ResourceManager::instance;
    if (!resources)
        return true;
    resources->wakeLoader();
    const bool unpacked = unpackTargetPictures();
    return unpacked && !resources->hasPendingRequests();
}

bool TransitionScene::unpackTargetPictures()
{
    ResourceManager* resources = ResourceManager::instance;
    return !resources || resources->unpackSectionsInUse(kUnpackBytesPerFrame);
}

void TransitionScene::render(Graphics* graphics)
{
    if (!graphics)
        return;
    const uint32_t colour = graphics->getColour();
    const int32_t alpha = graphics->getAlpha();
    graphics->setColour(0xFF000000u);
    graphics->setAlpha(255);
    graphics->clear();
    graphics->setColour(colour);
    graphics->setAlpha(alpha);
}

void TransitionScene::show()
{
    if (from)
        from->getInputContainer().setInputEnabled(false);
    Scene::show();
}

void TransitionScene::setScenes(Scene* fromScene, Scene* toScene)
{
    from = fromScene;
    to = toScene;
}

void TransitionScene::showTarget()
{
    if (!to)
        return;
    to->show();
    to->getInputContainer().setInputEnabled(false);
}

void TransitionScene::finishTransition()
{
    if (SceneManager::instance)
        SceneManager::instance->setNextScene(to);
    if (to && enableTargetInput)
        to->getInputContainer().setInputEnabled(true);
}

int TransitionScene::finishCallback(void* context, BaseObject*)
{
    if (TransitionScene* scene = static_cast<TransitionScene*>(context))
        scene->finishTransition();
    return 0;
}
