// The chef's hints about the countertop while a career level is played in
// the current game scene: a click on the counter packages and answers them.
#include "LevelSceneFixture.h"

#include "framework/platform/InputHandler.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogHint.h"
#include "game/production/Countertop.h"
#include "game/production/PastryWrapper.h"
#include "game/scenes/HintManager.h"
#include "support/GameDataFixtures.h"

class CountertopHintTest : public LevelSceneTest {
protected:
    void SetUp() override
    {
        LevelSceneTest::SetUp();
        if (HasFatalFailure())
            return;
        // The level stays in play while the counter is emptied and refilled.
        setTuningInt("WIN_DELAY", 600000);
        startCareerLevel(0);
        state().order.clear();
        for (int spot = 0; spot < countertop()->getSize(); ++spot)
            state().pastryWrapper.set(spot, RefPointer<Pastry>());
    }
    Pastry* pastry(int spot) const { return state().pastryWrapper.get(spot); }
};

TEST_F(CountertopHintTest, TheCountersHintsLetAClickPackageAndCloseWhileOtherHintsStay)
{
    const TuningTable& t = tuning();
    struct Case {
        const char* hint;
        bool throughInput; // the player's press on the counter, or the packaging alone
        bool closes;
    };
    const Case cases[] = {
        {"HINT_PASTRY1", true, true},
        {"HINT_COUNTERTOP_FULL", true, true},
        {"HINT_SWAP", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint);
        placePastry(0, "creampuff");
        for (Pastry::Ingredient& ingredient : pastry(0)->ingredients)
            ingredient.amount = 0;
        player->seenHints.clear();
        HintManager::instance->showHint(c.hint);
        auto* hint = objectCast<DialogHint>(shown("DIALOG_HINT"));
        ASSERT_NE(nullptr, hint);
        frames(3);
        if (c.throughInput)
            scene->getInputHandler()->onLeftDown(t.COUNTERTOP_LEFT + 10, t.COUNTERTOP_BOTTOM - 10, 0, false);
        else
            countertop()->packageFinishedPastries();
        EXPECT_TRUE(pastry(0)->isPackaged);
        EXPECT_EQ(c.closes, hint->isClosing());
        ASSERT_TRUE(runUntil([&] { return !pastry(0); }));
        EXPECT_EQ(c.closes, shown("DIALOG_HINT") == nullptr);
        if (Dialog* open = shown("DIALOG_HINT"))
            scene->forgetDialog(open);
    }
}
