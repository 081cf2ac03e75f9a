#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogYesNo.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/Label.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(DialogYesNo, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogYesNo);

namespace {

const char kTemplate[] = "DIALOG_YESNO";

} // namespace

DialogYesNo::DialogYesNo(AbstractProperty* configuration) : DialogTortelune(configuration) {}

DialogYesNo* DialogYesNo::ask(const std::string& messageKey, const std::string& headerKey, void* yesObject,
                              GuiMethod::Function yesFunction, void* noObject, GuiMethod::Function noFunction,
                              Scene* scene)
{
    if (!scene)
        return nullptr;
    // Always a fresh question, so its growth never adds up.
    if (Dialog* open = scene->getDialog(messageKey))
        scene->forgetDialog(open);
    Dialog* dialog = scene->getOrCreateDialog(messageKey, kTemplate);
    DialogYesNo* question = objectCast<DialogYesNo>(dialog);
    if (!question) {
        LOG_WARNING(std::string("the template \"") + kTemplate + "\" makes no yes/no question");
        if (dialog)
            scene->forgetDialog(dialog);
        return nullptr;
    }
    question->setup(textByKey(messageKey), textByKey(headerKey), yesObject, yesFunction, noObject, noFunction);
    return question;
}

int DialogYesNo::closeDialogHandler(void* context, BaseObject* /*button*/)
{
    static_cast<DialogYesNo*>(context)->close();
    return 0;
}

void DialogYesNo::setup(const WString& messageText, const WString& headerText, void* yesObject,
                        GuiMethod::Function yesFunction, void* noObject, GuiMethod::Function noFunction)
{
    if (!yesFunction) {
        yesFunction = &DialogYesNo::closeDialogHandler;
        yesObject = this;
    } else if (!yesObject) {
        yesObject = this;
    }
    if (!noFunction) {
        noFunction = &DialogYesNo::closeDialogHandler;
        noObject = this;
    } else if (!noObject) {
        noObject = this;
    }

    message = objectCast<Label>(getComponent("MESSAGE"));
    header = objectCast<Label>(getComponent("HEADER"));
    yes = objectCast<Button>(bindComponent("BUTTON_YES", GuiMethod(yesObject, yesFunction)));
    no = objectCast<Button>(bindComponent("BUTTON_NO", GuiMethod(noObject, noFunction)));

    if (header) {
        header->setText(headerText);
        header->updateLayout();
    }
    if (message) {
        message->setText(messageText);
        message->updateLayout();
    }

    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    int templateWidth = layout->getInt("width", getWidth());
    int templateHeight = layout->getInt("height", getHeight());

    int wider = header && message ? header->getWidth() - message->getWidth() : 0;
    if (wider > 0) {
        // A header wider than the message widens the dialog and the message;
        // the components keep their places relative to the dialog's centre.
        setWidth(templateWidth + wider);
        message->setSize(message->getWidth() + wider, message->getHeight());
        message->updateLayout();
        for (GameNode* node = getComponentRoot()->getFirstChild(); node; node = node->getNextSibling())
            node->setX(node->getX() + wider / 2);
    }

    int grow = message ? message->getHeight() : 0;
    if (yes)
        yes->setY(yes->getY() + grow);
    if (no)
        no->setY(no->getY() + grow);
    setHeight(templateHeight + grow);
}

void DialogYesNo::show()
{
    showAndFadeIn();
}
