#pragma once

#include <cstdint>

#include "framework/core/BaseObject.h"

class AbstractProperty;
class PropertyNode;

// The saved state of the bonus meter: whether frenzy is on, the fill kept
// within "BONUS_MIN".."BONUS_MAX", and the frenzies started in the level.
class BonusMeter : public BaseObject {
public:
    // Outside frenzy the fill grows by |amount|; during frenzy nothing changes.
    void add(float amount);
    void subtract(float amount);
    void drain(int amount);
    // The level-start values.
    void reset();

    bool isFrenzy() const { return frenzy; }
    void setFrenzy(bool on) { frenzy = on; }
    float getFill() const { return fill; }
    void setFill(float value) { fill = value; }
    int32_t getFrenzyCount() const { return frenzyCount; }
    void setFrenzyCount(int32_t count) { frenzyCount = count; }

    // "frenzy", "quality" ("%f") and "frenzycount", untyped.
    void save(PropertyNode* node) const;
    // A fill that is not a finite number within "BONUS_MIN".."BONUS_MAX" is
    // logged and starts at 0; a valid one is kept as saved.
    void load(AbstractProperty* node);

private:
    void clamp();

    bool frenzy = false;
    float fill = 0.0f;
    int32_t frenzyCount = 0;
};
