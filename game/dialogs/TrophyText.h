#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"

class GameNode;
class Image;
struct TrophyInfo;

// Replaces every "[tag]" by openText and, only when one was found, every
// "[/tag]" by closeText; true when both kinds were found.
bool replaceMarkupTag(WString& text, const std::string& tag, const WString& openText, const WString& closeText);

// The markup of descriptions in the game's dialogs: [i] becomes the italic
// text font, [b] the number font; a line feed is appended.
WString formatDialogText(const WString& text);

namespace trophytext {

// Which texts of a trophy are shown: the awarded dialog shows the record 1
// texts, the hint and information dialogs those of record 0.
enum class Column { Awarded, HintAndInfo };

// The text of a key.
WString text(const std::string& key);
// A trophy's description with its values put in for "%", "%1" and "%2".
WString substituteValues(int trophyIndex, WString description, Column column);
// The picture a record names, loaded at once; null (logged) when missing.
RefPointer<Image> recordImage(const TrophyInfo& record);
// Sets a description into a styled label or a plain label and lays it out;
// returns the label's height (0 for no label).
int setDescription(GameNode* label, const WString& description);
// The line height of the label's font (0 without one).
int lineHeightOf(GameNode* label);
// Sets a plain or styled label's text.
void setLabelText(GameNode* label, const WString& value);

} // namespace trophytext
