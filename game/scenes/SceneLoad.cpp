#include "game/scenes/SceneLoad.h"

#include <algorithm>

#include <cmath>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/Random.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/TuningTable.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"

TT_DEFINE_RECORD(SceneLoad, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneLoad);

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
int loadingSleepMs = 100;

// The title pan: where each node waits, where it is after the accelerating
// part and where it ends.
struct PanStep {
    const char* node;
    int x;
    int startY;
    int middleY;
    int endY;
};
const PanStep kPan[] = {
    {"PANEL_BIRDS", 575, 390, 257, 141}, {"LAYER0", 0, -17, -150, -266}, {"LAYER1", 0, 468, 245, 36},
    {"LAYER2", 0, 552, 218, -3},         {"LAYER3", 0, 618, 173, -104},
};
// Where each bird flies off to, in its panel.
const int kBirdTargets[4][2] = {{100, -410}, {240, -340}, {-100, -410}, {-230, -410}};

float easeOutQuadratic(float t)
{
    return 1.0f - (1.0f - t) * (1.0f - t);
}

int randomBelow(int upper, int lower = 0)
{
    return Random::instance ? Random::instance->nextInt(lower, upper) : lower;
}

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

} // namespace

void SceneLoad::setLoadingSleep(int ms)
{
    loadingSleepMs = ms;
}

SceneLoad::SceneLoad(AbstractProperty* configuration) : SceneTortelune(configuration)
{
    // A click anywhere on the scene reaches onLeftUp.
    inputContainer.addListener(this);
}

void SceneLoad::loadContent()
{
    Scene::loadContent();

    if (SoundManager::isSoundOn() && ResourceManager::instance) {
        RefPointer<SoundStream> music;
        {
            ResourceLock lock;
            music = ResourceManager::instance->getResourceAs<SoundStream>("MUSIC_SELECTION", "music");
        }
        SoundManager* sound = SoundManager::instance;
        if (music && sound->getCurrentMusic() != music.get()) {
            sound->stopMusic();
            sound->startStream(music.get(), nullptr, 306);
        }
    }

    if (ResourceManager::instance)
        ResourceManager::instance->removeSection("splash", true);
    if (SceneManager::instance) {
        if (Scene* splash = SceneManager::instance->getScene("SCENE_SPLASH"))
            splash->setRemoved(true);
    }

    const std::string partnersFile = "media/properties/partners.xml";
    if (isRegularFile(partnersFile)) {
        RefPointer<PropertyStore> store(new PropertyStore());
        if (store->loadFile(partnersFile)) {
            for (const RefPointer<AbstractProperty>& entry : *store->getVector("partners")) {
                if (!entry->isNode())
                    continue;
                RefPointer<GameNode> component = ObjectFactoryContainer::createFrom<GameNode>(entry.get());
                if (!component)
                    continue;
                addComponent(component.get());
                if (Button* button = objectCast<Button>(component.get())) {
                    if (button->isEnabled())
                        addListener(button);
                }
                partners.push_back(component.get());
            }
        }
    }

    clickText = objectCast<Sprite>(getComponent("CLICK_TEXT"));
    clickPlate = objectCast<Sprite>(getComponent("CLICK_PLATE"));
    logo = objectCast<Sprite>(getComponent("LOGO"));
    smoke = objectCast<Sprite>(getComponent("SMOKE"));
    henri = objectCast<Sprite>(getComponent("HENRI"));
    pastry = objectCast<Sprite>(getComponent("PASTRY"));
    birdPanel = getComponent("PANEL_BIRDS");
    for (int i = 0; i < 4; ++i)
        layers[i] = getComponent("LAYER" + std::to_string(i));
    door = objectCast<Button>(bindComponent("DOOR", GuiMethod(this, &SceneLoad::onDoor)));
    barEmpty = objectCast<Sprite>(getComponent("LOADING_BAR_EMPTY"));
    barFull = objectCast<Sprite>(getComponent("LOADING_BAR_FULL"));
    if (smoke)
        GameNode::addModifier(smoke, new ModifierFrame(-1, 130));

    buildTitlePan();

    if (birdPanel) {
        for (int i = 0; i < 4; ++i) {
            Sprite* bird = objectCast<Sprite>(getComponent("BIRD" + std::to_string(i)));
            if (!bird)
                continue;
            bird->setFrameCount(6, false);
            bird->setCurrentFrame(randomBelow(6));
            GameNode::addModifier(bird, new ModifierFrame(-1, 75));
        }
    }
    if (logo) {
        logo->setAlpha(0);
        Modifier* wait = Modifier::addChild(getAnimTree(), targeted(new ModifierDelay(300), logo));
        Modifier::addChild(wait, targeted(new ModifierAlpha(500, 0, 255), logo));
    }
    if (barFull)
        barFull->setClipRect(barFull->getLeft(),
                             barFull->getTop(), 0, barFull->getHeight());
}

void SceneLoad::buildTitlePan()
{
    RefPointer<ModifierContainer> container(new ModifierContainer());
    introAnimations = container.get();
    introAnimations->setPaused(true);
    Modifier::addChild(getAnimTree(), introAnimations);
    const int frame = tuning().LOAD_FRAMETIME;

    Modifier* start = Modifier::addChild(introAnimations, new ModifierDelay(10));
    Modifier* lastLayerStep = nullptr;
    for (const PanStep& step : kPan) {
        GameNode* node = getComponent(step.node);
        if (!node)
            continue;
        node->setPosition(step.x, step.startY);
        Modifier* hold = Modifier::addChild(start, targeted(new ModifierDelay(80 * frame), node));
        Modifier* rise = Modifier::addChild(hold, targeted(new ModifierLocationLine(90 * frame, step.x, step.startY,
                                                                                     step.x, step.middleY,
                                                                                     easing::quadratic),
                                                           node));
        Modifier* settle = Modifier::addChild(rise, targeted(new ModifierLocationLine(80 * frame, step.x,
                                                                                       step.middleY, step.x,
                                                                                       step.endY, easeOutQuadratic),
                                                             node));
        if (std::string(step.node).rfind("LAYER", 0) != 0)
            continue;
        // Clicks count once no layer moves any more.
        ++movingLayers;
        Modifier::addChild(settle, new ModifierFunction(
                                       [](void* context, BaseObject*) {
                                           --static_cast<SceneLoad*>(context)->movingLayers;
                                           return 0;
                                       },
                                       this));
        lastLayerStep = settle;
    }

    if (smoke)
        smoke->setAlpha(0);
    if (door) {
        door->setEnabled(false);
        door->setVisible(false);
    }
    if (lastLayerStep) {
        if (smoke)
            Modifier::addChild(lastLayerStep, targeted(new ModifierAlpha(400, 0, 255), smoke));
        if (door) {
            Modifier::addChild(lastLayerStep, new ModifierFunction(
                                                  [](void* context, BaseObject*) {
                                                      Button* button = static_cast<Button*>(context);
                                                      button->setEnabled(true);
                                                      button->setVisible(true);
                                                      return 0;
                                                  },
                                                  door));
        }
    }

    // The invitation to click, its plate under it, fades in as the title settles.
    const int clickWait = std::max(0, (250 - tuning().LOAD_FRAMEVELVET) * frame);
    auto fadeIn = [&](Sprite* sprite) {
        sprite->setAlpha(0);
        sprite->setVisible(false);
        GameNode::cancelModifiers(sprite);
        Modifier* delay = Modifier::addChild(start, targeted(new ModifierDelay(clickWait), sprite));
        Modifier* visible = Modifier::addChild(delay, targeted(new ModifierVisible(true), sprite));
        return Modifier::addChild(visible, targeted(new ModifierAlpha(200, 0, 255), sprite));
    };
    if (clickPlate)
        fadeIn(clickPlate);
    if (clickText) {
        // The text pulses over its plate, never so faint that it stops reading.
        Modifier* shown = fadeIn(clickText);
        Modifier::addChild(shown, targeted(new ModifierBlink(kClickTextFaintestAlpha, 255, 200, 200, 0, 800, -1),
                                           clickText));
    }
}

void SceneLoad::update(int elapsedMs)
{
    SceneTortelune::update(elapsedMs);
    ResourceManager* resources = ResourceManager::instance;
    if (!loaded) {
        if (resources)
            resources->wakeLoader();
        if (!resources || !resources->hasPendingRequests()) {
            finishLoading();
        } else {
            if (loadingSleepMs > 0)
                sleepMilliseconds(static_cast<uint32_t>(loadingSleepMs));
            float progress = static_cast<float>(resources->getLoadProgress());
            if (startProgress < 0.0f)
                startProgress = progress;
            if (barFull && startProgress < 1.0f) {
                float share = (progress - startProgress) / (1.0f - startProgress);
                int width = static_cast<int>(std::nearbyint(share * static_cast<float>(barFull->getWidth())));
                barFull->setClipRect(barFull->getLeft(),
                                     barFull->getTop(),
                                     width < 0 ? 0 : width, barFull->getHeight());
            }
        }
    }
    if (!loaded)
        return;
    if (GameWindow::instance)
        GameWindow::instance->setCursorShape(CURSOR_HAND);
    if (clickPending && !leaving && !anyLayerMoving()) {
        clickPending = false;
        onLeftUp(0, 0, 0);
    }
    if (door && door->isEnabled())
        updateChef();
}

void SceneLoad::finishLoading()
{
    loaded = true;
    if (startProgress < 0.0f && ResourceManager::instance)
        startProgress = static_cast<float>(ResourceManager::instance->getLoadProgress());
    if (GameWindow::instance)
        GameWindow::instance->setCursorShape(CURSOR_HAND);
    if (barFull)
        barFull->clearClipRect();
    for (Sprite* invitation : {clickPlate, clickText})
        if (invitation)
            invitation->setVisible(true);
    for (Sprite* bar : {barEmpty, barFull}) {
        if (!bar)
            continue;
        Modifier* fade = Modifier::addChild(getAnimTree(), targeted(new ModifierAlpha(400, 255, 0), bar));
        Modifier::addChild(fade, targeted(new ModifierVisible(false), bar));
    }
    if (introAnimations)
        introAnimations->setPaused(false);
    for (int i = 0; i < 4; ++i) {
        GameNode* bird = getComponent("BIRD" + std::to_string(i));
        if (!bird)
            continue;
        Modifier::addChild(getAnimTree(),
                           targeted(new ModifierLocationLine(randomBelow(8000, 5500), bird->getX(), bird->getY(),
                                                             kBirdTargets[i][0], kBirdTargets[i][1], easing::smooth),
                                    bird));
    }
}

bool SceneLoad::anyLayerMoving() const
{
    return movingLayers > 0;
}

void SceneLoad::updateChef()
{
    if (!henri || !door)
        return;
    bool over = door->isHovering() || door->getState() == 2;
    if (clickText && GameWindow::instance) {
        int x = 0;
        int y = 0;
        if (GameWindow::instance->getPointerPosition(x, y))
            over = over || clickText->containsPoint(x, y) || (clickPlate && clickPlate->containsPoint(x, y));
    }
    const ChefReaction wanted = over ? ChefReaction::Over : ChefReaction::Away;
    if (wanted == chefReaction)
        return;
    chefReaction = wanted;
    // The chef plays his frames once: over, he steps into the doorway, waves
    // and goes in again; away, the shop window gets another pastry meanwhile.
    GameNode::cancelModifiers(henri);
    GameNode::clearModifiers(henri);
    henri->setCurrentFrame(0);
    if (over)
        henri->setVisible(true);
    else if (pastry)
        pastry->setVisible(false);
    Modifier* frames = new ModifierFrame(1, 75);
    frames->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(henri, frames);
    GameNode::addModifier(henri, new ModifierFunction(GuiMethod(this, over ? &SceneLoad::onChefWaved
                                                                              : &SceneLoad::onPastryChanged)));
}

int SceneLoad::onChefWaved(void* context, BaseObject* /*argument*/)
{
    auto* scene = static_cast<SceneLoad*>(context);
    if (scene->henri)
        scene->henri->setVisible(false);
    return 0;
}

int SceneLoad::onPastryChanged(void* context, BaseObject* /*argument*/)
{
    auto* scene = static_cast<SceneLoad*>(context);
    if (scene->henri)
        scene->henri->setVisible(false);
    if (Sprite* pastry = scene->pastry) {
        pastry->setCurrentFrame(randomBelow(pastry->getFrameCount() > 0 ? pastry->getFrameCount() : 1));
        pastry->setVisible(true);
    }
    return 0;
}

int SceneLoad::onDoor(void* context, BaseObject* /*button*/)
{
    static_cast<SceneLoad*>(context)->clickPending = true;
    return 0;
}

bool SceneLoad::onLeftUp(int /*x*/, int /*y*/, int /*keys*/)
{
    if (!loaded) {
        clickPending = true;
        return true;
    }
    if (leaving || anyLayerMoving())
        return false;
    leaving = true;
    if (ResourceManager::instance && SoundManager::isSoundOn()) {
        RefPointer<Sound> click;
        {
            ResourceLock lock;
            click = ResourceManager::instance->getResourceAs<Sound>("SOUND_BUTTON", "default");
        }
        if (click)
            Sound::play(click.get(), 128, 255, false);
    }
    if (GameWindow::instance)
        GameWindow::instance->setCursorShape(CURSOR_ARROW);
    if (clickText)
        clickText->setVisible(false);

    // The picture as it stands, zoomed towards the door.
    int bytesPerPixel = GameWindow::instance ? GameWindow::instance->getBytesPerPixel() : 4;
    RefPointer<Image> picture = Image::create(kScreenWidth, kScreenHeight, bytesPerPixel);
    if (picture) {
        RefPointer<Graphics> graphics = picture->getGraphics();
        if (graphics)
            RenderTask::renderFrame(this, graphics.get(), getTree());
    }
    RefPointer<Sprite> zoom(new Sprite(0, 0, picture.get()));
    zoom->setPivotPoint(static_cast<float>(tuning().LOAD_PIVOT_X), static_cast<float>(tuning().LOAD_PIVOT_Y));
    addComponent(zoom.get());
    Modifier* scale = Modifier::addChild(
        getAnimTree(), targeted(new ModifierScale(tuning().LOAD_DURATION, 1.0f, tuning().LOAD_SCALE), zoom.get()));
    Modifier::addChild(scale, new ModifierFunction(GuiMethod(this, &SceneLoad::onZoomDone)));
    return true;
}

int SceneLoad::onZoomDone(void* /*context*/, BaseObject* /*argument*/)
{
    // Everything was loaded here already; "sceneselection" was queued at start-up.
    switchTo({"sceneselection"}, "TRANSITION_LOAD", "SCENE_SELECTION");
    return 0;
}
