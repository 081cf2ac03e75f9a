#pragma once

class Modifier;

// The parts of the game screen that the intro and the play phase set up the
// same way: the score, the theme and goal labels and the level sign.
namespace levelsigns {

// Shows `score` at once (no counting).
void showScore(int score);
// Theme title and goal stars (career levels), the level sign's smoke, tick
// and shine; the smoke loops under `container`.
void setUp(Modifier* container);

} // namespace levelsigns
