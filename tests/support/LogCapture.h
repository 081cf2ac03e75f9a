#pragma once

#include <string>
#include <vector>

#include "framework/core/Log.h"

// Collects the log lines written while it lives (and keeps them off stderr).
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& lines() const { return captured; }
    // True when some captured line contains `text`.
    bool contains(const std::string& text) const;

private:
    std::vector<std::string> captured;
    LogObserver previous;
};
