#include "game/production/BonusMeter.h"

#include <cmath>

#include "framework/core/Log.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/TuningTable.h"

void BonusMeter::add(float amount)
{
    if (frenzy)
        return;
    fill += std::fabs(amount);
    clamp();
}

void BonusMeter::subtract(float amount)
{
    fill -= std::fabs(amount);
    clamp();
}

void BonusMeter::drain(int amount)
{
    fill -= static_cast<float>(std::abs(amount));
    clamp();
}

void BonusMeter::reset()
{
    frenzy = false;
    fill = 0.0f;
    frenzyCount = 0;
}

void BonusMeter::clamp()
{
    const float maximum = static_cast<float>(tuning().BONUS_MAX);
    const float minimum = static_cast<float>(tuning().BONUS_MIN);
    if (fill > maximum)
        fill = maximum;
    if (fill < minimum)
        fill = minimum;
}

void BonusMeter::save(PropertyNode* node) const
{
    addUntypedBool(node, "frenzy", frenzy);
    addUntypedFloatFixed(node, "quality", fill);
    addUntypedInt(node, "frenzycount", frenzyCount);
}

void BonusMeter::load(AbstractProperty* node)
{
    frenzy = childBool(node, "frenzy");
    fill = childFloatScanned(node, "quality");
    frenzyCount = childInt(node, "frenzycount");
    // A damaged fill (NaN, infinite, far out of range) would stay for the
    // whole level: the meter starts empty instead.
    const float maximum = static_cast<float>(tuning().BONUS_MAX);
    const float minimum = static_cast<float>(tuning().BONUS_MIN);
    if (!std::isfinite(fill) || fill < minimum || fill > maximum) {
        LOG_WARNING("bonus meter: saved fill " + std::to_string(fill) + " is not in " + std::to_string(minimum) +
                    ".." + std::to_string(maximum) + "; the meter starts empty");
        fill = 0.0f;
    }
}
