#include "game/dialogs/DialogSelectTool.h"

#include <string>
#include <vector>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/InputHandler.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(DialogSelectTool, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogSelectTool);

namespace {

TortelunePlayer* player()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? dynamic_cast<TortelunePlayer*>(players->getCurrentPlayer()) : nullptr;
}

int slotEntry(const TortelunePlayer* p, int slot)
{
    return p && slot < static_cast<int>(p->toolSlots.size()) ? p->toolSlots[static_cast<size_t>(slot)] : -1;
}

} // namespace

DialogSelectTool::DialogSelectTool(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    for (int i = 0; i < kTools; ++i) {
        const std::string number = std::to_string(i);
        buttons[i] =
            objectCast<Button>(bindComponent("BUTTON_TOOL" + number, GuiMethod(this, &DialogSelectTool::onToolClicked)));
        if (buttons[i])
            buttons[i]->setTag(-1);
        sprites[i] = objectCast<Sprite>(getComponent("SPRITE_TOOL" + number));
    }
    for (int s = 0; s < 2; ++s) {
        const std::string number = std::to_string(s);
        stains[s] = objectCast<Sprite>(getComponent("SPRITE_STAIN" + number));
        frames[s] = objectCast<Sprite>(getComponent("SPRITE_BUTTON" + number));
        names[s] = objectCast<Label>(getComponent("LABEL_NAME" + number));
        descriptions[s] = objectCast<Label>(getComponent("LABEL_DESC" + number));
    }
    bindComponent("BUTTON_OK", GuiMethod(this, &DialogSelectTool::onOk));
}

int DialogSelectTool::slotOf(int toolId) const
{
    ToolCatalog* catalog = ToolCatalog::getInstance();
    Tool* tool = catalog ? catalog->find(toolId) : nullptr;
    return tool && tool->slot == 1 ? 1 : 0;
}

int DialogSelectTool::getToolAt(int position) const
{
    return buttons[position] ? buttons[position]->getTag() : -1;
}

void DialogSelectTool::show()
{
    DialogTortelune::show();
    playShowAnimation();
    ToolCatalog* catalog = ToolCatalog::getInstance();
    std::vector<int> order;
    for (int wanted = 0; wanted < 2; ++wanted)
        for (int id = 0; id < kTools; ++id)
            if (Tool* tool = catalog ? catalog->find(id) : nullptr; tool && (tool->slot == 1) == (wanted == 1))
                order.push_back(id);
    for (int i = 0; i < kTools; ++i) {
        const int id = i < static_cast<int>(order.size()) ? order[static_cast<size_t>(i)] : -1;
        if (buttons[i]) {
            buttons[i]->setTag(id);
            buttons[i]->setEnabled(false);
        }
        if (sprites[i]) {
            RefPointer<Image> picture = catalog && id >= 0 ? catalog->getButtonImage(id) : RefPointer<Image>();
            sprites[i]->setImage(picture.get());
            sprites[i]->setFrameCount(4, false);
            sprites[i]->setCurrentFrame(3);
        }
    }
    refresh();
    hoveredIndex = -1;
    found = false;
    slotInfoTimer[0] = slotInfoTimer[1] = 0;
}

void DialogSelectTool::refresh()
{
    TortelunePlayer* p = player();
    for (Button* button : buttons) {
        if (button) {
            button->setEnabled(true);
            button->setVisible(true);
        }
    }
    for (int s = 0; s < 2; ++s) {
        if (stains[s])
            stains[s]->setVisible(false);
        if (frames[s])
            frames[s]->setVisible(false);
    }
    for (int i = 0; i < kTools; ++i) {
        Button* button = buttons[i];
        if (!button)
            continue;
        const int id = button->getTag();
        const int s = slotOf(id);
        if (id >= 0 && p && p->isToolSelectable(id)) {
            if (sprites[i])
                sprites[i]->setCurrentFrame(0);
            button->setVisible(false);
            button->setEnabled(false);
            if (frames[s]) {
                frames[s]->setVisible(true);
                frames[s]->setCurrentFrame(1);
                frames[s]->setPosition(button->getX(), button->getY());
            }
            if (stains[s]) {
                stains[s]->setVisible(true);
                stains[s]->setPosition(button->getX(), button->getY() - 15);
            }
        } else if (id >= 0 && p && p->hasTool(id)) {
            if (sprites[i])
                sprites[i]->setCurrentFrame(0);
        } else {
            button->setEnabled(false);
            if (sprites[i])
                sprites[i]->setCurrentFrame(3);
        }
    }
    showSlotInfo(0, slotEntry(p, 0));
    showSlotInfo(1, slotEntry(p, 1));
}

void DialogSelectTool::showSlotInfo(int slot, int toolId)
{
    if (slot < 0 || slot > 1)
        return;
    TortelunePlayer* p = player();
    ToolCatalog* catalog = ToolCatalog::getInstance();
    Tool* tool = catalog ? catalog->find(toolId) : nullptr;
    if (toolId == -1 || !tool) {
        setLabelText(names[slot], WString());
        setLabelText(descriptions[slot], WString());
    } else if (p && p->hasTool(toolId)) {
        setLabelText(names[slot], textByKey(tool->name));
        setLabelText(descriptions[slot], textByKey(tool->descriptionShort));
    } else {
        setLabelText(names[slot], WString());
        setLabelText(descriptions[slot], textByKey("TEXT_TOOLSELECT_UNAVAILABLE"));
    }
}

void DialogSelectTool::update(int deltaMs)
{
    DialogTortelune::update(deltaMs);
    TortelunePlayer* p = player();
    for (int i = 0; i < kTools; ++i) {
        Button* button = buttons[i];
        if (!button || !sprites[i])
            continue;
        const int id = button->getTag();
        const bool hovered = button->containsPoint(InputHandler::mouseX, InputHandler::mouseY);
        if (hovered)
            slotInfoTimer[slotOf(id)] = 0;
        if (id >= 0 && p && p->isToolSelectable(id))
            sprites[i]->setCurrentFrame(0);
        else if (button->isEnabled())
            sprites[i]->setCurrentFrame(hovered ? button->getCurrentFrame() : 0);
        else
            sprites[i]->setCurrentFrame(3);
    }
    for (int s = 0; s < 2; ++s) {
        slotInfoTimer[s] += deltaMs;
        if (slotInfoTimer[s] >= 1000) {
            showSlotInfo(s, slotEntry(p, s));
            slotInfoTimer[s] = 0;
        }
    }
}

bool DialogSelectTool::onMouseMove(int x, int y, int keys)
{
    found = false;
    for (int i = 0; i < kTools; ++i) {
        if (buttons[i] && buttons[i]->containsPoint(x, y)) {
            const int id = buttons[i]->getTag();
            showSlotInfo(slotOf(id), id);
            hoveredIndex = i;
            found = true;
        }
    }
    if (!found && hoveredIndex != -1) {
        showSlotInfo(slotOf(getToolAt(hoveredIndex)), -1);
        hoveredIndex = -1;
    }
    return DialogTortelune::onMouseMove(x, y, keys);
}

int DialogSelectTool::onToolClicked(void* context, BaseObject* button)
{
    auto* dialog = static_cast<DialogSelectTool*>(context);
    auto* pressed = objectCast<GameNode>(button);
    TortelunePlayer* p = player();
    if (!pressed || !p || pressed->getTag() < 0)
        return 0;
    const int id = pressed->getTag();
    p->toolSlots.resize(2, -1);
    p->toolSlots[static_cast<size_t>(dialog->slotOf(id))] = id;
    if (GameData::instance && GameData::instance->state)
        GameData::instance->state->playSessionInfo.applyTools(p->toolSlots[0], p->toolSlots[1]);
    dialog->refresh();
    return 0;
}

int DialogSelectTool::onOk(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogSelectTool*>(context);
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (auto* info = scene ? objectCast<DialogLevelInfo>(scene->getDialog("DIALOG_LEVEL_INFO")) : nullptr) {
        info->showSelectedTools();
        if (GameData::instance && GameData::instance->state) {
            GameDataState* state = GameData::instance->state;
            info->showLevel(state->mode == 1 ? state->arcadeManager.getLevel() : state->levelManager.getLevel());
        }
    }
    dialog->close();
    return 0;
}
