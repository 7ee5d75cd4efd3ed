// Two-column spectrum files and result files, read back with the program's
// list-input reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "toolkit/tools.h"
#include "toolkit_test_support.h"

namespace fs = std::filesystem;
using kelvara::CheckedArray;
using kelvara::TextFileReader;
using kelvara::Tools_cls;
using kelvara::test::makeSpectrum;

namespace {

class Writers : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kelvara_writers_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (int i = 1; i <= 20; ++i) {
            w0(i) = static_cast<float>(i);
            a0(i) = 10.0f * static_cast<float>(i);
            gamma(i) = 0.5f * static_cast<float>(i);
            alpha(i) = 1.0f;
        }
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string contents(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The lines of a file, split at CR LF (every line must end so).
    static std::vector<std::string> lines(const std::string& p) {
        const std::string s = contents(p);
        std::vector<std::string> out;
        std::size_t start = 0;
        while (start < s.size()) {
            const std::size_t end = s.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "line without CR LF";
            if (end == std::string::npos) break;
            const std::string line = s.substr(start, end - start);
            EXPECT_EQ(line.find('\n'), std::string::npos);
            out.push_back(line);
            start = end + 2;
        }
        return out;
    }
    // The reader's way into the data: items up to one that begins with "@",
    // then the numbers of the rows.
    static std::vector<float> dataAfterAt(const std::string& p) {
        TextFileReader in(p);
        while (!in.eof()) {
            const std::string item = in.inputItem();
            if (!item.empty() && item[0] == '@') break;
        }
        std::vector<float> v;
        while (!in.eof()) v.push_back(in.inputSingle());
        return v;
    }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    bool saveResult(const std::string& file, const CheckedArray<float>& spec, const CheckedArray<std::string>& text,
                    int16_t n, int16_t nosc, const std::string& result) {
        return t.Save2col_ELF(file, spec, text, n, nosc, w0, a0, gamma, alpha, 1.5f, 2.25f, 0.001f, -2.0f, result);
    }

    fs::path dir_;
    Tools_cls t;
    CheckedArray<float> w0{0, 20}, a0{0, 20}, gamma{0, 20}, alpha{0, 20};
};

} // namespace

TEST_F(Writers, TwoColumnFileReadsBack) {
    auto spec = makeSpectrum(5.0f, 0.5f, {1.25f, -3.0f, 1e-7f, 12345.5f});
    CheckedArray<std::string> text(1, 2);
    text(1) = "first header, with a comma";
    text(2) = "second";
    ASSERT_TRUE(t.Save2col(path("a.dat"), spec, text, 2));

    const auto l = lines(path("a.dat"));
    ASSERT_EQ(l.size(), 7u);
    EXPECT_EQ(l[0], "\"first header, with a comma\"");
    EXPECT_EQ(l[2], "\"@\"");

    TextFileReader in(path("a.dat"));
    EXPECT_EQ(in.inputItem(), "first header, with a comma");
    EXPECT_EQ(in.inputItem(), "second");
    EXPECT_EQ(in.inputItem(), "@");
    const float energies[] = {5.0f, 5.5f, 6.0f, 6.5f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(in.inputSingle(), energies[i]);
        EXPECT_EQ(in.inputSingle(), spec(i + 4));
    }
    EXPECT_TRUE(in.eof());

    // No header lines and no points: the quoted "@" line only.
    auto empty = makeSpectrum(5.0f, 0.5f, {});
    ASSERT_TRUE(t.Save2col(path("b.dat"), empty, text, 0));
    EXPECT_EQ(contents(path("b.dat")), "\"@\"\r\n");
}

TEST_F(Writers, ResultFileLinesAndData) {
    auto spec = makeSpectrum(5.0f, 0.5f, {0.25f, 0.5f, 0.125f});
    CheckedArray<std::string> text(1, 2);
    text(1) = "Model header";
    text(2) = "E0 = 1000 eV";
    ASSERT_TRUE(saveResult(path("r.dat"), spec, text, 2, 2, "IMFP = 12.34 A\r\nIMFPc = 1.00 A\r\n Area = 1.2E-02"));

    const auto l = lines(path("r.dat"));
    const std::string stars(54, '*');
    ASSERT_EQ(l.size(), 27u);
    EXPECT_EQ(l[0], "Model header");
    EXPECT_EQ(l[1], "E0 = 1000 eV");
    EXPECT_EQ(l[2], stars);
    EXPECT_EQ(l[3], "ELF-data applied in the calculations:");
    EXPECT_NE(l[4].find("Excitation parameters ac, bc to model core excitations  (see "), std::string::npos);
    EXPECT_NE(l[5].find("Energy gap"), std::string::npos);
    EXPECT_NE(l[6].find("Refractive Index"), std::string::npos);
    EXPECT_EQ(l[7], "Data for oscillators that describe the applied ELF function");
    EXPECT_NE(l[8].find("Number of oscillators"), std::string::npos);
    EXPECT_EQ(l[9], "data are in rows: one row for each oscillator ");
    EXPECT_EQ(l[10], "Energy position (eV), Intensity (eV^2), Width (eV) of oscillator, dispersion of the "
                     "oscillator (=1 for free electron):");
    EXPECT_EQ(l[13], stars);
    EXPECT_EQ(l[14], "RESULTS OF THE CALCULATION:");
    EXPECT_EQ(l[15], "IMFP = 12.34 A");
    EXPECT_EQ(l[16], "IMFPc = 1.00 A");
    EXPECT_EQ(l[17], " Area = 1.2E-02");
    EXPECT_EQ(l[18], "");
    EXPECT_EQ(l[19], "The effective cross section data are listed below in two columns:");
    EXPECT_EQ(l[20], "first column is the energy loss (eV)");
    EXPECT_EQ(l[21], "second column is the cross section (ev^-1 \xC3\x85^-1)");
    EXPECT_EQ(l[22], "@");

    // Numbers of the model lines, read with list input.
    TextFileReader in(path("r.dat"));
    for (int i = 0; i < 4; ++i) in.lineInput();
    EXPECT_EQ(in.inputSingle(), 0.001f);
    EXPECT_EQ(in.inputSingle(), -2.0f);
    in.lineInput();
    EXPECT_EQ(in.inputSingle(), 2.25f) << "gap before the refractive index";
    in.lineInput();
    EXPECT_EQ(in.inputSingle(), 1.5f);
    in.lineInput();
    in.lineInput();
    EXPECT_EQ(in.inputInteger(), 2);
    in.lineInput();
    in.lineInput();
    in.lineInput();
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(in.inputSingle(), w0(i));
        EXPECT_EQ(in.inputSingle(), a0(i));
        EXPECT_EQ(in.inputSingle(), gamma(i));
        EXPECT_EQ(in.inputSingle(), alpha(i));
    }

    // Data: 0, 0 then energy losses dE, 2 dE, .. regardless of the first energy.
    const std::vector<float> expected = {0, 0, 0.5f, 0.25f, 1.0f, 0.5f, 1.5f, 0.125f};
    EXPECT_EQ(dataAfterAt(path("r.dat")), expected);
}

TEST_F(Writers, ResultFileEmptyParts) {
    auto empty = makeSpectrum(5.0f, 0.5f, {});
    CheckedArray<std::string> text(1, 1);
    ASSERT_TRUE(saveResult(path("e.dat"), empty, text, 0, 0, ""));
    const auto l = lines(path("e.dat"));
    ASSERT_EQ(l.size(), 18u);
    EXPECT_EQ(l[0], std::string(54, '*'));
    EXPECT_EQ(l[8].substr(0, 10), "Energy pos");
    EXPECT_EQ(l[9], std::string(54, '*')) << "no oscillator rows";
    EXPECT_EQ(l[11], "");
    EXPECT_EQ(l[12], "");
    EXPECT_EQ(l[16], "@");
    EXPECT_EQ(dataAfterAt(path("e.dat")), (std::vector<float>{0, 0})) << "ends with the 0, 0 line";
}

TEST_F(Writers, FailuresLeaveNoFileAndKeepTheOldOne) {
    auto spec = makeSpectrum(0.0f, 1.0f, {1, 2});
    CheckedArray<std::string> text(1, 1);
    text(1) = "h";

    // A folder that does not exist: failure reported, nothing created.
    const std::string missing = path("no_such_folder/x.dat");
    EXPECT_FALSE(t.Save2col(missing, spec, text, 1));
    EXPECT_FALSE(saveResult(missing, spec, text, 1, 1, "r"));
    EXPECT_FALSE(fs::exists(path("no_such_folder")));
    EXPECT_EQ(filesInDir(), 0u);

    // A write that fails half-way (header array shorter than its count, more
    // oscillators than the arrays hold, a spectrum shorter than its count)
    // leaves a good file as it was and no temporary file behind.
    ASSERT_TRUE(t.Save2col(path("good.dat"), spec, text, 1));
    ASSERT_TRUE(saveResult(path("good_r.dat"), spec, text, 1, 1, "r"));
    const std::string before = contents(path("good.dat"));
    const std::string beforeR = contents(path("good_r.dat"));
    EXPECT_FALSE(t.Save2col(path("good.dat"), spec, text, 3));
    EXPECT_FALSE(saveResult(path("good_r.dat"), spec, text, 1, 21, "r"));
    CheckedArray<float> shortSpec(0, 4);
    shortSpec(1) = 3;
    EXPECT_FALSE(t.Save2col(path("good.dat"), shortSpec, text, 1));
    EXPECT_FALSE(saveResult(path("good_r.dat"), shortSpec, text, 1, 1, "r"));
    EXPECT_EQ(contents(path("good.dat")), before);
    EXPECT_EQ(contents(path("good_r.dat")), beforeR);
    EXPECT_EQ(filesInDir(), 2u);

    // An existing file is overwritten by a successful write.
    auto other = makeSpectrum(0.0f, 1.0f, {7});
    ASSERT_TRUE(t.Save2col(path("good.dat"), other, text, 0));
    EXPECT_EQ(dataAfterAt(path("good.dat")), (std::vector<float>{0, 7}));
}
