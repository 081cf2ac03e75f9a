#include "game/dialogs/DialogArcadeInfo.h"

#include <map>

#include "framework/core/BasicProperties.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/gui/StyleLabel.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"

TT_DEFINE_RECORD(DialogArcadeInfo, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogArcadeInfo);

namespace {

WString text(const std::string& key)
{
    return BasicProperties::instance ? BasicProperties::instance->getText(key) : WString();
}

void setLabel(GameNode* node, const WString& value)
{
    if (auto* label = objectCast<Label>(node)) {
        label->setText(value);
        label->updateLayout();
    } else if (auto* styled = objectCast<StyleLabel>(node)) {
        styled->setText(value);
    }
}

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

WString DialogArcadeInfo::formatDialogText(const WString& source)
{
    static const std::pair<const char16_t*, const char16_t*> kTags[] = {
        {u"[i]", u"[font=FONT_TEXT_ITALIC,default]"}, {u"[/i]", u"[/font]"},
        {u"[b]", u"[font=FONT_DIALOGBOLD,default]"},  {u"[/b]", u"[/font]"}};
    WString out;
    out.reserve(source.size() + 16);
    for (size_t i = 0; i < source.size();) {
        bool replaced = false;
        for (const auto& [tag, font] : kTags) {
            const WString shortTag(tag);
            if (source.compare(i, shortTag.size(), shortTag) == 0) {
                out += font;
                i += shortTag.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += source[i++];
    }
    out += u'\n';
    return out;
}

void DialogArcadeInfo::setup(DialogArcadeInfo* dialog, int set)
{
    if (!dialog)
        return;
    dialog->result = 2;
    setLabel(dialog->getComponent("LABEL_SET"),
             text("TEXT_ARCADEINFO_SET") + toWideString(" " + std::to_string(set + 1)));
    setLabel(dialog->getComponent("LABEL_NAME"), text("TEXT_ARCADENAME" + std::to_string(set)));
    setLabel(dialog->getComponent("LABEL_GOAL"), formatDialogText(text("TEXT_ARCADETEXT" + std::to_string(set))));
    auto* player = PlayerManager::getInstance()
                       ? dynamic_cast<TortelunePlayer*>(PlayerManager::getInstance()->getCurrentPlayer())
                       : nullptr;
    const int score = player ? stored(player->arcadeScore, set) : 0;
    const int level = (player ? stored(player->arcadeLevel, set) : 0) + 1;
    setLabel(dialog->getComponent("LABEL_SCOREVALUE"), formatGroupedNumber(score, getDigitGroupingSymbol()));
    setLabel(dialog->getComponent("LABEL_LEVELVALUE"), formatGroupedNumber(level, getDigitGroupingSymbol()));
}

void DialogArcadeInfo::show()
{
    DialogTortelune::show();
    playShowAnimation();
    addTwinkles(2);
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
