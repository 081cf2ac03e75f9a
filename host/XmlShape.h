#pragma once

#include <cstddef>

// What a recursive XML parser with linear attribute lookups would have to
// handle in a text, measured in one linear pass before it is handed over:
// its deepest element nesting (an upper estimate) and the most attributes on
// one start tag.
struct XmlShape {
    int deepestNesting = 0;
    int mostAttributes = 0;
};

XmlShape measureXmlShape(const char* text, size_t size);
