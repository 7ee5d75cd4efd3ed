#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>

#include "offscreen_screen.h"
#include "platform/errors.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/guard.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {
ErrorCode callNormArea() {
    float a = 3, b = 10, c = 25;
    try {
        Module1::NormArea(Module1::SpecMeas.element1(), Module1::SpecInel.element1(), Module1::PlotBuf.element1(), &a,
                          &b, &c);
    } catch (const RuntimeError& e) {
        return e.code();
    }
    return ErrorCode::ApplicationDefined; // stands for "no error"
}
} // namespace

TEST(Binder, MissingLibraryRaisesAtEveryCallAndTheProgramKeepsRunning) {
    testsupport::UseOffscreenScreen(800, 600);
    QTemporaryDir empty;
    SetLibraryFolder(empty.path());
    Module1::ForgetBindings();

    EXPECT_EQ(callNormArea(), ErrorCode::DllNotFound);
    EXPECT_EQ(callNormArea(), ErrorCode::DllNotFound); // not only the first call
    EXPECT_FALSE(Module1::NormAreaBinding().bound());

    // Through a handler: each click shows the error, the program goes on.
    auto rec = std::make_unique<RecordingServices>();
    RecordingServices* shown = rec.get();
    setServices(std::move(rec));
    QPushButton button;
    connectGuarded(&button, &QPushButton::clicked, &button, [](bool) {
        float s = 0;
        Module1::LCROSS(Module1::PlotBuf.element1(), Module1::Spec2.element1(), &s, &s, &s, &s);
    });
    button.click();
    button.click();
    ASSERT_EQ(shown->messages.size(), 2);
    EXPECT_TRUE(shown->messages[1].text.contains("rivmer.so"));
    setServices(nullptr);

    // The file appears: the next call binds it.
    SetLibraryFolder(KELVARA_FIXTURE_LIB_DIR);
    EXPECT_EQ(callNormArea(), ErrorCode::ApplicationDefined);
    EXPECT_TRUE(Module1::NormAreaBinding().bound());
    SetLibraryFolder(QString());
}

TEST(Binder, PresentEntryBindsOnceAndPassesEveryArgumentByAddress) {
    testsupport::UseOffscreenScreen(800, 600);
    SetLibraryFolder(KELVARA_FIXTURE_LIB_DIR);
    Module1::ForgetBindings();
    Module1::PlotBuf.clear();

    EXPECT_EQ(callNormArea(), ErrorCode::ApplicationDefined);
    EXPECT_EQ(callNormArea(), ErrorCode::ApplicationDefined);
    EXPECT_EQ(Module1::NormAreaBinding().resolveCount(), 1);
    // The library wrote through the address of element 1.
    EXPECT_FLOAT_EQ(Module1::PlotBuf(1), 38.0f);
    EXPECT_FLOAT_EQ(Module1::PlotBuf(2), 2.0f);
    EXPECT_FLOAT_EQ(Module1::PlotBuf(0), 0.0f);

    // A file without the declared entry: EntryNotFound at every call.
    for (int k = 0; k < 2; ++k) {
        try {
            float s = 0;
            Module1::LCROSS(Module1::PlotBuf.element1(), Module1::Spec2.element1(), &s, &s, &s, &s);
            FAIL() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.code(), ErrorCode::EntryNotFound);
        }
    }
    EXPECT_FALSE(Module1::LCROSSBinding().bound());

    // The ten declarations name their library files.
    int n = 0;
    LibraryBinding* const* all = Module1::AllBindings(&n);
    ASSERT_EQ(n, 10);
    EXPECT_STREQ(Module1::infmediumBinding().library(), "castrel");
    EXPECT_STREQ(Module1::thinfilmBinding().library(), "welbane");
    EXPECT_STREQ(all[0]->entry(), "orvane");
    SetLibraryFolder(QString());
    EXPECT_EQ(LibraryFolder(), QCoreApplication::applicationDirPath());
}
