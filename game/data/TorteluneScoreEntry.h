#pragma once

#include "framework/core/StringUtils.h"
#include "framework/players/HighScoreEntry.h"

// The game's high-score row: the framework row with a wide text of its own.
class TorteluneScoreEntry : public HighScoreEntry {
    TT_CLASS_RECORD(TorteluneScoreEntry)
public:
    TorteluneScoreEntry(const std::string& playerName, int scoreValue, const WString& extra)
        : HighScoreEntry(playerName, scoreValue), extra(extra)
    {
    }
    explicit TorteluneScoreEntry(AbstractProperty* node);

    // Tag "TorteluneScore" with the untyped wide text "extra".
    void writeTo(PropertyNode* node) override;

    WString extra;
};
