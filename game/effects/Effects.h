#pragma once

#include "framework/scenegraph/ModifierFraction.h"

class GameNode;
class Modifier;

// Ready-made animations built from modifier chains: pops, a jelly wobble, a
// fade-and-zoom reveal, confetti bursts and a banner sliding through. Each
// hangs its chain under the parent modifier given (null: the current scene's
// animation tree), acts on the node at its size at the time of the call and
// returns the last step, so callers can go on chaining or wait for it.

// Easings of the location and stretch steps (f is the elapsed fraction).
constexpr easing::Function easeLinear = easing::linear;
constexpr easing::Function easeSmoothstep = easing::smooth;
constexpr easing::Function easeIn = easing::quadratic;
// 1 - (f - 1)^2
inline float easeOut(float f)
{
    return 1.0f - (f - 1.0f) * (f - 1.0f);
}

// Squash and stretch by `factor`: wide and low, narrow and tall, back (350 ms).
Modifier* addPopEffect(GameNode* node, Modifier* parent, bool fromZero, bool toZero, float factor);
// Grows by `factor`, settles, squashes to 0.7 x 1.3 and settles (500 ms).
Modifier* addBouncePopEffect(GameNode* node, Modifier* parent, bool fromZero, bool toZero, float factor);
// A wobble in from nothing (or, with reverse, out to nothing) after an optional delay.
Modifier* addJellyEffect(GameNode* node, Modifier* parent, int delayMs, bool reverse, bool fromFull);
// Shows the node and fades it in over 100 ms, zooming it from scaleFrom to scaleTo when asked.
// Returns the zoom step, or the fade without zoom.
Modifier* addFadeInEffect(GameNode* node, Modifier* parent, bool zoom, float scaleFrom, float scaleTo, int alphaFrom,
                          int alphaTo);
// `count` pieces falling from above the screen to y 600 between minX and
// maxX (in either order), each after a random delay below maxDelayMs, as
// children of `parentNode`. Returns the fall of the last piece, or null when count <= 0.
Modifier* addConfettiBurst(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX,
                           bool small);
// The same with the one fixed confetti picture of the second burst.
Modifier* addConfettiBurst2(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX,
                            bool small);
// The same with star pieces, clipped above the bottom bar.
Modifier* addStarConfettiBurst(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX);
// Throws a banner in from the right to the middle of the screen, where it
// wobbles (and pops), then out to the left; `callback` (may be null) runs
// after that, and the last step removes the node.
Modifier* addSlideThroughEffect(GameNode* node, Modifier* parent, bool pop, Modifier* callback);
