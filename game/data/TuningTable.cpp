#include "game/data/TuningTable.h"

#include <cstring>
#include <type_traits>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"

TT_DEFINE_RECORD(TuningLoader, &SetupLoadListener::classRecord);

namespace {

TuningTable table;

// The type flag comes from the field's declared type, so a field declared
// with the wrong type shows up in the checks.
#define TUNING_INT(key) {#key, std::is_same<decltype(TuningTable::key), float>::value, offsetof(TuningTable, key)},
#define TUNING_FLOAT(key) TUNING_INT(key)
const TuningField fields[] = {
#include "game/data/TuningKeys.def"
};
#undef TUNING_INT
#undef TUNING_FLOAT

} // namespace

const TuningTable& tuning()
{
    return table;
}

const TuningField* tuningFields(size_t* count)
{
    if (count)
        *count = sizeof fields / sizeof fields[0];
    return fields;
}

int loadTuning(BasicProperties& properties)
{
    int missing = 0;
    auto* base = reinterpret_cast<unsigned char*>(&table);
    for (const TuningField& field : fields) {
        const bool present = field.isFloat ? properties.hasFloat(field.name) : properties.hasInt(field.name);
        if (!present) {
            ++missing;
            std::string message = std::string("tuning key \"") + field.name + "\" is not defined as " +
                                  (field.isFloat ? "Float" : "Integer") + "; it reads 0";
            if (field.isFloat ? properties.hasInt(field.name) : properties.hasFloat(field.name))
                message += std::string(" (the files define it as ") + (field.isFloat ? "Integer" : "Float") + ")";
            LOG_ERROR(message);
        }
        if (field.isFloat) {
            const float value = properties.getFloat(field.name);
            std::memcpy(base + field.offset, &value, sizeof value);
        } else {
            const int32_t value = properties.getInt(field.name);
            std::memcpy(base + field.offset, &value, sizeof value);
        }
    }
    return missing;
}

void resetTuning()
{
    table = TuningTable();
}

void TuningLoader::load()
{
    if (!BasicProperties::instance) {
        LOG_ERROR("tuning table not filled: no properties");
        return;
    }
    const int missing = loadTuning(*BasicProperties::instance);
    if (missing)
        LOG_ERROR(std::to_string(missing) + " tuning keys missing from the property files");
}
