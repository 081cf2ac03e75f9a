#pragma once

#include "framework/core/RefPointer.h"
#include "framework/gui/Button.h"
#include "framework/gui/GuiCallback.h"
#include "framework/platform/iInputListenerContainer.h"
#include "framework/scenegraph/Sprite.h"

// The value widget: a track picture with a thumb button dragged along a
// straight line, and optional step buttons that move the value by a tenth of
// its range. A slider without a usable track (no thumb, min = max, or a track
// of zero length) still draws but ignores input and keeps its value at min.
class Slider : public Sprite, public iInputListenerContainer, public GuiCallback {
    TT_CLASS_RECORD(Slider)
public:
    explicit Slider(AbstractProperty* configuration);
    ~Slider() override;

    Interface* getInterface(const ClassRecord* record) override;
    bool containsPoint(int px, int py) override;

    void setEnabled(bool value);
    bool isEnabled() const { return enabled; }
    // Stores the value as given (no clamping, no callback) and places the thumb.
    void setValue(float newValue);
    float getValue() const { return value; }
    float getMinValue() const { return minValue; }
    float getMaxValue() const { return maxValue; }
    bool isVertical() const { return vertical; }
    void updateButtonPosition();
    // The step buttons' callbacks.
    int increment(BaseObject* argument = nullptr);
    int decrement(BaseObject* argument = nullptr);
    // False when the track cannot map positions to values.
    bool isUsable() const;

    Button* getThumb() const { return thumb.get(); }
    Button* getIncButton() const { return incButton.get(); }
    Button* getDecButton() const { return decButton.get(); }
    GameNode* getThumbNode() const { return thumbNode.get(); }

    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;

private:
    void computeTrack();
    void placeStepButtons();
    void dragTo(int x, int y);
    void changed();
    RefPointer<Button> makeButton(AbstractProperty* definition);

    bool enabled = true;
    float value = 0.0f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    bool vertical = false;
    Sprite::PointF2 trackStart;
    Sprite::PointF2 trackEnd;
    int grabX = 0;
    int grabY = 0;
    RefPointer<GameNode> thumbNode;
    RefPointer<Button> thumb;
    RefPointer<Button> incButton;
    RefPointer<Button> decButton;
};
