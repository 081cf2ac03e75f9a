#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/SetupStore.h"

class BasicProperties;

// The game's named numeric constants, copied once from BasicProperties when
// the setup store has read its files; game code reads the fields directly,
// never by name. Every field is 0 until then.
struct TuningTable {
#define TUNING_INT(key) int32_t key = 0;
#define TUNING_FLOAT(key) float key = 0.0f;
#include "game/data/TuningKeys.def"
#undef TUNING_INT
#undef TUNING_FLOAT
};

// One field of the table, for the loader and for checks of the table itself.
struct TuningField {
    const char* name;
    bool isFloat;
    size_t offset;
};

// The filled table.
const TuningTable& tuning();
// Every field in the table's fixed order.
const TuningField* tuningFields(size_t* count);

// Fills the table from the properties: each key from the Integer or Float
// map of its type. A key the files lack reads 0, is added to the properties
// with 0 and is logged. Returns the number of missing keys.
int loadTuning(BasicProperties& properties);
// Back to all zeros (tests).
void resetTuning();

// The setup store's listener that fills the table after every load.
class TuningLoader : public SetupLoadListener {
    TT_CLASS_RECORD(TuningLoader)
public:
    void load() override;
};
