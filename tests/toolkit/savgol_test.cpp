// Savitzky-Golay coefficient files produced by the build, and the smoothing
// and derivative operations that read them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/textfile.h"
#include "toolkit/tools.h"
#include "toolkit_test_support.h"

namespace fs = std::filesystem;
using kelvara::CheckedArray;
using kelvara::ErrorCode;
using kelvara::RuntimeError;
using kelvara::TextFileReader;
using kelvara::Tools_cls;
using kelvara::test::makeSpectrum;

namespace {

// Weights h(k), k = -ns..ns (index k + ns), of every block of a coefficient
// file, by key, read with the list-input reader.
std::map<std::string, std::vector<double>> readBlocks(const std::string& path) {
    std::map<std::string, std::vector<double>> blocks;
    TextFileReader in(path);
    in.inputItem(); // title
    while (!in.eof()) {
        const std::string key = in.inputItem();
        const int ns = key.find(' ') != std::string::npos ? std::stoi(key.substr(key.find(' ') + 1))
                                                          : std::stoi(key.substr(1));
        std::vector<double> c(2 * ns + 2);
        for (int k = 1; k <= 2 * ns + 1; ++k) c[k] = in.inputDouble();
        std::vector<double> h(2 * ns + 1);
        h[ns] = c[1];
        for (int k = 1; k <= ns; ++k) {
            h[ns - k] = c[1 + k];         // below
            h[ns + k] = c[2 * ns + 2 - k]; // above
        }
        blocks[key] = h;
    }
    return blocks;
}

std::string keyOf(int m, int ns) {
    return ns < 10 ? std::to_string(m) + " " + std::to_string(ns) : std::to_string(m) + std::to_string(ns);
}

class SavGol : public ::testing::Test {
protected:
    void SetUp() override { Tools_cls::setProgramFolder(KELVARA_BIN_DIR); }
    void TearDown() override {
        Tools_cls::setProgramFolder("");
        if (!scratch_.empty()) fs::remove_all(scratch_);
    }
    // A scratch program folder whose Utils/savgolsmooth.par and
    // Utils/savgolderivat.par both hold `content`.
    void useFiles(const std::string& content) {
        scratch_ = fs::temp_directory_path() / ("kelvara_savgol_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(scratch_ / "Utils");
        for (const char* name : {"savgolsmooth.par", "savgolderivat.par"}) {
            std::ofstream(scratch_ / "Utils" / name, std::ios::binary) << content;
        }
        Tools_cls::setProgramFolder(scratch_.string());
    }
    fs::path scratch_;
    Tools_cls t;
};

} // namespace

TEST_F(SavGol, GeneratedFilesHoldPublishedRowsAndExactMoments) {
    const auto smooth = readBlocks(Tools_cls::smoothParFile());
    const auto deriv = readBlocks(Tools_cls::derivativeParFile());

    // Published rows.
    const std::vector<double> q5 = {-3, 12, 17, 12, -3};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(smooth.at("2 2")[k], q5[k] / 35.0, 1e-7);
    const std::vector<double> q7 = {-2, 3, 6, 7, 6, 3, -2};
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(smooth.at("2 3")[k], q7[k] / 21.0, 1e-7);
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(deriv.at("2 2")[k], (k - 2) / 10.0, 1e-7);
    // Cubic smoothing equals quadratic smoothing; 5-point quartic first derivative.
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(smooth.at("3 3")[k], q7[k] / 21.0, 1e-7);
    const std::vector<double> d4 = {1, -8, 0, 8, -1};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(deriv.at("4 2")[k], d4[k] / 12.0, 1e-7);

    // Closed forms of quadratic (and cubic) smoothing and of the quadratic
    // first derivative for every half-width.
    for (int ns = 2; ns <= 24; ++ns) {
        const double denom = (2.0 * ns - 1) * (2.0 * ns + 1) * (2.0 * ns + 3);
        const double sumK2 = ns * (ns + 1.0) * (2.0 * ns + 1) / 3.0;
        for (int k = -ns; k <= ns; ++k) {
            const double w = (3.0 * (3.0 * ns * ns + 3.0 * ns - 1) - 15.0 * k * k) / denom;
            EXPECT_NEAR(smooth.at(keyOf(2, ns))[k + ns], w, 1e-11) << ns << " " << k;
            EXPECT_NEAR(smooth.at(keyOf(3, ns))[k + ns], w, 1e-11) << ns << " " << k;
            EXPECT_NEAR(deriv.at(keyOf(2, ns))[k + ns], k / sumK2, 1e-11) << ns << " " << k;
        }
    }

    // Every degree 2..6 and half-width 2..24 with m <= 2*ns is present, and
    // each block reproduces the polynomials of its degree: the weights'
    // moments sum_k h(k) k^p are 1 for p = 0 (smoothing) or p = 1 (derivative)
    // and 0 for every other p <= m.
    int count = 0;
    for (int m = 2; m <= 6; ++m) {
        for (int ns = 2; ns <= 24; ++ns) {
            const std::string key = keyOf(m, ns);
            ASSERT_EQ(smooth.count(key), m <= 2 * ns ? 1u : 0u) << key;
            ASSERT_EQ(deriv.count(key), m <= 2 * ns ? 1u : 0u) << key;
            if (m > 2 * ns) continue;
            ++count;
            for (int p = 0; p <= m; ++p) {
                double ms = 0, md = 0, scale = 0;
                for (int k = -ns; k <= ns; ++k) {
                    ms += smooth.at(key)[k + ns] * std::pow(k, p);
                    md += deriv.at(key)[k + ns] * std::pow(k, p);
                    scale += std::pow(std::abs(k), p);
                }
                EXPECT_NEAR(ms, p == 0 ? 1.0 : 0.0, 1e-9 * scale) << key << " p=" << p;
                EXPECT_NEAR(md, p == 1 ? 1.0 : 0.0, 1e-9 * scale) << key << " p=" << p;
            }
            // Least squares: the weights are themselves a polynomial of degree
            // m in k, so their (m+1)-th differences vanish. With the moments
            // above this fixes them uniquely.
            for (const auto* h : {&smooth.at(key), &deriv.at(key)}) {
                std::vector<double> diff = *h;
                const std::size_t orders = static_cast<std::size_t>(m) + 1;
                for (std::size_t order = 1; order <= orders; ++order)
                    for (std::size_t k = 0; k + order < diff.size(); ++k) diff[k] = diff[k + 1] - diff[k];
                for (std::size_t k = 0; k + orders < diff.size(); ++k) EXPECT_NEAR(diff[k], 0.0, 1e-9) << key;
            }
        }
    }
    EXPECT_EQ(count, static_cast<int>(smooth.size()));
}

TEST_F(SavGol, SmoothAndDerivativeReproducePolynomials) {
    // p(x) = 2 - x + 0.03 x^2 - 0.001 x^3 on the point index x = 0..39.
    auto p = [](double x) { return 2 - x + 0.03 * x * x - 0.001 * x * x * x; };
    auto dp = [](double x) { return -1 + 0.06 * x - 0.003 * x * x; };
    CheckedArray<float> s(0, 60);
    s(1) = 40;
    s(2) = 100;
    s(3) = 0.5f;
    for (int i = 1; i <= 40; ++i) s(i + 3) = static_cast<float>(p(i - 1));
    s(44) = 777;

    for (int16_t ns : {2, 5, 12}) {
        CheckedArray<float> sm(0, 60), d(0, 60);
        sm(44) = -1;
        d(44) = -1;
        ASSERT_TRUE(t.smooth(s, sm, 3, ns));
        t.Derivative(s, d, 3, ns);
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(sm(j), s(j));
            EXPECT_EQ(d(j), s(j));
        }
        for (int i = 1; i <= 40; ++i) {
            const bool end = i <= ns || i > 40 - ns;
            if (end) {
                EXPECT_EQ(sm(i + 3), s(i + 3)) << "ends copied, ns=" << ns;
                EXPECT_EQ(d(i + 3), 0.0f) << "ends zeroed, ns=" << ns;
            } else {
                EXPECT_NEAR(sm(i + 3), p(i - 1), 2e-4 * (1 + std::abs(p(i - 1)))) << "ns=" << ns << " i=" << i;
                EXPECT_NEAR(d(i + 3), dp(i - 1), 2e-4 * (1 + std::abs(dp(i - 1)))) << "ns=" << ns << " i=" << i;
            }
        }
        EXPECT_EQ(sm(44), -1.0f);
        EXPECT_EQ(d(44), -1.0f);
    }

    // Too few points (N <= 2*ns): smoothing returns a copy, the derivative
    // zeros; the header and the elements after the points stay.
    auto shortSpec = makeSpectrum(3.0f, 1.0f, {1, 2, 3, 4, 5, 6}, 40, 9.0f);
    CheckedArray<float> sm(0, 40), d(0, 40);
    for (int j = 0; j <= 40; ++j) sm(j) = d(j) = -3;
    ASSERT_TRUE(t.smooth(shortSpec, sm, 2, 5));
    t.Derivative(shortSpec, d, 2, 5);
    for (int j = 1; j <= 9; ++j) EXPECT_EQ(sm(j), shortSpec(j)) << j;
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(d(j), shortSpec(j)) << j;
    for (int j = 4; j <= 9; ++j) EXPECT_EQ(d(j), 0.0f) << j;
    EXPECT_EQ(sm(10), -3.0f);
    EXPECT_EQ(d(10), -3.0f);
    EXPECT_EQ(d(0), -3.0f);
}

TEST_F(SavGol, KeysHalfWidthZeroAndTwentyFive) {
    // "2 5 x" does not match the key "2 5" (its first four characters hold a
    // blank), "212" does not match "2 5" either; the block after "2 5" doubles
    // the point itself, the one after "212" multiplies it by 5.
    std::string f = "\"title\"\r\n\"2 5 x\"\r\n3,0,0,0,0,0,0,0,0,0,0\r\n\"212\"\r\n5";
    for (int i = 0; i < 24; ++i) f += ",0";
    f += "\r\n\"2 5\"\r\n2,0,0,0,0,0,0,0,0,0,0\r\n\"2 0\"\r\n0.5\r\n\"225\"\r\n1";
    for (int i = 0; i < 50; ++i) f += ",0";
    f += "\r\n";
    useFiles(f);

    CheckedArray<float> s(0, 60), out(0, 60);
    s(1) = 30;
    s(2) = 1;
    s(3) = 1;
    for (int i = 1; i <= 30; ++i) s(i + 3) = static_cast<float>(i);
    ASSERT_TRUE(t.smooth(s, out, 2, 5));
    EXPECT_EQ(out(3 + 6), 12.0f);
    EXPECT_EQ(out(3 + 5), 5.0f);
    ASSERT_TRUE(t.smooth(s, out, 2, 12));
    EXPECT_EQ(out(3 + 13), 65.0f);
    EXPECT_EQ(out(3 + 12), 12.0f);

    // ns = 0: one coefficient multiplies every point; no end points.
    ASSERT_TRUE(t.smooth(s, out, 2, 0));
    for (int i = 1; i <= 30; ++i) EXPECT_EQ(out(i + 3), 0.5f * static_cast<float>(i));
    t.Derivative(s, out, 2, 0);
    EXPECT_EQ(out(4), 0.5f);

    // ns = 25 needs a 51st coefficient slot: smoothing fails quietly and
    // leaves the output alone, the derivative raises.
    out.clear();
    EXPECT_FALSE(t.smooth(s, out, 2, 25));
    EXPECT_EQ(out(1), 0.0f);
    try {
        t.Derivative(s, out, 2, 25);
        ADD_FAILURE() << "ns = 25 must fail";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code(), ErrorCode::SubscriptOutOfRange);
    }

    // A key that the file lacks runs past the end of the file.
    EXPECT_FALSE(t.smooth(s, out, 7, 3));
    EXPECT_THROW(t.Derivative(s, out, 7, 3), RuntimeError);
}

TEST_F(SavGol, MissingFileAndShortSpectrum) {
    CheckedArray<float> s(0, 60), out(0, 60);
    s(1) = 20;
    s(3) = 1;
    for (int i = 1; i <= 20; ++i) s(i + 3) = 1;
    out(1) = -8;

    Tools_cls::setProgramFolder((fs::temp_directory_path() / "kelvara_no_such_folder").string());
    EXPECT_FALSE(t.smooth(s, out, 2, 2));
    EXPECT_EQ(out(1), -8.0f) << "nothing written";
    EXPECT_THROW(t.Derivative(s, out, 2, 2), RuntimeError);

    // A spectrum shorter than its count fails after the coefficients are read.
    Tools_cls::setProgramFolder(KELVARA_BIN_DIR);
    CheckedArray<float> shortSpec(0, 10);
    shortSpec(1) = 20;
    EXPECT_FALSE(t.smooth(shortSpec, out, 2, 2));
    EXPECT_THROW(t.Derivative(shortSpec, out, 2, 2), RuntimeError);

    // A count whose last element index leaves 16 bits overflows before any
    // point is filtered.
    CheckedArray<float> huge(0, 60), hugeOut(0, 60);
    huge(1) = 32766;
    for (int j = 4; j <= 60; ++j) huge(j) = 1;
    for (int j = 0; j <= 60; ++j) hugeOut(j) = -4;
    EXPECT_FALSE(t.smooth(huge, hugeOut, 2, 2));
    try {
        t.Derivative(huge, hugeOut, 2, 2);
        ADD_FAILURE() << "a count of 32766 must overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code(), ErrorCode::Overflow);
    }
    for (int j = 4; j <= 60; ++j) EXPECT_EQ(hugeOut(j), -4.0f) << j;

    // Without a set folder and without an application object, the folder of
    // the running executable is used.
    Tools_cls::setProgramFolder("");
    EXPECT_EQ(fs::path(Tools_cls::programFolder()), fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_EQ(fs::path(Tools_cls::smoothParFile()).filename(), "savgolsmooth.par");
    EXPECT_EQ(fs::path(Tools_cls::derivativeParFile()).parent_path().filename(), "Utils");
}
