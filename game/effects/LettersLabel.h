#pragma once

#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Label.h"

// A label whose text is shown as one sprite per letter, placed where the
// label would draw each glyph, so that each letter can be animated by
// itself. The letters are its children; the label draws no text itself.
class LettersLabel : public Label {
    TT_CLASS_RECORD(LettersLabel)
public:
    explicit LettersLabel(AbstractProperty* configuration);
    // A letters label with the font, anchor, alignment, colours, place and text of `source`.
    explicit LettersLabel(Label* source);
    ~LettersLabel() override;

    // Even an unchanged text rebuilds the letters at the next draw.
    void setText(const WString& text) override;
    // Builds the letters when the text changed; draws nothing itself.
    void render(Graphics* graphics) override;

    // Cuts the laid-out text into letters now (the old ones are removed first).
    void buildLetters();
    // Marks every letter for removal and forgets it.
    void clearLetters();

    const std::vector<RefPointer<Sprite>>& getLetters() const { return letters; }

private:
    std::vector<RefPointer<Sprite>> letters;
    bool lettersDirty = true;
};
