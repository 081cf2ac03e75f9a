#pragma once

#include "game/dialogs/DialogTortelune.h"

class GameNode;
class Sprite;

// The celebration at the end of the career: the bakery family under
// confetti and the chef's closing words; when those are closed the credits
// roll, and when the credits close this dialog closes too.
class DialogGameEnd : public DialogTortelune {
    TT_CLASS_RECORD(DialogGameEnd)
public:
    explicit DialogGameEnd(AbstractProperty* configuration);

    void show() override;
    // Throws the confetti: at the first update, then every 5 s until the hint closes.
    void update(int deltaMs) override;

    static int onHintClosed(void* context, BaseObject* dialog);
    static int onCreditsClosed(void* context, BaseObject* dialog);

    int getConfettiTimer() const { return confettiTimer; }
    int getBurstCount() const { return burstCount; }

    static constexpr int kConfettiIntervalMs = 5000;
    static constexpr int kConfettiStopped = -1;

private:
    void throwConfetti();
    static int closeHint(void* context, BaseObject* button);

    GameNode* confettiBack = nullptr;
    GameNode* confettiFront = nullptr;
    Sprite* family = nullptr;
    int confettiTimer = kConfettiIntervalMs;
    int burstCount = 0;
};
