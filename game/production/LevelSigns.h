#pragma once

class LabelTicker;
class Modifier;

// The parts of the game screen that the intro and the play phase set up the
// same way: the score, the theme and goal labels and the level sign.
namespace levelsigns {

// The score's ticker ("TICKER_SCORE"), bound to "LABEL_SCORE"; null (logged)
// when the layout lacks it.
LabelTicker* scoreTicker();
// Shows `score` at once (no counting) and lets the ticker run.
void showScore(int score);
// The shown score counts towards `score`.
void countScoreTo(int score);
// A suspended ticker stops counting.
void suspendScore(bool suspended);
// Theme title and goal stars (career levels), the level sign's smoke, tick
// and shine; the smoke loops under `container`.
void setUp(Modifier* container);

} // namespace levelsigns
