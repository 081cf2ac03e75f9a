#pragma once

#include "framework/core/PropertyNode.h"

// The settings node of a modifier built by name (the null node when there is none).
inline const PropertyNode* modifierSettings(AbstractProperty* configuration)
{
    return configuration ? configuration->asNode() : DUMMY_NODE;
}
