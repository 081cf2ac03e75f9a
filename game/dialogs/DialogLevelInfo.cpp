#include "game/dialogs/DialogLevelInfo.h"

#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/Level.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogHint.h"
#include "game/scenes/HintManager.h"

TT_DEFINE_RECORD(DialogLevelInfo, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogLevelInfo);

namespace {

TortelunePlayer* player()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? dynamic_cast<TortelunePlayer*>(players->getCurrentPlayer()) : nullptr;
}

Image* loadedImage(const std::string& name, const char* section)
{
    if (!ResourceManager::instance)
        return nullptr;
    ResourceLock lock;
    return ResourceManager::instance->getLoadedResourceAs<Image>(name, section).get();
}

void setShown(GameNode* node, bool visible)
{
    if (node)
        node->setVisible(visible);
}

std::string upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

LevelManager* modeLevels()
{
    GameDataState* state = GameData::instance ? GameData::instance->state : nullptr;
    if (!state)
        return nullptr;
    return state->mode == 1 ? &state->arcadeManager : &state->levelManager;
}

} // namespace

DialogLevelInfo::DialogLevelInfo(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    playSounds = false;
    themeLabel = objectCast<Label>(getComponent("LABEL_THEME"));
    levelLabel = objectCast<Label>(getComponent("LABEL_LEVEL"));
    goalLabel = getComponent("LABEL_GOAL");
    examLabel = getComponent("LABEL_EXAM");
    toolsLabel = getComponent("LABEL_SELECTEDTOOLS");
    bindComponent("BUTTON_START", GuiMethod(this, &DialogLevelInfo::onStart));
    bindComponent("BUTTON_CANCEL", GuiMethod(this, &DialogLevelInfo::onCancel));
    for (int i = 0; i < kLevelSlots; ++i) {
        const std::string number = std::to_string(i);
        pans[i] = objectCast<Sprite>(getComponent("SPRITE_PAN" + number));
        levelButtons[i] =
            objectCast<Button>(bindComponent("BUTTON_LEVEL" + number, GuiMethod(this, &DialogLevelInfo::onLevelClicked)));
        if (levelButtons[i])
            levelButtons[i]->setTag(i);
        finished[i] = objectCast<Sprite>(getComponent("SPRITE_LEVEL" + number + "_FINISHED"));
    }
    highlight = objectCast<Sprite>(getComponent("SPRITE_HIGHLIGHT"));
    customer = objectCast<Sprite>(getComponent("SPRITE_CUSTOMER"));
    toolsButton = objectCast<Button>(bindComponent("BUTTON_TOOLS", GuiMethod(this, &DialogLevelInfo::onTools)));
    for (int s = 0; s < 2; ++s)
        toolIcons[s] = objectCast<Sprite>(getComponent("SPRITE_TOOL" + std::to_string(s)));
    blanketFull = objectCast<Sprite>(getComponent("SPRITE_BLANKETFULL"));
    blanketHalf = objectCast<Sprite>(getComponent("SPRITE_BLANKETHALF"));
    backPan = objectCast<Sprite>(getComponent("SPRITE_BACKPAN"));
}

void DialogLevelInfo::showLevel(const Level& level)
{
    const int perTheme = std::max(1, std::min(kLevelSlots, tuning().LEVEL_PER_THEME));
    const int n = level.levelIndex;
    const int first = (n / perTheme) * perTheme;
    TortelunePlayer* p = player();
    const int reached = p ? p->highestLevelReached : -1;
    for (int i = 0; i < kLevelSlots; ++i) {
        const int tag = first + i;
        const bool inTheme = i < perTheme;
        const bool open = inTheme && (tag == 0 || tag <= reached + 1);
        if (levelButtons[i]) {
            levelButtons[i]->setTag(tag);
            levelButtons[i]->setEnabled(open);
            levelButtons[i]->setVisible(inTheme);
        }
        setShown(pans[i], open);
        setShown(finished[i], inTheme && tag <= reached);
        if (tag == n && levelButtons[i] && highlight) {
            highlight->setVisible(true);
            highlight->setPosition(levelButtons[i]->getX(), levelButtons[i]->getY() - 10);
            if (highlight->getOwnModifiers().empty())
                GameNode::addModifier(highlight, new ModifierFrame(-1, 50));
        }
    }
    if (customer) {
        // Without a portrait of its own the customer's everyday picture stands in.
        Image* portrait = loadedImage(upper(level.customerName + "_DIALOG"), "scenegame");
        if (!portrait)
            portrait = loadedImage(upper(level.customerName + "_CASUAL"), "scenegame");
        customer->setImage(portrait);
    }
    if (themeLabel) {
        themeLabel->setText(getThemeTitle(getThemeIndex(level.themeName)));
        themeLabel->updateLayout();
    }
    const WString levelWord = BasicProperties::instance ? BasicProperties::instance->getText("TEXT_LEVEL") : WString();
    if (levelLabel) {
        levelLabel->setText(levelWord + toWide((" " + std::to_string(n % perTheme + 1)).c_str()));
        levelLabel->updateLayout();
    }
    WString goal = BasicProperties::instance ? BasicProperties::instance->getText("TEXT_LEVELINFO_GOAL") : WString();
    replaceAll(goal, toWide("%"), toWide(std::to_string(level.starsGoal).c_str()), true);
    setLabelText(goalLabel, goal);
}

void DialogLevelInfo::showSelectedTools()
{
    TortelunePlayer* p = player();
    ToolCatalog* catalog = ToolCatalog::getInstance();
    for (int s = 0; s < 2; ++s) {
        Sprite* icon = toolIcons[s];
        if (!icon)
            continue;
        icon->setVisible(false);
        icon->setImage(nullptr);
        const int id = p && s < static_cast<int>(p->toolSlots.size()) ? p->toolSlots[static_cast<size_t>(s)] : -1;
        Tool* tool = catalog ? catalog->find(id) : nullptr;
        if (!tool)
            continue;
        RefPointer<Image> picture = catalog->getButtonImage(id);
        icon->setImage(picture.get());
        if (BasicProperties::instance)
            icon->setToolTip(BasicProperties::instance->getText(tool->name));
        icon->setVisible(true);
        icon->setFrameCount(4, false);
        icon->setCurrentFrame(0);
    }
}

void DialogLevelInfo::show()
{
    DialogTortelune::show();
    const bool exam = GameData::instance && GameData::instance->state && GameData::instance->isExamLevel();
    TortelunePlayer* p = player();
    setShown(examLabel, exam);
    for (GameNode* part : {goalLabel, toolsLabel, static_cast<GameNode*>(blanketFull),
                           static_cast<GameNode*>(blanketHalf), static_cast<GameNode*>(toolsButton),
                           static_cast<GameNode*>(toolIcons[0]), static_cast<GameNode*>(toolIcons[1])})
        setShown(part, !exam);
    if (toolsButton)
        toolsButton->setEnabled(!exam);
    ToolCatalog* catalog = ToolCatalog::getInstance();
    if (!exam) {
        int owned = 0;
        int perSlot[2] = {0, 0};
        for (int id = 0; id < 14; ++id) {
            if (!p || !p->hasTool(id))
                continue;
            ++owned;
            if (Tool* tool = catalog ? catalog->find(id) : nullptr)
                if (tool->slot == 0 || tool->slot == 1)
                    ++perSlot[tool->slot];
        }
        if (toolsButton) {
            toolsButton->setVisible(owned >= 1);
            toolsButton->setEnabled(owned >= 1);
        }
        for (int s = 0; s < 2; ++s) {
            const int id = p ? p->toolSlots[static_cast<size_t>(s)] : -1;
            setShown(toolIcons[s], id != -1 && toolIcons[s] && toolIcons[s]->getImage());
        }
        setShown(blanketFull, owned == 0);
        setShown(blanketHalf, owned >= 1 && p && p->toolSlots[1] == -1);
        playShowAnimation();
        if ((perSlot[0] >= 2 || perSlot[1] >= 2) && HintManager::instance)
            HintManager::instance->showHint("HINT_TOOLSSELECT");
    } else {
        playShowAnimation();
    }
    stampCustomer();
    if (exam)
        addTwinkles(2);
}

void DialogLevelInfo::stampCustomer()
{
    Graphics* buffer = getBufferGraphics();
    if (!customer || !customer->getImage() || !customer->isVisible() || !buffer)
        return;
    int x = customer->getX() - static_cast<int>(customer->getAnchorPoint().x);
    int y = customer->getY() - static_cast<int>(customer->getAnchorPoint().y);
    for (GameNode* parent = customer->getParent(); parent && parent != this; parent = parent->getParent()) {
        x += parent->getX();
        y += parent->getY();
    }
    buffer->blitChannelMax(customer->getImage(), Graphics::ChannelAlpha, x, y);
}

void DialogLevelInfo::update(int deltaMs)
{
    DialogTortelune::update(deltaMs);
    if (!toolsButton || !toolsButton->isEnabled())
        return;
    const int frame = toolsButton->getCurrentFrame();
    for (Sprite* icon : toolIcons)
        if (icon && icon->getImage() && frame <= 2)
            icon->setCurrentFrame(frame);
}

bool DialogLevelInfo::isIceLook()
{
    return GameData::instance && GameData::instance->state && GameData::instance->isExamLevel();
}

void DialogLevelInfo::applyIceLook()
{
    DialogTortelune::applyIceLook();
    if (backPan)
        backPan->setImage(loadedImage("LEVELINFO_BACKPANFROZEN", "dialogs"));
    for (int i = 0; i < kLevelSlots; ++i)
        if (pans[i])
            pans[i]->setImage(loadedImage("LEVELINFO_PANICY" + std::to_string(i), "dialogs"));
}

int DialogLevelInfo::onStart(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogLevelInfo*>(context);
    dialog->result = 0;
    dialog->close();
    return 0;
}

int DialogLevelInfo::onCancel(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogLevelInfo*>(context);
    dialog->result = 1;
    dialog->close();
    return 0;
}

int DialogLevelInfo::onLevelClicked(void* context, BaseObject* button)
{
    auto* dialog = static_cast<DialogLevelInfo*>(context);
    auto* pressed = objectCast<GameNode>(button);
    LevelManager* levels = modeLevels();
    if (!pressed || !levels)
        return 0;
    const int tag = pressed->getTag();
    if (levels->getCurrentIndex() == tag)
        return onStart(context, button);
    levels->selectLevel(tag);
    GameData::instance->resetLevel();
    dialog->showLevel(levels->getLevel());
    return 0;
}

int DialogLevelInfo::onTools(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogLevelInfo*>(context);
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (!scene)
        return 0;
    auto* choice = objectCast<DialogTortelune>(scene->getOrCreateDialog(std::string(), "DIALOG_SELECTTOOL"));
    if (!choice) {
        // As if the choice had closed unchanged.
        LOG_WARNING("level information: no tool choice \"DIALOG_SELECTTOOL\"");
        onToolChoiceClosed(dialog, nullptr);
    } else {
        choice->closeCallback = GuiMethod(dialog, &DialogLevelInfo::onToolChoiceClosed);
        scene->showDialog(choice);
    }
    if (auto* hint = objectCast<DialogHint>(scene->getDialog("DIALOG_HINT")))
        hint->closeHint();
    return 0;
}

int DialogLevelInfo::onToolChoiceClosed(void* /*context*/, BaseObject* /*argument*/)
{
    LevelManager* levels = modeLevels();
    if (!levels)
        return 0;
    levels->selectLevel(levels->getCurrentIndex());
    GameData::instance->resetLevel();
    return 0;
}
