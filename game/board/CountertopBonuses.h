#pragma once

#include <vector>

#include "game/board/BonusSprite.h"
#include "game/production/Pastry.h"

class Countertop;

// The bonuses that act on the countertop of a career level. While the pointer
// rests on one, the spots it would act on show their hover mark. On the
// conveyor of the arcade and the exams there is no countertop: only the
// tile's own removal runs.
class CountertopBonus : public BonusSprite {
    TT_CLASS_RECORD(CountertopBonus)
public:
    using BonusSprite::BonusSprite;
    // Also hides every spot's hover mark.
    void hideHover() override;

protected:
    // The countertop of the level in play, or null (the conveyor, no level).
    static Countertop* countertop();
    static void showSpotHover(Countertop* counter, int spot, bool show);
};

// Blue stars circle the bonus, then fly into pastries and fill them to their
// best quality: the base of both secret bonuses.
class SecretStarsBonus : public CountertopBonus {
    TT_CLASS_RECORD(SecretStarsBonus)
public:
    using CountertopBonus::CountertopBonus;
    // The most stars one flight sends.
    static constexpr int kMaxStars = 16;

    // Stars that fill one pastry: "MAX_STARS_PER_PASTRY", at least 1.
    static int starsPerPastry();
    int getStarCount() const { return static_cast<int>(stars.size()); }
    // The stars of the flight now starting or running.
    int getPlannedStars() const { return planned; }
    // The spot the stars of `star`'s batch go to (-1: none).
    int spotOfStar(int star) const;

protected:
    // Creates `count` stars circling the bonus at amplitude `amplitude`.
    void launch(int count, int amplitude, int angleMs);
    // The spot of star `index`, chosen when it arrives.
    virtual int chooseSpot(int index) const = 0;
    // The phase of star `index` on the circle, in half turns.
    virtual float phaseOf(int index) const = 0;

private:
    static int arrivedCallback(void* context, BaseObject* step);
    static int filledCallback(void* context, BaseObject* step);
    void arrive(Sprite* star);
    void fill(int star);

    struct Flight {
        RefPointer<Sprite> star;
        RefPointer<Modifier> sparkles;
        int spot = -1;
    };
    std::vector<Flight> stars;
    int planned = 0;
    int amplitude = 0;
    int angleTime = 0;
    int centreX = 0;
    int centreY = 0;
};

// Four stars fill one pastry: the first below the top star level, else the first one.
class SecretBonus : public SecretStarsBonus {
    TT_CLASS_RECORD(SecretBonus)
public:
    using SecretStarsBonus::SecretStarsBonus;
    void update(int deltaMs) override;
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
    // The spot the stars would fill now (-1: none).
    static int targetSpot();

protected:
    int chooseSpot(int index) const override;
    float phaseOf(int index) const override;
};

// A batch of stars for every pastry on the countertop: each is filled.
class SuperSecretBonus : public SecretStarsBonus {
    TT_CLASS_RECORD(SuperSecretBonus)
public:
    using SecretStarsBonus::SecretStarsBonus;
    void update(int deltaMs) override;
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;

protected:
    int chooseSpot(int index) const override;
    float phaseOf(int index) const override;

private:
    // The pastries on the countertop when the bonus fired, in spot order;
    // batch k follows the k-th wherever it glides.
    std::vector<RefPointer<Pastry>> occupied;
};

// Every unfinished pastry on the countertop is finished at once.
class WorkDoneBonus : public CountertopBonus {
    TT_CLASS_RECORD(WorkDoneBonus)
public:
    using CountertopBonus::CountertopBonus;
    void update(int deltaMs) override;
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
};
