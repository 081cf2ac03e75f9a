#pragma once

#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/SetupStore.h"
#include "game/data/TuningTable.h"

// Creates the global properties and the setup store, empties the tuning table
// and reads the game's property files into them, as the game does at start-up
// (file names from the current folder, or below `folder` when one is given).
// False when they do not load.
inline bool loadGameProperties(const std::string& folder = std::string())
{
    BasicProperties::createInstance();
    SetupStore::createInstance();
    resetTuning();
    SetupStore::instance->setLoadListener(new TuningLoader());
    for (const char* file : kGamePropertyFiles)
        SetupStore::instance->addFileName(folder.empty() ? std::string(file) : folder + "/" + file);
    return SetupStore::instance->load();
}
