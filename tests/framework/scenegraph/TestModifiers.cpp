#include "TestModifiers.h"

int RecordingModifier::alive = 0;
int CountedNode::alive = 0;
