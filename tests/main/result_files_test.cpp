// The save frames of the main window and the result files they write, read
// back from disk.
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cmath>

#include "main/result_files.h"
#include "model96_support.h"
#include "platform/numbers.h"
#include "pinned_result_file.h"

using namespace kelvara;
using namespace kelvara::testsupport;

namespace {

const QString kA = QStringLiteral("\u00C5");

QLineEdit* Line(Form1& form, const char* name) { return form.findChild<QLineEdit*>(QString::fromLatin1(name)); }
InfoBox* Notes(Form1& form, const char* name) { return form.findChild<InfoBox*>(QString::fromLatin1(name)); }

// The lines between "RESULTS OF THE CALCULATION:" and the column notes.
QStringList ResultLines(const QStringList& lines) {
    const auto from = lines.indexOf(QStringLiteral("RESULTS OF THE CALCULATION:"));
    const auto to = lines.indexOf(QStringLiteral("The effective cross section data are listed below in two columns:"));
    if (from < 0 || to < from) return {QStringLiteral("<missing>")};
    return lines.mid(from + 1, to - from - 1);
}

// Rows T = k*step with the values of the spectrum array, after the 0 0 row.
void ExpectRowsMatch(const std::vector<std::pair<double, double>>& rows, const SingleArray& curve) {
    const int n = static_cast<int>(curve(1));
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(n + 1));
    EXPECT_EQ(rows[0].first, 0.0);
    EXPECT_EQ(rows[0].second, 0.0);
    for (int i = 1; i <= n; ++i) {
        // The losses are a running sum of the step.
        EXPECT_NEAR(rows[static_cast<std::size_t>(i)].first, i * curve(3), 1e-5 * i);
        // Seven significant digits, as the file's print zones write a value.
        const double value = curve(i + 3);
        EXPECT_NEAR(rows[static_cast<std::size_t>(i)].second, value, 6e-7 * std::fabs(value)) << i;
    }
}

// The boxes of a page, by object name, set to the given texts.
void SetTexts(Form1& form, const std::vector<std::pair<const char*, const char*>>& texts) {
    for (const auto& [name, text] : texts) {
        auto* box = form.findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        box->setText(QString::fromUtf8(text));
    }
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Each page's calculation and the file of one of its curves, with the example
// model read through the page's own button, on a grid of four losses. The
// expected files were written by the program and read through line by line;
// lines end in CR LF in the file ("\n" here), and the line "{model}" stands
// for the model block (PinnedFileBytes).
struct PinnedPage {
    const char* name;
    const char* readButton;
    std::vector<std::pair<const char*, const char*>> boxes;
    const char* calcButton;
    const char* nameBox;
    const char* descriptionBox;
    const char* saveButton;
    const char* expected;
};

const char* const kPinnedModel96 = R"(Effective cross section for electron backscattered at depth X0 =20 Å
Calculated with Model 96 for any incidence and exit angle, eqs. (21)-(25)
Incidence angle = 30 exit angle = 0
ELF function from the file free_electron_metal.elf. Primary energy = 1000 eV.
pinned run
{model}

Total IMFP = 12.63 Å
Valence electr. contrib. IMFPv = 12.63 Å
Core electr. contrib. IMFPc = 203759.13 Å

Area of total K = 7.92E-02 (Å^-1)
Area of K_vacuum incomming trajectory = -8.26E-03 (Å^-1)
Area of K_vacuum outgoing trajectory = 8.92E-03 (Å^-1)
Area of K_medium incomming trajectory = 7.02E-02 (Å^-1)
Area of K_medium outgoing trajectory = 8.35E-03 (Å^-1)

The effective cross section data are listed below in two columns:
first column is the energy loss (eV)
second column is the cross section (ev^-1 Å^-1)
@
 0             0 
 5             0.00005687556 
 10            0.0006298189 
 15            0.01526455 
 20           -0.0001184573 
)";
const char* const kPinnedModelAB = R"(Effective cross section for electron backscattered at depth X0 =20 Å.
Calculated by Model B for normal incidence and exit, eq. (15)
ELF function from the file free_electron_metal.elf
Primary energy = 1000 eV.
pinned run
{model}

ModelB: Total IMFP = 24.03Å
Valence electr. contrib. IMFPv = 24.03Å
Core electr. contrib. IMFPc = 203759.13Å

Area of K_ModelB = 4.16E-02 (Å^-1)
Area of K_ModelA = 4.96E-02 (Å^-1)
Area of K_ModelA_in = 2.30E-02 (Å^-1)
Area of K_ModelA_out = 2.66E-02 (Å^-1)

The effective cross section data are listed below in two columns:
first column is the energy loss (eV)
second column is the cross section (ev^-1 Å^-1)
@
 0             0 
 5             0.00005762075 
 10            0.0001240601 
 15            0.007133281 
 20            0.001007453 
)";
const char* const kPinnedThinFilm = R"(Effective cross section for electron that has passed through a thin film
ELF function from the file free_electron_metal.elf
Primary energy = 1000 eV.
Film thickness = 50 Å.
pinned run
{model}

Total IMFP = 15.64Å
Valence electr. contrib. IMFPv = 15.64Å
Core electr. contrib. IMFPc = 203759.13Å

Area of K(T) from surface excitations = -5.29E-03 (Å^-1)
Area of K(T) from volume excitations = 6.92E-02 (Å^-1)
Total area of K(T) from all excitations = 6.40E-02 (Å^-1)

The effective cross section data are listed below in two columns:
first column is the energy loss (eV)
second column is the cross section (ev^-1 Å^-1)
@
 0             0 
 5             0.00005828823 
 10            0.0006769883 
 15            0.01095629 
 20            0.001098639 
)";
const char* const kPinnedInfiniteMedium = R"(Cross section in (eV^-1 Å^-1) for electron travelling in an infinite medium
ELF function from the file free_electron_metal.elf. 
Primary energy = 1000 eV.

pinned run
{model}
Total IMFP = 14.44Å
Valence electr. contrib. IMFPv = 14.44Å
Core electr. contrib. IMFPc = 203759.13Å

The effective cross section data are listed below in two columns:
first column is the energy loss (eV)
second column is the cross section (ev^-1 Å^-1)
@
 0             0 
 5             0.00002966355 
 10            0.0001046621 
 15            0.0125717 
 20            0.001141263 
)";

const PinnedPage kPinnedPages[] = {
    {"Model 96",
     "cmdELFfile96",
     {{"txtpar96Val_0", "1000"},
      {"txtpar96Val_1", "5"},
      {"txtpar96Val_2", "20"},
      {"txtpar96Val_3", "20"},
      {"txtpar96Val_4", "30"},
      {"txtpar96Val_5", "0"}},
     "cmdCalcKeffModel96",
     "txtSaveFile96",
     "Text7",
     "cmdSavekeff96",
     kPinnedModel96},
    {"Model A/B",
     "cmdELFfile92",
     {{"txtparABVal_0", "1000"}, {"txtparABVal_1", "5"}, {"txtparABVal_2", "20"}, {"txtparABVal_3", "20"}},
     "cmdCalcKeffModelAB",
     "txtoutfile",
     "txtDescription",
     "cmdSaveKModelB",
     kPinnedModelAB},
    {"thin film",
     "cmdReadELFModelAB92",
     {{"txtpartval_0", "1000"}, {"txtpartval_1", "50"}, {"txtpartval_2", "20"}, {"txtpartval_3", "5"}},
     "cmdCalcKeffthinfilm",
     "txtfilenametf",
     "Text12",
     "cmdSaveKeff",
     kPinnedThinFilm},
    {"infinite medium",
     "cmdReadELFInf",
     {{"txtparInfVal_0", "1000"}, {"txtparInfVal_2", "20"}, {"txtparInfVal_3", "5"}},
     "cmdCalcKInfFilm",
     "txtFileNameCrossSection",
     "txtFileDescription",
     "cmdSaveCrossSection",
     kPinnedInfiniteMedium},
};

// Runs a pinned page's calculation with the example model.
void CalculatePinned(Model96World& w, const PinnedPage& page) {
    w.form->Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    w.form->File1->setFileName(QString::fromLatin1(kExampleModel));
    w.rec->messages.clear();
    Click(w.form, page.readButton);
    SetTexts(*w.form, page.boxes);
    Click(w.form, page.calcButton);
    EXPECT_TRUE(w.rec->messages.isEmpty()) << page.name << ": " << w.rec->messages.first().text.toStdString();
}

} // namespace

// The header lines quote the run that made the curve: boxes edited and a
// model file of the same values read after the run change none of them.
TEST(ResultFiles, OneFileOfEachPageIsWrittenByteForByte) {
    Model96World& w = World();
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(KELVARA_SOURCE_DIR "/examples/") + QString::fromLatin1(kExampleModel),
                            dir.filePath(QStringLiteral("same_values.elf"))));
    for (const PinnedPage& page : kPinnedPages) {
        SCOPED_TRACE(page.name);
        CalculatePinned(w, page);
        for (const auto& box : page.boxes) Line(*w.form, box.first)->setText(QStringLiteral("7"));
        w.form->Dir1->setPath(dir.path());
        w.form->File1->setFileName(QStringLiteral("same_values.elf"));
        Click(w.form, page.readButton);
        Notes(*w.form, page.descriptionBox)->setText(QStringLiteral("pinned run"));
        Line(*w.form, page.nameBox)->setText(QStringLiteral("pinned.txt"));
        Click(w.form, page.saveButton);
        ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
        const QByteArray written = FileBytes(dir.filePath(QStringLiteral("pinned.txt")));
        EXPECT_EQ(written, PinnedFileBytes(page.expected));
        Notes(*w.form, page.descriptionBox)->setText(QString());
    }
}

// A page's save and show buttons use a shared curve only while it holds the
// page's own last run; another page's run that replaced it is named. The
// result line is always the page's own.
TEST(ResultFiles, ASavedCurveIsThePagesOwn) {
    Model96World& w = World();
    QTemporaryDir dir;
    const PinnedPage& model96 = kPinnedPages[0];
    const PinnedPage& modelAB = kPinnedPages[1];
    const PinnedPage& thinFilm = kPinnedPages[2];
    const PinnedPage& infinite = kPinnedPages[3];
    const QString again = QStringLiteral(", which ran after this page's. Calculate again on this page, then save.");
    const struct {
        const PinnedPage* saver; // calculates first
        const PinnedPage* other; // calculates next
        const char* saveButton;  // the saver's
        const char* replacedBy;  // the calculation named, none: the file is written
    } cases[] = {
        {&model96, &thinFilm, "cmdSavekeff96", "thin-film"},
        {&model96, &thinFilm, "cmdSavekvacin96", nullptr},
        {&thinFilm, &model96, "cmdSaveKeff", "Model 96"},
        {&thinFilm, &infinite, "cmdSaveKbulk", "infinite-medium"},
        {&thinFilm, &infinite, "cmdSaveKsurf", nullptr},
        {&infinite, &thinFilm, "cmdSaveCrossSection", "thin-film"},
        // Model A/B shares no curve, but ResultText: the file keeps Model 96's.
        {&model96, &modelAB, "cmdSavekeff96", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.saver->name) + " then " + c.other->name + ", " + c.saveButton);
        CalculatePinned(w, *c.saver);
        const QString ownResult = Module1::ResultText;
        CalculatePinned(w, *c.other);
        w.form->Dir1->setPath(dir.path());
        QFile::remove(dir.filePath(QStringLiteral("own.txt")));
        Line(*w.form, c.saver->nameBox)->setText(QStringLiteral("own.txt"));
        w.rec->messages.clear();
        Click(w.form, c.saveButton);
        if (c.replacedBy) {
            ASSERT_EQ(w.rec->messages.size(), 1);
            EXPECT_EQ(w.rec->messages[0].text,
                      QStringLiteral("Nothing was written: the curve now holds the result of the ") +
                          QString::fromLatin1(c.replacedBy) + QStringLiteral(" calculation") + again);
            EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("own.txt"))));
        } else {
            ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
            // The result line of the page's own run (none for a part).
            const bool withResult = QByteArray(c.saveButton) == "cmdSavekeff96";
            EXPECT_EQ(ResultLines(FileLines(dir.filePath(QStringLiteral("own.txt")))),
                      withResult ? (ownResult + QStringLiteral("\r\n")).split(QStringLiteral("\r\n"))
                                 : (QStringList{QString(), QString()}));
        }
    }
    // Another model read after the run: the file would name and list it.
    CalculatePinned(w, model96);
    w.form->File1->setFileName(QStringLiteral("oxide_sio2_like.elf"));
    Click(w.form, infinite.readButton);
    w.form->Dir1->setPath(dir.path());
    QFile::remove(dir.filePath(QStringLiteral("own.txt")));
    w.rec->messages.clear();
    Click(w.form, "cmdSavekeff96");
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.startsWith(
        QStringLiteral("Nothing was written: the oscillator model has changed since this page's calculation")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("own.txt"))));
}

TEST(ResultFiles, SaveFramesHoldTheirBoxesAndTheShowButtonsOpenThem) {
    Model96World& w = World();
    Form1& f = *w.form;
    // The hints are placeholder texts: the boxes themselves start empty.
    for (const char* name : {"txtoutfile", "txtFileNameCrossSection", "txtfilenametf", "txtSaveFile96"}) {
        QLineEdit* box = Line(f, name);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(box->text(), QString());
        EXPECT_EQ(box->placeholderText(), QStringLiteral("Enter file name here"));
        EXPECT_EQ(box->toolTip(), QStringLiteral("Write the name of the file where you wish to save the data. "));
    }
    const QString hint = QStringLiteral("You may write info here to be stored with the data.");
    for (const char* name : {"txtDescription", "Text12", "txtFileDescription", "Text7"}) {
        EXPECT_EQ(Notes(f, name)->text(), QString()) << name;
        EXPECT_EQ(Notes(f, name)->placeholderText(), hint) << name;
    }
    EXPECT_TRUE(Notes(f, "Text7")->toolTip().startsWith(QStringLiteral("The content of this text box is added")));

    // The thirteen save buttons sit in their frames.
    const std::pair<int, std::vector<const char*>> frames[] = {
        {0, {"cmdSaveKModelA", "cmdSaveKModelB", "cmdSaveKModelA_in", "cmdSaveKModelA_out"}},
        {1, {"cmdSaveCrossSection"}},
        {2, {"cmdSaveKeff", "cmdSaveKsurf", "cmdSaveKbulk"}},
        {3, {"cmdSavekeff96", "cmdSavekmediumin96", "cmdSavekmediumout96", "cmdSavekvacin96", "cmdSavekvacout96"}}};
    for (const auto& [index, names] : frames)
        for (const char* name : names)
            EXPECT_NE(f.frameSave(index)->findChild<QPushButton*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(f.findChild<QPushButton*>(QStringLiteral("cmdSavekmediumin96"))->text(), QStringLiteral("Save K medium in"));

    // The show buttons open their frames; the thin-film one waits for a calculation.
    for (int i = 0; i < 4; ++i) f.frameSave(i)->hide();
    Click(&f, "cmdSave96");
    EXPECT_FALSE(f.frameSave(3)->isHidden());
    Click(&f, "cmdSaveKModelsAB");
    EXPECT_FALSE(f.frameSave(0)->isHidden());
    Click(&f, "cmdSaveK");
    EXPECT_FALSE(f.frameSave(1)->isHidden());
    EXPECT_FALSE(f.findChild<QPushButton*>(QStringLiteral("cmdSavetf"))->isEnabled());
    ShowSaveFrame(f, 2);
    EXPECT_FALSE(f.frameSave(2)->isHidden());
    EXPECT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
}

TEST(ResultFiles, EachModel96SaveButtonWritesItsCurveUnderTheHeaderLines) {
    Model96World& w = World();
    Form1& f = *w.form;
    ReadExampleModel(w);
    SetBoxes(*w.page, Defaults());
    w.page->txtpar96Val[4]->setText(QStringLiteral("30"));
    w.page->cmdCalcKeffModel96->click();
    ASSERT_TRUE(w.rec->messages.isEmpty());

    QTemporaryDir dir;
    f.Dir1->setPath(dir.path());
    Notes(f, "Text7")->setText(QStringLiteral("first line\r\nsecond line\r\n"));
    struct Case {
        const char* button;
        const SingleArray* curve;
        const char* title;
        bool resultLine;
    };
    const Case cases[] = {
        {"cmdSavekeff96", &Module1::Keff, "Effective cross section for electron backscattered at depth X0 =", true},
        {"cmdSavekmediumin96", &Module1::Kmi,
         "Way in medium- Effective cross section for electron backscattered at depth X0 =", false},
        {"cmdSavekmediumout96", &Module1::Kmo,
         "Way out medium- Effective cross section for electron backscattered at depth X0 =", false},
        {"cmdSavekvacin96", &Module1::Kvi,
         "Way in vacuum-Effective cross section for electron backscattered at depth X0 =", false},
        {"cmdSavekvacout96", &Module1::Kvo,
         "Way out vacuum-Effective cross section for electron backscattered at depth X0 =", false}};
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.button) + QStringLiteral(".txt");
        Line(f, "txtSaveFile96")->setText(name);
        Click(&f, c.button);
        ASSERT_TRUE(w.rec->messages.isEmpty()) << c.button;
        EXPECT_NE(f.File1->findItems(name, Qt::MatchExactly).size(), 0) << "the file list shows the new file";
        const QStringList lines = FileLines(dir.filePath(name));
        ASSERT_GT(lines.size(), 110) << c.button;
        EXPECT_EQ(lines[0], QString::fromLatin1(c.title) + QStringLiteral("20 ") + kA);
        EXPECT_FALSE(lines[1].isEmpty());
        EXPECT_EQ(lines[2], QStringLiteral("Incidence angle = 30 exit angle = 0"));
        EXPECT_EQ(lines[3], QStringLiteral("ELF function from the file free_electron_metal.elf. Primary energy = 1000 eV."));
        // The description's line breaks give several header lines.
        EXPECT_EQ(lines[4], QStringLiteral("first line"));
        EXPECT_EQ(lines[5], QStringLiteral("second line"));
        EXPECT_EQ(lines[6], QString());
        EXPECT_TRUE(lines[7].startsWith(QStringLiteral("*****")));
        // The oscillator model applied.
        EXPECT_TRUE(lines.contains(QStringLiteral("ELF-data applied in the calculations:")));
        const QStringList result = ResultLines(lines);
        if (c.resultLine)
            EXPECT_EQ(result, (Module1::ResultText + QStringLiteral("\r\n")).split(QStringLiteral("\r\n")));
        else
            EXPECT_EQ(result, (QStringList{QString(), QString()}));
        ExpectRowsMatch(DataRows(lines), *c.curve);
        EXPECT_DOUBLE_EQ(DataRows(lines).back().first, 50.0);
    }

    // An existing file is replaced.
    Notes(f, "Text7")->setText(QStringLiteral("replaced"));
    Line(f, "txtSaveFile96")->setText(QStringLiteral("cmdSavekeff96.txt"));
    Click(&f, "cmdSavekeff96");
    EXPECT_EQ(FileLines(dir.filePath(QStringLiteral("cmdSavekeff96.txt")))[4], QStringLiteral("replaced"));
    EXPECT_TRUE(w.rec->messages.isEmpty());
    SetBoxes(*w.page, Defaults());
}

TEST(ResultFiles, RefusedNamesAndUnwritableFoldersAreReported) {
    Model96World& w = World();
    Form1& f = *w.form;
    ReadExampleModel(w);
    SetBoxes(*w.page, Defaults());
    w.page->cmdCalcKeffModel96->click();
    ASSERT_TRUE(w.rec->messages.isEmpty());
    QTemporaryDir dir;
    f.Dir1->setPath(dir.path());
    // Names that are not plain and the untouched (empty) box are refused
    // naming the box; a long name is quoted by its start.
    const QString longName = QStringLiteral("sub/") + QString(300, QLatin1Char('k'));
    const struct {
        QString name;
        QString message;
    } cases[] = {
        {QStringLiteral("sub/k.txt"),
         QStringLiteral("The box \"File name\" holds \"sub/k.txt\": a file name may not hold a folder or \"..\".")},
        {QStringLiteral(".."), {}},
        {QStringLiteral("../k.txt"), {}},
        {QStringLiteral("a\\b.txt"), {}},
        {longName, QStringLiteral("The box \"File name\" holds \"") + longName.left(40) +
                       QStringLiteral("...\": a file name may not hold a folder or \"..\".")},
        {QString(), QStringLiteral("The box \"File name\" is empty: type the name of the file to write.")},
    };
    for (const auto& c : cases) {
        w.rec->messages.clear();
        Line(f, "txtSaveFile96")->setText(c.name);
        Click(&f, "cmdSavekeff96");
        ASSERT_EQ(w.rec->messages.size(), 1) << c.name.toStdString();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(w.rec->messages[0].text.startsWith(QStringLiteral("The box \"File name\" holds \"") + c.name));
        } else {
            EXPECT_EQ(w.rec->messages[0].text, c.message);
        }
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("../k.txt"))));

    // A folder that went away after it was chosen.
    const QString gone = dir.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkdir(gone));
    f.Dir1->setPath(gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    w.rec->messages.clear();
    Line(f, "txtSaveFile96")->setText(QStringLiteral("k96.txt"));
    Click(&f, "cmdSavekvacin96");
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(w.rec->messages[0].text, QStringLiteral("The file could not be written: ") + gone + QStringLiteral("/k96.txt"));
    f.Dir1->setPath(dir.path());
}

TEST(ResultFiles, TheOtherPagesSaveTheirArraysUnderTheirOwnHeaders) {
    Model96World& w = World();
    Form1& f = *w.form;
    QTemporaryDir dir;
    ReadExampleModel(w);
    f.Dir1->setPath(dir.path());

    // Before its page's calculation no save button writes, and each says why.
    const struct {
        const char* nameBox;
        const char* button;
    } unsaved[] = {{"txtoutfile", "cmdSaveKModelB"},
                   {"txtfilenametf", "cmdSaveKsurf"},
                   {"txtFileNameCrossSection", "cmdSaveCrossSection"},
                   {"txtSaveFile96", "cmdSavekvacout96"}};
    for (const auto& u : unsaved) {
        w.rec->messages.clear();
        Line(f, u.nameBox)->setText(QStringLiteral("early.txt"));
        Click(&f, u.button);
        ASSERT_EQ(w.rec->messages.size(), 1) << u.button;
        EXPECT_EQ(w.rec->messages[0].text,
                  QStringLiteral("Nothing was written: there is no result to save yet. Calculate first, then save."));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("early.txt"))));

    // A run that fails after the library has rewritten the curves (no core
    // mean free path for ac = 0) leaves nothing to save either.
    w.rec->messages.clear();
    SetBoxes(*w.page, Defaults());
    w.page->cmdCalcKeffModel96->click();
    ASSERT_TRUE(w.rec->messages.isEmpty());
    const float ac = Module1::Core_ac;
    Module1::Core_ac = 0.0f;
    w.page->cmdCalcKeffModel96->click();
    Module1::Core_ac = ac;
    w.rec->messages.clear();
    Click(&f, "cmdSavekvacout96");
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.startsWith(QStringLiteral("Nothing was written: the last calculation")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("early.txt"))));
    w.rec->messages.clear();

    f.findChild<QLineEdit*>(QStringLiteral("txtparABVal_3"))->setText(QStringLiteral("15"));
    Click(&f, "cmdCalcKeffModelAB");
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    f.findChild<QLineEdit*>(QStringLiteral("txtELFfileAB_0"))->setText(QStringLiteral("m.elf"));
    Notes(f, "txtDescription")->setText(QStringLiteral("ab notes"));
    Line(f, "txtoutfile")->setText(QStringLiteral("a.txt"));
    Click(&f, "cmdSaveKModelA");
    QStringList lines = FileLines(dir.filePath(QStringLiteral("a.txt")));
    ASSERT_GT(lines.size(), 10);
    EXPECT_EQ(lines[0], QStringLiteral("Effective cross section for electron backscattered at depth X0 =15 ") + kA +
                            QStringLiteral("."));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("Model A")));
    EXPECT_EQ(lines[2], QStringLiteral("ELF function from the file ") + kExampleModel); // the model read, not the box
    EXPECT_EQ(lines[3], QStringLiteral("Primary energy = 1000 eV."));
    EXPECT_EQ(lines[4], QStringLiteral("ab notes"));
    EXPECT_EQ(ResultLines(lines), (Module1::ResultText + QStringLiteral("\r\n")).split(QStringLiteral("\r\n")));
    ExpectRowsMatch(DataRows(lines), Module1::KModelA);
    Line(f, "txtoutfile")->setText(QStringLiteral("b.txt"));
    Click(&f, "cmdSaveKModelB");
    lines = FileLines(dir.filePath(QStringLiteral("b.txt")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("Model B")));
    ExpectRowsMatch(DataRows(lines), Module1::KModelB);
    Line(f, "txtoutfile")->setText(QStringLiteral("a_in.txt"));
    Click(&f, "cmdSaveKModelA_in");
    lines = FileLines(dir.filePath(QStringLiteral("a_in.txt")));
    EXPECT_EQ(lines[0], QStringLiteral("Way in - Effective cross section for electron backscattered at depth X0 =15 ") +
                            kA + QStringLiteral("."));
    EXPECT_EQ(ResultLines(lines), (QStringList{QString(), QString()}));

    // Thin film.
    Click(&f, "cmdCalcKeffthinfilm");
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    f.findChild<QLineEdit*>(QStringLiteral("txtELFfilethinfilm"))->setText(QStringLiteral("t.elf"));
    Notes(f, "Text12")->setText(QStringLiteral("tf"));
    Line(f, "txtfilenametf")->setText(QStringLiteral("tf.txt"));
    Click(&f, "cmdSaveKsurf");
    lines = FileLines(dir.filePath(QStringLiteral("tf.txt")));
    ASSERT_GT(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("Surface contribution to the effective cross section for electron that has "
                                       "passed through a thin film"));
    EXPECT_EQ(lines[1], QStringLiteral("ELF function from the file ") + kExampleModel);
    EXPECT_EQ(lines[2], QStringLiteral("Primary energy = 1000 eV."));
    EXPECT_EQ(lines[3], QStringLiteral("Film thickness = 50 ") + kA + QStringLiteral("."));
    EXPECT_EQ(lines[4], QStringLiteral("tf"));
    ExpectRowsMatch(DataRows(lines), Module1::Ksurf);

    // Infinite medium.
    Click(&f, "cmdCalcKInfFilm");
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    f.findChild<QLineEdit*>(QStringLiteral("txtELFfileInf"))->setText(QStringLiteral("i.elf"));
    Notes(f, "txtFileDescription")->setText(QStringLiteral("inf"));
    Line(f, "txtFileNameCrossSection")->setText(QStringLiteral("inf.txt"));
    Click(&f, "cmdSaveCrossSection");
    lines = FileLines(dir.filePath(QStringLiteral("inf.txt")));
    ASSERT_GT(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("Cross section in (eV^-1 ") + kA +
                            QStringLiteral("^-1) for electron travelling in an infinite medium"));
    EXPECT_EQ(lines[1], QStringLiteral("ELF function from the file ") + kExampleModel + QStringLiteral(". "));
    EXPECT_EQ(lines[2], QStringLiteral("Primary energy = 1000 eV."));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], QStringLiteral("inf"));
    ExpectRowsMatch(DataRows(lines), Module1::Kbulk);
    EXPECT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
}

// The description box of every save frame takes what the user types, and
// the typed lines head the file.
TEST(ResultFiles, TheUserTypesTheDescriptionThatHeadsTheFile) {
    Model96World& w = World();
    Form1& f = *w.form;
    for (const char* name : {"txtDescription", "Text12", "txtFileDescription", "Text7"}) {
        InfoBox* notes = Notes(f, name);
        ASSERT_NE(notes, nullptr) << name;
        EXPECT_FALSE(notes->isReadOnly()) << name;
    }
    InfoBox* notes = Notes(f, "Text7");
    notes->selectAll();
    const auto type = [notes](Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(notes, &press);
    };
    for (const QChar c : QStringLiteral("Ag sample"))
        type(c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_A, QString(c));
    type(Qt::Key_Return, QStringLiteral("\r"));
    for (const QChar c : QStringLiteral("run 2")) type(Qt::Key_A, QString(c));
    EXPECT_EQ(notes->text(), QStringLiteral("Ag sample\r\nrun 2"));

    ReadExampleModel(w);
    SetBoxes(*w.page, Defaults());
    w.page->cmdCalcKeffModel96->click();
    ASSERT_TRUE(w.rec->messages.isEmpty());
    QTemporaryDir dir;
    f.Dir1->setPath(dir.path());
    Line(f, "txtSaveFile96")->setText(QStringLiteral("typed.txt"));
    Click(&f, "cmdSavekeff96");
    ASSERT_TRUE(w.rec->messages.isEmpty());
    const QStringList lines = FileLines(dir.filePath(QStringLiteral("typed.txt")));
    ASSERT_GT(lines.size(), 6);
    EXPECT_EQ(lines[4], QStringLiteral("Ag sample"));
    EXPECT_EQ(lines[5], QStringLiteral("run 2"));
    notes->setText(QStringLiteral("You may write info here to be stored with the data.\r\n"));
}

// "Save the combined spectrum": the dialog opens in the browser's folder, and
// a file that cannot be written is reported with its path.
TEST(ResultFiles, TheCombinedSpectrumSaveOpensInTheBrowserFolderAndReportsFailures) {
    Model96World& w = World();
    Form1& f = *w.form;
    QTemporaryDir dir;
    f.Dir1->setPath(dir.path());
    const QString target = dir.filePath(QStringLiteral("missing/combined.txt"));
    w.rec->nextFileName = target;
    Module1::PlotBuf(1) = 1; // one point: a buffer without points is not saved
    Click(f.Frame3, "cmdSavePlotLoss");
    EXPECT_EQ(w.rec->lastFolder, dir.path());
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(w.rec->messages[0].text, QStringLiteral("The file could not be written: ") + target);
    EXPECT_FALSE(QFile::exists(target));

    w.rec->messages.clear();
    w.rec->nextFileName = dir.filePath(QStringLiteral("combined.txt"));
    Click(f.Frame3, "cmdSavePlotLoss");
    EXPECT_TRUE(w.rec->messages.isEmpty());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("combined.txt"))));
    w.rec->nextFileName.clear();
}
