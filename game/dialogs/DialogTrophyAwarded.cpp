#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogTrophyAwarded.h"

#include "framework/core/Log.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/effects/ModifierCallback.h"

TT_DEFINE_RECORD(DialogTrophyAwarded, &DialogTrophyCard::classRecord);
TT_REGISTER_CLASS(DialogTrophyAwarded);

DialogTrophyAwarded::DialogTrophyAwarded(AbstractProperty* configuration) : DialogTrophyCard(configuration)
{
    if (okButton) {
        okButton->setAlpha(0);
        okButton->setEnabled(false);
    }
}

DialogTrophyAwarded* DialogTrophyAwarded::showTrophy(int index)
{
    Scene* scene = TrophyWatcher::targetScene();
    if (!scene) {
        LOG_WARNING("trophy " + std::to_string(index) + ": no scene to announce it in");
        return nullptr;
    }
    Dialog* dialog = scene->getOrCreateDialog("DIALOG_TROPHYAWARDED", "DIALOG_TROPHYAWARDED");
    auto* awarded = objectCast<DialogTrophyAwarded>(dialog);
    if (!awarded) {
        if (dialog)
            scene->forgetDialog(dialog);
        LOG_WARNING("the template \"DIALOG_TROPHYAWARDED\" makes no trophy dialog");
        return nullptr;
    }
    if (!awarded->setTrophy(index)) {
        scene->forgetDialog(awarded);
        return nullptr;
    }
    scene->showDialog(awarded);
    return awarded;
}

bool DialogTrophyAwarded::setTrophy(int index)
{
    return fill(index, 1, trophytext::Column::Awarded);
}

void DialogTrophyAwarded::show()
{
    showAndFadeIn();
    Modifier* popped = buildEntrance(true);
    if (!popped)
        return;
    Modifier* enable = createModifierCallback(this, &DialogTrophyAwarded::enableOk);
    enable->setTarget(picture);
    addPictureTwinkles(Modifier::addChild(popped, enable));
}

void DialogTrophyAwarded::enableOk()
{
    if (!okButton)
        return;
    okButton->setEnabled(true);
    GameNode::addModifier(okButton, new ModifierAlpha(200, 0, 255));
}
