#pragma once

#include <string>

#include "framework/core/StringUtils.h"
#include "game/text/GameText.h"

class GameNode;
class Image;
class Modifier;
class Sprite;
class TortelunePlayer;
struct GameDataState;

// Small services the production pieces share: the running level's state and
// kind, the current player, and by-name lookups of game-screen nodes, images
// and sounds. Every lookup that finds nothing is logged once per name and
// returns null, so callers skip the step.
namespace gamescreen {

// The per-game state, or null before the game data exists.
GameDataState* state();
// Mode 0 and not an exam level.
bool isCareerLevel();
bool isArcade();
TortelunePlayer* currentPlayer();
// Marks the current player's trophy earned unless it is already; the trophy
// watcher announces it.
void earnTrophy(int index);

// A node of the game scene's layout, by name.
GameNode* node(const std::string& name);
// A named node below `parent` (panels search their components).
GameNode* child(GameNode* parent, const std::string& name);
Sprite* sprite(GameNode* node);
void show(GameNode* node, bool visible);
void setAlpha(GameNode* node, int alpha);
// Releases every child of `node`.
void releaseChildren(GameNode* node);

// An image of the given section; null (logged) when missing.
Image* image(const std::string& key, const std::string& section = "scenegame");
// Plays a sound once, through a step under `parent` that does not wait.
void playSound(Modifier* parent, const std::string& key);
// A tuning duration at the session's animation speed: d x (2 - m), truncated.
int scaled(int durationMs);

std::string numbered(const std::string& prefix, int number);

// A draw of the game's Random in [lower, upper); an empty or reversed range
// (from data) gives `lower`, and so does a game without its Random.
int randomBetween(int lower, int upper);
// The game scene's phase container, or null.
Modifier* phaseContainer();

// Aims `step` at `target` and hangs it under `parent`, so that it starts when
// `parent` has finished; returns the step, the next link of a chain.
Modifier* attach(Modifier* parent, GameNode* target, Modifier* step);
// A step under `parent` that shows or hides `target`; `parent` itself when
// either is missing.
Modifier* visibleStep(Modifier* parent, GameNode* target, bool visible);
// Two quick horizontal flips of a sprite about its centre, in its own
// modifier list (400 ms).
void doubleFlip(Sprite* node);

} // namespace gamescreen
