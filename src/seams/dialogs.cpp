#include "dialogs.h"

Dialogs::Button closingButton(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return Dialogs::Button::Ok;
    case Dialogs::Buttons::OkCancel:
    case Dialogs::Buttons::YesNoCancel:
        return Dialogs::Button::Cancel;
    case Dialogs::Buttons::YesNo:
        break;
    }
    return Dialogs::Button::No;
}

Dialogs::Button firstButton(Dialogs::Buttons buttons)
{
    return buttons == Dialogs::Buttons::YesNo || buttons == Dialogs::Buttons::YesNoCancel ? Dialogs::Button::Yes : Dialogs::Button::Ok;
}

bool offers(Dialogs::Buttons buttons, Dialogs::Button button)
{
    using B = Dialogs::Button;
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return button == B::Ok;
    case Dialogs::Buttons::OkCancel:
        return button == B::Ok || button == B::Cancel;
    case Dialogs::Buttons::YesNoCancel:
        return button != B::Ok;
    case Dialogs::Buttons::YesNo:
        break;
    }
    return button == B::Yes || button == B::No;
}
