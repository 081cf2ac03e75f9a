#include "framework/scenegraph/ChangedAreaRenderer.h"

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/RenderTask.h"

namespace {

// Areas closer than this are drawn as one: each area walks the whole tree again.
constexpr int32_t kJoinDistance = 16;
constexpr size_t kMaxAreas = 6;

Rect boundingBox(const Rect& a, const Rect& b)
{
    const int32_t left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int32_t right = std::max(a.x + a.width, b.x + b.width), bottom = std::max(a.y + a.height, b.y + b.height);
    return Rect {left, top, right - left, bottom - top};
}

bool near(const Rect& a, const Rect& b)
{
    return a.x - kJoinDistance < b.x + b.width && b.x - kJoinDistance < a.x + a.width &&
           a.y - kJoinDistance < b.y + b.height && b.y - kJoinDistance < a.y + a.height;
}

} // namespace

void ChangedAreaRenderer::addArea(const Rect& area)
{
    if (!area.isEmpty())
        areas.push_back(area);
}

void ChangedAreaRenderer::mergeAreas()
{
    bool merged = true;
    while (merged && areas.size() > 1) {
        merged = false;
        for (size_t i = 0; i < areas.size() && !merged; ++i)
            for (size_t j = i + 1; j < areas.size() && !merged; ++j)
                if (near(areas[i], areas[j])) {
                    areas[i] = boundingBox(areas[i], areas[j]);
                    areas.erase(areas.begin() + std::ptrdiff_t(j));
                    merged = true;
                }
    }
    if (areas.size() > kMaxAreas) {
        Rect all = areas.front();
        for (const Rect& area : areas)
            all = boundingBox(all, area);
        areas.assign(1, all);
    }
}

void ChangedAreaRenderer::forget()
{
    recorder = nullptr;
    previous.clear();
    previous.shrink_to_fit();
    havePrevious = false;
}

void ChangedAreaRenderer::render(GameNode* scene, Graphics* graphics, GameNode* root)
{
    areas.clear();
    if (!graphics)
        return;
    Image* target = graphics->getTarget();
    const Rect whole = target ? Rect {0, 0, target->getWidth(), target->getHeight()} : Rect {};
    if (!target) {
        RenderTask::renderFrame(scene, graphics, root);
        return;
    }
    if (!recorder || recorder->getTarget() != target) {
        recorder = new RecordingGraphics(target);
        havePrevious = false;
    }
    recorder->begin(*graphics);
    RenderTask::renderFrame(scene, recorder.get(), root);
    std::vector<RecordingGraphics::Record>& records = recorder->getRecords();

    bool drawWhole =
        !havePrevious || target->getSerial() != targetSerial || target->getContentVersion() != targetVersion;
    if (!drawWhole) {
        if (records.size() == previous.size()) {
            // Operations that differ at the same place in the list.
            for (size_t i = 0; i < records.size(); ++i) {
                if (records[i].signature == previous[i].signature)
                    continue;
                addArea(previous[i].area);
                addArea(records[i].area);
            }
        } else {
            // Nodes came or went: everything between the operations the two
            // lists begin with and those they end with.
            size_t head = 0;
            const size_t shorter = std::min(records.size(), previous.size());
            while (head < shorter && records[head].signature == previous[head].signature)
                ++head;
            size_t tail = 0;
            while (tail < shorter - head &&
                   records[records.size() - 1 - tail].signature == previous[previous.size() - 1 - tail].signature)
                ++tail;
            for (size_t i = head; i < previous.size() - tail; ++i)
                addArea(previous[i].area);
            for (size_t i = head; i < records.size() - tail; ++i)
                addArea(records[i].area);
        }
        mergeAreas();
        int64_t changed = 0;
        for (const Rect& area : areas)
            changed += int64_t(area.width) * area.height;
        // Past half the frame, one whole pass is cheaper than clipped ones.
        drawWhole = changed * 2 > int64_t(whole.width) * whole.height;
    }
    if (drawWhole) {
        RenderTask::renderFrame(scene, graphics, root);
        areas.assign(1, whole);
    } else {
        const Rect clip = graphics->getClipRect();
        for (const Rect& area : areas) {
            graphics->setClipLimit(area);
            graphics->setClip(clip);
            RenderTask::renderFrame(scene, graphics, root);
            graphics->clearClipLimit();
        }
        graphics->setClip(clip);
    }
    previous.swap(records);
    havePrevious = true;
    targetSerial = target->getSerial();
    targetVersion = target->getContentVersion();
}
