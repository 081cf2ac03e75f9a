#pragma once

#include <string>

#include "game/dialogs/DialogTortelune.h"

class Button;

// The paged help: each page is one picture that is the whole dialog, in a
// plain and an icy variant. In the game scene the level decides the page and
// the look at every showing (the belt page, icy, for arcade and exam levels);
// elsewhere the page last seen stays, with the plain look.
class DialogHelp : public DialogTortelune {
    TT_CLASS_RECORD(DialogHelp)
public:
    explicit DialogHelp(AbstractProperty* configuration);

    void show() override;
    void showPage();
    // The picture key of the current page and look.
    std::string pictureName() const;

    static int onOk(void* context, BaseObject* button);
    static int previousPage(void* context, BaseObject* button);
    static int nextPage(void* context, BaseObject* button);

    int getPage() const { return page; }
    int getPageCount() const { return pageCount; }
    bool isIcy() const { return icy; }

    // The pause before the help fades in.
    static constexpr int kShowDelayMs = 200;

private:
    Button* ok = nullptr;
    Button* previous = nullptr;
    Button* next = nullptr;
    int page = 0;
    int pageCount = 2;
    bool icy = false;
};
