#include <gtest/gtest.h>

#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Polygon.h"

namespace {

RefPointer<Polygon> makePolygon(std::initializer_list<Polygon::Point> points)
{
    RefPointer<Polygon> polygon(new Polygon());
    for (const Polygon::Point& point : points)
        polygon->addPoint(point.x, point.y);
    return polygon;
}

} // namespace

TEST(Polygon, ClosedPathLengthSkipsTheDuplicatedPoint)
{
    RefPointer<Polygon> polygon = makePolygon({{0, 0}, {3, 4}, {3, 0}, {0, 0}});
    EXPECT_TRUE(polygon->isClosed());
    EXPECT_DOUBLE_EQ(polygon->getLength(), 12.0);
    EXPECT_EQ(polygon->nextIndex(1), 2);
    EXPECT_EQ(polygon->nextIndex(2), 0);
}

TEST(Polygon, OpenPathLengthAndNextIndex)
{
    RefPointer<Polygon> polygon = makePolygon({{0, 0}, {10, 0}});
    EXPECT_FALSE(polygon->isClosed());
    EXPECT_DOUBLE_EQ(polygon->getLength(), 10.0);
    EXPECT_EQ(polygon->nextIndex(0), 1);
    EXPECT_EQ(polygon->nextIndex(1), 0);
}

TEST(Polygon, DegeneratePathsHaveNoLength)
{
    EXPECT_DOUBLE_EQ(makePolygon({{4, 4}})->getLength(), 0.0);
    EXPECT_DOUBLE_EQ(makePolygon({})->getLength(), 0.0);
    EXPECT_FALSE(makePolygon({})->isClosed());
}

TEST(Polygon, ClosedWithinTolerance)
{
    EXPECT_TRUE(makePolygon({{0, 0}, {5, 5}, {0.0005f, -0.0005f}})->isClosed());
    EXPECT_FALSE(makePolygon({{0, 0}, {5, 5}, {0.01f, 0}})->isClosed());
}

TEST(Polygon, BoundsRoundTiesToEven)
{
    RefPointer<Polygon> polygon = makePolygon({{-1.5f, 2.5f}, {3.5f, 4.5f}});
    const Polygon::Bounds& bounds = polygon->getBounds();
    EXPECT_EQ(bounds.x, -2);
    EXPECT_EQ(bounds.y, 2);
    EXPECT_EQ(bounds.width, 6);
    EXPECT_EQ(bounds.height, 2);
}

TEST(Polygon, EmptyPolygonHasEmptyBounds)
{
    RefPointer<Polygon> polygon = makePolygon({{3, 3}});
    polygon->setPointCount(0);
    polygon->updateBounds();
    EXPECT_EQ(polygon->getBounds().x, 0);
    EXPECT_EQ(polygon->getBounds().width, 0);
}

TEST(Polygon, SetPointCountKeepsExistingPoints)
{
    RefPointer<Polygon> polygon = makePolygon({{1, 2}, {3, 4}});
    EXPECT_TRUE(polygon->setPointCount(3));
    EXPECT_FLOAT_EQ(polygon->getPoint(1).x, 3);
    EXPECT_FLOAT_EQ(polygon->getPoint(2).x, 0);
    polygon->setPoint(7, 1, 1); // out of range: ignored
    polygon->setPoint(-1, 1, 1);
    // One past the last point is out of range too (a full list has no room there).
    RefPointer<Polygon> full = makePolygon({{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    full->setPoint(4, 1, 1);
    EXPECT_EQ(full->getPointCount(), 4);
    EXPECT_EQ(polygon->getPointCount(), 3);
}

TEST(Polygon, HermiteSamplesIncludeBothEndsWhenOneIsReachedExactly)
{
    std::vector<float> samples;
    Polygon::sampleHermite(0.0f, 1.0f, 0.0f, 0.0f, 4, samples);
    ASSERT_EQ(samples.size(), 5u);
    EXPECT_FLOAT_EQ(samples[0], 0.0f);
    // Zero tangents: smoothstep 3t^2 - 2t^3.
    EXPECT_FLOAT_EQ(samples[1], 0.15625f);
    EXPECT_FLOAT_EQ(samples[2], 0.5f);
    EXPECT_FLOAT_EQ(samples[4], 1.0f);
}

TEST(Polygon, HermiteWithTangentsFollowsTheCubic)
{
    std::vector<float> samples;
    // p0 = 0, p1 = 10, m0 = 0, m1 = 20 at t = 0.5: a = 0, b = 10 -> 2.5
    Polygon::sampleHermite(0.0f, 10.0f, 0.0f, 20.0f, 2, samples);
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_FLOAT_EQ(samples[1], 2.5f);
}

TEST(Polygon, HermiteWithNoStepsStillEnds)
{
    std::vector<float> samples;
    Polygon::sampleHermite(0.0f, 1.0f, 0.0f, 0.0f, 0, samples);
    EXPECT_EQ(samples.size(), 2u);
}

TEST(Polygon, SmoothPathThroughThreePoints)
{
    RefPointer<Polygon> polygon = makePolygon({{0, 0}, {10, 0}, {20, 0}});
    polygon->smoothPath(0, 2, 2, true);
    ASSERT_EQ(polygon->getPointCount(), 5);
    const float expected[] = {0.0f, 2.5f, 10.0f, 17.5f, 20.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(polygon->getPoint(i).x, expected[i]) << i;
        EXPECT_FLOAT_EQ(polygon->getPoint(i).y, 0.0f) << i;
    }
    EXPECT_EQ(polygon->getBounds().width, 20);
}

TEST(Polygon, SmoothPathDropsPointsOutsideTheRangeAndKeepsTheEnds)
{
    RefPointer<Polygon> polygon = makePolygon({{0, 0}, {10, 10}, {20, 0}, {30, 10}, {40, 0}});
    polygon->smoothPath(1, 3, 10, true);
    ASSERT_EQ(polygon->getPointCount(), 21);
    EXPECT_FLOAT_EQ(polygon->getPoint(0).x, 10.0f);
    EXPECT_FLOAT_EQ(polygon->getPoint(10).x, 20.0f);
    EXPECT_FLOAT_EQ(polygon->getPoint(20).x, 30.0f);
    // Samples rise monotonically in x between the points.
    for (int i = 1; i < 21; ++i)
        EXPECT_GT(polygon->getPoint(i).x, polygon->getPoint(i - 1).x) << i;
    // Each edge is sampled from its own ends: y falls on the first and rises on the second.
    for (int i = 11; i < 21; ++i)
        EXPECT_GT(polygon->getPoint(i).y, polygon->getPoint(i - 1).y) << i;
}

TEST(Polygon, SmoothPathOnBadRangeLeavesThePolygon)
{
    RefPointer<Polygon> polygon = makePolygon({{0, 0}, {10, 0}});
    polygon->smoothPath(1, 0, 4, true);
    EXPECT_EQ(polygon->getPointCount(), 2);
    polygon->smoothPath(-5, 99, 2, false);
    EXPECT_EQ(polygon->getPointCount(), 3);
}
