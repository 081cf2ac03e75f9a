#pragma once

#include <string>

#include "framework/core/GuiMethod.h"
#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class Scene;

// The game's yes/no question, built from the template "DIALOG_YESNO": a
// header, a message that may take several lines (the dialog grows by its
// height), and the buttons yes and no. Each question is kept in its scene
// under its message key, so that it can be found while it is open.
class DialogYesNo : public DialogTortelune {
    TT_CLASS_RECORD(DialogYesNo)
public:
    explicit DialogYesNo(AbstractProperty* configuration);

    // Builds the question afresh in `scene` (an open one of the same key goes
    // first) and fills it; the caller shows it. A null object stands for the
    // dialog itself; a null function for closing the question. Null when the
    // template makes no question.
    static DialogYesNo* ask(const std::string& messageKey, const std::string& headerKey, void* yesObject,
                            GuiMethod::Function yesFunction, void* noObject, GuiMethod::Function noFunction,
                            Scene* scene);

    void setup(const WString& message, const WString& header, void* yesObject, GuiMethod::Function yesFunction,
               void* noObject, GuiMethod::Function noFunction);
    void show() override;

    // The answer without a handler of its own: closes the question.
    static int closeDialogHandler(void* context, BaseObject* button);

    Label* getHeaderLabel() const { return header; }
    Label* getMessageLabel() const { return message; }
    Button* getYesButton() const { return yes; }
    Button* getNoButton() const { return no; }

private:
    Label* header = nullptr;
    Label* message = nullptr;
    Button* yes = nullptr;
    Button* no = nullptr;
};
