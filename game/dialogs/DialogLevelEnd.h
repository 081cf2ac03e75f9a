#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class LabelTicker;
class Level;
class ModifierContainer;
class PlaySessionInfo;
class Sprite;

// The results of a career or exam level ("DIALOG_LEVEL_END"): the stars
// earned, the earlier best or the goal, the stars added to the player's
// total, the score and the total score with a rank meter, revealed row by
// row with counting numbers; a click cuts the reveal short. The meter opens
// "DIALOG_RANKUP" each time the total crosses a rank. A won level gets
// dropping cakes, confetti and a next button; a lost one restart and stop.
//
// It is filled (showResults) from the profile as it was before the attempt;
// the opener then records the attempt in the profile and shows it, so the
// meter runs from the old total score to the new one.
class DialogLevelEnd : public DialogTortelune {
    TT_CLASS_RECORD(DialogLevelEnd)
public:
    // What the player chose: 0 restart, 1 next, 2 stop, 3 none yet.
    enum Result : int { Restart = 0, Next = 1, Stop = 2, NoChoice = 3 };

    explicit DialogLevelEnd(AbstractProperty* configuration);
    ~DialogLevelEnd() override;

    void showResults(const Level& level, const PlaySessionInfo& session, bool won);

    void show() override;
    void update(int deltaMs) override;
    bool onLeftUp(int x, int y, int keys) override;

    // Puts every element into its final state at once (a click does this).
    void skipReveal();

    int result = NoChoice;

    // Figures, for the rows and for tests.
    int getStarsEarned() const { return starsEarned; }
    int getPreviousStars() const { return previousStars; }
    int getNewStars() const { return newStars; }
    int getMissedStars() const { return missedStars; }
    int getOldTotalStars() const { return oldTotalStars; }
    int getNewTotalStars() const { return newTotalStars; }
    int getShownRank() const { return shownRank; }
    bool isSequenceDone() const { return sequenceDone; }
    bool isMeterActive() const { return meterActive; }
    bool isMeterPaused() const { return meterPaused; }
    bool hasPendingRankUps() const { return pendingRankUps; }
    int getConfettiTimer() const { return confettiTimer; }
    ModifierContainer* getSequence() const { return sequenceContainer.get(); }
    LabelTicker* getTicker(const std::string& name) const;

private:
    static int onRestart(void* context, BaseObject* button);
    static int onNext(void* context, BaseObject* button);
    static int onStop(void* context, BaseObject* button);
    static int onRankUpClosed(void* context, BaseObject* argument);
    void choose(int value);

    GameNode* node(const std::string& name) const;
    Sprite* sprite(const std::string& name) const;
    // The lowest edge of the title, theme and level lines, in the dialog's own coordinates.
    int linesBottom() const;
    Label* label(const std::string& name) const;
    void bindTickers();
    void hideAllRows();
    void setRow(const char* row, bool visible);
    // Fill steps of the chain; each returns its last step.
    Modifier* fadeIn(Modifier* parent, GameNode* target, bool zoom);
    Modifier* row(Modifier* parent, const char* name, bool zoom);
    Modifier* countUp(Modifier* parent, const char* ticker, int target);
    Modifier* directValue(Modifier* parent, const char* ticker, int target);
    Modifier* newLineSound(Modifier* parent);
    Modifier* showStep(Modifier* parent, GameNode* target);
    Modifier* dropCakes(Modifier* parent, const Level& level);
    void buildReveal(Modifier* start, const Level& level);

    void onSequenceDone();
    void showButtons(bool animated);
    void startConfetti();
    void throwConfetti();
    void scheduleCakeHop();
    void playCakeHop();
    Modifier* hop(Modifier* parent, int cake);
    void showRankMeterHint();
    // Draws the flag, the shines and the headline into the darkened
    // background once the dialog shows; the nodes themselves are hidden.
    void paintDecorations();

    // Rank meter.
    void startMeter(int rank, int totalScore);
    void showTopRankLook();
    void setRankBar(int value);
    void onRankReached();
    void openRankUpDialog();
    void resumeRankMeter();
    void showStarBonus(int bonus);
    void openPendingRankUp();
    int profileRank() const;
    int profileScore() const;
    int profileTotalStars() const;
    int topRank() const;

    bool meterActive = false;
    bool meterPaused = false;
    bool pendingRankUps = false;
    int shownRank = -1;
    int meterStart = 0;
    int rankMin = 0;
    int rankMax = 0;
    bool won = false;
    bool sequenceDone = false;
    bool hasPrevious = false;
    bool pastFirstLevel = false;
    bool isExam = false;
    int goalStars = 0;
    RefPointer<GameNode> confettiBack;
    RefPointer<GameNode> confettiFront;
    RefPointer<ModifierContainer> sequenceContainer;
    RefPointer<ModifierContainer> effectsContainer;
    int confettiTimer = -1;
    // The cakes of a won level: one per pastry the level bakes, up to the four places.
    int cakesShown = 4;
    int starsEarned = 0;
    int previousStars = 0;
    int newStars = 0;
    int missedStars = 0;
    int sessionScore = 0;
    int oldTotalScore = 0;
    int oldTotalStars = 0;
    int newTotalStars = 0;
    // A rank-up dialog that the meter opened is shown and will call back.
    bool rankUpOpen = false;
};
