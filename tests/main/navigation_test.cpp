#include <gtest/gtest.h>

#include <QPushButton>

#include "photoemission/formxps.h"
#include "program_fixture.h"
#include "shared/program_shell.h"

using namespace kelvara;

namespace {
// The page each option shows.
struct Choice {
    int option;
    int page;
    const char* mainMenu;
};
const Choice kChoices[5] = {
    {2, 0, "Command12"}, {1, 1, "Command6"}, {3, 2, "Command10"}, {4, 3, "Command11"}, {6, 4, "cmdCancelELF_0"},
};

void expectOnlyPage(Form1& f, int shown) {
    for (int i = 0; i < Form1::kPages; ++i) EXPECT_EQ(f.page(i)->isVisible(), i == shown) << "page " << i;
    EXPECT_FALSE(f.Frame4->isVisible());
    EXPECT_TRUE(f.frameinfo(shown)->isVisible());
}

QPushButton* button(Form1& f, const char* name) {
    auto* b = f.findChild<QPushButton*>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
}
} // namespace

TEST(Navigation, EachOptionShowsItsPageAndMainMenuLetsItBeChosenAgain) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    for (const Choice& c : kChoices) {
        SCOPED_TRACE(c.page);
        for (int round = 0; round < 2; ++round) {
            f.txtinfo(c.page)->setText("stale text");
            f.option(c.option)->click();
            expectOnlyPage(f, c.page);
            EXPECT_EQ(f.txtinfo(c.page)->text(), Form1::InfoText(c.page));
            EXPECT_TRUE(f.option(c.option)->value());
            EXPECT_TRUE(f.Line6->isVisible());
            EXPECT_TRUE(f.Frame1->isHidden());
            button(f, c.mainMenu)->click();
            EXPECT_FALSE(f.page(c.page)->isVisible());
            EXPECT_TRUE(f.Frame4->isVisible());
            EXPECT_FALSE(f.option(c.option)->value()); // cleared: the same option works again
        }
    }
    EXPECT_TRUE(p.services->messages.isEmpty());

    // The info texts: line breaks as CR LF, blank lines where the pages have them.
    EXPECT_TRUE(Form1::InfoText(0).startsWith("The effective cross sectrion is calculated according to the theory in"));
    EXPECT_TRUE(Form1::InfoText(2).contains("\r\n\r\nThe start energy is Ep and the energy loss T.\r\nThe film thickness "
                                            "is t.\r\n\r\nAll units are in \u00C5 and eV."));
    EXPECT_TRUE(Form1::InfoText(3).startsWith("The effective cross sections are calculated according to eqs.(21-25) in"));
    EXPECT_TRUE(Form1::InfoText(4).endsWith("dispersion (a).\r\nAll units are in eV and \u00C5"));
    EXPECT_TRUE(Form1::InfoText(1).endsWith("\r\n\r\nThe start energy is Ep and the energy loss T. All units are in "
                                            "\u00C5 and eV."));
}

TEST(Navigation, LeavingPagesTreatsThePlotTitleAndAreasAsEachPageDoes) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    const auto prepare = [&] {
        f.Text2->setText("title");
        f.Text2->show();
        f.txtAreas->show();
    };
    // Page 3: title hidden (text kept), areas hidden, Line6 hidden.
    f.option(4)->click();
    prepare();
    f.frameSave(3)->show();
    button(f, "Command11")->click();
    EXPECT_TRUE(f.Text2->isHidden());
    EXPECT_EQ(f.Text2->text(), "title");
    EXPECT_TRUE(f.txtAreas->isHidden());
    EXPECT_TRUE(f.Line6->isHidden());
    EXPECT_TRUE(f.frameSave(3)->isHidden());
    // Pages 0 and 2: title emptied (an empty title box does not show), areas hidden.
    for (auto [opt, cmd, save] : {std::tuple{2, "Command12", 0}, std::tuple{3, "Command10", 2}}) {
        f.option(opt)->click();
        prepare();
        f.frameSave(save)->show();
        button(f, cmd)->click();
        EXPECT_EQ(f.Text2->text(), "");
        EXPECT_TRUE(f.Text2->isHidden());
        EXPECT_TRUE(f.txtAreas->isHidden());
        EXPECT_TRUE(f.frameSave(save)->isHidden());
    }
    // Pages 1 and 4 touch neither; the next page hides both.
    for (auto [opt, cmd] : {std::pair{1, "Command6"}, std::pair{6, "cmdCancelELF_0"}}) {
        f.option(opt)->click();
        prepare();
        button(f, cmd)->click();
        EXPECT_EQ(f.Text2->text(), "title");
        EXPECT_FALSE(f.Text2->isHidden());
        EXPECT_FALSE(f.txtAreas->isHidden());
        f.option(4)->click();
        EXPECT_TRUE(f.Text2->isHidden());
        EXPECT_TRUE(f.txtAreas->isHidden());
        button(f, "Command11")->click();
    }
}

TEST(Navigation, PhotoemissionOptionHidesTheMainForm) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    int cleared = 0;
    QObject::connect(&f, &Form1::plotCleared, [&] { ++cleared; });
    f.option(5)->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(Forms::formXPS().isVisible());
    EXPECT_EQ(cleared, 1);
    EXPECT_FALSE(f.picPlot->isHidden());
    // The way back (the photoemission window's "Main Menu").
    Forms::formXPS().hide();
    f.show();
    f.option(5)->clear();
    EXPECT_TRUE(f.Frame4->isVisible());
    f.option(5)->click();
    EXPECT_FALSE(f.isVisible());
}

TEST(Navigation, TheShellTakesThePhotoemissionWindowBackToTheMainForm) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    f.option(5)->click();
    ASSERT_TRUE(Forms::formXPS().isVisible());
    f.picPlot->hide();
    Shell().ShowMainWindowPlot();
    EXPECT_FALSE(f.picPlot->isHidden());
    EXPECT_FALSE(f.isVisible());
    Shell().ReturnToMainWindow();
    EXPECT_FALSE(Forms::formXPS().isVisible());
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.option(5)->isChecked());
    EXPECT_TRUE(f.Frame4->isVisible());
}

TEST(Navigation, EveryCancelAndExitHidesItsPanel) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    const struct {
        const char* button;
        QWidget* panel;
    } closers[] = {
        {"cmdCancel1", f.frameSave(3)}, {"Command8", f.frameSave(3)}, {"Command16", f.frameSave(0)},
        {"Command9", f.frameSave(1)},   {"Command14", f.frameSave(2)}, {"Command4", f.Frame3},
        {"Command5", f.frameYmax},
    };
    int ymaxOff = 0;
    QObject::connect(&f, &Form1::ymaxModeSwitchedOff, [&] { ++ymaxOff; });
    for (const auto& c : closers) {
        c.panel->show();
        button(f, c.button)->click();
        EXPECT_TRUE(c.panel->isHidden()) << c.button;
    }
    EXPECT_EQ(ymaxOff, 1);

    // The IMFP panel of page 3 is found by name.
    QWidget* imfp = f.findChild<QWidget*>("frameshowIMFP_0");
    if (!imfp) {
        imfp = new Frame("IMFP -eff", f.page(3));
        imfp->setObjectName("frameshowIMFP_0");
    }
    imfp->show();
    f.cmdCancelShowIMFP_Click();
    EXPECT_TRUE(imfp->isHidden());

    // Text1's change handler runs when code writes it.
    int changes = 0;
    QObject::connect(&f, &Form1::Text1Changed, [&] { ++changes; });
    f.Text1->setText("4");
    EXPECT_EQ(changes, 1);
}
