#include "main/page_navigator.h"

#include <array>
#include <stdexcept>

#include "main/form1.h"

namespace kelvara {

namespace {

// What the title box does when a page is left.
enum class TitleOnClose { Keep, Clear, Hide };

struct PageRoute {
    int option;             // the start-menu option button that opens the page
    int page;               // frame2_page
    bool clearPlotOnOpen;   // the plot area is cleared first
    bool hideInfoFrames;    // every other info frame is hidden as well
    const char* pageLine;   // a line of the page hidden on the way back (may be absent)
    bool hideLineOnOpen;    // ... and on the way in
    int saveFrame;          // the page's save frame, hidden on the way back (-1: none)
    TitleOnClose title;     // the title box on the way back
    bool hideAreasOnClose;  // the areas box hidden on the way back
    bool hideFrame1OnClose; // the joining panel and the line above the plot hidden on the way back
};

// In page order 0..4.
constexpr std::array<PageRoute, Form1::kPages> kRoutes{{
    {2, 0, true, false, "Line2_0", true, 0, TitleOnClose::Clear, true, false},
    {1, 1, false, true, nullptr, false, 1, TitleOnClose::Keep, false, false},
    {3, 2, true, false, nullptr, false, 2, TitleOnClose::Clear, true, false},
    {4, 3, true, false, "Line2_2", false, 3, TitleOnClose::Hide, true, true},
    {6, 4, false, true, nullptr, false, -1, TitleOnClose::Keep, false, false},
}};

const PageRoute& RouteOfOption(int option) {
    for (const PageRoute& r : kRoutes)
        if (r.option == option) return r;
    throw std::out_of_range("no page for this option");
}

} // namespace

void PageNavigator::Open(int option) {
    Form1& f = form_;
    const PageRoute& r = RouteOfOption(option);
    if (r.clearPlotOnOpen) f.ClearPlot();
    f.Line6->show();
    if (r.hideLineOnOpen) f.hideNamed(QString::fromLatin1(r.pageLine));
    f.Frame1->hide();
    f.Frame4->hide();
    f.txtinfo(r.page)->setText(Form1::InfoText(r.page));
    for (int i = 0; i < Form1::kPages; ++i) {
        f.page(i)->hide();
        if (r.hideInfoFrames) f.frameinfo(i)->hide();
    }
    f.page(r.page)->show();
    f.frameinfo(r.page)->show();
    // The title and areas of the page left behind do not belong to this one.
    f.Text2->hide();
    f.txtAreas->hide();
}

void PageNavigator::Close(int page) {
    Form1& f = form_;
    const PageRoute& r = kRoutes.at(static_cast<std::size_t>(page));
    f.page(r.page)->hide();
    if (r.hideFrame1OnClose) f.Frame1->hide();
    f.Frame4->show();
    f.option(r.option)->clear();
    if (r.hideFrame1OnClose) f.Line6->hide();
    if (r.pageLine) f.hideNamed(QString::fromLatin1(r.pageLine));
    if (r.saveFrame >= 0) f.frameSave(r.saveFrame)->hide();
    if (r.title == TitleOnClose::Clear) f.Text2->setText(QString());
    if (r.title == TitleOnClose::Hide) f.Text2->hide();
    if (r.hideAreasOnClose) f.txtAreas->hide();
}

} // namespace kelvara
