#include "game/scenes/HintManager.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogHint.h"
#include "game/production/CustomerView.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/SceneGame.h"

TT_DEFINE_RECORD(Hint, &BaseObject::classRecord);
TT_REGISTER_CLASS(Hint);

HintManager* HintManager::instance = nullptr;

namespace {

bool boolOr(AbstractProperty* node, const char* key, bool fallback)
{
    return hasChildNamed(node, key) ? childBool(node, key) : fallback;
}

TortelunePlayer* currentPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? dynamic_cast<TortelunePlayer*>(players->getCurrentPlayer()) : nullptr;
}

bool isHenri(const std::string& customer)
{
    for (const char* name : {"CUSTOMER_HENRI", "CUSTOMER_HENRI_EXAM", "CUSTOMER_HENRI_ARCADE", "CUSTOMER_HENRI_MARRIAGE"})
        if (customer == name)
            return true;
    return false;
}

// While a level with the chef as its customer is played, the chef himself
// says the hint. A level left paused in the game scene does not count: in any
// other scene the chef is not on screen.
bool henriSpeaks()
{
    SceneGame* game = SceneGame::getInstance();
    const Scene* current = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (!game || current != game || !dynamic_cast<PhasePlay*>(game->getPhase().get()) || !GameData::instance ||
        !GameData::instance->state)
        return false;
    return isHenri(GameData::instance->getCurrentLevel().customerName);
}

} // namespace

Hint::Hint(AbstractProperty* configuration)
{
    AbstractProperty* node = configuration;
    if (configuration)
        name = configuration->getName();
    handX = childInt(node, "handx");
    handY = childInt(node, "handy");
    dialogX = childInt(node, "dialogx");
    dialogY = childInt(node, "dialogy");
    width = childInt(node, "width");
    if (hasChildNamed(node, "arrow"))
        arrow = childString(node, "arrow");
    if (hasChildNamed(node, "connector"))
        connector = childString(node, "connector");
    modal = boolOr(node, "modal", true);
    showOnce = boolOr(node, "showonce", true);
    override = boolOr(node, "override", true);
}

int cornerForPoint(int x, int y)
{
    if (x < 400)
        return y < 300 ? 0 : 6;
    return y < 300 ? 2 : 8;
}

int Hint::cornerFor(int x, int y) const
{
    if (arrow == "topright")
        return 2;
    if (arrow == "bottomleft")
        return 6;
    if (arrow == "bottomright")
        return 8;
    if (arrow == "auto")
        return cornerForPoint(x, y);
    return 0;
}

int Hint::connectorKind() const
{
    if (connector == "bottomleft")
        return 10;
    if (connector == "bottomright")
        return 11;
    return 9;
}

HintManager* HintManager::create()
{
    if (!instance) {
        instance = new HintManager();
        instance->load();
    }
    return instance;
}

void HintManager::destroyInstance()
{
    delete instance;
    instance = nullptr;
}

void HintManager::load(const std::string& fileName)
{
    RefPointer<PropertyStore> root(new PropertyStore(fileName));
    if (!root->load())
        LOG_WARNING("hints: \"" + fileName + "\" could not be read; no hints");
    loadFrom(root.get());
}

void HintManager::loadFrom(AbstractProperty* root)
{
    hints.clear();
    PropertyVector* list = childVector(root, "hints");
    for (int i = 0; i < elementCount(list); ++i) {
        RefPointer<Hint> hint = ObjectFactoryContainer::createFrom<Hint>(elementAt(list, i));
        if (!hint || hint->name.empty())
            continue;
        hints.emplace(hint->name, hint);
    }
}

Hint* HintManager::findHint(const std::string& name) const
{
    auto found = hints.find(name);
    return found == hints.end() ? nullptr : found->second.get();
}

void HintManager::showHint(const std::string& name, const GuiMethod& onClosed)
{
    show(name, false, 0, 0, 9, -1, -1, -1, onClosed);
}

void HintManager::showHintAt(const std::string& name, int x, int y, int corner, int dialogX, int dialogY,
                             int connector, const GuiMethod& onClosed)
{
    show(name, true, x, y, corner, dialogX, dialogY, connector, onClosed);
}

bool HintManager::show(const std::string& name, bool atPoint, int x, int y, int corner, int dialogX, int dialogY,
                       int connector, const GuiMethod& onClosed)
{
    lastRequested = name;
    closedCallback = onClosed;
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    TortelunePlayer* player = currentPlayer();
    if (!scene || !player || player->hasSeenHint(name) || !player->showHints || scene->isDialogShown("DIALOG_HINT"))
        return false;
    Hint* hint = findHint(name);
    if (!hint) {
        // Nothing to show: whoever waits for the hint goes on as if it had closed.
        LOG_WARNING("hints: no hint \"" + name + "\"");
        GuiMethod callback = onClosed;
        callback.invoke(nullptr);
        return false;
    }
    const WString text = BasicProperties::instance ? BasicProperties::instance->getText("TEXT_" + name) : WString();
    int handX = hint->handX;
    int handY = hint->handY;
    if (atPoint) {
        handX = x;
        handY = y;
    }
    if (!atPoint || corner == 9)
        corner = hint->cornerFor(handX, handY);
    if (!atPoint || connector == -1)
        connector = hint->connectorKind();
    if (!atPoint || dialogX == -1)
        dialogX = hint->dialogX == 0 ? 200 : hint->dialogX;
    if (!atPoint || dialogY == -1)
        dialogY = hint->dialogY == 0 ? 70 : hint->dialogY;

    auto* dialog = objectCast<DialogHint>(scene->getOrCreateDialog(std::string(), "DIALOG_HINT"));
    if (!dialog) {
        LOG_WARNING("hints: no hint dialog \"DIALOG_HINT\"; hint \"" + name + "\" taken as closed");
        GuiMethod callback = onClosed;
        callback.invoke(nullptr);
        return false;
    }
    dialog->setHintText(text, hint->width);
    const std::string bonusMark = "HINT_BONUS_";
    if (name.find(bonusMark) != std::string::npos && BasicProperties::instance) {
        std::string headerKey = name;
        headerKey.erase(headerKey.find("HINT_"), 5);
        dialog->setHeaderText(BasicProperties::instance->getText("TEXT_" + headerKey));
    }
    if (hint->override && henriSpeaks()) {
        // The chef's words stand where his own speech bubble does, the tail
        // at its lower left towards his face.
        connector = 10;
        int x = 110;
        int bottom = 380;
        if (CustomerView* view = SceneGame::getInstance()->getCustomerView())
            view->getSpeechPoint(x, bottom);
        dialogX = x;
        dialogY = bottom - dialog->getHeight();
        dialog->henriEntrance = true;
    }
    dialog->setArrow(handX, handY, corner, connector, dialogX, dialogY);
    dialog->hintName = name;
    dialog->closeCallback = onClosed;
    dialog->setModal(hint->modal);
    if (!atPoint && hint->override &&
        (name == "HINT_SHOPFIRST" || name == "HINT_SHOPSECOND" || name == "HINT_SHOPFIRST2")) {
        dialog->setAnchorPoint(6);
        dialog->getComponentRoot()->setPosition(0, -dialog->getHeight());
    }
    scene->showDialog(dialog);
    if (hint->showOnce && !player->hasSeenHint(name))
        player->setHintSeen(name);
    return true;
}

bool HintManager::closeShownHint(const std::string& name)
{
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (!scene || !scene->isDialogShown("DIALOG_HINT"))
        return false;
    auto* dialog = objectCast<DialogHint>(scene->getDialog("DIALOG_HINT"));
    if (!dialog || dialog->hintName != name)
        return false;
    dialog->closeHint();
    return true;
}
