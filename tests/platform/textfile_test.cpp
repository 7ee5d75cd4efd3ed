// Sequential text files: list-write and print lines, list input, line input.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "error_of.h"

using namespace kelvara;
using kelvara::testing::errorOf;
namespace fs = std::filesystem;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("kelvara_textfile_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << bytes;
        return path(name);
    }
    std::string bytes(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};


} // namespace

TEST_F(TextFileTest, ListWriteLinesQuoteStringsAndEndInCrLf) {
    {
        TextFileWriter w(path("a.txt"));
        w.writeList({std::string("Data for oscillators")});
        w.writeList({std::string("")});
        w.writeList({std::string("@")});
        w.writeList({0.001f, -2.0f});
        w.writeList({0.2f, 1.5e-8f, 3, 0.1, std::string("x, y")});
        w.writeList({});
        w.close();
    }
    EXPECT_EQ(bytes("a.txt"), "\"Data for oscillators\"\r\n\"\"\r\n\"@\"\r\n0.001,-2\r\n"
                              "0.2,1.5E-08,3,0.1,\"x, y\"\r\n\r\n");
}

TEST_F(TextFileTest, PrintLinesPutItemsInZonesWithBlankSignPositions) {
    {
        TextFileWriter w(path("p.txt"));
        w.printLine({std::string("@")});
        w.printLine({0.0f, 0});
        w.printLine({1.5f, -2.25f, 10.0f, 1.0f});
        w.printLine({42, std::string("Number of oscillators")});
        w.printText("Å text");
        w.printLine({});
    }
    // Zones of 14 characters; "Å" is one character of two bytes.
    const auto blanks = [](int n) { return std::string(static_cast<std::size_t>(n), ' '); };
    const std::string expected = std::string("@\r\n") +                                                  //
                                 " 0 " + blanks(11) + " 0 \r\n" +                           //
                                 " 1.5 " + blanks(9) + "-2.25 " + blanks(8) + " 10 " + blanks(10) + " 1 \r\n" +
                                 " 42 " + blanks(10) + "Number of oscillators\r\n" +        //
                                 "Å text\r\n" + "\r\n";
    EXPECT_EQ(bytes("p.txt"), expected);
}

TEST_F(TextFileTest, ListInputOfQuotedItemsCommasAndBlanks) {
    const std::string file = write("in.txt", "\"first, with comma\"\r\n"
                                             "  \"quoted\" , unquoted text  ,last\r\n"
                                             "\r\n"
                                             "plain line\n"
                                             "a,,b\r\n"
                                             "\"unclosed quote\r\n"
                                             "x");
    TextFileReader r(file);
    EXPECT_EQ(r.inputItem(), "first, with comma");
    EXPECT_EQ(r.inputItem(), "quoted");
    EXPECT_EQ(r.inputItem(), "unquoted text");
    EXPECT_EQ(r.inputItem(), "last");
    EXPECT_EQ(r.inputItem(), ""); // the empty line is one empty item
    EXPECT_EQ(r.inputItem(), "plain line");
    EXPECT_EQ(r.inputItem(), "a");
    EXPECT_EQ(r.inputItem(), "");
    EXPECT_EQ(r.inputItem(), "b");
    EXPECT_EQ(r.inputItem(), "unclosed quote");
    EXPECT_FALSE(r.eof());
    EXPECT_EQ(r.inputItem(), "x");
    EXPECT_TRUE(r.eof());
    EXPECT_EQ(errorOf([&] { r.inputItem(); }), ErrorCode::InputPastEnd);
}

TEST_F(TextFileTest, NumbersEndAtBlanksCommasAndLineEnds) {
    const std::string file = write("n.txt", " 1.5         -2.25          10            1 \r\n"
                                            "0.001,-2\n"
                                            "\r\n"
                                            "  7 , 8e-3 ,\"9\"\r\n"
                                            "3,,4\r\n"
                                            "32767.5\r\n"
                                            "abc\r\n"
                                            "  \r\n\r\n");
    TextFileReader r(file);
    EXPECT_EQ(r.inputSingle(), 1.5f);
    EXPECT_EQ(r.inputSingle(), -2.25f);
    EXPECT_EQ(r.inputSingle(), 10.0f);
    EXPECT_EQ(r.inputSingle(), 1.0f);
    EXPECT_EQ(r.inputDouble(), 0.001);
    EXPECT_EQ(r.inputSingle(), -2.0f);
    EXPECT_EQ(r.inputInteger(), 7); // the empty line before it is passed over
    EXPECT_EQ(r.inputSingle(), 8e-3f);
    EXPECT_EQ(r.inputSingle(), 9.0f);
    EXPECT_EQ(r.inputSingle(), 3.0f);
    EXPECT_EQ(r.inputSingle(), 0.0f); // an empty item between commas is zero
    EXPECT_EQ(r.inputSingle(), 4.0f);
    EXPECT_EQ(errorOf([&] { r.inputInteger(); }), ErrorCode::Overflow);
    EXPECT_EQ(errorOf([&] { r.inputSingle(); }), ErrorCode::TypeMismatch);
    EXPECT_TRUE(r.eof()); // trailing blanks and line ends are no data
    EXPECT_EQ(errorOf([&] { r.inputSingle(); }), ErrorCode::InputPastEnd);
}

TEST_F(TextFileTest, SearchForTheAtItemRunsPastTheEndWhenItIsMissing) {
    // Header items are read until one begins with "@"; without it, the file ends first.
    const std::string withAt = write("with.txt", "\"comment\"\r\n\"\"\r\n\"@\"\r\n1,2\r\n");
    const std::string without = write("without.txt", "\"comment\"\r\n\"\"\r\n\"no marker\"\r\n1,2\r\n");
    auto scan = [](const std::string& path) {
        TextFileReader r(path);
        for (std::string item; item.empty() || item[0] != '@';) item = r.inputItem();
        return r.inputSingle() + r.inputSingle();
    };
    EXPECT_EQ(scan(withAt), 3.0f);
    EXPECT_EQ(errorOf([&] { scan(without); }), ErrorCode::InputPastEnd);
}

TEST_F(TextFileTest, LineInputTakesWholeLinesWithEitherLineEnd) {
    const std::string file = write("l.txt", "first, \"line\"\r\nsecond\n\nÅ fourth\rfifth");
    TextFileReader r(file);
    EXPECT_EQ(r.lineInput(), "first, \"line\"");
    EXPECT_EQ(r.lineInput(), "second");
    EXPECT_EQ(r.lineInput(), "");
    EXPECT_EQ(r.lineInput(), "Å fourth");
    EXPECT_EQ(r.lineInput(), "fifth");
    EXPECT_TRUE(r.eof());
    EXPECT_EQ(errorOf([&] { r.lineInput(); }), ErrorCode::InputPastEnd);
}

TEST_F(TextFileTest, ModelFileWrittenAndReadBackGivesTheSameValues) {
    const std::vector<float> w0 = {3.1f, 16.7f, 22.0f}, a0 = {0.2f, 150.123f, 1e-7f},
                             gamma = {1.0f / 3.0f, 4.5f, 12.0f}, alfa = {1.0f, 0.05f, -2.75e12f};
    const float ac = 0.001f, bc = -2.0f, gap = 0.0f, index = 999.0f;
    {
        TextFileWriter w(path("model.elf"));
        w.writeList({std::string("Data for oscillators that describe an ELF function")});
        w.writeList({std::string("")});
        w.writeList({std::string("@")});
        w.writeList({ac, bc});
        w.writeList({gap});
        w.writeList({index});
        for (std::size_t i = 0; i < w0.size(); ++i) w.printLine({w0[i], a0[i], gamma[i], alfa[i]});
    }
    TextFileReader r(path("model.elf"));
    for (std::string item; item.empty() || item[0] != '@';) item = r.inputItem();
    EXPECT_EQ(r.inputSingle(), ac);
    EXPECT_EQ(r.inputSingle(), bc);
    EXPECT_EQ(r.inputSingle(), gap);
    EXPECT_EQ(r.inputSingle(), index);
    std::size_t rows = 0;
    while (!r.eof()) {
        ASSERT_LT(rows, w0.size());
        // Written with up to 7 digits: the same float as its own general text reads.
        EXPECT_EQ(r.inputSingle(), ToSingle(GeneralText(w0[rows])));
        EXPECT_EQ(r.inputSingle(), ToSingle(GeneralText(a0[rows])));
        EXPECT_EQ(r.inputSingle(), ToSingle(GeneralText(gamma[rows])));
        EXPECT_EQ(r.inputSingle(), ToSingle(GeneralText(alfa[rows])));
        ++rows;
    }
    EXPECT_EQ(rows, w0.size());
    EXPECT_EQ(errorOf([&] { r.inputSingle(); }), ErrorCode::InputPastEnd);
}

TEST_F(TextFileTest, OpeningFailuresRaiseTheirErrors) {
    EXPECT_EQ(errorOf([&] { TextFileWriter w(path("no such folder/out.txt")); }), ErrorCode::PathNotFound);
    EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
    EXPECT_EQ(errorOf([&] { TextFileReader r(path("missing.txt")); }), ErrorCode::FileNotFound);
    EXPECT_EQ(errorOf([&] { TextFileReader r(path("no such folder/in.txt")); }), ErrorCode::PathNotFound);
    EXPECT_EQ(errorOf([&] { TextFileWriter w(dir_.string()); }), ErrorCode::PathFileAccess);
    EXPECT_EQ(errorOf([&] { TextFileWriter w(""); }), ErrorCode::BadFileName);

    // An existing file is replaced, and a closed writer refuses further lines.
    write("old.txt", "old contents that are longer\r\n");
    TextFileWriter w(path("old.txt"));
    w.printText("new");
    w.close();
    EXPECT_EQ(bytes("old.txt"), "new\r\n");
    EXPECT_EQ(errorOf([&] { w.printText("more"); }), ErrorCode::BadFileName);
}

TEST_F(TextFileTest, ByteOrderMarkAndUtf8TextArePreserved) {
    const std::string file = write("bom.txt", "\xEF\xBB\xBF\"second column is the cross section (ev^-1 Å^-1)\"\r\n");
    TextFileReader r(file);
    EXPECT_EQ(r.inputItem(), "second column is the cross section (ev^-1 Å^-1)");
}
