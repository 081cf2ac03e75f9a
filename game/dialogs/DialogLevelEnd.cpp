#include "game/dialogs/DialogLevelEnd.h"

#include <algorithm>
#include <random>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/IRenderable.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/Level.h"
#include "game/data/RankTable.h"
#include "game/data/Recipe.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogRankUp.h"
#include "game/effects/Effects.h"
#include "game/effects/LabelTicker.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/PlaySessionInfo.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(DialogLevelEnd, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogLevelEnd);

namespace {

// The tallest hop of a pastry, and the space it keeps below the theme and level lines.
constexpr int kCakeHopHeight = 50;
constexpr int kCakeLineGap = 4;

// How far down the current frame of a sprite's picture its first opaque row lies.
int firstOpaqueRow(const Sprite* sprite)
{
    Image* picture = sprite ? sprite->getImage() : nullptr;
    if (!picture || picture->getBytesPerPixel() != 4)
        return 0;
    const int frames = std::max(1, sprite->getFrameCount());
    const int height = picture->getHeight() / frames;
    const int top = std::clamp(sprite->getCurrentFrame(), 0, frames - 1) * height;
    picture->lock();
    int row = 0;
    for (; row < height; ++row) {
        const uint32_t* pixels = picture->row32(top + row);
        if (std::any_of(pixels, pixels + picture->getWidth(), [](uint32_t argb) { return (argb >> 24) >= 32; }))
            break;
    }
    picture->unlock();
    return row;
}

// Each row: its star sprite, its label, its value label and its counter.
struct RowNames {
    const char* row;
    const char* star;
    const char* label;
    const char* value;
    const char* ticker;
};

const RowNames kRows[] = {
    {"QUALITY", "SPRITE_QUALITY_STAR", "LABEL_QUALITY", "LABEL_QUALITYVALUE", "TICKER_QUALITY"},
    {"PREVIOUS", "SPRITE_PREVIOUS_STAR", "LABEL_PREVIOUS", "LABEL_PREVIOUSVALUE", "TICKER_PREVIOUS"},
    {"GOAL", "SPRITE_GOAL_STAR", "LABEL_GOAL", "LABEL_GOALVALUE", "TICKER_GOAL"},
    {"NEW", "SPRITE_NEW_STAR", "LABEL_NEW", "LABEL_NEWVALUE", "TICKER_NEW"},
    {"MISSED", "SPRITE_MISSED_STAR", "LABEL_MISSED", "LABEL_MISSEDVALUE", "TICKER_MISSED"},
    {"SCORE", nullptr, "LABEL_SCORE", "LABEL_SCOREVALUE", "TICKER_SCORE"},
    {"TOTAL", nullptr, "LABEL_TOTAL", "LABEL_TOTALVALUE", "TICKER_TOTAL"},
    {"CASH", nullptr, "LABEL_CASH", "LABEL_CASHVALUE", "TICKER_CASH"},
};

const RowNames* rowNamed(const char* row)
{
    for (const RowNames& names : kRows)
        if (std::string(names.row) == row)
            return &names;
    return nullptr;
}

const char* const kPanels[] = {"PANELEARNEDSTARS", "PANELTOTALSTARS", "PANELSCORE", "PANELMETER",
                               "PANELEXAMFAILURE"};

TortelunePlayer* player()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? dynamic_cast<TortelunePlayer*>(players->getCurrentPlayer()) : nullptr;
}

void setShown(GameNode* target, bool visible)
{
    if (target)
        target->setVisible(visible);
}

// Visible, opaque, at full size.
void settle(GameNode* target)
{
    if (!target)
        return;
    GameNode::cancelModifiers(target);
    target->setVisible(true);
    if (auto* picture = objectCast<Sprite>(target)) {
        picture->setAlpha(255);
        picture->setScale(1.0f);
    }
}

Modifier* then(Modifier* parent, GameNode* target, Modifier* step)
{
    step->setTarget(target);
    return Modifier::addChild(parent, step);
}

Image* imageNamed(const std::string& name, const char* section)
{
    if (!ResourceManager::instance)
        return nullptr;
    ResourceLock lock;
    return ResourceManager::instance->getResourceAs<Image>(name, section).get();
}

} // namespace

DialogLevelEnd::DialogLevelEnd(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    playSounds = false;
    bindComponent("BUTTON_RESTART", GuiMethod(this, &DialogLevelEnd::onRestart));
    bindComponent("BUTTON_NEXT", GuiMethod(this, &DialogLevelEnd::onNext));
    bindComponent("BUTTON_STOP", GuiMethod(this, &DialogLevelEnd::onStop));
    bindTickers();
    sequenceContainer = new ModifierContainer();
    effectsContainer = new ModifierContainer();
    if (SceneGame* scene = SceneGame::getInstance()) {
        Modifier::addChild(scene->getAnimTree(), sequenceContainer.get());
        Modifier::addChild(scene->getAnimTree(), effectsContainer.get());
    }
}

DialogLevelEnd::~DialogLevelEnd()
{
    for (RefPointer<ModifierContainer>* container : {&sequenceContainer, &effectsContainer}) {
        if (*container) {
            (*container)->finish();
            (*container)->kill();
        }
        *container = nullptr;
    }
    for (RefPointer<GameNode>* layer : {&confettiBack, &confettiFront}) {
        if (*layer)
            (*layer)->setRemoved(true);
        *layer = nullptr;
    }
}

void DialogLevelEnd::bindTickers()
{
    for (const RowNames& names : kRows) {
        auto* ticker = objectCast<LabelTicker>(getComponent(names.ticker));
        GameNode* value = getComponent(names.value);
        if (ticker && value && !ticker->getLabel()) {
            ticker->setPosition(0, 0);
            ticker->setLabel(value);
        }
    }
}

GameNode* DialogLevelEnd::node(const std::string& name) const
{
    auto* self = const_cast<DialogLevelEnd*>(this);
    if (GameNode* found = self->getComponent(name))
        return found;
    // A value label lives under its counter once bound.
    for (const RowNames& names : kRows)
        if (name == names.value)
            if (auto* ticker = objectCast<LabelTicker>(self->getComponent(names.ticker)))
                return ticker->getLabel();
    return nullptr;
}

Sprite* DialogLevelEnd::sprite(const std::string& name) const
{
    return objectCast<Sprite>(node(name));
}

Label* DialogLevelEnd::label(const std::string& name) const
{
    return objectCast<Label>(node(name));
}

LabelTicker* DialogLevelEnd::getTicker(const std::string& name) const
{
    return objectCast<LabelTicker>(node(name));
}

int DialogLevelEnd::profileRank() const
{
    TortelunePlayer* p = player();
    return p ? p->rank : 0;
}

int DialogLevelEnd::profileScore() const
{
    TortelunePlayer* p = player();
    return p ? p->score : 0;
}

int DialogLevelEnd::profileTotalStars() const
{
    TortelunePlayer* p = player();
    return p ? p->getTotalStars() + p->starsOffset : 0;
}

int DialogLevelEnd::topRank() const
{
    RankTable* ranks = RankTable::getInstance();
    return ranks ? ranks->getRankCount() - 1 : 0;
}

void DialogLevelEnd::setRow(const char* rowName, bool visible)
{
    const RowNames* names = rowNamed(rowName);
    if (!names)
        return;
    for (const char* part : {names->star, names->label, names->value})
        if (part)
            setShown(node(part), visible);
}

void DialogLevelEnd::hideAllRows()
{
    for (const RowNames& names : kRows)
        setRow(names.row, false);
    for (const char* name : {"LABEL_THEME", "LABEL_LEVEL", "LABEL_FAILED", "LABEL_EXAMSUCCESS", "LABEL_EXAMFAILURE",
                             "SPRITE_LINESTARS", "SPRITE_LINESCORE", "SPRITE_STAR", "SPRITE_CAKE0", "SPRITE_CAKE1",
                             "SPRITE_CAKE2", "SPRITE_CAKE3"})
        setShown(node(name), false);
    for (const char* panel : kPanels) {
        setShown(node(std::string("SPRITE_") + panel), false);
        setShown(node(std::string("SPRITE_ICE") + panel), false);
    }
}

void DialogLevelEnd::showResults(const Level& level, const PlaySessionInfo& session, bool levelWon)
{
    TortelunePlayer* p = player();
    const int index = level.levelIndex;
    const bool notMaxRank = profileRank() < topRank();
    hasPrevious = p && p->levelScore.count(index) && p->levelScore.at(index) > 0;
    isExam = level.themeName.find("exam") != std::string::npos;
    won = levelWon;
    goalStars = level.starsGoal;
    hideAllRows();

    const std::string panelPrefix = isExam ? "SPRITE_ICE" : "SPRITE_";
    if (isExam) {
        if (Sprite* top = sprite("SPRITE_RANKMAX")) {
            top->setImage(imageNamed("LEVELEND_MAXRANKEXAM", "dialogs"));
            top->setFrameCount(2, false);
        }
    }
    // The meter panel stands from the start; the others come in with their rows.
    setShown(node(panelPrefix + "PANELMETER"), true);
    for (const char* name : {"BUTTON_NEXT", "BUTTON_RESTART", "BUTTON_STOP"}) {
        if (auto* button = objectCast<Button>(node(name))) {
            button->setEnabled(false);
            button->setVisible(false);
            button->setAlpha(0);
        }
    }
    setLabelText(label("LABEL_RESULT"), textByKey(won ? "TEXT_LEVELEND_RESULT_WIN" : "TEXT_LEVELEND_RESULT_LOSE"));
    setShown(node("LABEL_RESULT"), true);
    for (const char* name : {"SPRITE_FLAG", "SPRITE_SHINE_TOP", "SPRITE_SHINE_BOTTOM"})
        setShown(node(name), won);
    setLabelText(label("LABEL_THEME"), getThemeTitle(getThemeIndex(level.themeName)));
    const int perTheme = std::max(1, tuning().LEVEL_PER_THEME);
    WString levelLine = textByKey("TEXT_LEVELEND_LEVEL");
    levelLine += toWide((" " + std::to_string(index % perTheme + 1)).c_str());
    setLabelText(label("LABEL_LEVEL"), levelLine);

    if (isExam) {
        starsEarned = previousStars = missedStars = -1;
        // A passed exam pays its reward once: a later win adds nothing to the star total.
        newStars = hasPrevious ? 0 : level.starsReward;
    } else {
        starsEarned = session.starCount;
        previousStars = p && p->levelStars.count(index) ? p->levelStars.at(index) : 0;
        newStars = std::max(0, starsEarned - previousStars);
        missedStars = level.starsGoal - starsEarned;
    }
    sessionScore = session.score;
    oldTotalScore = profileScore();
    oldTotalStars = profileTotalStars();
    newTotalStars = oldTotalStars + newStars;

    pendingRankUps = false;
    meterPaused = false;
    if (notMaxRank) {
        startMeter(-2, oldTotalScore);
    } else {
        meterActive = false;
        shownRank = topRank();
        showTopRankLook();
    }
    if (!won) {
        for (const char* name : {"LABEL_RESULT", "LABEL_THEME", "LABEL_LEVEL"})
            if (GameNode* line = node(name))
                line->setY(line->getY() + 60);
    }
    if (Label* rankScore = label("LABEL_RANKSCORE")) {
        rankScore->setAlpha(0);
        rankScore->setVisible(false);
    }
    sequenceDone = false;
    confettiTimer = -1;
    pastFirstLevel = index > 0;
    if (sequenceContainer)
        buildReveal(sequenceContainer.get(), level);
}

Modifier* DialogLevelEnd::fadeIn(Modifier* parent, GameNode* target, bool zoom)
{
    if (!target)
        return parent;
    return addFadeInEffect(target, parent, zoom, 1.5f, 1.0f, 128, 255);
}

Modifier* DialogLevelEnd::row(Modifier* parent, const char* rowName, bool zoom)
{
    const RowNames* names = rowNamed(rowName);
    if (!names)
        return parent;
    if (names->star)
        fadeIn(parent, node(names->star), zoom);
    fadeIn(parent, node(names->label), zoom);
    return fadeIn(parent, node(names->value), zoom);
}

Modifier* DialogLevelEnd::countUp(Modifier* parent, const char* tickerName, int target)
{
    LabelTicker* ticker = getTicker(tickerName);
    if (!ticker)
        return parent;
    ticker->setTarget(0);
    ticker->skipToTarget(true);
    Modifier* wait = then(parent, ticker, new ModifierDelay(200));
    return then(wait, ticker, new ModifierLabelTicker(target, false));
}

Modifier* DialogLevelEnd::directValue(Modifier* parent, const char* tickerName, int target)
{
    if (LabelTicker* ticker = getTicker(tickerName)) {
        ticker->setTarget(target);
        ticker->skipToTarget(true);
    }
    return then(parent, this, new ModifierDelay(200));
}

Modifier* DialogLevelEnd::newLineSound(Modifier* parent)
{
    if (!won)
        return parent;
    return then(parent, this, new ModifierSound("SOUND_NEWLINE", "sounds", true));
}

Modifier* DialogLevelEnd::showStep(Modifier* parent, GameNode* target)
{
    if (!target)
        return parent;
    target->setVisible(false);
    return then(parent, target, new ModifierVisible(true));
}

Modifier* DialogLevelEnd::dropCakes(Modifier* parent, const Level& level)
{
    const int count = static_cast<int>(level.recipes.size());
    // As many cakes as the level has pastries, each a different one, the
    // group centred on the places of all four; a level without recipes keeps
    // the layout's four.
    cakesShown = count > 0 ? std::min(count, 4) : 4;
    int allX = 0;
    int shownX = 0;
    for (int i = 0; i < 4; ++i) {
        const Sprite* cake = sprite("SPRITE_CAKE" + std::to_string(i));
        const int x = cake ? cake->getX() : 0;
        allX += x;
        shownX += i < cakesShown ? x : 0;
    }
    const int shift = allX / 4 - shownX / cakesShown;
    for (int i = 0; i < 4 && count > 0; ++i) {
        Sprite* cake = sprite("SPRITE_CAKE" + std::to_string(i));
        if (cake && i >= cakesShown) {
            cake->setVisible(false);
            continue;
        }
        Recipe* recipe = level.recipes[static_cast<size_t>(i)];
        if (!cake || !recipe || recipe->getName().empty())
            continue;
        cake->setX(cake->getX() + shift);
        // A pastry may have a picture per cake; else each cake shows one of the level's pastries.
        std::string name = level.recipes[0]->getName();
        name.back() = static_cast<char>('1' + i);
        Image* picture = imageNamed(name, "scenegame");
        if (!picture)
            picture = imageNamed(recipe->getName(), "scenegame");
        if (picture)
            cake->setImage(picture);
    }
    Modifier* step = then(parent, this, new ModifierSound("SOUND_CAKESDROPIN", "sounds", true));
    int order[4] = {0, 1, 2, 3};
    std::shuffle(order, order + 4, std::minstd_rand(static_cast<unsigned>(
                                       Random::instance ? Random::instance->nextInt(0, 1 << 30) : 1)));
    for (int i : order) {
        Sprite* cake = sprite("SPRITE_CAKE" + std::to_string(i));
        if (!cake || i >= cakesShown)
            continue;
        cake->setAnchorPoint(Sprite::Bottom);
        const int x = cake->getX();
        const int y = cake->getY();
        const float w = static_cast<float>(cake->getWidth());
        const float h = static_cast<float>(cake->getHeight());
        cake->setPosition(x, y - 200);
        // The pastries drop in from under the theme and level lines, never over them.
        const int clipTop = linesBottom() + kCakeLineGap;
        cake->setClipRect(0, clipTop, 800, 600 - clipTop);
        step = then(step, cake, new ModifierVisible(true));
        step = then(step, cake, new ModifierLocationLine(100, x, y - 200, x, y, easeIn));
        step = then(step, cake, new ModifierStretch(50, w, h, w, static_cast<float>(static_cast<int>(h * 0.7f))));
        step = then(step, cake, new ModifierStretch(50, w, static_cast<float>(static_cast<int>(h * 0.7f)), w, h));
    }
    return step;
}

void DialogLevelEnd::buildReveal(Modifier* start, const Level& level)
{
    const std::string panelPrefix = isExam ? "SPRITE_ICE" : "SPRITE_";
    Modifier* step = then(start, this, new ModifierDelay(1000));
    step = fadeIn(step, node("LABEL_THEME"), won);
    step = fadeIn(step, node("LABEL_LEVEL"), won);
    if (won)
        step = dropCakes(step, level);

    bool totalStarsPanel = true;
    if (isExam && won) {
        GameNode* earnedPanel = node(panelPrefix + "PANELEARNEDSTARS");
        Modifier* group = showStep(step, earnedPanel);
        if (!hasPrevious)
            showStep(step, node("SPRITE_LINESTARS"));
        step = newLineSound(group);
        if (hasPrevious) {
            if (GameNode* success = node("LABEL_EXAMSUCCESS"))
                success->setY(success->getY() + tuning().EXAM_SUCCESS_OFFSET);
        }
        step = fadeIn(step, node("LABEL_EXAMSUCCESS"), true);
        step = newLineSound(step);
        if (!hasPrevious) {
            step = row(step, "NEW", won);
            step = countUp(step, "TICKER_NEW", newStars);
        }
    } else if (isExam) {
        step = showStep(step, node(panelPrefix + "PANELEXAMFAILURE"));
        step = fadeIn(step, node("LABEL_EXAMFAILURE"), false);
        totalStarsPanel = false;
    } else {
        Modifier* group = showStep(step, node(panelPrefix + "PANELEARNEDSTARS"));
        showStep(step, node("SPRITE_LINESTARS"));
        step = newLineSound(group);
        step = row(step, "QUALITY", won);
        step = countUp(step, "TICKER_QUALITY", starsEarned);
        step = newLineSound(step);
        if (won && hasPrevious) {
            step = row(step, "PREVIOUS", won);
            step = directValue(step, "TICKER_PREVIOUS", previousStars);
        } else {
            step = row(step, "GOAL", won);
            step = directValue(step, "TICKER_GOAL", goalStars);
        }
        step = newLineSound(step);
        if (won) {
            step = row(step, "NEW", won);
            step = countUp(step, "TICKER_NEW", newStars);
        } else {
            step = row(step, "MISSED", false);
            step = countUp(step, "TICKER_MISSED", std::max(0, missedStars));
        }
    }
    if (totalStarsPanel)
        step = showStep(step, node(panelPrefix + "PANELTOTALSTARS"));
    if (won) {
        if (Label* cash = label("LABEL_CASHVALUE")) {
            setLabelText(cash, groupedNumber(newTotalStars));
            if (Sprite* star = sprite("SPRITE_STAR")) {
                star->setX(cash->getX() + 5 - cash->getWidth() / 2);
                star->setVisible(false);
                step = then(step, star, new ModifierVisible(true));
            }
        }
        step = newLineSound(step);
        fadeIn(step, node("LABEL_CASH"), true);
        step = fadeIn(step, node("LABEL_CASHVALUE"), true);
        if (LabelTicker* cash = getTicker("TICKER_CASH")) {
            cash->setTarget(oldTotalStars);
            cash->skipToTarget(true);
            step = then(step, cash, new ModifierDelay(200));
            step = then(step, cash, new ModifierLabelTicker(newTotalStars, false));
        }
    } else if (!isExam) {
        step = fadeIn(step, node("LABEL_FAILED"), false);
        step = then(step, this, new ModifierDelay(200));
    }

    Modifier* group = showStep(step, node(panelPrefix + "PANELSCORE"));
    showStep(step, node("SPRITE_LINESCORE"));
    step = newLineSound(group);
    step = row(step, "SCORE", won);
    step = countUp(step, "TICKER_SCORE", sessionScore);
    step = newLineSound(step);

    fadeIn(step, node("LABEL_TOTAL"), won);
    step = fadeIn(step, node("LABEL_TOTALVALUE"), won);
    LabelTicker* total = getTicker("TICKER_TOTAL");
    if (total) {
        total->setTarget(oldTotalScore);
        total->skipToTarget(true);
    }
    const bool notMaxRank = shownRank < topRank();
    Label* rankScore = label("LABEL_RANKSCORE");
    if (won && total) {
        Modifier* wait = then(step, total, new ModifierDelay(200));
        step = then(wait, total, new ModifierLabelTicker(oldTotalScore + sessionScore, false));
        if (notMaxRank && rankScore) {
            Modifier* shown = then(wait, rankScore, new ModifierVisible(true));
            then(shown, rankScore, new ModifierAlpha(150, 0, 255));
        }
    }
    if (notMaxRank && rankScore) {
        Modifier* later = then(step, rankScore, new ModifierDelay(2000));
        later = then(later, rankScore, new ModifierAlpha(150, 255, 0));
        then(later, rankScore, new ModifierVisible(false));
    }
    then(step, this, createModifierCallback(this, &DialogLevelEnd::onSequenceDone));
}

void DialogLevelEnd::onSequenceDone()
{
    sequenceDone = true;
    showButtons(true);
    if (isExam)
        addTwinkles(2);
    showRankMeterHint();
}

void DialogLevelEnd::showButtons(bool animated)
{
    std::vector<const char*> names;
    if (won)
        names = {"BUTTON_NEXT"};
    else
        names = {"BUTTON_RESTART", "BUTTON_STOP"};
    if (!animated || !sequenceContainer) {
        for (const char* name : names) {
            if (auto* button = objectCast<Button>(node(name))) {
                button->setEnabled(true);
                button->setVisible(true);
                button->setAlpha(255);
            }
        }
    } else {
        Modifier* wait = then(sequenceContainer.get(), this, new ModifierDelay(500));
        for (const char* name : names) {
            GameNode* button = node(name);
            if (!button)
                continue;
            Modifier* step = then(wait, button, new ModifierEnabled(ModifierEnabled::Enable));
            step = then(step, button, new ModifierVisible(true));
            then(step, button, new ModifierAlpha(100, 0, 255));
        }
        if (won)
            then(wait, this, createModifierCallback(this, &DialogLevelEnd::startConfetti));
        return;
    }
    if (won)
        startConfetti();
}

void DialogLevelEnd::startConfetti()
{
    confettiTimer = 0;
    if (!confettiBack) {
        confettiBack = new GameNode();
        confettiFront = new GameNode();
        GameNode::insertBefore(confettiBack.get(), this);
        GameNode::insertAfter(confettiFront.get(), this);
    }
    throwConfetti();
    scheduleCakeHop();
}

void DialogLevelEnd::throwConfetti()
{
    if (!effectsContainer)
        return;
    addConfettiBurst(confettiBack.get(), effectsContainer.get(), 150, 5000, 80, 720, true);
    addConfettiBurst(confettiFront.get(), effectsContainer.get(), 50, 5000, 80, 720, false);
}

void DialogLevelEnd::scheduleCakeHop()
{
    if (!effectsContainer || !won)
        return;
    const int wait = 2500 + (Random::instance ? Random::instance->nextInt(0, 1500) : 0);
    Modifier* step = then(effectsContainer.get(), this, new ModifierDelay(wait));
    then(step, this, createModifierCallback(this, &DialogLevelEnd::playCakeHop));
}

Modifier* DialogLevelEnd::hop(Modifier* parent, int cake)
{
    Sprite* picture = sprite("SPRITE_CAKE" + std::to_string(cake));
    if (!picture)
        return parent;
    const int x = picture->getX();
    const int y = picture->getY();
    // A tall pastry hops lower: its top stays below the theme and level lines.
    const int opaqueTop = y - static_cast<int>(picture->getAnchorPoint().y) + firstOpaqueRow(picture);
    const int height = std::clamp(opaqueTop - linesBottom() - kCakeLineGap, 0, kCakeHopHeight);
    Modifier* up = then(parent, picture, new ModifierLocationLine(150, x, y, x, y - height, easeOut));
    return then(up, picture, new ModifierLocationLine(150, x, y - height, x, y, easeIn));
}

int DialogLevelEnd::linesBottom() const
{
    // The lines keep their places while they wait to fade in.
    int bottom = 0;
    for (const char* name : {"LABEL_RESULT", "LABEL_THEME", "LABEL_LEVEL"})
        if (const Sprite* line = sprite(name))
            bottom = std::max(bottom, line->getY() - static_cast<int>(line->getAnchorPoint().y) + line->getHeight());
    return bottom;
}

void DialogLevelEnd::playCakeHop()
{
    if (!effectsContainer)
        return;
    const int pattern = Random::instance ? Random::instance->nextInt(0, 4) : 0;
    Modifier* step = then(effectsContainer.get(), this, new ModifierDelay(0));
    auto together = [&](std::initializer_list<int> cakes) {
        Modifier* last = step;
        for (int cake : cakes)
            last = hop(step, cake);
        step = last;
    };
    for (int pass = 0; pass < 2; ++pass) {
        switch (pattern) {
        case 0:
            together({0, 1, 2, 3});
            if (pass == 0)
                step = then(step, this, new ModifierDelay(300));
            break;
        case 1: {
            int order[4] = {0, 1, 2, 3};
            std::shuffle(order, order + 4,
                         std::minstd_rand(static_cast<unsigned>(Random::instance ? Random::instance->nextInt(0, 1 << 30) : 1)));
            for (int cake : order) {
                step = hop(step, cake);
                step = then(step, this, new ModifierDelay(100));
            }
            break;
        }
        case 2:
            together({0, 1});
            together({2, 3});
            break;
        default:
            together({0, 2});
            together({1, 3});
            break;
        }
    }
    then(step, this, createModifierCallback(this, &DialogLevelEnd::scheduleCakeHop));
}

void DialogLevelEnd::showRankMeterHint()
{
    TortelunePlayer* p = player();
    if (pastFirstLevel && won && p && p->rank == 0 && !p->hasSeenHint("HINT_RANKMETER") && HintManager::instance)
        HintManager::instance->showHint("HINT_RANKMETER");
}

void DialogLevelEnd::skipReveal()
{
    if (sequenceDone)
        return;
    if (sequenceContainer) {
        sequenceContainer->finish();
        sequenceContainer->kill();
        sequenceContainer = nullptr;
    }
    if (won) {
        pendingRankUps = shownRank < profileRank();
        meterActive = false;
        meterPaused = false;
        if (LabelTicker* total = getTicker("TICKER_TOTAL"))
            total->setSuspended(false);
        if (profileRank() < topRank()) {
            // The bar shows the profile's rank; the ranks still to announce
            // count from the one shown so far.
            const int announced = shownRank;
            startMeter(profileRank(), profileScore());
            shownRank = announced;
            meterActive = false;
        } else {
            showTopRankLook();
        }
    }
    auto finalValue = [&](const char* tickerName, int value) {
        if (LabelTicker* ticker = getTicker(tickerName)) {
            ticker->setTarget(value);
            ticker->skipToTarget(true);
        }
    };
    auto settleRow = [&](const char* rowName) {
        if (const RowNames* names = rowNamed(rowName))
            for (const char* part : {names->star, names->label, names->value})
                if (part)
                    settle(node(part));
    };
    const std::string panelPrefix = isExam ? "SPRITE_ICE" : "SPRITE_";
    settle(node("LABEL_THEME"));
    settle(node("LABEL_LEVEL"));
    settleRow("SCORE");
    finalValue("TICKER_SCORE", sessionScore);
    settleRow("TOTAL");
    finalValue("TICKER_TOTAL", profileScore());
    settle(node(panelPrefix + "PANELTOTALSTARS"));
    settle(node(panelPrefix + "PANELSCORE"));
    if (!isExam) {
        settle(node(panelPrefix + "PANELEARNEDSTARS"));
        settle(node("SPRITE_LINESTARS"));
        settle(node("SPRITE_LINESCORE"));
        settleRow("QUALITY");
        finalValue("TICKER_QUALITY", starsEarned);
        if (won && hasPrevious) {
            settleRow("PREVIOUS");
            finalValue("TICKER_PREVIOUS", previousStars);
        } else {
            settleRow("GOAL");
            finalValue("TICKER_GOAL", goalStars);
        }
        if (won) {
            settleRow("NEW");
            finalValue("TICKER_NEW", newStars);
        } else {
            settleRow("MISSED");
            finalValue("TICKER_MISSED", std::max(0, missedStars));
            settle(node("LABEL_FAILED"));
        }
    } else if (won) {
        settle(node(panelPrefix + "PANELEARNEDSTARS"));
        settle(node("LABEL_EXAMSUCCESS"));
        settle(node("SPRITE_LINESCORE"));
        if (!hasPrevious) {
            settle(node("SPRITE_LINESTARS"));
            settleRow("NEW");
            finalValue("TICKER_NEW", newStars);
        }
    } else {
        settle(node(panelPrefix + "PANELEXAMFAILURE"));
        settle(node("LABEL_EXAMFAILURE"));
        settle(node("SPRITE_LINESCORE"));
        setShown(node(panelPrefix + "PANELTOTALSTARS"), false);
    }
    if (won) {
        for (int i = 0; i < cakesShown; ++i) {
            if (Sprite* cake = sprite("SPRITE_CAKE" + std::to_string(i))) {
                settle(cake);
                cake->setY(227);
                cake->setStretchWidth(cake->getWidth());
                cake->setStretchHeight(cake->getHeight());
            }
        }
        settleRow("CASH");
        finalValue("TICKER_CASH", profileTotalStars());
        newTotalStars = profileTotalStars();
        settle(node("SPRITE_STAR"));
    }
    setShown(node("LABEL_RANKSCORE"), false);
    showButtons(false);
    showRankMeterHint();
    if (isExam)
        addTwinkles(2);
    sequenceDone = true;
}

bool DialogLevelEnd::onLeftUp(int x, int y, int keys)
{
    if (!sequenceDone)
        skipReveal();
    return DialogTortelune::onLeftUp(x, y, keys);
}

void DialogLevelEnd::choose(int value)
{
    result = value;
    confettiTimer = -1;
    close();
}

int DialogLevelEnd::onRestart(void* context, BaseObject* /*button*/)
{
    static_cast<DialogLevelEnd*>(context)->choose(Restart);
    return 0;
}

int DialogLevelEnd::onNext(void* context, BaseObject* /*button*/)
{
    static_cast<DialogLevelEnd*>(context)->choose(Next);
    return 0;
}

int DialogLevelEnd::onStop(void* context, BaseObject* /*button*/)
{
    static_cast<DialogLevelEnd*>(context)->choose(Stop);
    return 0;
}

void DialogLevelEnd::show()
{
    DialogTortelune::show();
    playShowAnimation();
    paintDecorations();
    if (!SoundManager::isSoundOn() || !ResourceManager::instance)
        return;
    RefPointer<SoundStream> music;
    {
        ResourceLock lock;
        music = ResourceManager::instance->getResourceAs<SoundStream>("MUSIC_LEVELEND", "music");
    }
    if (music)
        SoundManager::instance->playMusic(1000, 1.0f, 100, music.get(), 600, 0x132);
}

void DialogLevelEnd::paintDecorations()
{
    // The background carries them from now on.
    for (const char* name : {"SPRITE_FLAG", "SPRITE_SHINE_TOP", "SPRITE_SHINE_BOTTOM", "LABEL_RESULT"})
        stampIntoFrame(node(name));
}

// ---- rank meter ----

void DialogLevelEnd::startMeter(int rank, int totalScore)
{
    RankTable* ranks = RankTable::getInstance();
    meterActive = true;
    shownRank = rank;
    if (rank == -2)
        shownRank = ranks ? ranks->getRankForScore(totalScore) : -1;
    meterStart = totalScore;
    rankMin = ranks ? ranks->getRankScore(shownRank) : 0;
    rankMax = ranks ? ranks->getRankMaxScore(shownRank) : 0;
    setRankBar(meterStart);
    if (ranks) {
        setLabelText(label("LABEL_RANKCUR"), ranks->getRankName(shownRank));
        setLabelText(label("LABEL_RANKNEW"), groupedNumber(ranks->getRankScore(shownRank + 1)));
    }
}

void DialogLevelEnd::showTopRankLook()
{
    for (const char* name : {"SPRITE_RANKBARUNDER", "SPRITE_RANKBARTOP", "SPRITE_RANKBARFULL", "SPRITE_RANKBAREMPTY",
                             "LABEL_RANKCUR", "LABEL_RANKNEW", "LABEL_RANKSCORE"})
        setShown(node(name), false);
    for (const char* name : {"SPRITE_RANKMAX", "LABEL_RANKMAX"}) {
        settle(node(name));
    }
}

void DialogLevelEnd::setRankBar(int value)
{
    Sprite* bar = sprite("SPRITE_RANKBARFULL");
    if (!bar)
        return;
    const int v = std::clamp(value, rankMin, std::max(rankMin, rankMax));
    const int w = bar->getWidth();
    const int h = bar->getHeight();
    const int left = bar->getX() - w / 2;
    const int right = bar->getX() + w / 2;
    const int top = bar->getY() - h;
    const int bottom = bar->getY();
    // A rank without width counts as full.
    const double f = rankMax > rankMin ? static_cast<double>(v - rankMin) / (rankMax - rankMin) : 1.0;
    const int fillTop = top + static_cast<int>((1.0 - f) * (bottom - top));
    bar->setClipRect(left, fillTop, right - left, bottom - fillTop);
    if (GameNode* rankScore = node("LABEL_RANKSCORE"))
        rankScore->setY(fillTop);
}

void DialogLevelEnd::update(int deltaMs)
{
    DialogTortelune::update(deltaMs);
    SceneGame* scene = SceneGame::getInstance();
    if (scene && scene->isDialogShown("DIALOG_PAUSE"))
        return;
    if (!won)
        return;
    if (shownRank < topRank()) {
        LabelTicker* total = getTicker("TICKER_TOTAL");
        int value = total ? static_cast<int>(total->getValue()) : meterStart;
        value = std::clamp(value, rankMin, std::max(rankMin, rankMax));
        if (meterActive && !meterPaused) {
            setRankBar(value);
            if (value >= rankMax)
                onRankReached();
            meterActive = value < profileScore();
        }
        if (Label* rankScore = label("LABEL_RANKSCORE"); rankScore && rankScore->isVisible())
            setLabelText(rankScore, groupedNumber(value % 10 == 9 ? value + 1 : value));
    }
    if (confettiTimer != -1) {
        confettiTimer += deltaMs;
        if (confettiTimer > 5000) {
            throwConfetti();
            confettiTimer = 0;
        }
    }
    if (pendingRankUps) {
        openPendingRankUp();
        pendingRankUps = shownRank < profileRank();
    }
}

void DialogLevelEnd::openPendingRankUp()
{
    SceneGame* scene = SceneGame::getInstance();
    if (!scene || scene->isDialogShown("DIALOG_RANKUP"))
        return;
    auto* rankUp = objectCast<DialogRankUp>(scene->getOrCreateDialog(std::string(), "DIALOG_RANKUP"));
    ++shownRank;
    if (!rankUp) {
        LOG_WARNING("results: no rank-up dialog \"DIALOG_RANKUP\"");
        return;
    }
    rankUp->rank = shownRank;
    rankUp->closeCallback = GuiMethod();
    scene->showDialog(rankUp);
}

void DialogLevelEnd::onRankReached()
{
    meterPaused = true;
    if (LabelTicker* total = getTicker("TICKER_TOTAL")) {
        // The count stops at the new rank's threshold, where the bar stands,
        // and goes on from there once the rank is announced.
        total->setValue(rankMax + 1);
        total->refreshText();
        total->setSuspended(true);
    }
    if (sequenceContainer)
        then(sequenceContainer.get(), this, createModifierCallback(this, &DialogLevelEnd::openRankUpDialog));
}

void DialogLevelEnd::openRankUpDialog()
{
    SceneGame* scene = SceneGame::getInstance();
    auto* rankUp = scene ? objectCast<DialogRankUp>(scene->getOrCreateDialog(std::string(), "DIALOG_RANKUP"))
                         : nullptr;
    if (!rankUp) {
        // Without the dialog the meter goes on as if it had been closed.
        LOG_WARNING("results: no rank-up dialog \"DIALOG_RANKUP\"");
        onRankUpClosed(this, nullptr);
        return;
    }
    rankUp->rank = shownRank + 1;
    rankUp->closeCallback = GuiMethod(this, &DialogLevelEnd::onRankUpClosed);
    rankUpOpen = true;
    scene->showDialog(rankUp);
}

int DialogLevelEnd::onRankUpClosed(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogLevelEnd*>(context);
    dialog->rankUpOpen = false;
    // The reveal was cut short while this dialog was open: the final state
    // already shows the ranks, and the pending rank-ups go on from the next
    // rank (this one counted as announced).
    if (!dialog->sequenceContainer) {
        ++dialog->shownRank;
        if (LabelTicker* total = dialog->getTicker("TICKER_TOTAL"))
            total->setSuspended(false);
        dialog->meterPaused = false;
        dialog->pendingRankUps = dialog->shownRank < dialog->profileRank();
        return 0;
    }
    ++dialog->shownRank;
    RankTable* ranks = RankTable::getInstance();
    Modifier* step = dialog->sequenceContainer.get();
    Label* current = dialog->label("LABEL_RANKCUR");
    if (current && ranks)
        step = then(step, current, new ModifierSetText(ranks->getRankName(dialog->shownRank)));
    if (Sprite* top = dialog->sprite("SPRITE_RANKBARTOP")) {
        step = then(step, top, new ModifierFrame(5, 150));
        step = then(step, top, new ModifierCurrentFrame(1));
    }
    step = then(step, dialog, new ModifierDelay(250));
    if (dialog->shownRank >= dialog->topRank()) {
        for (const char* name : {"SPRITE_RANKBARUNDER", "SPRITE_RANKBAREMPTY", "SPRITE_RANKBARFULL",
                                 "SPRITE_RANKBARTOP", "LABEL_RANKNEW"})
            if (GameNode* part = dialog->node(name))
                then(step, part, new ModifierAlpha(300, 255, 0));
        if (GameNode* rankScore = dialog->node("LABEL_RANKSCORE"); rankScore && rankScore->isVisible()) {
            GameNode::cancelModifiers(rankScore);
            then(step, rankScore, new ModifierAlpha(300, 255, 0));
        }
        if (current) {
            step = then(step, current, new ModifierAlpha(300, 255, 0));
            Modifier* last = step;
            for (const char* name : {"SPRITE_RANKMAX", "LABEL_RANKMAX"}) {
                if (GameNode* part = dialog->node(name)) {
                    Modifier* shown = then(step, part, new ModifierVisible(true));
                    last = then(shown, part, new ModifierAlpha(300, 0, 255));
                }
            }
            step = last;
        }
    }
    int bonus = 0;
    const TuningTable& t = tuning();
    switch (dialog->shownRank) {
    case 2: bonus = t.UNLOCK_STARBONUS0; break;
    case 4: bonus = t.UNLOCK_STARBONUS1; break;
    case 6: bonus = t.UNLOCK_STARBONUS2; break;
    case 8: bonus = t.UNLOCK_STARBONUS3; break;
    default: break;
    }
    if (bonus > 0) {
        dialog->newTotalStars += bonus;
        then(step, dialog, createModifierCallback(dialog, &DialogLevelEnd::showStarBonus, bonus));
        if (LabelTicker* cash = dialog->getTicker("TICKER_CASH"))
            step = then(step, cash, new ModifierLabelTicker(dialog->newTotalStars, false));
    }
    then(step, dialog, createModifierCallback(dialog, &DialogLevelEnd::resumeRankMeter));
    return 0;
}

void DialogLevelEnd::resumeRankMeter()
{
    meterPaused = false;
    LabelTicker* total = getTicker("TICKER_TOTAL");
    if (total)
        total->setSuspended(false);
    if (shownRank < topRank()) {
        RankTable* ranks = RankTable::getInstance();
        meterStart = total ? static_cast<int>(total->getValue()) : meterStart;
        rankMin = ranks ? ranks->getRankScore(shownRank) : 0;
        rankMax = ranks ? ranks->getRankMaxScore(shownRank) : 0;
        setRankBar(meterStart);
        if (Sprite* top = sprite("SPRITE_RANKBARTOP"))
            top->setCurrentFrame(0);
        meterActive = true;
        if (ranks)
            setLabelText(label("LABEL_RANKNEW"), groupedNumber(ranks->getRankScore(shownRank + 1)));
    } else {
        meterActive = false;
    }
}

void DialogLevelEnd::showStarBonus(int bonus)
{
    Label* cash = label("LABEL_CASHVALUE");
    if (!cash || !effectsContainer)
        return;
    RefPointer<BitmapFont> font;
    if (ResourceManager::instance) {
        ResourceLock lock;
        font = ResourceManager::instance->getResourceAs<BitmapFont>("FONT_STARS_SMALL", "default");
    }
    RefPointer<Label> floater(new Label(font.get(), 0, 0, 0, 0));
    floater->setAnchorPoint(Sprite::Center);
    floater->setText(toWide("+") + groupedNumber(bonus));
    floater->updateLayout();
    floater->setVisible(false);
    const int x = cash->getX() - cash->getWidth() / 2;
    const int y = cash->getY();
    floater->setPosition(x, y);
    addComponent(floater.get());
    Modifier* shown = then(effectsContainer.get(), floater.get(), new ModifierVisible(true));
    then(shown, floater.get(), new ModifierLocationLine(750, x, y, x, y - tuning().FLOATER_TRAVEL, easeIn));
    Modifier* wait = then(shown, floater.get(), new ModifierDelay(562));
    Modifier* fade = then(wait, floater.get(), new ModifierAlpha(187, 255, 0));
    fade->addEndFlags(Modifier::EndRemoveTarget);
}
