#pragma once

#include <map>
#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/GuiMethod.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;
class Dialog;
class Scene;

// One entry of the hint catalogue: where the chef's bubble stands, where the
// hand points, which way hand and bubble face and how the hint behaves.
class Hint : public BaseObject {
    TT_CLASS_RECORD(Hint)
public:
    explicit Hint(AbstractProperty* configuration);

    // The hand's corner kind of the "arrow" text ("auto" from the hand point).
    int cornerFor(int x, int y) const;
    // The bubble's connector kind of the "connector" text.
    int connectorKind() const;

    std::string name;
    int handX = 0;
    int handY = 0;
    int dialogX = 0;
    int dialogY = 0;
    // The bubble's width (0: the template's); a wider bubble takes fewer lines.
    int width = 0;
    std::string arrow = "auto";
    std::string connector = "top";
    bool modal = true;
    bool showOnce = true;
    bool override = true;
};

// The corner kind of a hand pointing at (x, y): the hand comes from the
// screen's middle.
int cornerForPoint(int x, int y);

// The game-wide catalogue of hints ("media/properties/hints.xml"). It shows a
// hint in the current scene's "DIALOG_HINT" once per player (unless the hint
// may repeat), never while that dialog is open, never with the player's
// hints switched off, and never for a name the catalogue lacks.
class HintManager {
public:
    static constexpr const char* kFile = "media/properties/hints.xml";

    static HintManager* instance;
    // Builds the singleton and reads the catalogue.
    static HintManager* create();
    static void destroyInstance();

    HintManager() = default;
    HintManager(const HintManager&) = delete;
    HintManager& operator=(const HintManager&) = delete;

    // Reads the catalogue afresh; of two entries with one name the first stays.
    void load(const std::string& fileName = kFile);
    void loadFrom(AbstractProperty* root);
    Hint* findHint(const std::string& name) const;
    size_t getHintCount() const { return hints.size(); }

    // Shows the hint where the catalogue places it; `onClosed` runs when its
    // bubble has closed.
    void showHint(const std::string& name, const GuiMethod& onClosed = GuiMethod());
    void showHint(const std::string& name, void* object, GuiMethod::Function onClosed)
    {
        showHint(name, GuiMethod(object, onClosed));
    }
    // The same with the hand at (x, y). Corner 9, dialog -1/-1 and connector
    // -1 take the catalogue's values.
    void showHintAt(const std::string& name, int x, int y, int corner = 9, int dialogX = -1, int dialogY = -1,
                    int connector = -1, const GuiMethod& onClosed = GuiMethod());

    // Closes "DIALOG_HINT" of the current scene when it shows the hint `name`;
    // true when it did.
    bool closeShownHint(const std::string& name);

    // The last name asked for and its callback (shown or not).
    std::string lastRequested;
    GuiMethod closedCallback;

private:
    bool show(const std::string& name, bool atPoint, int x, int y, int corner, int dialogX, int dialogY,
              int connector, const GuiMethod& onClosed);

    std::map<std::string, RefPointer<Hint>> hints;
};
