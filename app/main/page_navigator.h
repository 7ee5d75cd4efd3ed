#pragma once
// The way between the start menu and the five pages of the main form, one
// table row per page: what choosing a page on the start menu does and what its
// "Main menu" button does on the way back.
#include <QString>

namespace kelvara {

class Form1;

class PageNavigator {
public:
    explicit PageNavigator(Form1& form) : form_(form) {}

    // The start-menu choice `option` (1..4, 6): its page in front with its
    // info text, every other page hidden, the plot's title and areas boxes
    // hidden until the page writes them.
    void Open(int option);
    // The "Main menu" button of page `page` (0..4): back to the start menu.
    void Close(int page);

private:
    Form1& form_;
};

} // namespace kelvara
