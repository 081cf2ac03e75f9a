// The grid's floaters: the texts that rise from long runs and count the combo
// chain, the frenzy picture, and the letters that fly into the bonus meter
// when a chain ends.

#include <algorithm>
#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierLocationPolygonicPath.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/Polygon.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/LettersLabel.h"
#include "game/scenes/HintManager.h"

namespace {

// The text of `key` with its "%" replaced by `number`.
WString numberedText(const std::string& key, int number)
{
    WString text = BasicProperties::instance ? BasicProperties::instance->getText(key) : WString();
    const size_t at = text.find(u'%');
    if (at == WString::npos)
        return text;
    const std::string digits = std::to_string(number);
    return text.substr(0, at) + WString(digits.begin(), digits.end()) + text.substr(at + 1);
}

// Floaters fade where they stand instead of flying while the meter cannot take more.
bool meterTakesNothing()
{
    GameDataState* state = boardState();
    if (!state)
        return true;
    return state->bonusMeter.isFrenzy() || state->bonusMeter.getFill() >= static_cast<float>(tuning().BONUS_MAX);
}

RefPointer<Label> makeLabel(const std::string& fontKey, int x, int y, const WString& text)
{
    RefPointer<BitmapFont> font = ResourceLookup::findAs<BitmapFont>(fontKey, "scenegame");
    if (!font)
        LOG_WARNING(fontKey + " is missing; the floater has no font");
    RefPointer<Label> label(new Label(font.get(), x, y, 0, 0));
    label->setText(text);
    label->setAnchorStyle(Sprite::Center);
    label->updateLayout();
    return label;
}

} // namespace

void Grid::showComboFloater(const MatchGroup& run, int strength)
{
    GameNode* layer = host ? host->getFloaterLayer() : nullptr;
    Modifier* root = BoardHost::animationRoot();
    const TuningTable& t = tuning();
    if (!comboFloater)
        comboFloater = makeLabel("FONT_FLOATER_COMBO", t.COMBO_FLOATER_X, t.COMBO_FLOATER_Y, WString());
    comboFloater->setText(numberedText("TEXT_COMBO", run.combo));
    comboFloater->setAnchorStyle(Sprite::Center);
    comboFloater->updateLayout();
    if (layer && comboFloater->getParent() != layer)
        GameNode::addChild(layer, comboFloater.get());
    comboFloater->setRemoved(false);
    const int n = std::min(strength, 10);
    if (!root)
        return;
    Modifier* after = root;
    if (n > 0) {
        auto* sound = new ModifierSound("SOUND_COMBO" + std::to_string(n), "sounds", true);
        sound->setTarget(comboFloater.get());
        after = Modifier::addChild(root, sound);
    }
    const int half = t.COMBO_SCALE_DURATION / 2;
    auto* grow = new ModifierScale(half, 1.0f, 1.0f + static_cast<float>(n) * t.COMBO_SCALE_FACTOR);
    grow->setTarget(comboFloater.get());
    Modifier::addChild(after, grow);
    auto* shrink = new ModifierScale(half, 1.0f + static_cast<float>(n) * t.COMBO_SCALE_FACTOR, 1.0f);
    shrink->setTarget(comboFloater.get());
    Modifier::addChild(grow, shrink);
}

void Grid::showMatchFloater(const MatchGroup& run, int x, int y)
{
    const int length = static_cast<int>(run.cells.size());
    GameNode* layer = host ? host->getFloaterLayer() : nullptr;
    Modifier* root = BoardHost::animationRoot();
    if (!layer || !root)
        return;
    const TuningTable& t = tuning();
    RefPointer<Label> label = makeLabel("FONT_FLOATER_MATCH", x, y, numberedText("TEXT_MATCH", length));
    GameNode::addChild(layer, label.get());
    label->setRemoved(false);
    Modifier* popped = addBouncePopEffect(label.get(), root, false, false,
                                          static_cast<float>(length - 3) * t.FLOATER_SCALE_FACTOR);
    const int duration = scaledDuration(t.FLOATER_DURATION);
    auto* rise = new ModifierLocationLine(duration, x, y, x, y - t.FLOATER_TRAVEL, easing::quadratic);
    rise->setTarget(label.get());
    Modifier::addChild(popped, rise);
    if (meterTakesNothing()) {
        auto* wait = new ModifierDelay(duration * 3 / 4);
        wait->setEndFlags(Modifier::EndWait);
        wait->setTarget(label.get());
        Modifier::addChild(popped, wait);
        auto* fade = new ModifierAlpha(duration / 4, 255, 0);
        fade->setTarget(label.get());
        fade->setEndFlags(Modifier::EndRemoveTarget);
        Modifier::addChild(wait, fade);
        return;
    }
    label->setTag(256 * std::min(length, 7));
    auto* fly = new ModifierFunction(GuiMethod(link.get(), &Grid::floaterCallback), link.get());
    fly->setTarget(label.get());
    fly->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(rise, fly);
}

void Grid::showFrenzyFloater(int x, int y)
{
    GameDataState* state = boardState();
    if (state) {
        PlaySessionInfo& session = state->playSessionInfo;
        session.addScore(static_cast<float>(tuning().FRENZY_SCORE_FLOATER));
        if (session.score < 0)
            session.score = 0;
    }
    GameNode* layer = host ? host->getFloaterLayer() : nullptr;
    Modifier* root = BoardHost::animationRoot();
    if (!layer || !root)
        return;
    const TuningTable& t = tuning();
    RefPointer<Image> picture = ResourceLookup::findAs<Image>("BONUSFRENZYFLOATER", "scenegame");
    RefPointer<Sprite> sprite(new Sprite(x, y, picture.get()));
    sprite->setAnchorPoint(Sprite::Center);
    GameNode::addChild(layer, sprite.get());
    sprite->setRemoved(false);
    auto* sound = new ModifierSound("SOUND_FRENZY_FLOATER", "sounds", true);
    sound->setTarget(sprite.get());
    Modifier* after = Modifier::addChild(root, sound);
    const int duration = scaledDuration(t.FLOATER_DURATION);
    auto* rise = new ModifierLocationLine(duration, x, y, x, y - t.FLOATER_TRAVEL, easing::quadratic);
    rise->setTarget(sprite.get());
    Modifier::addChild(after, rise);
    auto* wait = new ModifierDelay(duration * 3 / 4);
    wait->setEndFlags(Modifier::EndWait);
    wait->setTarget(sprite.get());
    Modifier::addChild(after, wait);
    auto* fade = new ModifierAlpha(duration / 4, 255, 0);
    fade->setTarget(sprite.get());
    fade->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(wait, fade);
}

void Grid::finishCombo()
{
    Modifier* root = BoardHost::animationRoot();
    if (comboFloater && root) {
        Modifier* step;
        if (meterTakesNothing()) {
            step = new ModifierAlpha(scaledDuration(tuning().COMBO_FADE_DURATION), 255, 0);
        } else {
            step = new ModifierFunction(GuiMethod(link.get(), &Grid::floaterCallback), link.get());
            comboFloater->setTag(std::min(10, std::max(0, comboCount)));
        }
        step->setTarget(comboFloater.get());
        step->setEndFlags(Modifier::EndRemoveTarget);
        Modifier::addChild(root, step);
    } else if (comboFloater) {
        comboFloater->setRemoved(true);
    }
    comboCount = 0;
    comboFloaterCount = 0;
    comboFloater.reset();
}

int Grid::floaterCallback(void* context, BaseObject* argument)
{
    Grid* grid = static_cast<GridLink*>(context)->grid;
    Modifier* step = objectCast<Modifier>(argument);
    Label* label = step ? objectCast<Label>(step->getTarget()) : nullptr;
    if (grid && label)
        grid->flyFloaterToBonusMeter(label);
    return 0;
}

void Grid::flyFloaterToBonusMeter(Label* floater)
{
    Modifier* root = BoardHost::animationRoot();
    GameNode* parent = floater->getParent();
    if (!host || !host->isPlaying() || !root || !parent)
        return;
    const TuningTable& t = tuning();
    RefPointer<LettersLabel> letters(new LettersLabel(floater));
    GameNode::insertAfter(letters.get(), floater);
    letters->buildLetters();
    std::vector<RefPointer<Sprite>> flying;
    for (const RefPointer<Sprite>& letter : letters->getLetters()) {
        RefPointer<Sprite> copy(new Sprite(letter->getAbsoluteX(), letter->getAbsoluteY(), letter->getImage()));
        copy->setTag(floater->getTag());
        flying.push_back(copy);
    }
    letters->clearLetters();
    letters->setRemoved(true);
    const int count = static_cast<int>(flying.size());
    const float travel = t.BONUS_POLYGONPATH_TRAVEL * (2.0f - boardSpeed());
    for (int i = 0; i < count; ++i) {
        Sprite* letter = flying[static_cast<size_t>(i)].get();
        Sprite::setAnchorPointKeepingPosition(letter, Sprite::Center);
        const float x = static_cast<float>(letter->getX());
        const float y = static_cast<float>(letter->getY());
        RefPointer<Polygon> path(new Polygon());
        path->addPoint(x, y);
        path->addPoint(x + (static_cast<float>(t.BONUS_POLYGONPATH_DEST_X) - x) / 2.0f,
                       static_cast<float>(y < 100.0f ? t.BONUS_POLYGONPATH_MIDH_Y : t.BONUS_POLYGONPATH_MIDL_Y));
        path->addPoint(static_cast<float>(t.BONUS_POLYGONPATH_DEST_X), static_cast<float>(t.BONUS_POLYGONPATH_DEST_Y));
        path->smoothPath(0, path->getPointCount() - 1, t.BONUS_POLYGONPATH_SMOOTHEN, false);
        // The last letter leaves first.
        auto* wait = new ModifierDelay(scaledDuration(t.BONUS_POLYGONPATH_DELAY) * (count - i - 1));
        wait->setEndFlags(Modifier::EndWait);
        wait->setTarget(letter);
        Modifier::addChild(root, wait);
        const int duration = static_cast<int>(travel) * static_cast<int>(path->getLength());
        auto* flight = new ModifierLocationPolygonicPath(path.get(), duration, false, true);
        flight->setTarget(letter);
        Modifier::addChild(wait, flight);
        if (i == count - 1) {
            auto* arrived = new ModifierFunction(GuiMethod(link.get(), &Grid::letterArrivedCallback), link.get());
            arrived->setTarget(letter);
            arrived->setEndFlags(Modifier::EndRemoveTarget);
            Modifier::addChild(flight, arrived);
        } else {
            flight->setEndFlags(Modifier::EndRemoveTarget);
        }
        GameNode::insertAfter(letter, floater);
        letter->setRemoved(false);
    }
    GameDataState* state = boardState();
    TortelunePlayer* player = boardPlayer();
    if (state && player && !player->hasSeenHint("HINT_BONUSMETER") && HintManager::instance) {
        const LevelManager& levels = state->mode == 1 ? state->arcadeManager : state->levelManager;
        if (levels.getCurrentIndex() > 0)
            HintManager::instance->showHint("HINT_BONUSMETER");
    }
}

int Grid::letterArrivedCallback(void* context, BaseObject* argument)
{
    Grid* grid = static_cast<GridLink*>(context)->grid;
    Modifier* step = objectCast<Modifier>(argument);
    GameNode* letter = step ? step->getTarget() : nullptr;
    if (grid && letter && grid->host)
        grid->host->deliverToBonusMeter(letter);
    return 0;
}
