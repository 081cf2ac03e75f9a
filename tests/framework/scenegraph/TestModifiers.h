#pragma once

#include <vector>

#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// A modifier that records every step and finishes once its duration is used up.
class RecordingModifier : public Modifier {
public:
    explicit RecordingModifier(int durationMs, uint32_t endFlags = 0) : duration(durationMs)
    {
        setEndFlags(endFlags);
        ++alive;
    }
    ~RecordingModifier() override { --alive; }

    void step(int deltaMs) override
    {
        steps.push_back(deltaMs);
        elapsed += deltaMs;
        if (duration >= 0 && elapsed >= duration)
            finish();
    }

    int duration;
    int elapsed = 0;
    std::vector<int> steps;
    static int alive;
};

// Counts its live instances so tests can see releases.
class CountedNode : public GameNode {
public:
    explicit CountedNode(const std::string& name = std::string()) : GameNode(name) { ++alive; }
    ~CountedNode() override { --alive; }
    void update(int deltaMs) override { updates.push_back(deltaMs); }
    std::vector<int> updates;
    static int alive;
};
