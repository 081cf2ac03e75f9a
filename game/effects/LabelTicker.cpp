#include "game/effects/LabelTicker.h"

#include <algorithm>
#include <cmath>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Rounding.h"
#include "framework/sound/Sound.h"
#include "game/data/RankTable.h"
#include "game/effects/ModifierSettings.h"

TT_DEFINE_RECORD(LabelTicker, &GameNode::classRecord);
TT_DEFINE_RECORD(ModifierLabelTicker, &Modifier::classRecord);

TT_REGISTER_CLASS(LabelTicker);
TT_REGISTER_CLASS(ModifierLabelTicker);

namespace {

const char* const kTypeNames[] = {"value", "tenfold", "relative", "time"};

} // namespace

LabelTicker::LabelTicker(AbstractProperty* configuration) : GameNode(configuration)
{
    const PropertyNode* node = modifierSettings(configuration);
    if (PropertyNode* labelNode = node->getNode("label"); labelNode != DUMMY_NODE) {
        RefPointer<GameNode> created =
            ObjectFactoryContainer::shared().create<GameNode>(labelNode->getTypeName(), labelNode);
        if (created)
            setLabel(created.get());
        else
            logLine(LogLevel::Warning, "LabelTicker \"" + getName() + "\": no node class \"" +
                                           labelNode->getTypeName() + "\" for its label");
    }
    type = node->getKeywordIndex("type", kTypeNames, 4, type);
    if (node->hasChild("sound")) {
        const std::string soundName = node->getString("sound");
        sound = ResourceLookup::findAs<Sound>(soundName, node->getString("soundsection"));
        if (!sound)
            logLine(LogLevel::Warning, "LabelTicker \"" + getName() + "\": no sound \"" + soundName + "\"");
    }
    if (node->hasChild("add"))
        add = std::abs(node->getInt("add"));
    interval = node->getInt("interval", interval);
    value = node->getDouble("value", value);
    target = node->getDouble("target", target);
    param = node->getDouble("param", param);
    dot = node->getBool("dot", dot);
    time = node->getBool("time", time);
    // "update" is read by layouts but has no lasting effect: the count starts afresh.
    elapsed = 0;
}

LabelTicker::~LabelTicker() = default;

void LabelTicker::setLabel(GameNode* node)
{
    if (label == node)
        return;
    if (label && label->getParent() == this)
        label->setRemoved(true);
    label = node;
    if (node)
        GameNode::addChild(this, node);
}

void LabelTicker::setSound(Sound* tick)
{
    sound = tick;
}

void LabelTicker::setValue(double start)
{
    value = start;
    changed = true;
    elapsed = 0;
}

void LabelTicker::updateTimeStep()
{
    // add = |target - value| * interval / duration; without a duration, one step.
    const double distance = std::abs(target - value);
    add = param > 0.0 ? distance * std::max(interval, 1) / param : distance;
}

void LabelTicker::setTarget(int newTarget)
{
    if (static_cast<double>(newTarget) == target)
        return;
    target = newTarget;
    elapsed = 0;
    if (type == Time)
        updateTimeStep();
}

void LabelTicker::skipToTarget(bool refresh)
{
    target = std::nearbyint(target);
    if (value != target) {
        value = target;
        changed = true;
        elapsed = 0;
    }
    if (type == Time)
        updateTimeStep();
    if (refresh)
        refreshText();
}

double LabelTicker::stepSize(double magnitude) const
{
    switch (type) {
    case Value:
    case Time:
        return add;
    case Tenfold:
        for (double unit : {100000.0, 10000.0, 1000.0, 100.0, 10.0}) {
            if (magnitude >= param * unit)
                return unit;
        }
        return 1.0;
    default:
        return 0.0;
    }
}

void LabelTicker::update(int deltaMs)
{
    const double diff = target - value;
    elapsed += deltaMs;
    if (diff == 0.0 && !changed)
        return;
    const bool moving = diff != 0.0;
    const bool negative = diff < 0.0;
    const double magnitude = std::abs(diff);
    if (type == Relative)
        value += deltaMs * param * diff * 0.001;
    // Without an interval the loop below would never use up the time: one step per update.
    const int stepLength = std::max(interval, 0);
    if (elapsed < stepLength)
        return;
    do {
        elapsed -= stepLength;
        const double stepValue = stepSize(magnitude);
        value += negative ? -stepValue : stepValue;
        const double left = target - value;
        if (std::abs(left) < 1.0 || (negative ? left > 0.0 : left < 0.0))
            value = target;
    } while (stepLength > 0 && elapsed >= stepLength);
    if (stepLength == 0)
        elapsed = 0;
    if ((moving || changed) && label)
        refreshText();
    if (moving && sound)
        Sound::play(sound.get(), 128, 255, false);
}

void LabelTicker::refreshText()
{
    const int shown = rounding::truncate(value);
    Label* text = objectCast<Label>(label.get());
    if (dot) {
        // Negative numbers keep their sign in front of the grouped digits.
        const uint32_t magnitude = shown < 0 ? 0u - static_cast<uint32_t>(shown) : static_cast<uint32_t>(shown);
        WString grouped = formatGroupedNumber(static_cast<int>(magnitude), getDigitGroupingSymbol());
        if (text)
            text->setText(shown < 0 ? u"-" + grouped : grouped);
    } else if (!time) {
        if (text)
            text->setText(intToWString(shown));
    }
    changed = false;
}

ModifierLabelTicker::ModifierLabelTicker(AbstractProperty* configuration)
    : ModifierLabelTicker(modifierSettings(configuration)->getInt("value", 0),
                          modifierSettings(configuration)->getBool("nowait", false))
{
}

void ModifierLabelTicker::step(int deltaMs)
{
    LabelTicker* ticker = objectCast<LabelTicker>(getTarget());
    if (!ticker) {
        finish();
        return;
    }
    elapsed += deltaMs;
    if (firstStep) {
        firstStep = false;
        ticker->setTarget(value);
        if (noWait)
            finish();
        return;
    }
    if (rounding::truncate(ticker->getValue()) == rounding::truncate(ticker->getTarget()))
        finish();
}
