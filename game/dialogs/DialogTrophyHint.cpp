#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogTrophyHint.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyText.h"
#include "game/dialogs/TrophyWatcher.h"

TT_DEFINE_RECORD(DialogTrophyHint, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogTrophyHint);

namespace {

// The corner of the bubble's frame that points at the trophies.
constexpr int kArrowCorner = 12;

} // namespace

DialogTrophyHint::DialogTrophyHint(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    setShowHideSounds("SOUND_DIALOGHINT_SHOW", "");
    nameLabel = getComponent("LABEL_NAME");
    descriptionLabel = getComponent("LABEL_DESC");
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    templateHeight = layout->getInt("height", getHeight());
}

bool DialogTrophyHint::setTrophy(int index)
{
    Trophies* trophies = TrophyWatcher::currentTrophies();
    Trophy* trophy = trophies ? trophies->getTrophy(index) : nullptr;
    const TrophyInfo* record = trophy && trophy->getInfo(2) ? trophy->getInfo(0) : nullptr;
    if (!record) {
        LOG_WARNING("trophy " + std::to_string(index) + " does not exist");
        return false;
    }
    trophyIndex = index;
    setLabelText(nameLabel, textByKey(record->headerId));
    const WString description = trophytext::substituteValues(
        index, formatDialogText(textByKey(record->textId)), trophytext::Column::HintAndInfo);
    setLabelText(descriptionLabel, description);
    const int height = labelTextHeight(descriptionLabel);
    setHeight(height + templateHeight - labelLineHeight(descriptionLabel));
    if (auto* painter = objectCast<DialogHintPainter>(getPainter()))
        painter->setCorner(kArrowCorner);
    return true;
}

void DialogTrophyHint::placeBottomLeft(int x, int bottom)
{
    setPosition(x, bottom - getHeight());
}

void DialogTrophyHint::show()
{
    showAndFadeIn();
}
