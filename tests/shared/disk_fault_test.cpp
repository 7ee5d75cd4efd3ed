// Every writer of the program (two-column file, result file, model file, plot
// file) pointed at places where writing fails: a full device, a file that
// cannot grow, a folder that cannot be written, a path that is a folder and a
// path below a file. Each reports the failure, leaves an existing file of
// that name as it was and leaves no temporary file behind. Readers given a
// file that vanished or cannot be read report it and change nothing.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/errors.h"
#include "platform/textfile.h"
#include "shared/oscillator_model.h"
#include "shared/plot.h"
#include "shared/plot_file.h"
#include "test_app.h"
#include "toolkit/tools.h"
#include "widgets/services.h"

using namespace kelvara;
namespace fs = std::filesystem;

namespace {

SingleArray Curve(int n) {
    SingleArray s(0, 5000);
    s(1) = static_cast<float>(n);
    s(2) = 0;
    s(3) = 0.5f;
    for (int i = 1; i <= n; ++i) s(i + 3) = 1.0f / static_cast<float>(i);
    return s;
}

struct Writer {
    const char* name;
    std::function<bool(const std::string&)> write; // true when written
};

const std::vector<Writer>& Writers() {
    static const SingleArray curve = Curve(400);
    static const std::vector<Writer> writers = {
        {"two-column file",
         [](const std::string& path) {
             Tools_cls::TextLines text(0, 20);
             text(1) = "header";
             return Tools().Save2col(path, curve, text, 1);
         }},
        {"result file",
         [](const std::string& path) {
             Tools_cls::TextLines text(0, 20);
             for (int i = 1; i <= 5; ++i) text(i) = "line " + std::to_string(i);
             SingleArray osc(0, 20);
             osc(1) = 15.0f;
             return Tools().Save2col_ELF(path, curve, text, 5, 1, osc, osc, osc, osc, 1.0f, 0.0f, 1.0f, 2.0f,
                                         "IMFP = 10.00");
         }},
        {"model file",
         [](const std::string& path) {
             OscillatorModelValues m;
             m.NumOsc = 20;
             for (int i = 1; i <= 20; ++i) m.W0(i) = m.A0(i) = m.Gamma(i) = m.Alfa(i) = static_cast<float>(i);
             try {
                 WriteELFDataFile(QString::fromStdString(path),
                                  ModelView{m.W0, m.A0, m.Gamma, m.Alfa, 0, 1, m.NumOsc, 1, 2});
                 return true;
             } catch (const RuntimeError&) {
                 return false;
             }
         }},
        {"plot file",
         [](const std::string& path) {
             Plot plot;
             return SavePlotFile(QString::fromStdString(path), curve, plot);
         }},
    };
    return writers;
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        // The process folders of /proc come and go with other programs.
        if (name.find_first_not_of("0123456789") != std::string::npos) names.insert(name);
    }
    return names;
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DiskFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        kelvara::testing::TestApp();
        ASSERT_TRUE(tmp_.isValid());
        dir_ = fs::path(tmp_.path().toStdString());
        keep_ = dir_ / "keep.txt";
        std::ofstream(keep_, std::ios::binary) << "old contents\r\n";
    }
    // The writer fails on `target`, the folder `folder` holds the same names
    // as before and the file `keep_` its old contents.
    void expectFailure(const Writer& w, const std::string& target, const fs::path& folder) {
        SCOPED_TRACE(std::string(w.name) + " to " + target);
        const auto before = Listing(folder);
        EXPECT_FALSE(w.write(target));
        EXPECT_EQ(Listing(folder), before) << "a file was left behind or removed";
        EXPECT_EQ(Contents(keep_), "old contents\r\n");
    }
    QTemporaryDir tmp_;
    fs::path dir_, keep_;
};

} // namespace

TEST_F(DiskFaultTest, EveryWriterSucceedsOnAnOrdinaryFolderAndReplacesTheFile) {
    for (const auto& w : Writers()) {
        SCOPED_TRACE(w.name);
        const fs::path target = dir_ / "out.txt";
        std::ofstream(target) << "x";
        EXPECT_TRUE(w.write(target.string()));
        EXPECT_GT(fs::file_size(target), 1000u);
        EXPECT_EQ(Listing(dir_), (std::set<std::string>{"keep.txt", "out.txt"}));
    }
}

TEST_F(DiskFaultTest, FullDeviceIsReportedAndStaysADevice) {
    for (const auto& w : Writers()) {
        expectFailure(w, "/dev/full", "/dev");
        EXPECT_TRUE(fs::is_character_file("/dev/full")) << w.name;
    }
}

// A file that cannot grow beyond 300 bytes: the device is full after a few
// lines of the new file.
TEST_F(DiskFaultTest, DiskFullHalfwayKeepsTheOldFileAndLeavesNoTemporary) {
    auto* const previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    for (const auto& w : Writers()) expectFailure(w, keep_.string(), dir_);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
}

TEST_F(DiskFaultTest, FolderThatCannotBeWrittenKeepsItsFile) {
    // Tests may run as root, who writes into a folder without write
    // permission; /proc refuses new files to everyone.
    const fs::path locked = dir_ / "locked";
    fs::create_directory(locked);
    std::ofstream(locked / "keep.txt") << "old contents\r\n";
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const bool lockedHolds = ::access(locked.c_str(), W_OK) != 0;
    const std::string version = Contents("/proc/version");
    for (const auto& w : Writers()) {
        if (lockedHolds) {
            keep_ = locked / "keep.txt";
            expectFailure(w, keep_.string(), locked);
            keep_ = dir_ / "keep.txt";
        }
        expectFailure(w, "/proc/version", "/proc");
        EXPECT_EQ(Contents("/proc/version"), version);
        expectFailure(w, "/proc/kelvara_new.txt", "/proc");
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(DiskFaultTest, PathThatIsAFolderOrLiesBelowAFileIsRefused) {
    const fs::path sub = dir_ / "sub";
    fs::create_directory(sub);
    for (const auto& w : Writers()) {
        expectFailure(w, sub.string(), dir_);
        EXPECT_TRUE(fs::is_directory(sub));
        EXPECT_TRUE(fs::is_empty(sub));
        expectFailure(w, (keep_ / "x.txt").string(), dir_);
        expectFailure(w, "", dir_);
    }
}

// A pipe would keep the writer waiting for a reader: refused at once.
TEST_F(DiskFaultTest, PipeIsRefusedWithoutWaiting) {
    const fs::path pipe = dir_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& w : Writers()) {
        expectFailure(w, pipe.string(), dir_);
        EXPECT_TRUE(fs::is_fifo(pipe));
    }
}

TEST_F(DiskFaultTest, PlotSavedThroughTheDialogReportsAFailure) {
    auto rec = std::make_unique<RecordingServices>();
    RecordingServices* const r = rec.get();
    auto previous = setServices(std::move(rec));
    Plot plot;
    for (const QString& target : {QString("/dev/full"), QString::fromStdString(dir_.string())}) {
        r->messages.clear();
        r->nextFileName = target;
        EXPECT_TRUE(SavePlotThroughDialog(Curve(10), plot).isEmpty());
        ASSERT_EQ(r->messages.size(), 1);
        EXPECT_TRUE(r->messages[0].text.contains(target)) << r->messages[0].text.toStdString();
    }
    r->messages.clear();
    r->nextFileName.clear();  // cancelled: nothing to tell
    EXPECT_TRUE(SavePlotThroughDialog(Curve(10), plot).isEmpty());
    EXPECT_TRUE(r->messages.isEmpty());
    setServices(std::move(previous));
}

TEST_F(DiskFaultTest, AbandonedWriteLeavesTheOldFile) {
    try {
        TextFileWriter out(keep_.string());
        out.printText("new");
        throw RuntimeError(ErrorCode::Overflow);
    } catch (const RuntimeError&) {
    }
    EXPECT_EQ(Contents(keep_), "old contents\r\n");
    EXPECT_EQ(Listing(dir_), std::set<std::string>{"keep.txt"});
}

TEST_F(DiskFaultTest, ReadersReportAVanishedOrUnreadableFileAndChangeNothing) {
    auto rec = std::make_unique<RecordingServices>();
    RecordingServices* const r = rec.get();
    auto previous = setServices(std::move(rec));
    const fs::path model = dir_ / "model.elf";
    ASSERT_TRUE(Writers()[2].write(model.string()));
    const fs::path vanished = dir_ / "vanished.elf";
    fs::copy_file(model, vanished);
    fs::remove(vanished);
    const fs::path denied = dir_ / "denied.elf";
    fs::copy_file(model, denied);
    fs::permissions(denied, fs::perms::none);
    const fs::path pipe = dir_ / "pipe.elf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Gone, unreadable although it opens, a folder, a pipe without writer, a
    // device without end.
    std::vector<std::string> bad = {vanished.string(), "/proc/self/mem", dir_.string(), pipe.string(), "/dev/zero"};
    if (::access(denied.c_str(), R_OK) != 0) bad.push_back(denied.string());

    for (const auto& path : bad) {
        SCOPED_TRACE(path);
        SingleArray w0(0, 20), a0(0, 20), g(0, 20), al(0, 20);
        w0(1) = 7;
        float egap = 1, index = 2, ac = 3, bc = 4;
        int16_t num = 1;
        r->messages.clear();
        EXPECT_FALSE(ReadELFData(QString::fromStdString(path), w0, a0, g, al, egap, index, num, ac, bc));
        ASSERT_EQ(r->messages.size(), 1);
        EXPECT_TRUE(r->messages[0].text.contains(QString::fromStdString(path)));
        for (const ErrorCode code : {ErrorCode::FileNotFound, ErrorCode::PathFileAccess, ErrorCode::InputPastEnd})
            EXPECT_FALSE(r->messages[0].text.contains(QString::fromStdString(RuntimeError::defaultMessage(code))))
                << r->messages[0].text.toStdString();
        EXPECT_EQ(num, 1);
        EXPECT_EQ(w0(1), 7.0f);
        EXPECT_EQ(egap, 1.0f);
        EXPECT_EQ(bc, 4.0f);
        EXPECT_THROW(TextFileReader{path}, RuntimeError);
    }
    // The good file reads.
    SingleArray w0(0, 20), a0(0, 20), g(0, 20), al(0, 20);
    float egap = 1, index = 2, ac = 3, bc = 4;
    int16_t num = 1;
    EXPECT_TRUE(ReadELFData(QString::fromStdString(model.string()), w0, a0, g, al, egap, index, num, ac, bc));
    EXPECT_EQ(num, 20);
    EXPECT_EQ(w0(20), 20.0f);
    fs::permissions(denied, fs::perms::owner_all);
    setServices(std::move(previous));
}

TEST_F(DiskFaultTest, ReplacedFileKeepsItsPermissionsAndAFullLengthNameWorks) {
    const fs::path target = dir_ / std::string(255, 'n');
    for (const auto& w : Writers()) {
        SCOPED_TRACE(w.name);
        std::ofstream(target) << "x";
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_TRUE(w.write(target.string()));
        EXPECT_EQ(fs::status(target).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(Listing(dir_).size(), 2u);
    }
    // A file the user may not write is not replaced (root may write any).
    fs::permissions(keep_, fs::perms::owner_read);
    if (::access(keep_.c_str(), W_OK) != 0) {
        for (const auto& w : Writers()) expectFailure(w, keep_.string(), dir_);
    }
    fs::permissions(keep_, fs::perms::owner_all);
}
