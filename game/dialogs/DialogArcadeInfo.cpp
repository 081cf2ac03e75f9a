#include "game/dialogs/DialogArcadeInfo.h"

#include <map>

#include "framework/core/BasicProperties.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/StyleLabel.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/IRenderable.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/TrophyText.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(DialogArcadeInfo, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogArcadeInfo);

namespace {

int stored(const std::map<int, int>& table, int key)
{
    auto found = table.find(key);
    return found == table.end() ? 0 : found->second;
}

} // namespace

DialogArcadeInfo::DialogArcadeInfo(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    bindComponent("BUTTON_START", GuiMethod(this, &DialogArcadeInfo::onStart));
    bindComponent("BUTTON_CANCEL", GuiMethod(this, &DialogArcadeInfo::onCancel));
}

void DialogArcadeInfo::setup(DialogArcadeInfo* dialog, int set)
{
    if (!dialog)
        return;
    dialog->result = 2;
    setLabelText(dialog->getComponent("LABEL_SET"),
             textByKey("TEXT_ARCADEINFO_SET") + toWideString(" " + std::to_string(set + 1)));
    setLabelText(dialog->getComponent("LABEL_NAME"), textByKey("TEXT_ARCADENAME" + std::to_string(set)));
    setLabelText(dialog->getComponent("LABEL_GOAL"), formatDialogText(textByKey("TEXT_ARCADETEXT" + std::to_string(set))));
    auto* player = PlayerManager::getInstance()
                       ? dynamic_cast<TortelunePlayer*>(PlayerManager::getInstance()->getCurrentPlayer())
                       : nullptr;
    const int score = player ? stored(player->arcadeScore, set) : 0;
    const int level = (player ? stored(player->arcadeLevel, set) : 0) + 1;
    setLabelText(dialog->getComponent("LABEL_SCOREVALUE"), formatGroupedNumber(score, getDigitGroupingSymbol()));
    setLabelText(dialog->getComponent("LABEL_LEVELVALUE"), formatGroupedNumber(level, getDigitGroupingSymbol()));
}

void DialogArcadeInfo::show()
{
    DialogTortelune::show();
    playShowAnimation();
    paintCustomer();
    addTwinkles(2);
}

void DialogArcadeInfo::paintCustomer()
{
    auto* customer = objectCast<Sprite>(getComponent("SPRITE_CUSTOMER"));
    if (customer && customer->getImage())
        stampIntoFrame(customer);
}

int DialogArcadeInfo::onStart(void* context, BaseObject*)
{
    auto* dialog = static_cast<DialogArcadeInfo*>(context);
    dialog->result = 0;
    dialog->close();
    return 0;
}

int DialogArcadeInfo::onCancel(void* context, BaseObject*)
{
    auto* dialog = static_cast<DialogArcadeInfo*>(context);
    dialog->result = 1;
    dialog->close();
    return 0;
}
