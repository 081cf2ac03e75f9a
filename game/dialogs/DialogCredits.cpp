#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogCredits.h"

#include "framework/core/PropertyNode.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"

TT_DEFINE_RECORD(DialogCredits, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogCredits);

namespace {

// The text starts just below the band and its last line stops this far above
// the band's lower edge.
constexpr int kStartGap = 10;
constexpr int kEndGap = 40;

} // namespace

DialogCredits::DialogCredits(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    message = objectCast<Label>(getComponent("MESSAGE"));
    bindComponent("BUTTON_OK", GuiMethod(this, &DialogCredits::onOk));
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    clipHeight = layout->getInt("clipheight", 0);
    scrollDuration = layout->getInt("scrollduration", 0);
    startDelay = layout->getInt("startdelay", 0);
    endDelay = layout->getInt("enddelay", 0);
    if (message) {
        messageX = message->getX();
        messageY = message->getY();
    }
}

void DialogCredits::show()
{
    showAndFadeIn();
    startScroll();
}

void DialogCredits::startScroll()
{
    if (!message)
        return;
    GameNode::clearModifiers(message);
    message->updateLayout();
    int height = message->getHeight();
    startY = messageY + clipHeight + kStartGap;
    endY = messageY + clipHeight - height - kEndGap;
    // Only the band shows the text (the clip is measured from the dialog's origin).
    message->setClipRect(0, messageY, getWidth(), clipHeight);
    message->setPosition(messageX, startY);
    GameNode::addModifier(message, new ModifierDelay(startDelay));
    Modifier* scroll = new ModifierLocationLine(scrollDuration, messageX, startY, messageX, endY);
    scroll->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(message, scroll);
    GameNode::addModifier(message, new ModifierDelay(endDelay));
    GameNode::addModifier(message, new ModifierFunction(GuiMethod(this, &DialogCredits::onScrollDone)));
}

int DialogCredits::onScrollDone(void* context, BaseObject* /*modifier*/)
{
    static_cast<DialogCredits*>(context)->closeCredits();
    return 0;
}

int DialogCredits::onOk(void* context, BaseObject* /*button*/)
{
    static_cast<DialogCredits*>(context)->closeCredits();
    return 0;
}

void DialogCredits::closeCredits()
{
    if (message)
        GameNode::clearModifiers(message);
    close();
}
