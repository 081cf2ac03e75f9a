#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "game/text/GameText.h"

class GameNode;
class Image;
struct TrophyInfo;

namespace trophytext {

// Which texts of a trophy are shown: the awarded dialog shows the record 1
// texts, the hint and information dialogs those of record 0.
enum class Column { Awarded, HintAndInfo };

// A trophy's description with its values put in for "%", "%1" and "%2".
WString substituteValues(int trophyIndex, WString description, Column column);
// The picture a record names, loaded at once; null (logged) when missing.
RefPointer<Image> recordImage(const TrophyInfo& record);

} // namespace trophytext
