#include "framework/gui/FadeBlackTransitionScene.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/AlphaTransitionScene.h"
#include "framework/scenegraph/ModifierAlpha.h"

TT_DEFINE_RECORD(FadeBlackTransitionScene, &TransitionScene::classRecord);
TT_REGISTER_CREATOR(FadeBlackTransition, FadeBlackTransitionScene);
TT_REGISTER_CLASS(FadeBlackTransitionScene);

namespace {

// One more dot every 300 ms, up to three, then none again.
constexpr int kDotStepMs = 300;
constexpr int kDotCycleMs = 4 * kDotStepMs;
constexpr int kLabelFadeMs = 300;

} // namespace

FadeBlackTransitionScene::FadeBlackTransitionScene(AbstractProperty* properties) : TransitionScene(properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    showDelay = node->getInt("showdelay", showDelay);
    showTime = node->getInt("showtime", showTime);
    wait = node->getBool("wait", wait);
    time = node->getInt("time", time);
    AlphaTransitionScene::addPictures(this, oldPicture, newPicture);
}

int FadeBlackTransitionScene::fadedOutCallback(void* context, BaseObject*)
{
    static_cast<FadeBlackTransitionScene*>(context)->phase = Waiting;
    return 0;
}

void FadeBlackTransitionScene::show()
{
    TransitionScene::show();
    oldPicture->setAlpha(255);
    newPicture->setVisible(false);
    AlphaTransitionScene::fadeThenCall(oldPicture.get(), time, 255, 0, &FadeBlackTransitionScene::fadedOutCallback,
                                       this);
    AlphaTransitionScene::drawScene(getFrom(), oldPicture.get());
    // The layout is built with the scene's components, on its first show.
    loadingLabel = objectCast<Label>(getComponent("LOADING_LABEL"));
    if (loadingLabel) {
        loadingLabel->setAlpha(0);
        baseText = loadingLabel->getText();
        GameNode::insertBefore(loadingLabel.get(), newPicture.get());
    }
}

void FadeBlackTransitionScene::update(int deltaMs)
{
    // The fade-out's frames have time to spare for the target's pictures.
    if (phase == FadingOut && wait)
        TransitionScene::unpackTargetPictures();
    if (phase != Waiting)
        return;
    if (loadingLabel) {
        if (showDelay < 0) {
            dotClock = (dotClock + deltaMs) % kDotCycleMs;
            showTime -= deltaMs;
            loadingLabel->setText(baseText + WString(static_cast<size_t>(dotClock / kDotStepMs), u'.'));
        } else {
            showDelay -= deltaMs;
            if (showDelay < 0) {
                GameNode::addModifier(loadingLabel.get(), new ModifierAlpha(kLabelFadeMs, 0, 255));
                loadingLabel->setText(baseText);
            }
        }
    }
    const bool loaded = !wait || TransitionScene::isLoaderIdle();
    const bool labelDone = !loadingLabel || showDelay > 0 || showTime < 1;
    if (loaded && labelDone) {
        phase = FadingIn;
        startFadeIn();
    }
}

void FadeBlackTransitionScene::startFadeIn()
{
    showTarget();
    AlphaTransitionScene::prepareFullScreenHandler(getTo());
    AlphaTransitionScene::drawScene(getTo(), newPicture.get());
    oldPicture->setVisible(false);
    newPicture->setVisible(true);
    newPicture->setAlpha(0);
    AlphaTransitionScene::fadeThenCall(newPicture.get(), time, 0, 255, &TransitionScene::finishCallback, this);
    if (loadingLabel)
        GameNode::addModifier(loadingLabel.get(), new ModifierAlpha(time, loadingLabel->getAlpha(), 0));
}

void FadeBlackTransitionScene::finishTransition()
{
    TransitionScene::finishTransition();
    AlphaTransitionScene::restoreFullScreenHandler(getTo());
}
