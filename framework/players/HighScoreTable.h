#pragma once

#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/players/HighScoreEntry.h"

class AbstractProperty;
class PropertyNode;

// One named table of high-score rows with its limits.
class HighScoreTable : public BaseObject {
    TT_CLASS_RECORD(HighScoreTable)
public:
    HighScoreTable() = default;
    // Rows are made by the class registered under each row's tag; rows of an
    // unknown kind are skipped.
    explicit HighScoreTable(AbstractProperty* node);

    void writeTo(PropertyNode* node);

    std::vector<RefPointer<HighScoreEntry>> entries;
    bool descending = true;
    int lastScore = -1;
    int maxEntries = -1;
};
