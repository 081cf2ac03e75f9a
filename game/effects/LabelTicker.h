#pragma once

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/sound/Sound.h"

class Label;


// A number that counts toward a target instead of jumping to it (scores,
// stars, statistics), shown in a child label, with an optional tick sound
// per counting step and the digits grouped by the grouping text.
class LabelTicker : public GameNode {
    TT_CLASS_RECORD(LabelTicker)
public:
    // How the shown value moves: a fixed step, the largest power of ten that
    // fits the distance, a share of the distance per frame, or a fixed time.
    enum Type : int { Value = 0, Tenfold = 1, Relative = 2, Time = 3 };

    LabelTicker() = default;
    // Reads "label" (a child node built by its class name), "type", "sound" and
    // "soundsection", "add", "update", "interval", "value", "target", "param",
    // "dot" and "time".
    explicit LabelTicker(AbstractProperty* configuration);
    ~LabelTicker() override;

    void update(int deltaMs) override;

    // A new target restarts the count; the current one changes nothing.
    void setTarget(int value);
    // Shows the target (rounded to an integer) at once.
    void skipToTarget(bool refresh);
    // Writes the shown value into the label.
    void refreshText();

    // Starts a count-up from `start`: the next counting step rewrites the text.
    void setValue(double start);
    double getValue() const { return value; }
    double getTarget() const { return target; }
    bool isChanged() const { return changed; }

    // The label that shows the number (appended as the last child).
    void setLabel(GameNode* node);
    GameNode* getLabel() const { return label.get(); }
    void setSound(Sound* tick);
    void setType(Type value) { type = value; }
    void setInterval(int value) { interval = value; }
    void setAdd(double value) { add = value; }
    void setParam(double value) { param = value; }
    void setDot(bool value) { dot = value; }
    void setTime(bool value) { time = value; }

private:
    // One counting step: the step size for the distance `magnitude` at the update's start.
    double stepSize(double magnitude) const;
    void updateTimeStep();

    double value = 0.0;
    double target = 0.0;
    bool changed = true;
    int interval = 0;
    int elapsed = 0;
    double add = 1.0;
    double param = 1.0;
    int type = Relative;
    RefPointer<GameNode> label;
    RefPointer<Sound> sound;
    bool dot = true;
    bool time = false;
};

// Drives a LabelTicker target from a chain: sets its target and, unless told
// not to wait, finishes only once the shown value has reached it.
class ModifierLabelTicker : public Modifier {
    TT_CLASS_RECORD(ModifierLabelTicker)
public:
    ModifierLabelTicker(int value, bool noWait) : value(value), noWait(noWait) {}
    // Reads "value" and "nowait".
    explicit ModifierLabelTicker(AbstractProperty* configuration);

    void step(int deltaMs) override;

private:
    int value;
    bool noWait;
    int elapsed = 0;
    bool firstStep = true;
};
