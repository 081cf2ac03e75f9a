#include "game/scenes/SceneArcade.h"

#include <algorithm>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/Random.h"
#include "framework/graphics/Image.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierRotation.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogArcadeInfo.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/effects/Effects.h"
#include "game/effects/OneShotModifiers.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"

TT_DEFINE_RECORD(SceneArcade, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneArcade);

namespace {

const char kInfo[] = "DIALOG_ARCADE_INFO";
const char kQuestion[] = "CTEXT_START_SAVEGAME";
const char kSaveKind[] = "ARCADE";

TortelunePlayer* player()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? dynamic_cast<TortelunePlayer*>(players->getCurrentPlayer()) : nullptr;
}

template <class Step>
Modifier* then(Modifier* parent, GameNode* target, Step* step)
{
    step->setTarget(target);
    return Modifier::addChild(parent, step);
}

bool unlocked(const TortelunePlayer* who, int set)
{
    auto found = who->arcadeState.find(set);
    return found != who->arcadeState.end() && found->second == 1;
}

} // namespace

SceneArcade::SceneArcade(AbstractProperty* configuration) : SceneTortelune(configuration) {}

void SceneArcade::loadContent()
{
    SceneTortelune::loadContent();
    backButton = objectCast<Button>(bindComponent("BUTTON_BACK", GuiMethod(this, &SceneArcade::onBack)));
    for (int set = 0; set < kSets; ++set) {
        bowlButtons[set] =
            objectCast<Button>(bindComponent("BUTTON_ARCADE" + std::to_string(set), GuiMethod(this, &SceneArcade::onBowl)));
        if (bowlButtons[set]) {
            bowlButtons[set]->setTag(set);
            bowlButtons[set]->setAnchorPoint(Sprite::Bottom);
        }
    }
    curtainFront = getComponent("CURTAINFRONT");
    curtainBack = getComponent("CURTAINBACK");
    curtainRope = getComponent("CURTAINROPE");
    Modifier* tree = getAnimTree();
    if (GameNode* fan = getComponent("FAN"))
        then(tree, fan, new ModifierFrame(-1, 33));
    const float scales[2] = {0.7f, 2.0f};
    for (int i = 0; i < 2; ++i) {
        auto* smoke = objectCast<Sprite>(getComponent("SMOKE" + std::to_string(i + 1)));
        if (!smoke)
            continue;
        smoke->setScale(scales[i]);
        then(tree, smoke, new ModifierFrame(-1, tuning().SMOKE_FRAME_DURATION));
    }
}

void SceneArcade::show()
{
    SceneTortelune::show();
    if (SoundManager::isSoundOn() && ResourceManager::instance) {
        RefPointer<SoundStream> music;
        {
            ResourceLock lock;
            music = ResourceManager::instance->getResourceAs<SoundStream>("MUSIC_MAP", "music");
        }
        if (music)
            SoundManager::instance->playMusic(1000, 1.0f, 100, music.get(), tuning().SOUND_FADEINDELAY_ARCADE, 306);
    }
    // Each arrival asks afresh whether a saved run may be continued.
    hasSavedGame = false;
    savedSetIndex = -1;
    TortelunePlayer* who = player();
    for (int set = 0; set < kSets; ++set) {
        if (!bowlButtons[set])
            continue;
        bowlButtons[set]->setEnabled(who && unlocked(who, set));
        bowlButtons[set]->setInputEnabled(false);
    }
    if (who) {
        auto lock = [this](int set) {
            if (bowlButtons[set])
                bowlButtons[set]->setEnabled(false);
        };
        if (who->numArcadeVisits == 0)
            lock(0);
        if (who->arcadeSet1Notice)
            lock(1);
        if (who->arcadeSets2And3Notice) {
            lock(2);
            lock(3);
        }
        if (who->arcadeSets4And5Notice) {
            lock(4);
            lock(5);
        }
    }
    if (backButton)
        backButton->setInputEnabled(false);
    if (GameData::instance && GameData::instance->state)
        GameData::instance->state->mode = 1;
    Scene* previous = SceneManager::instance ? SceneManager::instance->getPreviousScene() : nullptr;
    const std::string previousName = previous ? previous->getName() : std::string();
    enteredFromGame = previousName == "SCENE_GAME";
    enteredFromSelection = previousName == "SCENE_SELECTION";
    if (firstShow) {
        firstShow = false;
        openCurtain();
    } else {
        for (GameNode* node : {curtainFront, curtainBack, curtainRope})
            if (node)
                GameNode::cancelModifiers(node);
        if (curtainFront)
            curtainFront->setY(-530);
        if (curtainBack)
            curtainBack->setY(0);
        if (curtainRope)
            curtainRope->setY(0);
        arrive();
    }
    if (enteredFromSelection)
        if (RefPointer<Sound> sting = ResourceLookup::findAs<Sound>("STING_LEVELSELECTION", "sounds"))
            Sound::play(sting.get(), 128, 255, false);
}

void SceneArcade::openCurtain()
{
    Modifier* tree = getAnimTree();
    if (!tree)
        return;
    if (curtainFront) {
        const int x = curtainFront->getX();
        const int y = curtainFront->getY();
        Modifier* sound = then(tree, curtainFront, new ModifierSound("SOUND_ARCADESCENE_CURTAIN", "sounds", true));
        Modifier* up = then(sound, curtainFront, new ModifierLocationLine(1500, x, y, x, -530, easing::quadratic));
        Modifier* bounce = then(up, curtainFront, new ModifierLocationLine(50, x, -530, x, -520));
        then(bounce, curtainFront, new ModifierLocationLine(50, x, -520, x, -530));
    }
    if (auto* rope = objectCast<Sprite>(curtainRope)) {
        const int x = rope->getX();
        const int y = rope->getY();
        rope->setY(-rope->getHeight());
        Modifier* down = then(tree, rope, new ModifierLocationLine(1500, x, -rope->getHeight(), x, y));
        Modifier* bounce = then(down, rope, new ModifierLocationLine(50, x, y, x, y - 10));
        then(bounce, rope, new ModifierLocationLine(50, x, y - 10, x, y));
    }
    Modifier* last = tree;
    if (auto* back = objectCast<Sprite>(curtainBack)) {
        const int x = back->getX();
        const int y = back->getY();
        Modifier* wait = Modifier::addChild(tree, new ModifierDelay(100));
        Modifier* down = then(wait, back, new ModifierLocationLine(1500, x, -back->getHeight(), x, y, &easeOut));
        Modifier* bounce = then(down, back, new ModifierLocationLine(50, x, y, x, y - 10));
        last = then(bounce, back, new ModifierLocationLine(50, x, y - 10, x, y));
    }
    for (int i = 0; i < 2; ++i)
        addTwinkleCycle();
    Modifier::addChild(last, new ModifierFunction(GuiMethod(this, &SceneArcade::onArrive)));
}

void SceneArcade::addTwinkleCycle()
{
    const TuningTable& t = tuning();
    GameNode* layer = getComponent("NODE_TWINKLES");
    Modifier* tree = getAnimTree();
    const int places = std::max(0, t.TWINKLEAS_LARGE_COUNT) + std::max(0, t.TWINKLEAS_SMALL_COUNT);
    if (!layer || !tree || places == 0)
        return;
    Random* random = Random::instance;
    const int place = random ? random->nextInt(0, places) : 0;
    const bool large = place < t.TWINKLEAS_LARGE_COUNT;
    const int index = large ? place : place - t.TWINKLEAS_LARGE_COUNT;
    const std::string kind = large ? "LARGE" : "SMALL";
    const int x = BasicProperties::instance->getInt("TWINKLEAS_" + kind + "_X" + std::to_string(index));
    const int y = BasicProperties::instance->getInt("TWINKLEAS_" + kind + "_Y" + std::to_string(index));
    RefPointer<Image> picture;
    if (ResourceManager::instance) {
        ResourceLock lock;
        picture = ResourceManager::instance->getResourceAs<Image>("TWINKLE_" + kind, "default");
    }
    auto* twinkle = new Sprite(x, y, picture.get());
    twinkle->setAnchorPoint(Sprite::Center);
    twinkle->setPivotPointKind(Sprite::Center);
    twinkle->setVisible(false);
    twinkle->setScale(0.0f);
    GameNode::addChild(layer, twinkle);
    const int low = std::min(t.TWINKLEAS_DELAY_MIN, t.TWINKLEAS_DELAY_MAX);
    const int high = std::max(t.TWINKLEAS_DELAY_MIN, t.TWINKLEAS_DELAY_MAX);
    const int delay = random && high > low ? random->nextInt(low, high) : low;
    Modifier* wait = Modifier::addChild(tree, new ModifierDelay(delay));
    auto* appear = new ModifierFunction(GuiMethod(this, &SceneArcade::onTwinkleAppears));
    then(wait, twinkle, appear);
    constexpr float kPi = 3.14159265f;
    Modifier* grow = then(appear, twinkle, new ModifierScale(t.TWINKLEAS_IN_DURATION, 0.0f, 1.0f));
    then(appear, twinkle, new ModifierAlpha(t.TWINKLEAS_IN_DURATION, 0, 255));
    then(appear, twinkle, new ModifierRotation(0.0f, kPi / 2.0f, t.TWINKLEAS_IN_DURATION));
    Modifier* shrink = then(grow, twinkle, new ModifierScale(t.TWINKLEAS_OUT_DURATION, 1.0f, 0.0f));
    then(grow, twinkle, new ModifierAlpha(t.TWINKLEAS_OUT_DURATION, 255, 0));
    then(grow, twinkle, new ModifierRotation(kPi / 2.0f, 5.0f * kPi / 4.0f, t.TWINKLEAS_OUT_DURATION));
    shrink->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(shrink, new ModifierFunction(GuiMethod(this, &SceneArcade::onTwinkleDone)));
}

int SceneArcade::onTwinkleAppears(void* context, BaseObject* argument)
{
    auto* scene = static_cast<SceneArcade*>(context);
    auto* step = objectCast<Modifier>(argument);
    GameNode* twinkle = step ? step->getTarget() : nullptr;
    // Not over the information dialog or a trophy being shown.
    if (twinkle)
        twinkle->setVisible(!scene->isDialogShown("DIALOG_ARCADE_INFO") &&
                            !scene->isDialogShown("DIALOG_TROPHYAWARDED"));
    return 0;
}

int SceneArcade::onTwinkleDone(void* context, BaseObject*)
{
    static_cast<SceneArcade*>(context)->addTwinkleCycle();
    return 0;
}

int SceneArcade::onArrive(void* context, BaseObject*)
{
    static_cast<SceneArcade*>(context)->arrive();
    return 0;
}

bool SceneArcade::revealDue() const
{
    const TortelunePlayer* who = player();
    if (!who)
        return false;
    const bool firstVisit = who->numArcadeVisits == 0 && bowlButtons[0] && !bowlButtons[0]->isEnabled();
    return firstVisit || who->arcadeSet1Notice || who->arcadeSets2And3Notice || who->arcadeSets4And5Notice;
}

Modifier* SceneArcade::revealBowl(int set, int delayMs)
{
    Button* bowl = bowlButtons[set];
    Modifier* parent = getAnimTree();
    if (!bowl || !parent)
        return parent;
    if (delayMs > 0)
        parent = Modifier::addChild(parent, new ModifierDelay(delayMs));
    const TuningTable& t = tuning();
    Modifier* enabled = then(parent, bowl, new ModifierEnabled(ModifierEnabled::Enable));
    Modifier* dim = then(enabled, bowl, new ModifierAlpha(0, 255, 128));
    then(dim, bowl, new ModifierAlpha(3 * t.BOWL_SHAKE_DUR, 128, 255));
    // Swings that shrink towards rest, alternating in sign.
    constexpr float kRadians = 0.017453292f;
    Modifier* step = dim;
    float from = 0.0f;
    const int count = std::max(0, t.BOWL_SHAKE_NUM);
    for (int i = 0; i < count; ++i) {
        const float magnitude = t.BOWL_SHAKE_MAX - static_cast<float>(i) * t.BOWL_SHAKE_MAX / static_cast<float>(count);
        const float to = (i % 2 == 0 ? magnitude : -magnitude) * kRadians;
        step = then(step, bowl, new ModifierRotation(from, to, t.BOWL_SHAKE_DUR));
        from = to;
    }
    return then(step, bowl, new ModifierRotation(from, 0.0f, t.BOWL_SHAKE_DUR));
}

void SceneArcade::playReveal()
{
    TortelunePlayer* who = player();
    Modifier* last = nullptr;
    const int pairDelay = tuning().BOWL_SHAKE_NUM * tuning().BOWL_SHAKE_DUR / 2;
    if (who->numArcadeVisits == 0 && bowlButtons[0] && !bowlButtons[0]->isEnabled()) {
        last = revealBowl(0, 0);
    } else if (who->arcadeSet1Notice) {
        who->arcadeSet1Notice = false;
        last = revealBowl(1, 0);
    } else if (who->arcadeSets2And3Notice) {
        who->arcadeSets2And3Notice = false;
        revealBowl(2, 0);
        last = revealBowl(3, pairDelay);
    } else {
        who->arcadeSets4And5Notice = false;
        revealBowl(4, 0);
        last = revealBowl(5, pairDelay);
    }
    if (last)
        Modifier::addChild(last, new ModifierFunction(GuiMethod(this, &SceneArcade::onArrive)));
}

int SceneArcade::readSavedSet() const
{
    TortelunePlayer* who = player();
    PlayerManager* players = PlayerManager::getInstance();
    if (!who || !players || !players->savedGameExists(kSaveKind, who->getName()))
        return -1;
    PropertyStore store;
    if (!players->loadGameState(kSaveKind, who->getName(), store))
        return -1;
    AbstractProperty* manager = childNode(&store, "arcadelevelmanager");
    if (!hasChildNamed(manager, "currentLevel"))
        return -1;
    const int set = childInt(manager, "currentLevel");
    return set >= 0 && set < kSets ? set : -1;
}

void SceneArcade::arrive()
{
    TortelunePlayer* who = player();
    if (revealDue()) {
        playReveal();
        return;
    }
    const bool firstVisit = !who || who->numArcadeVisits == 0;
    savedSetIndex = -1;
    if (firstVisit) {
        if (HintManager::instance)
            HintManager::instance->showHint("HINT_ARCADEFIRST");
    } else {
        savedSetIndex = readSavedSet();
        hasSavedGame = savedSetIndex >= 0;
        // Back from a run: the trophies earned on the belt are announced here.
        TrophyWatcher* watcher = TrophyWatcher::instance;
        if (!enteredFromSelection && enteredFromGame && watcher && watcher->isIdle() &&
            watcher->countTrophiesOfKind(TrophyWatcher::KindArcade) > 0)
            watcher->requestAnnouncement(TrophyWatcher::KindArcade);
        if (enteredFromSelection && hasSavedGame && GameData::instance) {
            GameData::instance->startLevel(savedSetIndex);
            askContinue(false);
        }
    }
    if (who)
        who->numArcadeVisits += 1;
    setBowlInput(true);
}

void SceneArcade::setBowlInput(bool enabled)
{
    for (Button* bowl : bowlButtons)
        if (bowl)
            bowl->setInputEnabled(enabled);
    if (backButton)
        backButton->setInputEnabled(enabled);
}

void SceneArcade::askContinue(bool fromBowl)
{
    questionFromBowl = fromBowl;
    DialogYesNo* question = DialogYesNo::ask(kQuestion, "CTEXT_SAVEGAME_HEADER", this, &SceneArcade::onContinue, this,
                                             &SceneArcade::onDiscard, this);
    if (question)
        showDialog(question);
}

void SceneArcade::openInfo()
{
    auto* info = objectCast<DialogArcadeInfo>(getOrCreateDialog(kInfo, kInfo));
    if (!info) {
        LOG_WARNING("arcade: no dialog \"" + std::string(kInfo) + "\"");
        return;
    }
    const int set = GameData::instance ? GameData::instance->state->arcadeManager.getCurrentIndex() : 0;
    DialogArcadeInfo::setup(info, set);
    info->closeCallback = GuiMethod(this, &SceneArcade::onInfoClosed);
    showDialog(info);
}

int SceneArcade::onBack(void*, BaseObject*)
{
    switchTo({"sceneselection"}, "TRANSITION_DEFAULT", "SCENE_SELECTION");
    return 0;
}

int SceneArcade::onBowl(void* context, BaseObject* button)
{
    auto* scene = static_cast<SceneArcade*>(context);
    auto* bowl = objectCast<GameNode>(button);
    if (!bowl || !GameData::instance)
        return 0;
    const int set = bowl->getTag();
    GameData::instance->state->mode = 1;
    GameData::instance->startLevel(set);
    if (scene->hasSavedGame && set == scene->savedSetIndex)
        scene->askContinue(true);
    else
        scene->openInfo();
    return 0;
}

int SceneArcade::onContinue(void* context, BaseObject*)
{
    auto* scene = static_cast<SceneArcade*>(context);
    TortelunePlayer* who = player();
    PlayerManager* players = PlayerManager::getInstance();
    PropertyStore store;
    if (!who || !players || !GameData::instance || !players->loadGameState(kSaveKind, who->getName(), store))
        return onDiscard(context, nullptr);
    if (Dialog* question = scene->getDialog(kQuestion))
        scene->forgetDialog(question);
    GameData::instance->state->mode = 1;
    GameData::instance->startLevel(scene->savedSetIndex);
    GameData::instance->loadGame(&store);
    if (SceneGame* game = SceneGame::getInstance())
        game->resumeSavedGame = true;
    switchTo({"scenegame", "tools"}, "TRANSITION_DEFAULT", "SCENE_GAME");
    return 0;
}

int SceneArcade::onDiscard(void* context, BaseObject*)
{
    auto* scene = static_cast<SceneArcade*>(context);
    TortelunePlayer* who = player();
    if (who && PlayerManager::getInstance())
        PlayerManager::getInstance()->deleteSavedGame(kSaveKind, who->getName());
    scene->hasSavedGame = false;
    scene->savedSetIndex = -1;
    if (auto* question = objectCast<DialogTortelune>(scene->getDialog(kQuestion)))
        question->close();
    if (scene->questionFromBowl)
        scene->openInfo();
    return 0;
}

int SceneArcade::onInfoClosed(void* context, BaseObject* dialog)
{
    auto* scene = static_cast<SceneArcade*>(context);
    auto* info = objectCast<DialogArcadeInfo>(dialog);
    if (!info || info->getResult() != 0)
        return 0;
    info->hide();
    scene->forgetDialog(info);
    switchTo({"scenegame", "tools"}, "TRANSITION_DEFAULT", "SCENE_GAME");
    return 0;
}

void SceneArcade::hide()
{
    for (const char* name : {kQuestion, kInfo})
        if (Dialog* dialog = getDialog(name))
            forgetDialog(dialog);
    SceneTortelune::hide();
}
