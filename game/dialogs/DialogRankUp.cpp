#include "game/dialogs/DialogRankUp.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierSound.h"
#include "game/data/RankTable.h"

TT_DEFINE_RECORD(DialogRankUp, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogRankUp);

DialogRankUp::DialogRankUp(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    header = objectCast<Label>(getComponent("LABEL_HEADER"));
    rankLabel = objectCast<Label>(getComponent("LABEL_RANK"));
    reward = objectCast<Label>(getComponent("LABEL_REWARD"));
}

void DialogRankUp::show()
{
    DialogTortelune::show();
    playShowAnimation();
    if (RankTable* ranks = RankTable::getInstance()) {
        if (rankLabel) {
            rankLabel->setText(ranks->getRankName(rank));
            rankLabel->updateLayout();
        }
        if (reward) {
            reward->setText(ranks->getRankRewardText(rank));
            reward->setLineHeight(22);
            reward->updateLayout();
        }
    }
    cancelTimer();
    Modifier* sound = GameNode::addModifier(this, new ModifierSound("SOUND_RANKUP", "sounds", true));
    sound->addEndFlags(Modifier::EndWait);
    wait = GameNode::addModifier(this, new ModifierDelay(5000));
    wait->addEndFlags(Modifier::EndWait);
    // The step lives in the dialog's own modifiers, so it needs no reference
    // to the dialog (one would keep a forgotten dialog alive for good).
    timer = GameNode::addModifier(this, new ModifierFunction(GuiMethod(this, &DialogRankUp::onTimeUp)));
}

void DialogRankUp::cancelTimer()
{
    // The wait blocks the dialog's later steps (its fade-out too): both go.
    for (RefPointer<Modifier>* step : {&wait, &timer}) {
        if (*step) {
            (*step)->finish();
            (*step)->kill();
        }
        *step = nullptr;
    }
}

int DialogRankUp::onTimeUp(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogRankUp*>(context);
    dialog->timer = nullptr;
    dialog->wait = nullptr;
    dialog->close();
    return 0;
}

bool DialogRankUp::onLeftDown(int x, int y, int keys, bool doubleClick)
{
    // The press wins over the 5-second close: the timed close is cancelled.
    cancelTimer();
    close();
    DialogTortelune::onLeftDown(x, y, keys, doubleClick);
    return true;
}
