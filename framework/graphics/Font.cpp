#include "framework/graphics/Font.h"

TT_DEFINE_RECORD(Font, &BaseObject::classRecord);
