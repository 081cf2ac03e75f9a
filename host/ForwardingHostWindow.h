#pragma once

#include <memory>
#include <string>

#include "host/HostWindow.h"

// A window that hands every call to another one. Tests and benchmarks derive
// from it to watch a few calls (opening, showing frames) of a real or fake window
// without restating the whole interface.
class ForwardingHostWindow : public HostWindow {
public:
    explicit ForwardingHostWindow(std::unique_ptr<HostWindow> inner) : inner(std::move(inner)) {}

    bool open(const WindowSettings& settings, std::string* error) override { return inner->open(settings, error); }
    void close() override { inner->close(); }
    bool isOpen() const override { return inner->isOpen(); }
    const WindowSettings& getSettings() const override { return inner->getSettings(); }
    bool lockSurface(WindowSurface& surface) override { return inner->lockSurface(surface); }
    void unlockSurface() override { inner->unlockSurface(); }
    bool updateSurface(const SurfaceRect* rects, int count) override { return inner->updateSurface(rects, count); }
    void minimise() override { inner->minimise(); }
    void raise() override { inner->raise(); }
    void setTitle(const std::string& title) override { inner->setTitle(title); }
    void setIcon(const uint32_t* pixels, int width, int height) override { inner->setIcon(pixels, width, height); }
    void setCursorShape(int shape) override { inner->setCursorShape(shape); }
    int getCursorShape() const override { return inner->getCursorShape(); }
    void setMouseCapture(bool captured) override { inner->setMouseCapture(captured); }
    bool getMousePosition(int& x, int& y) const override { return inner->getMousePosition(x, y); }
    bool hasInputFocus() const override { return inner->hasInputFocus(); }
    bool peekMessage(WindowMessage& message) override { return inner->peekMessage(message); }
    void postMessage(const WindowMessage& message) override { inner->postMessage(message); }

protected:
    HostWindow& wrapped() { return *inner; }

private:
    std::unique_ptr<HostWindow> inner;
};
