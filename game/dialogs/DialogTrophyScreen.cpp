#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogTrophyScreen.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogTrophyHint.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyText.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/effects/ModifierEmitterBling.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/GameScreen.h"

TT_DEFINE_RECORD(DialogTrophyScreen, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogTrophyScreen);

namespace {

const char kTemplate[] = "DIALOG_TROPHYSCREEN";
const char kHintTemplate[] = "DIALOG_TROPHYHINT";
const char kInfoTemplate[] = "DIALOG_TROPHYINFO";

// Hints are named apart over the whole run, so a closing one never takes
// the place of the next.
int hintCounter = 0;

RefPointer<Button> buttonFrom(const TrophyInfo* record, int index)
{
    RefPointer<Image> image = record ? trophytext::recordImage(*record) : RefPointer<Image>();
    RefPointer<Button> button(new Button(record ? record->x : 0, record ? record->y : 0, image.get(), GuiMethod()));
    button->setTag(index);
    return button;
}

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

Modifier* twinkles(GameNode* target)
{
    const TuningTable& values = tuning();
    return targeted(new ModifierEmitterBling(1, values.TWINKLEMOD_IN_DURATION, values.TWINKLEMOD_OUT_DURATION, 500, 5000),
                    target);
}

} // namespace

DialogTrophyScreen::DialogTrophyScreen(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    okButton = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod(this, [](void* context, BaseObject*) {
        static_cast<DialogTrophyScreen*>(context)->close();
        return 0;
    })));
    previousButton = objectCast<Button>(
        bindComponent("BUTTON_PREV", GuiMethod::bind<DialogTrophyScreen, &DialogTrophyScreen::previous>(this)));
    nextButton = objectCast<Button>(
        bindComponent("BUTTON_NEXT", GuiMethod::bind<DialogTrophyScreen, &DialogTrophyScreen::next>(this)));
    header = objectCast<Label>(getComponent("LABEL_HEADER"));
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    hintX = layout->getInt("hintx", hintX);
    hintBottom = layout->getInt("hintbottom", hintBottom);

    // The records are the trophy file's, the same for every player.
    RefPointer<Trophies> records(TrophyWatcher::currentTrophies());
    if (!records)
        records = new Trophies();
    const int count = std::min(records->getCount(), static_cast<int>(TrophyWatcher::kTrophyCount));
    for (int index = 0; index < count; ++index) {
        Trophy* trophy = records->getTrophy(index);
        if (!trophy || trophy->getInfoCount() < 3)
            break;  // a trophy with fewer records does not exist, nor any after it
        RefPointer<Button> earned = buttonFrom(trophy->getInfo(0), index);
        addComponent(earned.get());
        addListener(earned.get(), GuiMethod::bind<DialogTrophyScreen, &DialogTrophyScreen::onTrophyClicked>(this));
        earnedButtons.push_back(earned);
    }
    for (int index = 0; index < static_cast<int>(earnedButtons.size()); ++index) {
        RefPointer<Button> locked = buttonFrom(records->getTrophy(index)->getInfo(2), index);
        addComponent(locked.get());
        addListener(locked.get());
        lockedButtons.push_back(locked);
    }

    PlayerManager* players = PlayerManager::getInstance();
    if (players && players->getCurrentPlayer())
        shownPlayer = players->findPlayer(players->getCurrentPlayer()->getName());
}

DialogTrophyScreen* DialogTrophyScreen::open(Scene* scene)
{
    if (!scene)
        return nullptr;
    Dialog* dialog = scene->getOrCreateDialog(kTemplate, kTemplate);
    auto* screen = objectCast<DialogTrophyScreen>(dialog);
    if (!screen) {
        if (dialog)
            scene->forgetDialog(dialog);
        LOG_WARNING(std::string("the template \"") + kTemplate + "\" makes no trophy screen");
        return nullptr;
    }
    scene->showDialog(screen);
    return screen;
}

TortelunePlayer* DialogTrophyScreen::getShownPlayer() const
{
    PlayerManager* players = PlayerManager::getInstance();
    if (!players || shownPlayer < 0 || shownPlayer >= static_cast<int>(players->getPlayers().size()))
        return nullptr;
    return objectCast<TortelunePlayer>(players->getPlayers()[static_cast<size_t>(shownPlayer)].get());
}

Button* DialogTrophyScreen::getEarnedButton(int index) const
{
    return index >= 0 && index < static_cast<int>(earnedButtons.size()) ? earnedButtons[index].get() : nullptr;
}

Button* DialogTrophyScreen::getLockedButton(int index) const
{
    return index >= 0 && index < static_cast<int>(lockedButtons.size()) ? lockedButtons[index].get() : nullptr;
}

void DialogTrophyScreen::show()
{
    DialogTortelune::show();
    GameNode* shelf = getComponent("NODE_TROPHIES");
    if (!shelf)
        shelf = getComponentRoot();
    for (size_t index = 0; index < earnedButtons.size(); ++index) {
        for (Button* button : {earnedButtons[index].get(), lockedButtons[index].get()}) {
            button->setRemoved(false);
            GameNode::addChild(shelf, button);
        }
    }
    refresh();
    playShowAnimation();
}

void DialogTrophyScreen::hide()
{
    setInputEnabled(false);
    closeHint();
    DialogTortelune::hide();
}

void DialogTrophyScreen::refresh()
{
    PlayerManager* players = PlayerManager::getInstance();
    const int playerCount = players ? static_cast<int>(players->getPlayers().size()) : 0;
    TortelunePlayer* player = getShownPlayer();
    if (header) {
        header->setText(player ? toWideString(player->getName()) : WString());
        header->updateLayout();
    }
    if (previousButton)
        previousButton->setEnabled(player && shownPlayer > 0);
    if (nextButton)
        nextButton->setEnabled(player && shownPlayer < playerCount - 1);
    refreshTrophies(player);
}

void DialogTrophyScreen::refreshTrophies(TortelunePlayer* player)
{
    Trophies* trophies = player ? player->getTrophies() : nullptr;
    Scene* scene = TrophyWatcher::targetScene();
    for (size_t i = 0; i < earnedButtons.size(); ++i) {
        const int index = static_cast<int>(i);
        Button* earned = earnedButtons[i].get();
        Button* locked = lockedButtons[i].get();
        GameNode::cancelModifiers(earned);
        GameNode::cancelModifiers(locked);
        earned->setAlpha(255);
        // A player whose trophy file is shorter has no such trophy: nothing shows.
        const bool exists = trophies && index < trophies->getCount();
        int state = exists ? trophies->getState(index) : -1;
        earned->setVisible(state == Trophy::Seen);
        earned->setEnabled(state == Trophy::Seen);
        if (state == Trophy::Announced) {
            trophies->setState(index, Trophy::Seen);
            if (scene) {
                Modifier* step = Modifier::addChild(scene->getAnimTree(),
                                                    targeted(new ModifierSound("SOUND_TROPHY_ADDED", "sounds", true), earned));
                step = Modifier::addChild(step, targeted(new ModifierVisible(true), earned));
                step = Modifier::addChild(step, targeted(new ModifierEnabled(ModifierEnabled::Enable), earned));
                Modifier::addChild(step, twinkles(earned));
                Modifier::addChild(step, targeted(new ModifierBlink(255, 150, 400, 500, 0, 0, 3), earned));
            } else {
                earned->setVisible(true);
                earned->setEnabled(true);
            }
        } else if (state == Trophy::Seen && scene) {
            Modifier::addChild(scene->getAnimTree(), twinkles(earned));
        }
        locked->setAlpha(kLockedRestAlpha);
        locked->setVisible(state == Trophy::NotEarned);
        locked->setEnabled(state == Trophy::NotEarned);
    }
}

int DialogTrophyScreen::previous(BaseObject* /*button*/)
{
    if (shownPlayer > 0) {
        --shownPlayer;
        refresh();
    }
    return 0;
}

int DialogTrophyScreen::next(BaseObject* /*button*/)
{
    PlayerManager* players = PlayerManager::getInstance();
    if (players && shownPlayer >= 0 && shownPlayer < static_cast<int>(players->getPlayers().size()) - 1) {
        ++shownPlayer;
        refresh();
    }
    return 0;
}

int DialogTrophyScreen::onTrophyClicked(BaseObject* button)
{
    closeHint();
    auto* clicked = objectCast<Button>(button);
    Scene* scene = TrophyWatcher::targetScene();
    if (!clicked || !scene)
        return 0;
    Dialog* dialog = scene->getOrCreateDialog(kInfoTemplate, kInfoTemplate);
    auto* info = objectCast<DialogTrophyInfo>(dialog);
    if (!info) {
        if (dialog)
            scene->forgetDialog(dialog);
        LOG_WARNING(std::string("the template \"") + kInfoTemplate + "\" makes no trophy information");
        return 0;
    }
    if (!info->setTrophy(clicked->getTag())) {
        scene->forgetDialog(info);
        return 0;
    }
    scene->showDialog(info);
    return 0;
}

int DialogTrophyScreen::trophyAt(int x, int y) const
{
    for (size_t i = 0; i < earnedButtons.size(); ++i)
        if (earnedButtons[i]->containsPoint(x, y))
            return static_cast<int>(i);
    return -1;
}

void DialogTrophyScreen::closeHint()
{
    if (openHint)
        openHint->close();
    openHint = nullptr;
}

void DialogTrophyScreen::openHintFor(int index)
{
    Scene* scene = TrophyWatcher::targetScene();
    if (!scene)
        return;
    if (Dialog* previousHint = scene->getDialog(kHintTemplate + std::to_string(hintCounter - 1)))
        scene->forgetDialog(previousHint);
    const std::string name = kHintTemplate + std::to_string(hintCounter);
    ++hintCounter;
    Dialog* dialog = scene->getOrCreateDialog(name, kHintTemplate);
    auto* hint = objectCast<DialogTrophyHint>(dialog);
    openHint = nullptr;
    if (!hint) {
        if (dialog)
            scene->forgetDialog(dialog);
        LOG_WARNING(std::string("the template \"") + kHintTemplate + "\" makes no trophy hint");
        return;
    }
    if (!hint->setTrophy(index)) {
        scene->forgetDialog(hint);
        return;
    }
    hint->setAutoCenter(false);
    hint->placeBottomLeft(hintX, hintBottom);
    scene->showDialog(hint);
    openHint = hint;
}

bool DialogTrophyScreen::onMouseMove(int x, int y, int keys)
{
    const int found = trophyAt(x, y);
    if (!openHint && found >= 0)
        openHintFor(found);
    else if (openHint && found < 0)
        closeHint();
    else if (openHint && found != openHint->getTrophy())
        openHintFor(found);
    for (size_t i = 0; i < lockedButtons.size(); ++i)
        lockedButtons[i]->setAlpha(static_cast<int>(i) == found ? 255 : kLockedRestAlpha);
    return DialogTortelune::onMouseMove(x, y, keys);
}
