#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class ConveyorView;
class Countertop;
class Grid;
class SceneGame;
struct MatchGroup;

// How one level went for the scripted player.
struct LevelOutcome {
    int levelIndex = 0;
    bool arcade = false;
    bool exam = false;
    std::string theme;
    bool finished = false; // the results were reached and answered
    bool won = false;
    int stars = 0;
    int starsGoal = 0;
    int score = 0;
    int playMs = 0;        // game time from the start of play to the level's end
    int moves = 0;
    int packagings = 0;
    int rounds = 0;        // arcade rounds completed
    std::string stall;     // what never ended, when the level did not finish
    // The board offered no move for a long while: whether it knew it was stuck.
    bool boardOutOfMoves = false;
    bool boardKnewItWasStuck = false;
};

// A player of the game scene's level as a person would play it, through the
// scene's input handler: swaps the tiles that serve the pastries on the
// countertop or the belt best, fires a bonus when no swap is left, packages
// finished pastries with a click on the countertop or under the belt, and
// clicks the customer's words away. One action, then a pause to react.
class ScriptedPlayer {
public:
    explicit ScriptedPlayer(SceneGame* scene);

    // Called when play starts: no pause pending, not stuck.
    void startLevel();
    // One frame's worth of playing; counts moves and packagings.
    void act(LevelOutcome& outcome);
    // Clicks the customer's bubble once its OK button shows.
    void answerCustomer();
    // The idle board has offered no move for a long while.
    bool hasGivenUp() const { return stuckMs >= kMaxStuckMs; }

    // Tries every allowed swap of neighbours on the board's model (and puts
    // it back), handing `visit` the two cells and the runs the swap makes;
    // stops when `visit` answers false.
    using SwapVisitor = std::function<bool(const int (&from)[2], const int (&to)[2], const std::vector<MatchGroup>&)>;
    static void trySwaps(Grid* grid, const SwapVisitor& visit);

private:
    // Game time an idle board may offer no move before the player gives up.
    static constexpr int kMaxStuckMs = 20 * 1000;

    bool packageIfReady(Countertop* countertop, ConveyorView* belt);
    bool swapBestPair(Grid* grid);
    bool fireABonus(Grid* grid);
    void click(int x, int y);
    void pressCell(Grid* grid, int column, int row);
    // What the unfinished pastries on the countertop or the belt still need.
    std::map<std::string, int> neededIngredients() const;

    SceneGame* scene;
    int reactionMs = 0;
    // How long the idle board has offered no move.
    int stuckMs = 0;
};
