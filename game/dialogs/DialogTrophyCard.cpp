#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogTrophyCard.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierEmitterBling.h"

TT_DEFINE_RECORD(DialogTrophyCard, &DialogTortelune::classRecord);

DialogTrophyCard::DialogTrophyCard(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    picture = objectCast<Sprite>(getComponent("SPRITE_TROPHY"));
    nameLabel = getComponent("LABEL_TROPHY_NAME");
    descriptionLabel = getComponent("LABEL_TROPHY_DESC");
    okButton = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod::bind<DialogTrophyCard, &DialogTrophyCard::onOk>(this)));
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    templateHeight = layout->getInt("height", getHeight());
    okTemplateY = okButton ? okButton->getY() : 0;
}

bool DialogTrophyCard::fill(int index, int textRecord, trophytext::Column column)
{
    Trophies* trophies = TrophyWatcher::currentTrophies();
    Trophy* trophy = trophies ? trophies->getTrophy(index) : nullptr;
    const TrophyInfo* pictureRecord = trophy ? trophy->getInfo(1) : nullptr;
    const TrophyInfo* texts = trophy ? trophy->getInfo(textRecord) : nullptr;
    if (!pictureRecord || !texts || !trophy->getInfo(2)) {
        LOG_WARNING("trophy " + std::to_string(index) + " does not exist");
        return false;
    }
    trophyIndex = index;
    if (picture) {
        RefPointer<Image> image = trophytext::recordImage(*pictureRecord);
        picture->setImage(image.get());
        picture->setVisible(false);
        picture->setStretchSize(0, 0);
        GameNode::cancelModifiers(picture);
    }
    setLabelText(nameLabel, textByKey(texts->headerId));
    WString description = textByKey(texts->textId);
    if (column == trophytext::Column::Awarded)
        description = formatDialogText(trophytext::substituteValues(index, description, column));
    else
        description = trophytext::substituteValues(index, formatDialogText(description), column);
    setLabelText(descriptionLabel, description);
    const int height = labelTextHeight(descriptionLabel);
    const int lineHeight = labelLineHeight(descriptionLabel);
    setHeight(height + templateHeight - lineHeight);
    if (okButton)
        okButton->setY(okTemplateY + height - lineHeight);
    return true;
}

Modifier* DialogTrophyCard::buildEntrance(bool withSounds)
{
    Scene* scene = TrophyWatcher::targetScene();
    if (!picture || !scene)
        return nullptr;
    auto targeted = [this](Modifier* modifier) {
        modifier->setTarget(picture);
        return modifier;
    };
    Modifier* step = scene->getAnimTree();
    if (withSounds)
        step = Modifier::addChild(step, targeted(new ModifierSound("STING_TROPHY", "sounds", true)));
    step = Modifier::addChild(step, targeted(new ModifierDelay(tuning().DIALOG_FADE_TIME)));
    step = Modifier::addChild(step, targeted(new ModifierVisible(true)));
    if (withSounds)
        step = Modifier::addChild(step, targeted(new ModifierSound("SOUND_TROPHY_WON", "sounds", true)));
    return addPopEffect(picture, step, true, false, 0.5f);
}

void DialogTrophyCard::addPictureTwinkles(Modifier* parent)
{
    if (!parent || !picture)
        return;
    const TuningTable& values = tuning();
    Modifier* twinkles = new ModifierEmitterBling(15, values.TWINKLEMOD_IN_DURATION, values.TWINKLEMOD_OUT_DURATION,
                                                  values.TWINKLEMOD_DELAY_MIN, values.TWINKLEMOD_DELAY_MAX);
    twinkles->setTarget(picture);
    Modifier::addChild(parent, twinkles);
}

int DialogTrophyCard::onOk(BaseObject* /*button*/)
{
    if (picture)
        GameNode::cancelModifiers(picture);
    close();
    return 0;
}
