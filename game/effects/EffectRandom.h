#pragma once

class Random;

// The generator of the game's modifiers and effects: the game-wide one, or a
// fixed-seed one of its own when none exists (tools and tests without the app).
Random& effectRandom();

// A draw r mod n as a non-negative remainder; 0 (after the draw) when n <= 0.
int drawBelow(int n);
