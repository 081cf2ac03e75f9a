#include <gtest/gtest.h>

#include <cmath>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/RecordingGraphics.h"

namespace {

struct Area {
    int x, y, width, height;
    bool operator==(const Area& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Area& a)
{
    return out << "(" << a.x << ", " << a.y << ", " << a.width << " x " << a.height << ")";
}

}  // namespace

// The recorded area is what the operation may touch, cut to the target; an
// operation with a coordinate that is not a finite number touches nothing.
TEST(RecordingGraphics, RecordsTheAreaEachOperationMayTouch)
{
    const float nan = std::nanf("");
    const struct {
        const char* operation;
        void (*draw)(RecordingGraphics&);
        Area area;
    } cases[] = {
        {"fill", [](RecordingGraphics& g) { g.fillRect(10, 20, 5, 6); }, {10, 20, 5, 6}},
        {"fill cut to the target", [](RecordingGraphics& g) { g.fillRect(-5, 95, 10, 10); }, {0, 95, 5, 5}},
        {"pixel", [](RecordingGraphics& g) { g.setPixel(3, 4); }, {3, 4, 1, 1}},
        {"smooth line with its fringe", [](RecordingGraphics& g) { g.drawLineF(10.5f, 12.0f, 20.0f, 10.5f); },
         {8, 8, 15, 7}},
    };
    RefPointer<Image> target = Image::create(100, 100, 4);
    RefPointer<Graphics> real = target->getGraphics();
    for (const auto& row : cases) {
        RecordingGraphics recorder(target.get());
        recorder.begin(*real);
        row.draw(recorder);
        ASSERT_EQ(recorder.getRecords().size(), 1u) << row.operation;
        const Rect& r = recorder.getRecords()[0].area;
        EXPECT_EQ((Area {r.x, r.y, r.width, r.height}), row.area) << row.operation;
    }
    for (const float bad : {nan, INFINITY, -INFINITY}) {
        for (int broken = 0; broken < 4; ++broken) {
            float ends[4] = {10.0f, 10.0f, 20.0f, 20.0f};
            ends[broken] = bad;
            RecordingGraphics recorder(target.get());
            recorder.begin(*real);
            recorder.drawLineF(ends[0], ends[1], ends[2], ends[3]);
            ASSERT_EQ(recorder.getRecords().size(), 1u) << broken;
            EXPECT_TRUE(recorder.getRecords()[0].area.isEmpty()) << bad << " at " << broken;
        }
    }
}

// A blit's signature changes with whether its picture's alpha counts.
TEST(RecordingGraphics, AlphaChannelFlagIsPartOfABlitsSignature)
{
    RefPointer<Image> target = Image::create(16, 16, 4);
    RefPointer<Graphics> real = target->getGraphics();
    RefPointer<Image> picture = Image::create(4, 4, 4);
    uint64_t signatures[2] = {};
    for (int withAlpha = 0; withAlpha < 2; ++withAlpha) {
        picture->setHasAlphaChannel(withAlpha == 1);
        RecordingGraphics recorder(target.get());
        recorder.begin(*real);
        static_cast<Graphics&>(recorder).blit(picture.get(), 2, 2);
        ASSERT_EQ(recorder.getRecords().size(), 1u);
        signatures[withAlpha] = recorder.getRecords()[0].signature;
    }
    EXPECT_NE(signatures[0], signatures[1]);
}
