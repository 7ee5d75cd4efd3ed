#include <gtest/gtest.h>

#include "platform/errors.h"
#include "state/module1.h"

using namespace kelvara;

TEST(Module1, BoundsAndStartValues) {
    using namespace Module1;
    // Result arrays: three header slots and 1000 values from element 1.
    for (SpectrumArray* a :
         {&Keff, &Ksurf, &Kbulk, &Kvi, &Kvo, &Kmi, &Kmo, &KModelA, &KModelB, &KModelA_in, &KModelA_out, &keff_inf,
          &keff_medium_h, &keff_medium_nh, &keff_vacuum_h, &keff_vacuum_nh}) {
        EXPECT_EQ(a->lower(), 0);
        EXPECT_EQ(a->upper(), 1003);
    }
    for (SpectrumArray* a : {&SpecMeas, &SpecInel, &PlotBuf, &Spec2}) EXPECT_EQ(a->upper(), 5000);
    for (SingleArray* a : {&W0, &A0, &Gamma, &Alfa}) EXPECT_EQ(a->upper(), 20);
    for (SingleArray* a : {&ELFbulk, &ReInvEps, &Eps1, &Eps2, &ELFsurf}) EXPECT_EQ(a->upper(), 1000);
    EXPECT_EQ(StepTable.upper(), 6);

    EXPECT_THROW(Keff(1004), RuntimeError);
    EXPECT_THROW(W0(21), RuntimeError);
    EXPECT_THROW(StepTable(-1), RuntimeError);
    try {
        PlotBuf(5001) = 1.0f;
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code(), ErrorCode::SubscriptOutOfRange);
    }

    // Before any model is read: an empty model, all zeros.
    EXPECT_EQ(NumOsc, 0);
    EXPECT_EQ(W0(1), 0.0f);
    EXPECT_EQ(AutoScale, False);
    EXPECT_TRUE(ResultText.isEmpty());
    EXPECT_EQ(True, -1);

    // A library receives the address of element 1, and the next elements follow it.
    Keff(1) = 5.0f;
    Keff(2) = 6.0f;
    EXPECT_EQ(Keff.element1()[1], 6.0f);

    NumOsc = 3;
    AutoScale = True;
    PlotBuf(5000) = 2.0f;
    ResultText = "x";
    ModelSource = {QStringLiteral("m.elf"), true};
    Reset();
    EXPECT_EQ(NumOsc, 0);
    EXPECT_EQ(AutoScale, False);
    EXPECT_EQ(PlotBuf(5000), 0.0f);
    EXPECT_EQ(Keff(1), 0.0f);
    EXPECT_TRUE(ResultText.isEmpty());
    EXPECT_TRUE(ModelSource.path.isEmpty());
    EXPECT_FALSE(ModelSource.changedInTable);
}
