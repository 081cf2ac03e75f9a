#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneSelection.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Button.h"
#include "framework/gui/FullScreenHandler.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/ToolTip.h"
#include "framework/gui/TransitionScene.h"
#include "framework/platform/DataGathering.h"
#include "framework/platform/InputHandler.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/effects/ModifierCallback.h"
#include "game/scenes/HintManager.h"

TT_DEFINE_RECORD(SceneSelection, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneSelection);

namespace {

constexpr int kScreenHeight = 600;

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

TortelunePlayer* currentPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
}

bool anyPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players && !players->getPlayers().empty();
}

int randomIn(int lower, int upper)
{
    if (upper <= lower)
        return lower;
    return Random::instance ? Random::instance->nextInt(lower, upper) : lower;
}

} // namespace

SceneSelection::SceneSelection(AbstractProperty* configuration) : SceneTortelune(configuration) {}

void SceneSelection::loadContent()
{
    // The first scene with tool tips sets up the one tip of the game.
    SceneManager* scenes = SceneManager::instance;
    if (scenes && !scenes->getToolTip() && SetupStore::instance) {
        if (PropertyNode* definition = SetupStore::instance->findTemplate("DEFAULT_TOOLTIP")) {
            if (RefPointer<ToolTip> tip = ObjectFactoryContainer::createFrom<ToolTip>(definition))
                scenes->setToolTip(tip.get());
        }
    }
    SceneTortelune::loadContent();
    bindComponent("BUTTON_CHANGENAME", GuiMethod(this, &SceneSelection::onChangeName));
    bindComponent("BUTTON_LEVEL", GuiMethod(this, &SceneSelection::onLevel));
    bindComponent("BUTTON_ARCADE", GuiMethod(this, &SceneSelection::onArcade));
    bindComponent("BUTTON_HELP", GuiMethod(this, &SceneSelection::onHelp));
    bindComponent("BUTTON_SETTINGS", GuiMethod(this, &SceneSelection::onSettings));
    trophiesButton = objectCast<Button>(bindComponent("BUTTON_TROPHIES", GuiMethod(this, &SceneSelection::onTrophies)));
    bindComponent("BUTTON_STOP", GuiMethod(this, &SceneSelection::onStop));

    smoke = objectCast<Sprite>(getComponent("SPRITE_SMOKE"));
    if (smoke) {
        smoke->setAlpha(204);
        GameNode::addModifier(smoke, new ModifierFrame(-1, tuning().SMOKE_FRAME_DURATION));
    }
    sunshine = objectCast<Sprite>(getComponent("SPRITE_SUNSHINE"));
    if (sunshine) {
        sunshine->setAlpha(0);
        Modifier* wait = Modifier::addChild(getAnimTree(), targeted(new ModifierDelay(1000), sunshine));
        Modifier::addChild(wait, createModifierCallback(this, &SceneSelection::sunshineLoop));
    }
    for (int i = 0; i < kBalloonCount; ++i)
        balloons[i] = getComponent("BALLOON" + std::to_string(i));
    henri = objectCast<Sprite>(getComponent("SPRITE_HENRI"));
    if (henri)
        henriY = henri->getY();
    if (trophiesButton)
        trophiesY = trophiesButton->getY();
    PlayerManager* players = PlayerManager::getInstance();
    DataGathering::startSession(0, players ? static_cast<int>(players->getPlayers().size()) : 0);
}

void SceneSelection::sunshineLoop()
{
    if (!sunshine)
        return;
    const TuningTable& values = tuning();
    const int from = sunshine->getAlpha();
    const int peak = randomIn(0, 2) == 0 ? values.SUN_ALPHA_MID : values.SUN_ALPHA_MAX;
    const int hold = randomIn(values.SUN_DELAYFULL_MIN, values.SUN_DELAYFULL_MAX);
    const int pause = randomIn(values.SUN_DELAYNEXT_MIN, values.SUN_DELAYNEXT_MAX);
    Modifier* step = Modifier::addChild(getAnimTree(),
                                        targeted(new ModifierAlpha(values.SUN_FADE_DURATION, from, peak), sunshine));
    step = Modifier::addChild(step, targeted(new ModifierDelay(hold), sunshine));
    step = Modifier::addChild(step, targeted(new ModifierAlpha(values.SUN_FADE_DURATION, peak, from), sunshine));
    step = Modifier::addChild(step, targeted(new ModifierDelay(pause), sunshine));
    Modifier::addChild(step, createModifierCallback(this, &SceneSelection::sunshineLoop));
}

void SceneSelection::show()
{
    SceneTortelune::show();
    if (FullScreenHandler* handler = FullScreenHandler::instance) {
        handler->showFlag = true;
        FullScreenHandler::refresh(this);
        FullScreenHandler::setActive(true);
    }
    SceneManager* scenes = SceneManager::instance;
    if (firstEntry) {
        if (Scene* load = scenes ? scenes->getScene("SCENE_LOAD") : nullptr)
            load->setRemoved(true);
    } else {
        if (SoundManager::isSoundOn()) {
            RefPointer<SoundStream> music = ResourceLookup::findAs<SoundStream>("MUSIC_SELECTION", "music");
            if (music)
                SoundManager::instance->playMusic(1000, 1.0f, 100, music.get(), 600, 306);
        }
        if (ResourceManager::instance)
            ResourceManager::instance->removeSection("preloading", true);
    }

    if (!anyPlayer())
        openDialog("DIALOG_NEWPLAYER");
    else if (firstEntry)
        henriEntrance(getAnimTree());
    updatePlayer();
    if (gameEndPending) {
        openDialog("DIALOG_GAMEEND");
        for (GameNode* balloon : balloons) {
            if (balloon)
                balloon->setVisible(true);
        }
    }
    gameEndPending = false;
    firstEntry = false;
}

void SceneSelection::hide()
{
    for (const char* name : {"CTEXT_START_SAVEGAME", "DIALOG_HINT"}) {
        if (Dialog* dialog = getDialog(name))
            forgetDialog(dialog);
    }
    inputContainer.setInputEnabled(false);
    SceneTortelune::hide();
}

void SceneSelection::openDialog(const std::string& name)
{
    Dialog* dialog = getOrCreateDialog(name, name);
    if (!dialog)
        return;
    showDialog(dialog);
    // The quit question, asked while the scene was still on its way in,
    // stays in front of what the scene opens on entering.
    Dialog* question = getDialog("CTEXT_QUESTION_QUIT");
    if (question && question != dialog && isDialogShown("CTEXT_QUESTION_QUIT")) {
        getInputHandler()->removeListener(&question->getInputContainer());
        getInputHandler()->addListener(&question->getInputContainer());
        GameNode::addChild(getTree(), question);
    }
}

bool SceneSelection::arcadeOpen() const
{
    TortelunePlayer* player = currentPlayer();
    if (!player)
        return false;
    for (int key = 0; key < 6; ++key) {
        auto found = player->arcadeState.find(key);
        if (found != player->arcadeState.end() && found->second == 1)
            return true;
    }
    return false;
}

void SceneSelection::updatePlayer()
{
    TortelunePlayer* player = currentPlayer();
    for (GameNode* balloon : balloons) {
        if (balloon)
            balloon->setVisible(player && player->highestLevelReached > 58);
    }
    if (auto* label = objectCast<Label>(getComponent("LABEL_PLAYERNAME"))) {
        WString text;
        if (BasicProperties::instance)
            text = BasicProperties::instance->getText("CTEXT_WELCOME");
        text += u" ";
        if (player)
            text += toWideString(player->getName());
        label->setText(text);
        label->updateLayout();
        // A greeting without a name waits for the first player.
        label->setVisible(player != nullptr);
    }

    auto* arcade = objectCast<Button>(getComponent("BUTTON_ARCADE"));
    const bool open = arcadeOpen();
    if (arcade) {
        RefPointer<Image> picture =
            ResourceLookup::findAs<Image>(open ? "BUTTON_ARCADEOPEN" : "BUTTON_ARCADECLOSED", "sceneselection");
        if (picture)
            arcade->setImage(picture.get());
        arcade->setEnabled(open);
    }
    if (!open) {
        if (smoke)
            smoke->setVisible(false);
        return;
    }
    if (GameNode* door = getComponent("SPRITE_DOOR"))
        door->setVisible(false);
    if (smoke)
        smoke->setVisible(true);
    if (player && !player->arcadeUnlocked) {
        player->arcadeUnlocked = true;
        Modifier* doorOpened = openArcadeDoor();
        if (!firstEntry)
            henriEntrance(doorOpened);
    }
}

Modifier* SceneSelection::openArcadeDoor()
{
    const TuningTable& values = tuning();
    auto* door = objectCast<Sprite>(getComponent("SPRITE_DOOR"));
    Sprite* bursts[3];
    for (int i = 0; i < 3; ++i)
        bursts[i] = objectCast<Sprite>(getComponent("SPRITE_ARCADE" + std::to_string(i)));
    if (door) {
        door->setVisible(true);
        door->setCurrentFrame(0);
    }
    if (bursts[0]) {
        bursts[0]->setVisible(true);
        bursts[0]->setAlpha(0);
    }
    for (Sprite* burst : bursts) {
        if (burst)
            burst->setCurrentFrame(0);
    }

    // The door swings open under the first burst.
    if (door) {
        Modifier* step = getAnimTree();
        if (bursts[0])
            step = Modifier::addChild(
                step, targeted(new ModifierAlpha(values.UNLOCK_DOOR_FADE_TIME, 0, 255), bursts[0]));
        step = Modifier::addChild(step, targeted(new ModifierFrame(1, values.UNLOCK_DOOR_FRAME_TIME), door));
        Modifier::addChild(step, targeted(new ModifierVisible(false), door));
    }
    // The three bursts, one after the other.
    Modifier* step = Modifier::addChild(getAnimTree(), new ModifierDelay(2 * values.UNLOCK_DOOR_FRAME_TIME));
    for (int i = 0; i < 3; ++i) {
        Sprite* burst = bursts[i];
        if (!burst)
            continue;
        if (i > 0) {
            step = Modifier::addChild(step, new ModifierDelay(values.UNLOCK_ARCADE_DELAY));
            step = Modifier::addChild(step, targeted(new ModifierVisible(true), burst));
        }
        step = Modifier::addChild(step, targeted(new ModifierFrame(1, values.UNLOCK_ARCADE_FRAME_TIME), burst));
        step = Modifier::addChild(step, targeted(new ModifierVisible(false), burst));
    }
    return step;
}

Modifier* SceneSelection::henriEntrance(Modifier* parent)
{
    if (!parent)
        parent = getAnimTree();
    Modifier* last = parent;
    auto bounceUp = [&](Sprite* sprite, int y) -> Modifier* {
        const int x = sprite->getX();
        const int below = sprite->getHeight() + kScreenHeight;
        sprite->setY(below);
        Modifier* step = Modifier::addChild(parent, targeted(new ModifierVisible(true), sprite));
        step = Modifier::addChild(step, targeted(new ModifierLocationLine(200, x, below, x, y - 15), sprite));
        step = Modifier::addChild(step, targeted(new ModifierLocationLine(70, x, y - 15, x, y + 8), sprite));
        return Modifier::addChild(step, targeted(new ModifierLocationLine(70, x, y + 8, x, y), sprite));
    };
    if (henri)
        last = bounceUp(henri, henriY);
    if (trophiesButton) {
        Modifier* trophiesLast = bounceUp(trophiesButton, trophiesY);
        if (!henri)
            last = trophiesLast;
    }
    return Modifier::addChild(last, createModifierCallback(this, &SceneSelection::showWelcomeHint));
}

void SceneSelection::showWelcomeHint()
{
    if (anyPlayer() && HintManager::instance)
        HintManager::instance->showHint("HINT_WELCOME");
}

int SceneSelection::onNewPlayerClosed(BaseObject* /*argument*/)
{
    TortelunePlayer* player = currentPlayer();
    if (player && player->highestLevelReached == -1 && !player->hasSeenHint("HINT_WELCOME"))
        henriEntrance(getAnimTree());
    return 0;
}

int SceneSelection::onNewPlayerClosed(void* context, BaseObject* argument)
{
    return static_cast<SceneSelection*>(context)->onNewPlayerClosed(argument);
}

int SceneSelection::onChangeName(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSelection*>(context)->openDialog("DIALOG_PLAYERSELECT");
    return 0;
}

int SceneSelection::onLevel(void* /*context*/, BaseObject* /*argument*/)
{
    switchTo({"scenemap"}, "TRANSITION_DEFAULT", "SCENE_MAP");
    preload({"scenegame", "tools"});
    // The map turns its input on itself, once its state allows it.
    if (SceneManager::instance) {
        if (TransitionScene* transition = SceneManager::instance->getTransition())
            transition->setEnableTargetInput(false);
    }
    return 0;
}

int SceneSelection::onArcade(void* /*context*/, BaseObject* /*argument*/)
{
    switchTo({"scenearcade"}, "TRANSITION_DEFAULT", "SCENE_ARCADE");
    preload({"scenegame", "tools"});
    return 0;
}

int SceneSelection::onHelp(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSelection*>(context)->openDialog("DIALOG_HELP");
    return 0;
}

int SceneSelection::onSettings(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSelection*>(context)->openDialog("DIALOG_SETTINGS");
    return 0;
}

int SceneSelection::onTrophies(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSelection*>(context)->openDialog("DIALOG_TROPHYSCREEN");
    return 0;
}

int SceneSelection::onStop(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSelection*>(context)->quit();
    return 0;
}
