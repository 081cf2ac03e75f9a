#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogCustomerHint.h"

#include <cctype>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/Random.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(DialogCustomerHint, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogCustomerHint);

namespace {

constexpr int kResultDrop = 35;
constexpr int kOkFadeMs = 200;
// The bubble's tail is the lower 140 pixels' middle: it grows from there.
constexpr int kTailHeight = 140;
// The bubble's tail leaves its lower left, towards the customer.
constexpr int kConnectorBottomLeft = 10;

std::string upperCased(std::string key)
{
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

const Level* runningLevel()
{
    return GameData::instance && GameData::instance->state ? &GameData::instance->getCurrentLevel() : nullptr;
}

} // namespace

DialogCustomerHint::DialogCustomerHint(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    setSounds("SOUND_DIALOGHINT_SHOW", "SOUND_DIALOGHINT_HIDE");
    description = objectCast<Label>(getComponent("LABEL_DESC"));
    ok = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod(this, &DialogCustomerHint::onOk)));
    // The template's size, not the one the painter fitted to the frame pieces.
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    setWidth(layout->getInt("width", getWidth()));
    baseHeight = layout->getInt("height", getHeight());
    setHeight(baseHeight);
    baseOkY = ok ? ok->getY() : 0;
    baseDescriptionY = description ? description->getY() : 0;
}

std::string DialogCustomerHint::levelTextKey()
{
    const Level* level = runningLevel();
    if (!level)
        return std::string();
    const int perTheme = tuning().LEVEL_PER_THEME;
    // Levels per theme of 0 (from data) would divide by zero: the first text.
    int n = perTheme > 0 ? level->levelIndex % perTheme : 0;
    if (level->customerName == "CUSTOMER_HENRI_EXAM") {
        if (level->themeName == "exam2")
            n += 4;
        else if (level->themeName == "exam3")
            n += 8;
    }
    return upperCased(level->customerName + "_LEVEL" + std::to_string(n));
}

std::string DialogCustomerHint::resultTextKey()
{
    const Level* level = runningLevel();
    if (!level)
        return std::string();
    GameDataState* state = GameData::instance->state;
    const bool arcade = state->mode == 1;
    const bool won = !arcade && state->playSessionInfo.starCount >= level->starsGoal;
    // One text per result so far; the draw keeps room for more.
    const int variant = Random::instance ? Random::instance->nextInt(0, 1) : 0;
    return upperCased(level->customerName + (won ? "_WON" : "_LOSE") + std::to_string(variant));
}

void DialogCustomerHint::showLevelText()
{
    setText(textByKey(levelTextKey()));
    resetOk(false);
}

void DialogCustomerHint::showResultText()
{
    setText(textByKey(resultTextKey()));
    // No OK button at the end: the bubble loses its room; the text keeps its place.
    setHeight(getHeight() - kResultDrop);
    resetOk(true);
}

void DialogCustomerHint::resetOk(bool enabled)
{
    if (!ok)
        return;
    ok->setVisible(false);
    ok->setEnabled(enabled);
    ok->setAlpha(0);
    ok->setTag(0);
}

void DialogCustomerHint::setText(const WString& text)
{
    int delta = 0;
    if (description) {
        description->setY(baseDescriptionY);
        description->setText(text);
        description->updateLayout();
        delta = description->getHeight() - description->getLineHeight();
    }
    setHeight(baseHeight + delta);
    if (ok)
        ok->setY(baseOkY + delta);
    if (auto* painter = objectCast<DialogHintPainter>(getPainter()))
        painter->setCorner(kConnectorBottomLeft);
}

void DialogCustomerHint::placeBottomLeftAt(int x, int y)
{
    setPosition(x, y - getHeight());
}

void DialogCustomerHint::enableOk(Modifier* parent)
{
    if (!ok)
        return;
    ok->setVisible(true);
    ok->setEnabled(true);
    auto* fade = new ModifierAlpha(kOkFadeMs, 0, 255);
    fade->setTarget(ok);
    if (parent)
        Modifier::addChild(parent, fade);
    else
        GameNode::addModifier(ok, fade);
}

bool DialogCustomerHint::isDismissed() const
{
    return ok && ok->getTag() > 0;
}

void DialogCustomerHint::dismiss()
{
    if (ok && ok->isEnabled())
        ok->setTag(1);
}

int DialogCustomerHint::onOk(void* context, BaseObject* /*argument*/)
{
    static_cast<DialogCustomerHint*>(context)->dismiss();
    return 0;
}

bool DialogCustomerHint::onLeftDown(int x, int y, int keys, bool doubleClick)
{
    dismiss();
    return DialogTortelune::onLeftDown(x, y, keys, doubleClick);
}

void DialogCustomerHint::show()
{
    DialogTortelune::show();
    const int w = getWidth();
    const int h = getHeight();
    inputContainer.setInputEnabled(false);
    setInputEnabled(false);
    setUseBuffer(true);
    setPivotPoint(static_cast<float>(w) * 0.5f, static_cast<float>(h - kTailHeight) * 0.5f + kTailHeight);
    setStretchSize(0, 0);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    struct Step {
        int ms;
        float toWidth;
        float toHeight;
    };
    const Step steps[] = {{150, fw * 1.5f, fh * 0.5f}, {100, fw * 0.5f, fh * 1.5f}, {100, fw, fh}};
    float fromWidth = 0.0f;
    float fromHeight = 0.0f;
    for (const Step& step : steps) {
        auto* stretch = new ModifierStretch(step.ms, fromWidth, fromHeight, static_cast<float>(static_cast<int>(step.toWidth + 0.5f)),
                                            static_cast<float>(static_cast<int>(step.toHeight + 0.5f)));
        stretch->addEndFlags(Modifier::EndWait);
        GameNode::addModifier(this, stretch);
        fromWidth = static_cast<float>(static_cast<int>(step.toWidth + 0.5f));
        fromHeight = static_cast<float>(static_cast<int>(step.toHeight + 0.5f));
    }
    GameNode::addModifier(this, new ModifierFunction(GuiMethod(this, &DialogCustomerHint::onGrown)));
}

int DialogCustomerHint::onGrown(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogCustomerHint*>(context);
    dialog->setUseBuffer(false);
    if (!dialog->isClosing()) {
        dialog->getInputContainer().setInputEnabled(true);
        dialog->setInputEnabled(true);
    }
    return 0;
}
