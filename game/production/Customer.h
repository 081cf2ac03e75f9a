#pragma once

#include <string>

#include "framework/core/BaseObject.h"

// One customer of the customer book: two mood values and where the eye
// overlays and the hint bubble sit. Shared by count; the book holds it.
class Customer : public BaseObject {
public:
    struct Point {
        int x = 0;
        int y = 0;
    };

    Customer(const std::string& name, int happy, int ecstatic, Point casualEyes, Point happyEyes,
             Point ecstaticEyes, Point hint)
        : name(name), happy(happy), ecstatic(ecstatic), casualEyes(casualEyes), happyEyes(happyEyes),
          ecstaticEyes(ecstaticEyes), hint(hint)
    {
    }

    const std::string name;
    const int happy;
    const int ecstatic;
    const Point casualEyes;
    const Point happyEyes;
    const Point ecstaticEyes;
    const Point hint;
};
