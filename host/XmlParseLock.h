#pragma once

#include <mutex>

// TinyXML keeps its white-space switch in one global that every parse reads,
// and the resource loader thread parses too: every TinyXML parse in the
// process sets the switch and parses while holding this lock.
std::mutex& xmlParseMutex();
