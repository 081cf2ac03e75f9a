#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogGameEnd.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/gui/Scene.h"
#include "game/dialogs/DialogHint.h"
#include "framework/gui/SceneManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/Effects.h"

TT_DEFINE_RECORD(DialogGameEnd, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogGameEnd);

namespace {

const char kHint[] = "DIALOG_GAMEENDHINT";
const char kCredits[] = "DIALOG_CREDITS";
// Where the chef's words stand, from the picture's frame.
constexpr int kHintX = 30;
constexpr int kHintY = -130;
constexpr int kBackPieces = 150;
constexpr int kFrontPieces = 50;

Scene* currentScene()
{
    return SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
}

} // namespace

DialogGameEnd::DialogGameEnd(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    family = objectCast<Sprite>(getComponent("FAMILY"));
    confettiBack = getComponent("NODE_CONFETTIBACK");
    confettiFront = getComponent("NODE_CONFETTIFRONT");
}

void DialogGameEnd::show()
{
    showAndFadeIn();
    Scene* scene = currentScene();
    if (!scene)
        return;
    auto* hint = objectCast<DialogTortelune>(scene->getOrCreateDialog(kHint, kHint));
    if (!hint) {
        // No closing words to wait for: the credits follow at once.
        LOG_WARNING("game end: no dialog \"" + std::string(kHint) + "\"");
        onHintClosed(this, nullptr);
        return;
    }
    const WString words = BasicProperties::instance ? BasicProperties::instance->getText("TEXT_GAMEEND") : WString();
    if (auto* chef = objectCast<DialogHintGameEnd>(hint)) {
        chef->setHintText(words);
    } else if (auto* text = objectCast<Label>(hint->getComponent("LABEL_HINT"))) {
        text->setText(words);
        text->updateLayout();
    }
    hint->bindComponent("BUTTON_OK", GuiMethod(hint, &DialogGameEnd::closeHint));
    // The words stand above the picture's frame, which the darkened layer keeps in place.
    GameNode* frame = isDarkeningBackground() ? getComponentRoot() : static_cast<GameNode*>(this);
    hint->setPosition(frame->getX() + kHintX, frame->getY() + kHintY);
    hint->closeCallback = GuiMethod(this, &DialogGameEnd::onHintClosed);
    scene->showDialog(hint);
}

int DialogGameEnd::closeHint(void* context, BaseObject* /*button*/)
{
    static_cast<DialogTortelune*>(context)->close();
    return 0;
}

void DialogGameEnd::update(int deltaMs)
{
    DialogTortelune::update(deltaMs);
    if (confettiTimer == kConfettiStopped)
        return;
    confettiTimer += deltaMs;
    if (confettiTimer > kConfettiIntervalMs) {
        throwConfetti();
        confettiTimer = 0;
    }
}

void DialogGameEnd::throwConfetti()
{
    ++burstCount;
    Scene* scene = currentScene();
    if (!scene)
        return;
    // Many small pieces behind the family, fewer large ones in front, over the whole width.
    if (confettiBack)
        addConfettiBurst2(confettiBack, scene->getAnimTree(), kBackPieces, kConfettiIntervalMs, 0, 800, true);
    if (confettiFront)
        addConfettiBurst2(confettiFront, scene->getAnimTree(), kFrontPieces, kConfettiIntervalMs, 0, 800, false);
}

int DialogGameEnd::onHintClosed(void* context, BaseObject* /*dialog*/)
{
    auto* dialog = static_cast<DialogGameEnd*>(context);
    dialog->confettiTimer = kConfettiStopped;
    for (GameNode* node : {dialog->confettiBack, dialog->confettiFront})
        if (node)
            GameNode::cancelModifiers(node);
    Scene* scene = currentScene();
    if (!scene)
        return 0;
    if (Dialog* hint = scene->getDialog(kHint))
        scene->forgetDialog(hint);
    Dialog* credits = scene->getOrCreateDialog(kCredits, kCredits);
    auto* rolling = objectCast<DialogTortelune>(credits);
    if (!rolling) {
        LOG_WARNING("game end: no dialog \"" + std::string(kCredits) + "\"");
        onCreditsClosed(dialog, nullptr);
        return 0;
    }
    rolling->closeCallback = GuiMethod(dialog, &DialogGameEnd::onCreditsClosed);
    scene->showDialog(rolling);
    return 0;
}

int DialogGameEnd::onCreditsClosed(void* context, BaseObject* /*dialog*/)
{
    auto* dialog = static_cast<DialogGameEnd*>(context);
    Scene* scene = currentScene();
    if (scene) {
        if (Dialog* credits = scene->getDialog(kCredits))
            scene->forgetDialog(credits);
    }
    dialog->close();
    return 0;
}
