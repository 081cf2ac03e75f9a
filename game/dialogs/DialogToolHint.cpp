#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogToolHint.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "game/data/ToolCatalog.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/TrophyText.h"

TT_DEFINE_RECORD(DialogToolHint, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogToolHint);

namespace {

// The painter's connector corners: bottom left, bottom right.
constexpr int kConnectorBottomLeft = 10;
constexpr int kConnectorBottomRight = 11;
// How far the tail's tip lies in from the bubble's left (bottom-left tail) or
// right side (bottom-right tail), at its bottom edge.
constexpr int kTailTipInset = 30;

} // namespace

DialogToolHint::DialogToolHint(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    setShowHideSounds("SOUND_DIALOGHINT_SHOW", "");
    nameLabel = getComponent("LABEL_NAME");
    descriptionLabel = getComponent("LABEL_DESC");
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    minimumHeight = layout->getInt("minheight", layout->getInt("height", getHeight()));
}

void DialogToolHint::setTool(int id)
{
    toolId = id;
    Tool* tool = ToolCatalog::getInstance() ? ToolCatalog::getInstance()->find(id) : nullptr;
    if (!tool) {
        LOG_WARNING("tool hint: no tool " + std::to_string(id));
        return;
    }
    slot = tool->slot == 1 ? 1 : 0;
    setLabelText(nameLabel, textByKey(tool->name));
    setLabelText(descriptionLabel, formatDialogText(textByKey(tool->description)));
    const int height = labelTextHeight(descriptionLabel);
    setHeight(minimumHeight + height - labelLineHeight(descriptionLabel));
    if (auto* painter = objectCast<DialogHintPainter>(getPainter()))
        painter->setCorner(slot == 0 ? kConnectorBottomLeft : kConnectorBottomRight);
}

void DialogToolHint::placeAt(int x, int y)
{
    setPosition(slot == 0 ? x - kTailTipInset : x - getWidth() + kTailTipInset, y - getHeight());
}

void DialogToolHint::show()
{
    showAndFadeIn();
}
