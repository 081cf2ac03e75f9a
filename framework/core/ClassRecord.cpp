#include "framework/core/ClassRecord.h"

bool ClassRecord::isKindOf(const ClassRecord* other) const
{
    if (this == other)
        return true;
    if (!parents)
        return false;
    for (const ClassRecord* const* parent = parents; *parent; ++parent) {
        if ((*parent)->isKindOf(other))
            return true;
    }
    return false;
}
