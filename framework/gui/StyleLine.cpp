#include "framework/gui/StyleLine.h"

TT_DEFINE_RECORD(StyleWord, &Label::classRecord);
TT_DEFINE_RECORD(StyleLine, &BaseObject::classRecord);
