#include "framework/core/GuiMethod.h"

TT_DEFINE_RECORD(iGuiMethod, &Interface::classRecord);
