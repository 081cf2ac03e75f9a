#pragma once

#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class Sprite;
class TortelunePlayer;

// "DIALOG_BUYTOOL": one tool of the shop with its big picture, name,
// description and price, why it cannot be bought when that is so, and the
// purchase. The dialog's tag holds the answer once closed: the tool's id
// after a purchase, -1 after "back".
class DialogBuyTool : public DialogTortelune {
    TT_CLASS_RECORD(DialogBuyTool)
public:
    static constexpr int kAllToolsTrophy = 2;

    explicit DialogBuyTool(AbstractProperty* configuration);

    // Fills the dialog; "buy" is enabled only when the tool can be bought.
    void setTool(int toolId);
    void show() override;

    int onBuy(BaseObject* button);
    int onBack(BaseObject* button);

    // Records the purchase in the profile: the tool, its price off the
    // spendable stars, its slot and, with the last of the fourteen, the
    // collector's trophy. Nothing for a tool already owned. Saving is the
    // caller's, after everything is recorded.
    static bool recordPurchase(TortelunePlayer& player, int toolId);

    int getTool() const { return toolId; }
    Button* getBuyButton() const { return buyButton; }
    Label* getInfoLabel() const { return infoLabel; }
    Label* getPriceLabel() const { return priceLabel; }
    Sprite* getIcon() const { return icon; }

private:
    int toolId = -1;
    Sprite* icon = nullptr;
    Button* buyButton = nullptr;
    Button* backButton = nullptr;
    GameNode* descriptionLabel = nullptr;
    Label* priceLabel = nullptr;
    Label* infoLabel = nullptr;
    Sprite* panels[2] = {nullptr, nullptr};
    GameNode* headers[2] = {nullptr, nullptr};
};
