#include "game/dialogs/DialogArcadeEnd.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/players/PlayerManager.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/effects/Effects.h"
#include "game/effects/LabelTicker.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/PlaySessionInfo.h"
#include "game/scenes/SceneGame.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(DialogArcadeEnd, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogArcadeEnd);

namespace {

const char* const kTickers[4] = {"TICKER_LEVEL", "TICKER_LEVELRECORD", "TICKER_SCORE", "TICKER_SCORERECORD"};
const char* const kTickerLabels[4] = {"LABEL_LEVELVALUE", "LABEL_LEVELRECORDVALUE", "LABEL_SCOREVALUE",
                                      "LABEL_SCORERECORDVALUE"};
// Everything the reveal brings in, row by row.
const char* const kRevealed[] = {"LABEL_SET",         "LABEL_NAME",          "LABEL_LEVEL",
                                 "LABEL_LEVELVALUE",  "SPRITE_LEVELICON",    "LABEL_LEVELRECORD",
                                 "LABEL_LEVELRECORDVALUE", "SPRITE_LEVELRECORDICON", "LABEL_SCORE",
                                 "LABEL_SCOREVALUE",  "LABEL_SCORERECORD",   "LABEL_SCORERECORDVALUE"};
const char* const kPanels[] = {"SPRITE_PANELLEVEL", "SPRITE_PANELSCORE", "SPRITE_LEVELLINE", "SPRITE_SCORELINE",
                               "SPRITE_LEVELNEWRECORD", "SPRITE_SCORENEWRECORD"};

template <class Step>
Modifier* then(Modifier* parent, GameNode* target, Step* step)
{
    if (!parent)
        return nullptr;
    step->setTarget(target);
    return Modifier::addChild(parent, step);
}

void showAtFull(GameNode* node)
{
    if (!node)
        return;
    node->setVisible(true);
    if (auto* sprite = objectCast<Sprite>(node)) {
        sprite->setAlpha(255);
        sprite->setScale(1.0f);
    }
}

} // namespace

DialogArcadeEnd::DialogArcadeEnd(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    restartButton = objectCast<Button>(bindComponent("BUTTON_RESTART", GuiMethod(this, &DialogArcadeEnd::onRestart)));
    stopButton = objectCast<Button>(bindComponent("BUTTON_STOP", GuiMethod(this, &DialogArcadeEnd::onStop)));
    for (int i = 0; i < 4; ++i) {
        tickers[i] = objectCast<LabelTicker>(getComponent(kTickers[i]));
        if (tickers[i]) {
            tickers[i]->setLabel(getComponent(kTickerLabels[i]));
            tickers[i]->refreshText();
        }
    }
    revealSequence = new ModifierContainer();
    if (Modifier* tree = animationTree())
        Modifier::addChild(tree, revealSequence.get());
}

DialogArcadeEnd::~DialogArcadeEnd()
{
    if (revealSequence)
        revealSequence->kill();
}

GameNode* DialogArcadeEnd::getComponent(const std::string& name)
{
    if (GameNode* found = DialogTortelune::getComponent(name))
        return found;
    for (int i = 0; i < 4; ++i)
        if (tickers[i] && name == kTickerLabels[i])
            return tickers[i]->getLabel();
    return nullptr;
}

Modifier* DialogArcadeEnd::animationTree() const
{
    if (SceneGame* scene = SceneGame::getInstance())
        return static_cast<Modifier*>(scene->getAnimTree());
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    return scene ? static_cast<Modifier*>(scene->getAnimTree()) : nullptr;
}

void DialogArcadeEnd::show()
{
    showAndFadeIn();
}

int DialogArcadeEnd::onRestart(void* context, BaseObject*)
{
    auto* dialog = static_cast<DialogArcadeEnd*>(context);
    dialog->result = 0;
    dialog->close();
    return 0;
}

int DialogArcadeEnd::onStop(void* context, BaseObject*)
{
    auto* dialog = static_cast<DialogArcadeEnd*>(context);
    dialog->result = 2;
    dialog->close();
    return 0;
}

void DialogArcadeEnd::showResults(DialogArcadeEnd* dialog, const PlaySessionInfo& session)
{
    if (!dialog)
        return;
    for (Button* button : {dialog->restartButton, dialog->stopButton}) {
        if (!button)
            continue;
        button->setVisible(false);
        button->setEnabled(false);
        button->setAlpha(0);
    }
    GameDataState* state = GameData::instance ? GameData::instance->state : nullptr;
    const int set = state ? state->arcadeManager.getCurrentIndex() : 0;
    setLabelText(dialog->getComponent("LABEL_SET"),
                 textByKey("TEXT_ARCADEINFO_SET") + toWideString(" ") + groupedNumber(set + 1));
    setLabelText(dialog->getComponent("LABEL_NAME"),
                 textByKey("TEXT_ARCADENAME" + std::to_string(std::clamp(set, 0, 5))));
    auto* player = PlayerManager::getInstance()
                       ? dynamic_cast<TortelunePlayer*>(PlayerManager::getInstance()->getCurrentPlayer())
                       : nullptr;
    auto stored = [](const std::map<int, int>& table, int key) {
        auto found = table.find(key);
        return found == table.end() ? 0 : found->second;
    };
    dialog->level = session.arcadeLevel + 1;
    dialog->levelRecord = (player ? stored(player->arcadeLevel, set) : 0) + 1;
    dialog->score = session.score;
    dialog->scoreRecord = player ? stored(player->arcadeScore, set) : 0;
    dialog->newLevelRecord = dialog->level > dialog->levelRecord;
    dialog->newScoreRecord = dialog->score > dialog->scoreRecord;
    dialog->buildReveal();
}

void DialogArcadeEnd::buildReveal()
{
    if (!revealSequence) {
        revealSequence = new ModifierContainer();
        if (Modifier* tree = animationTree())
            Modifier::addChild(tree, revealSequence.get());
    }
    revealDone = false;
    const bool record = newLevelRecord || newScoreRecord;
    for (LabelTicker* ticker : tickers) {
        if (!ticker)
            continue;
        ticker->setTarget(0);
        ticker->skipToTarget(true);
    }
    for (const char* name : kPanels)
        if (GameNode* node = getComponent(name))
            node->setVisible(false);
    Modifier* root = revealSequence.get();
    auto fade = [&](Modifier* after, const char* name) -> Modifier* {
        GameNode* node = getComponent(name);
        Modifier* done = node ? addFadeInEffect(node, after, record, 1.5f, 1.0f, 128, 255) : nullptr;
        return done ? done : after;
    };
    auto showStep = [&](Modifier* after, const char* name) {
        GameNode* node = getComponent(name);
        return node ? then(after, node, new ModifierVisible(true)) : after;
    };
    auto line = [&](Modifier* after) {
        if (record)
            then(after, nullptr, new ModifierSound("SOUND_NEWLINE", "sounds", true));
    };
    auto count = [&](Modifier* after, int ticker, int value) {
        return tickers[ticker] ? then(after, tickers[ticker], new ModifierLabelTicker(value, false)) : after;
    };
    auto wait = [&](Modifier* after, int ms) { return then(after, nullptr, new ModifierDelay(ms)); };
    // The mark hangs on its panel's edge beside the figure: the figure it
    // celebrates stays readable.
    auto newRecord = [&](Modifier* after, const char* mark) {
        GameNode* sprite = getComponent(mark);
        if (!sprite)
            return;
        then(after, sprite, new ModifierVisible(true));
        then(after, sprite, new ModifierFrame(-1, 150));
    };

    Modifier* step = wait(root, 1000);
    step = fade(step, "LABEL_SET");
    step = fade(step, "LABEL_NAME");
    step = showStep(step, "SPRITE_PANELLEVEL");
    line(step);
    Modifier* row = fade(step, "LABEL_LEVEL");
    fade(step, "LABEL_LEVELVALUE");
    fade(step, "SPRITE_LEVELICON");
    step = count(wait(row, 200), 0, level);
    if (newLevelRecord)
        newRecord(step, "SPRITE_LEVELNEWRECORD");
    step = showStep(step, "SPRITE_LEVELLINE");
    line(step);
    row = fade(step, "LABEL_LEVELRECORD");
    fade(step, "LABEL_LEVELRECORDVALUE");
    fade(step, "SPRITE_LEVELRECORDICON");
    step = count(wait(row, 200), 1, std::max(level, levelRecord));
    step = showStep(step, "SPRITE_PANELSCORE");
    line(step);
    row = fade(step, "LABEL_SCORE");
    fade(step, "LABEL_SCOREVALUE");
    step = count(wait(row, 200), 2, score);
    if (newScoreRecord)
        newRecord(step, "SPRITE_SCORENEWRECORD");
    step = showStep(step, "SPRITE_SCORELINE");
    line(step);
    row = fade(step, "LABEL_SCORERECORD");
    fade(step, "LABEL_SCORERECORDVALUE");
    step = count(wait(row, 200), 3, std::max(score, scoreRecord));
    then(step, nullptr, new ModifierFunction(GuiMethod(this, &DialogArcadeEnd::onRevealFinished)));
}

int DialogArcadeEnd::onRevealFinished(void* context, BaseObject*)
{
    auto* dialog = static_cast<DialogArcadeEnd*>(context);
    dialog->revealDone = true;
    dialog->addTwinkles(2);
    Modifier* wait = dialog->revealSequence ? then(dialog->revealSequence.get(), nullptr, new ModifierDelay(500))
                                            : nullptr;
    for (Button* button : {dialog->restartButton, dialog->stopButton}) {
        if (!button || !wait)
            continue;
        then(wait, button, new ModifierEnabled(ModifierEnabled::Enable));
        then(wait, button, new ModifierVisible(true));
        then(wait, button, new ModifierAlpha(100, 0, 255));
    }
    return 0;
}

void DialogArcadeEnd::skipReveal()
{
    if (revealSequence) {
        revealSequence->finish();
        revealSequence->kill();
        revealSequence = nullptr;
    }
    for (const char* name : {"LABEL_SET", "LABEL_NAME"})
        showAtFull(getComponent(name));
    for (const char* name : {"SPRITE_PANELLEVEL", "SPRITE_PANELSCORE", "SPRITE_LEVELLINE", "SPRITE_SCORELINE"})
        showAtFull(getComponent(name));
    Modifier* tree = animationTree();
    auto mark = [&](const char* name) {
        GameNode* sprite = getComponent(name);
        if (!sprite)
            return;
        sprite->setVisible(true);
        if (tree)
            then(tree, sprite, new ModifierFrame(-1, 150));
    };
    if (newScoreRecord)
        mark("SPRITE_SCORENEWRECORD");
    if (newLevelRecord)
        mark("SPRITE_LEVELNEWRECORD");
    for (const char* name : kRevealed)
        showAtFull(getComponent(name));
    const int targets[4] = {level, std::max(level, levelRecord), score, std::max(score, scoreRecord)};
    for (int i = 0; i < 4; ++i) {
        if (!tickers[i])
            continue;
        tickers[i]->setTarget(targets[i]);
        tickers[i]->skipToTarget(true);
    }
    for (Button* button : {restartButton, stopButton}) {
        if (!button)
            continue;
        button->setEnabled(true);
        button->setVisible(true);
        button->setAlpha(255);
    }
    addTwinkles(2);
    revealDone = true;
}

bool DialogArcadeEnd::onLeftUp(int x, int y, int keys)
{
    if (!revealDone)
        skipReveal();
    return DialogTortelune::onLeftUp(x, y, keys);
}
