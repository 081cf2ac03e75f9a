#pragma once

#include <string>

#include "framework/core/PropertyStore.h"
#include "framework/core/RefPointer.h"

// Parses an XML text into a fresh store (the test fails on a parse error).
RefPointer<PropertyStore> parseXml(const std::string& xml);

// Change one tuning constant while a ScopedGameTuning lives.
void setTuningInt(const std::string& key, int value);
void setTuningFloat(const std::string& key, float value);

// Sets the tuning constants and global properties the data tests rely on
// and restores the previous ones when it goes.
class ScopedGameTuning {
public:
    ScopedGameTuning();
    ~ScopedGameTuning();
    ScopedGameTuning(const ScopedGameTuning&) = delete;
    ScopedGameTuning& operator=(const ScopedGameTuning&) = delete;

private:
    bool createdProperties = false;
};
