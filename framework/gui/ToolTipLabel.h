#pragma once

#include "framework/scenegraph/Label.h"

// The label a tool tip draws: its text on a filled, bordered box with
// padding, word-wrapped to a maximum width.
class ToolTipLabel : public Label {
    TT_CLASS_RECORD(ToolTipLabel)
public:
    explicit ToolTipLabel(AbstractProperty* configuration);

    // Sets the text, then narrows the label to the widest laid-out line.
    void setToolTip(const WString& text) override;
    void render(Graphics* graphics) override;

    uint32_t getBackgroundColour() const { return backgroundColour; }
    uint32_t getBorderColour() const { return borderColour; }
    int getPadding() const { return padding; }
    int getMaxWidth() const { return maxWidth; }

private:
    uint32_t backgroundColour = 0xFFFFE1;
    uint32_t borderColour = 0;
    int padding = 3;
    int maxWidth = 0;
};
