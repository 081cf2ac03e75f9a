#include "framework/platform/Task.h"

#include "framework/core/ObjectFactoryContainer.h"

TT_DEFINE_RECORD(Task, &BaseObject::classRecord);

TT_REGISTER_CLASS(Task);
