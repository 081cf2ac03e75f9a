#include "support/LogCapture.h"

LogCapture::LogCapture()
{
    setLogEcho(false);
    previous = setLogObserver([this](LogLevel, const std::string& message) { captured.push_back(message); });
}

LogCapture::~LogCapture()
{
    setLogObserver(previous);
    setLogEcho(true);
}

bool LogCapture::contains(const std::string& text) const
{
    for (const std::string& line : captured) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}
