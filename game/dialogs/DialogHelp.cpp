#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogHelp.h"

#include "framework/core/Log.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "game/data/GameData.h"

TT_DEFINE_RECORD(DialogHelp, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogHelp);

DialogHelp::DialogHelp(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    ok = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod(this, &DialogHelp::onOk)));
    previous = objectCast<Button>(bindComponent("BUTTON_PREV", GuiMethod(this, &DialogHelp::previousPage)));
    next = objectCast<Button>(bindComponent("BUTTON_NEXT", GuiMethod(this, &DialogHelp::nextPage)));
}

void DialogHelp::show()
{
    DialogTortelune::show();
    SceneManager* scenes = SceneManager::instance;
    Scene* scene = scenes ? scenes->getCurrentScene() : nullptr;
    if (scene && scene == scenes->getScene("SCENE_GAME")) {
        GameData* data = GameData::instance;
        icy = data && data->state && (data->state->mode == 1 || data->isExamLevel());
        page = icy ? 1 : 0;
    } else {
        // The look of a belt level seen before must not stay on.
        icy = false;
    }
    showPage();
    GameNode::addModifier(this, new ModifierDelay(kShowDelayMs));
    playShowAnimation();
}

std::string DialogHelp::pictureName() const
{
    return "IMAGE_HELP_PAGE" + std::to_string(page) + (icy ? "_ICY" : "");
}

void DialogHelp::showPage()
{
    if (previous)
        previous->setEnabled(page > 0);
    if (next)
        next->setEnabled(page < pageCount - 1);
    const std::string name = pictureName();
    RefPointer<Image> picture;
    if (ResourceManager::instance) {
        ResourceLock lock;
        picture = ResourceManager::instance->getResourceAs<Image>(name, "dialogs");
    }
    if (!picture)
        LOG_WARNING("help: no picture \"" + name + "\"");
    else if (picture.get() != getFrameImage())
        setBackground(picture.get());
    refreshBuffer();
}

int DialogHelp::onOk(void* context, BaseObject* /*button*/)
{
    static_cast<DialogHelp*>(context)->close();
    return 0;
}

int DialogHelp::previousPage(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogHelp*>(context);
    if (dialog->page > 0) {
        --dialog->page;
        dialog->showPage();
    }
    return 0;
}

int DialogHelp::nextPage(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogHelp*>(context);
    if (dialog->page < dialog->pageCount - 1) {
        ++dialog->page;
        dialog->showPage();
    }
    return 0;
}
