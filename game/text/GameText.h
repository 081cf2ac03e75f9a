#pragma once

#include <string>

#include "framework/core/StringUtils.h"

class GameNode;

// The game's small text helpers, in one place for every floor of the game:
// texts by key, grouped numbers, the markup of descriptions, and setting the
// text of a plain or a styled label.

// The text of a key; empty for an empty key or before the properties exist.
WString textByKey(const std::string& key);
// A number with its thousands separated by "CTEXT_DIGIT_GROUPING_SYMBOL".
WString groupedNumber(int value);

// Replaces every "[tag]" by openText and, only when one was found, every
// "[/tag]" by closeText; true when both kinds were found.
bool replaceMarkupTag(WString& text, const std::string& tag, const WString& openText, const WString& closeText);
// The markup of descriptions in the game's dialogs: [i] becomes the italic
// text font, [b] the number font; a line feed is appended.
WString formatDialogText(const WString& text);

// Sets the text of a Label or a StyleLabel (anything else is left alone) and
// lays it out at once, so its size is current when this returns. A styled
// label is laid out again even when its text is the same: its width or fonts
// may have changed since. A plain label with the same text costs nothing.
void setLabelText(GameNode* label, const WString& text);
void setLabelNumber(GameNode* label, int value);
// The laid-out height of a plain or styled label's text, however large its box
// (0 for anything else).
int labelTextHeight(GameNode* label);
// One line of the label's own font: a plain label's line height, a styled
// label's base font (the one it starts with, whatever tags it opens).
int labelLineHeight(GameNode* label);
