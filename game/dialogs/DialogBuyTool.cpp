#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogBuyTool.h"

#include "framework/core/Log.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyText.h"
#include "game/production/GameScreen.h"

TT_DEFINE_RECORD(DialogBuyTool, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogBuyTool);

namespace {

// Why a tool cannot be bought, in pure red.
constexpr uint32_t kInfoColour = 0xFFFF0000u;
constexpr int kToolCount = 14;

Tool* findTool(int toolId)
{
    ToolCatalog* catalog = ToolCatalog::getInstance();
    return catalog ? catalog->find(toolId) : nullptr;
}

} // namespace

DialogBuyTool::DialogBuyTool(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    icon = objectCast<Sprite>(getComponent("ICON"));
    backButton = objectCast<Button>(bindComponent("BUTTON_BACK", GuiMethod::bind<DialogBuyTool, &DialogBuyTool::onBack>(this)));
    buyButton = objectCast<Button>(bindComponent("BUTTON_BUY", GuiMethod::bind<DialogBuyTool, &DialogBuyTool::onBuy>(this)));
    descriptionLabel = getComponent("LABEL_DESC");
    priceLabel = objectCast<Label>(getComponent("LABEL_PRICE"));
    infoLabel = objectCast<Label>(getComponent("LABEL_INFO"));
    for (int slot = 0; slot < 2; ++slot) {
        panels[slot] = objectCast<Sprite>(getComponent("PANEL" + std::to_string(slot)));
        headers[slot] = getComponent("HEADER" + std::to_string(slot));
    }
}

void DialogBuyTool::setTool(int id)
{
    toolId = id;
    Tool* tool = findTool(id);
    TortelunePlayer* player = gamescreen::currentPlayer();
    if (!tool || !player) {
        LOG_WARNING("tool purchase: no tool " + std::to_string(id) + (player ? "" : " or no player"));
        if (buyButton)
            buyButton->setEnabled(false);
        return;
    }
    const int slot = tool->slot == 1 ? 1 : 0;
    for (int kind = 0; kind < 2; ++kind) {
        if (panels[kind])
            panels[kind]->setVisible(kind == slot);
        if (headers[kind])
            headers[kind]->setVisible(kind == slot);
    }
    setLabelText(headers[slot], textByKey(tool->name));
    setLabelText(descriptionLabel, formatDialogText(textByKey(tool->description)));
    if (priceLabel) {
        priceLabel->setText(formatGroupedNumber(tool->price, getDigitGroupingSymbol()));
        priceLabel->updateLayout();
    }
    if (icon) {
        RefPointer<Image> picture = ToolCatalog::getInstance()->getBigIconImage(id);
        icon->setImage(picture.get());
    }

    bool canBuy = false;
    WString info;
    const int spendable = player->getSpendableStars();
    if (player->hasTool(id)) {
        info = textByKey("TEXT_TOOLBUY_ALREADYHAVE");
    } else if (!player->hasToolLevel(tool->level)) {
        // Not unlocked yet: nothing to say.
    } else if (spendable < tool->price) {
        info = textByKey("TEXT_TOOLBUY_NEEDMORESTARS");
        replaceAll(info, toWide("%"), intToWString(tool->price - spendable), true);
    } else {
        canBuy = true;
    }
    if (buyButton)
        buyButton->setEnabled(canBuy);
    if (infoLabel) {
        if (!info.empty())
            infoLabel->setLayerColor(kInfoColour, 0);
        infoLabel->setText(info);
        infoLabel->updateLayout();
    }
}

void DialogBuyTool::show()
{
    showAndFadeIn();
}

bool DialogBuyTool::recordPurchase(TortelunePlayer& player, int id)
{
    Tool* tool = findTool(id);
    if (!tool || player.hasTool(id))
        return false;
    player.buyTool(id);
    player.starsOffset -= tool->price;
    const int slot = tool->slot == 1 ? 1 : 0;
    if (static_cast<int>(player.toolSlots.size()) < TortelunePlayer::kToolSlotCount)
        player.toolSlots.resize(TortelunePlayer::kToolSlotCount, -1);
    player.toolSlots[static_cast<size_t>(slot)] = id;
    Trophies* trophies = player.getTrophies();
    if (trophies && kAllToolsTrophy < trophies->getCount() && trophies->getState(kAllToolsTrophy) == Trophy::NotEarned) {
        bool all = true;
        for (int other = 0; other < kToolCount && all; ++other)
            all = player.hasTool(other);
        if (all)
            trophies->setState(kAllToolsTrophy, Trophy::Earned);
    }
    return true;
}

int DialogBuyTool::onBuy(BaseObject* /*button*/)
{
    if (buyButton && !buyButton->isEnabled())
        return 0;
    Button::playSound("SOUND_TOOLACQUIRED", "sounds");
    if (buyButton)
        buyButton->setEnabled(false);
    TortelunePlayer* player = gamescreen::currentPlayer();
    // Everything of the purchase is in the profile before it is written, so
    // the players file holds either none of it or all of it.
    if (player && recordPurchase(*player, toolId)) {
        PlayerManager* players = PlayerManager::getInstance();
        if (players && !players->savePlayerList())
            LOG_ERROR("tool purchase: the players file could not be saved");
    }
    setTag(toolId);
    close();
    return 0;
}

int DialogBuyTool::onBack(BaseObject* /*button*/)
{
    setTag(-1);
    close();
    return 0;
}
