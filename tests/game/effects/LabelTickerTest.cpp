#include <gtest/gtest.h>

#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Modifier.h"
#include "game/effects/LabelTicker.h"
#include "support/GameDataFixtures.h"
#include "support/LogCapture.h"

namespace {

// Updates the ticker `count` times by `frameMs` and records its value (truncated) after each.
std::vector<int> count(LabelTicker* ticker, int frameMs, int steps)
{
    std::vector<int> values;
    for (int i = 0; i < steps; ++i) {
        ticker->update(frameMs);
        values.push_back(static_cast<int>(ticker->getValue()));
    }
    return values;
}

RefPointer<LabelTicker> makeTicker(LabelTicker::Type type, int interval, double add, double param)
{
    RefPointer<LabelTicker> ticker(new LabelTicker());
    ticker->setType(type);
    ticker->setInterval(interval);
    ticker->setAdd(add);
    ticker->setParam(param);
    return ticker;
}

} // namespace

TEST(LabelTicker, EachTypeCountsAsItsRuleSays)
{
    RefPointer<LabelTicker> value = makeTicker(LabelTicker::Value, 50, 7, 1);
    value->setTarget(20);
    EXPECT_EQ(count(value.get(), 50, 4), (std::vector<int> {7, 14, 20, 20}));

    // One step per update, the step chosen from the distance left at its start.
    RefPointer<LabelTicker> tenfold = makeTicker(LabelTicker::Tenfold, 10, 1, 1);
    tenfold->setTarget(12345);
    EXPECT_EQ(count(tenfold.get(), 10, 15), (std::vector<int> {10000, 11000, 12000, 12100, 12200, 12300, 12310,
                                                                12320, 12330, 12340, 12341, 12342, 12343, 12344,
                                                                12345}));

    RefPointer<LabelTicker> relative = makeTicker(LabelTicker::Relative, 20, 1, 10);
    relative->setTarget(100);
    std::vector<int> approach = count(relative.get(), 20, 30); // a fifth of the distance per update
    for (int shown : approach)
        EXPECT_LE(shown, 100);
    EXPECT_EQ(approach.back(), 100);

    // A duration of 1000 ms at 20 ms per step reaches any target in 50 steps.
    RefPointer<LabelTicker> timed = makeTicker(LabelTicker::Time, 20, 1, 1000);
    timed->setTarget(1000);
    std::vector<int> timedValues = count(timed.get(), 20, 50);
    EXPECT_EQ(timedValues[0], 20);
    EXPECT_EQ(timedValues[48], 980);
    EXPECT_EQ(timedValues[49], 1000);
}

TEST(LabelTicker, CountsDownAndKeepsItsCountWhenTheTargetIsTheSame)
{
    RefPointer<LabelTicker> ticker = makeTicker(LabelTicker::Value, 50, 10, 1);
    ticker->setValue(30);
    ticker->setTarget(5);
    EXPECT_EQ(count(ticker.get(), 40, 2), (std::vector<int> {30, 20}));
    ticker->setTarget(5); // elapsed is not restarted: 30 ms left over + 20
    EXPECT_EQ(count(ticker.get(), 20, 1), (std::vector<int> {10}));
    EXPECT_EQ(count(ticker.get(), 50, 1), (std::vector<int> {5}));
}

TEST(LabelTicker, AnIntervalOfZeroTakesOneStepPerUpdate)
{
    RefPointer<LabelTicker> ticker = makeTicker(LabelTicker::Value, 0, 3, 1);
    ticker->setTarget(7);
    EXPECT_EQ(count(ticker.get(), 16, 4), (std::vector<int> {3, 6, 7, 7}));
    RefPointer<LabelTicker> timed = makeTicker(LabelTicker::Time, 0, 1, 0);
    timed->setTarget(9);
    EXPECT_EQ(count(timed.get(), 16, 1), (std::vector<int> {9}));
}

TEST(LabelTicker, WritesGroupedDigitsWithTheSignAndPlainNumbersWithoutDots)
{
    ScopedGameTuning tuning;
    BasicProperties::instance->setText("CTEXT_DIGIT_GROUPING_SYMBOL", u".");
    RefPointer<Label> label(new Label(nullptr, 0, 0, 100, 20));
    RefPointer<LabelTicker> ticker = makeTicker(LabelTicker::Value, 10, 1, 1);
    ticker->setLabel(label.get());
    EXPECT_EQ(label->getParent(), ticker.get());
    struct Case {
        double value;
        bool dot;
        const char16_t* text;
    };
    for (const Case& c : {Case {0, true, u"0"}, Case {999, true, u"999"}, Case {1000, true, u"1.000"},
                          Case {1234567, true, u"1.234.567"},
                          Case {-1234567, true, u"-1.234.567"}, Case {-1234.9, false, u"-1234"}}) {
        ticker->setDot(c.dot);
        ticker->setValue(c.value);
        ticker->refreshText();
        EXPECT_EQ(label->getText(), c.text);
        EXPECT_FALSE(ticker->isChanged());
    }
    ticker->setValue(1.6);
    ticker->setTarget(3);
    ticker->skipToTarget(true);
    EXPECT_EQ(label->getText(), u"3");
    // Skipping keeps a counting step; skipped without a refresh, the next update shows it.
    ticker->setTarget(5);
    ticker->update(10);
    EXPECT_EQ(ticker->getValue(), 4.0);
    ticker->skipToTarget(false);
    ticker->update(10);
    EXPECT_EQ(label->getText(), u"5");
    // Counting with a label shows every step.
    std::vector<std::u16string> shown;
    ticker->setTarget(8);
    for (int i = 0; i < 3; ++i) {
        ticker->update(10);
        shown.push_back(label->getText());
    }
    EXPECT_EQ(shown, (std::vector<std::u16string> {u"6", u"7", u"8"}));
    // A value set where the target already is shows at the next update.
    ticker->setValue(42);
    ticker->setTarget(42);
    ticker->update(10);
    EXPECT_EQ(label->getText(), u"42");
}

TEST(ModifierLabelTicker, WaitsForTheCountUnlessToldNotTo)
{
    RefPointer<LabelTicker> ticker = makeTicker(LabelTicker::Value, 10, 5, 1);
    RefPointer<ModifierLabelTicker> waiting(new ModifierLabelTicker(10, false));
    waiting->setTarget(ticker.get());
    waiting->step(10);
    EXPECT_EQ(ticker->getTarget(), 10.0);
    EXPECT_FALSE(waiting->isFinished());
    ticker->update(10);
    waiting->step(10);
    EXPECT_FALSE(waiting->isFinished());
    ticker->update(10);
    waiting->step(10);
    EXPECT_TRUE(waiting->isFinished());

    // Without waiting, the next link runs in the same frame.
    RefPointer<AnimTree> tree(new AnimTree());
    Modifier* set = new ModifierLabelTicker(20, true);
    set->setTarget(ticker.get());
    Modifier::addChild(tree.get(), set);
    Modifier* next = Modifier::addChild(set, new ModifierLabelTicker(30, true));
    next->setTarget(ticker.get());
    Modifier::updateTree(tree.get(), 10);
    EXPECT_EQ(ticker->getTarget(), 30.0);
}

TEST(LabelTicker, ReadsItsSettingsAndBuildsItsLabelByClassName)
{
    RefPointer<PropertyStore> store = parseXml(R"(<root><LabelTicker id="ticker" name="SCORE" type="tenfold"
        add="-5" interval="20" value="3.5" target="250" param="2" dot="false" update="99">
        <Label id="label" x="4"/></LabelTicker>
        <LabelTicker id="odd" type="Tenfold" sound="NO_SUCH_TICK"><Nothing id="label"/></LabelTicker></root>)");
    LogCapture log;
    RefPointer<LabelTicker> ticker(new LabelTicker(store->getNode("ticker")));
    ASSERT_TRUE(objectCast<Label>(ticker->getLabel()));
    EXPECT_EQ(ticker->getLabel()->getParent(), ticker.get());
    EXPECT_EQ(ticker->getValue(), 3.5);
    EXPECT_EQ(ticker->getTarget(), 250.0);
    // Tenfold with param 2: 247 >= 2 * 100, so the first step is 100.
    EXPECT_EQ(count(ticker.get(), 20, 1), (std::vector<int> {103}));
    EXPECT_EQ(objectCast<Label>(ticker->getLabel())->getText(), u"103");

    // An unknown type keeps the proportional rule; an unknown label class leaves it without a label.
    RefPointer<LabelTicker> odd(new LabelTicker(store->getNode("odd")));
    EXPECT_EQ(odd->getLabel(), nullptr);
    EXPECT_TRUE(log.contains("no sound \"NO_SUCH_TICK\""));
    odd->setTarget(100);
    EXPECT_EQ(count(odd.get(), 100, 1)[0], 10); // relative: 100 ms x 1 x 100 / 1000
}
