#pragma once

#include <cstdint>

#include "framework/core/BaseObject.h"

class Modifier;
class Sprite;

// The star goal display of a career level: stars earned against the level's
// goal, the star flight that brings every earned star to it, the one-time
// goal-reached celebration and the border warning while the goal is at risk.
class GoalPanel : public BaseObject {
public:
    // Sets the display up from the session's star count.
    GoalPanel();

    // Shows the count, celebrates a reached goal once, checks the warning.
    void refresh();
    // A new star at screen point (x, y), flying after `delayMs`.
    void flyStarToGoal(int x, int y, int delayMs, int soundNumber, float popScale);
    // Sends a star the caller placed; the flight starts when `after` ends.
    // Counts one star in the session at once. Returns the flight's last step.
    Modifier* flyNodeToGoal(Modifier* after, Sprite* star, int soundNumber, float popScale);
    // The flight's last step: the star lands and is shown.
    void onStarArrived();
    // The career goal display's intro on the level-start chain.
    void addIntroFlash(Modifier* after);

    static void showBorderWarning();
    static void hideBorderWarning();

    int32_t getEarned() const { return earned; }
    bool isGoalReached() const { return goalReached; }

private:
    void celebrate();
    static int onArrived(void* context, BaseObject* argument);

    int32_t earned = 0;
    bool goalReached = false;
};
