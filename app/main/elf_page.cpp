#include "main/elf_page.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "main/form1.h"
#include "platform/crlf.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "shared/result_file.h"
#include "state/module1.h"
#include "widgets/controls.h"
#include "widgets/guard.h"
#include "widgets/services.h"
#include "widgets/twips.h"

namespace kelvara {

void cmdPlotELF_Click(Form1& form) {
    const auto box = [&form](const char* name) {
        auto* b = form.findChild<QLineEdit*>(QString::fromLatin1(name));
        if (!b) raise(ErrorCode::ObjectRequired);
        return b;
    };
    // A step or maximum that is not positive gives no curve: refused with
    // the box named, before the program-wide grid is changed.
    QLineEdit* maxBox = box("txtE_max");
    const float step = BoxPositive(box("txtE_step"));
    const float max = BoxPositive(maxBox);
    Module1::Estep = step;
    Module1::Emax = max;
    if (TooManyGridPoints(max, step)) {
        services().messageBox(TooManyPointsMessage(BoxCaption(maxBox), maxBox->text()));
        return;
    }
    PlotModelLossFunction(form);
}

namespace {

// A number written by the program shows from its first digit (a box too
// narrow for it would otherwise show its end only); the whole number is in
// the tool tip.
void ShowText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
    box->setCursorPosition(0);
    box->setToolTip(box->text());
}

// A value of the model: the shortest text that reads back as the value itself,
// so that a table left as it was filled holds the model it shows.
void ShowNumber(QLineEdit* box, float value) { ShowText(box, RoundTripText(value)); }

float Number(const TextBox* box) { return ToSingle(box->text().toStdString()); }

// Raises FillingBoxes for its lifetime and lowers it on every way out.
class FillingTable {
public:
    FillingTable() { Module1::FillingBoxes = True; }
    ~FillingTable() { Module1::FillingBoxes = False; }
    FillingTable(const FillingTable&) = delete;
    FillingTable& operator=(const FillingTable&) = delete;
};

} // namespace

ElfPage::ElfPage(Form1& form) : QObject(&form), form_(form) {
    static_assert(kRows == kOscillatorUpper, "one table row per oscillator of the model");
    setObjectName(QStringLiteral("ElfPage"));
    build();
    // Any other drawing starts with a clear: the plot then shows a curve again.
    connect(&form, &Form1::plotCleared, this, [this] {
        if (!clearingPlot_) plotBlank_ = false;
    });
    layout();
    connect(&form, &Form1::layoutDone, this, [this] {
        // The start-up layout has put the info frame back at its place.
        infoPlace_ = QRect();
        arrangeInfoFrame_ = form_.page(4)->isVisible();
        layout();
    });
    form.page(4)->installEventFilter(this);
}

TextBox* ElfPage::txtw0(int i) const { return w0_.at(static_cast<std::size_t>(i)); }
TextBox* ElfPage::txtA0(int i) const { return a0_.at(static_cast<std::size_t>(i)); }
TextBox* ElfPage::txtgamma(int i) const { return gamma_.at(static_cast<std::size_t>(i)); }
TextBox* ElfPage::txtalfa(int i) const { return alfa_.at(static_cast<std::size_t>(i)); }

// ---- construction
// --------------------------------------------------------------

TextBox* ElfPage::addBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width) {
    auto* box = MakeNamed<TextBox>(parent, name);
    box->setText(text);
    box->setCursorPosition(0);
    box->setGeometry(x, y, width, 20);
    return box;
}

QLabel* ElfPage::addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, height);
    return label;
}

void ElfPage::build() {
    QWidget* page = form_.page(4);

    // File name, count.
    addLabel(page, QStringLiteral("File name"), 10, 22, 60)->setObjectName(QStringLiteral("lblELFFilename"));
    txtELFFilename = addBox(page, QStringLiteral("txtELFFilename"), QString(), 72, 22, 196);
    addLabel(page, QStringLiteral("Number of oscillators ="), 276, 22, 140)
        ->setObjectName(QStringLiteral("lblNELFdata"));
    txtNELFdata = addBox(page, QStringLiteral("txtNELFdata"), QString(), 420, 22, 50);

    // Buttons of the model file.
    auto* read = MakeButton(page, QStringLiteral("cmdReadELFdata"), QStringLiteral("Read"), 10, 52, 90);
    auto* save = MakeButton(page, QStringLiteral("cmdSaveELFdata"), QStringLiteral("Save"), 10, 82, 90);
    auto* sort = MakeButton(page, QStringLiteral("cmdSortOscillators"), QStringLiteral("Sort osc"), 10, 112, 90);

    // The table: one row per oscillator.
    const int x0 = 110;
    const int colW = 60;
    const char* const headers[4] = {"  w0", "  A0", "gamma", "alpha"};
    for (int c = 0; c < 4; ++c)
        headers_[static_cast<std::size_t>(c)] =
            addLabel(page, QString::fromLatin1(headers[c]), x0 + c * (colW + 2), 46, colW, 16);
    // The rows scroll below the column labels where the page is too low for
    // all of them (placed by layout()).
    rows_ = MakeNamed<QScrollArea>(page, QStringLiteral("scrollOscillators"));
    rows_->setFrameShape(QFrame::NoFrame);
    rows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows_->setGeometry(x0, 63, 4 * (colW + 2), kRows * 20);
    auto* table = new QWidget;
    table->setObjectName(QStringLiteral("tableOscillators"));
    table->resize(4 * (colW + 2), kRows * 20);
    rows_->setWidget(table);
    const char* const columns[4] = {"w0", "A0", "gamma", "alpha"};
    for (int i = 1; i <= kRows; ++i) {
        const int y = (i - 1) * 20;
        const auto idx = static_cast<std::size_t>(i);
        w0_[idx] = addBox(table, ArrayName(QStringLiteral("txtw0"), i), QString(), 0, y, colW);
        a0_[idx] = addBox(table, ArrayName(QStringLiteral("txtA0"), i), QString(), colW + 2, y, colW);
        gamma_[idx] = addBox(table, ArrayName(QStringLiteral("txtgamma"), i), QString(), 2 * (colW + 2), y, colW);
        alfa_[idx] = addBox(table, ArrayName(QStringLiteral("txtalfa"), i), QString(), 3 * (colW + 2), y, colW);
        const std::array<TextBox*, 4> row{txtw0(i), txtA0(i), txtgamma(i), txtalfa(i)};
        for (int c = 0; c < 4; ++c)
            SetBoxCaption(row[static_cast<std::size_t>(c)],
                          QStringLiteral("%1 in row %2").arg(QLatin1String(columns[c])).arg(i));
    }

    // Core excitations, gap, plot grid.
    frameCoreExcitations =
        MakeNamed<Frame>(page, QStringLiteral("frameCoreExcitations"), QStringLiteral("Core excitations"));
    frameCoreExcitations->setGeometry(364, 44, 116, 70);
    addLabel(frameCoreExcitations, QStringLiteral("ac"), 8, 20, 24)->setObjectName(QStringLiteral("lblCore_ac"));
    txt_Core_ac = addBox(frameCoreExcitations, QStringLiteral("txt_Core_ac"), QStringLiteral("0.001"), 36, 20, 72);
    addLabel(frameCoreExcitations, QStringLiteral("bc"), 8, 44, 24)->setObjectName(QStringLiteral("lblCore_bc"));
    txt_Core_bc = addBox(frameCoreExcitations, QStringLiteral("txt_Core_bc"), QStringLiteral("-2"), 36, 44, 72);

    addLabel(page, QStringLiteral("E_Gap="), 366, 120, 46)->setObjectName(QStringLiteral("lblE_Gap"));
    txtE_Gap = addBox(page, QStringLiteral("txtE_Gap"), QStringLiteral("0"), 414, 120, 60);

    framePlotELF = MakeNamed<Frame>(page, QStringLiteral("framePlotELF"), QStringLiteral("Plot ELF"));
    framePlotELF->setGeometry(364, 146, 116, 110);
    addLabel(framePlotELF, QStringLiteral("E_step="), 6, 20, 50)->setObjectName(QStringLiteral("lblE_step"));
    txtE_step = addBox(framePlotELF, QStringLiteral("txtE_step"), QStringLiteral("0.2"), 58, 20, 50);
    addLabel(framePlotELF, QStringLiteral("E_Max ="), 6, 46, 50)->setObjectName(QStringLiteral("lblE_max"));
    txtE_max = addBox(framePlotELF, QStringLiteral("txtE_max"), QStringLiteral("100"), 58, 46, 50);
    SetBoxCaption(txt_Core_ac, QStringLiteral("ac"));
    SetBoxCaption(txt_Core_bc, QStringLiteral("bc"));
    SetBoxCaption(txtE_Gap, QStringLiteral("E_Gap"));
    SetBoxCaption(txtE_step, QStringLiteral("E_step"));
    SetBoxCaption(txtE_max, QStringLiteral("E_Max"));
    auto* plot = MakeButton(framePlotELF, QStringLiteral("cmdPlotELF"), QStringLiteral("Plot ELF"), 6, 74, 102);

    // The sum rule (placed by layout()).
    frameCheckSumRules =
        MakeNamed<Frame>(page, QStringLiteral("frameCheckSumRules"), QStringLiteral("Check for KK-Sum Rule"));
    frameCheckSumRules->setAutoFillBackground(true);
    addLabel(frameCheckSumRules, QStringLiteral("Refr. index = "), 8, 22, 80)
        ->setObjectName(QStringLiteral("lblRef_Index"));
    txtRef_Index = addBox(frameCheckSumRules, QStringLiteral("txtRef_Index"), QStringLiteral("999"), 88, 22, 60);
    addLabel(frameCheckSumRules, QStringLiteral("KK-sum ="), 8, 48, 80)->setObjectName(QStringLiteral("lblfsum"));
    SetBoxCaption(txtRef_Index, QStringLiteral("Refr. index"));
    txtfsum = addBox(frameCheckSumRules, QStringLiteral("txtfsum"), QString(), 88, 48, 60);
    auto* typical = MakeButton(frameCheckSumRules, QStringLiteral("cmdTypicalRefrIndexValues"),
                               QStringLiteral("Typical Refr.Index values"), 154, 20, 140, 24);
    auto* what = MakeButton(frameCheckSumRules, QStringLiteral("cmdWhatIsKK_SumRule"),
                            QStringLiteral("What is KK - sum rule"), 154, 46, 140, 24);
    auto* rescale = MakeButton(frameCheckSumRules, QStringLiteral("cmdAutoRescaleInt"),
                               QStringLiteral("Auto Rescale Intensities A0 to fulfill KK-sum rule"), 8, 78, 286, 26);

    // Handlers.
    connectGuarded(read, &QPushButton::clicked, this, [this](bool) { cmdReadELFdata_Click(); });
    connectGuarded(save, &QPushButton::clicked, this, [this](bool) { cmdSaveELFdata_Click(); });
    connectGuarded(sort, &QPushButton::clicked, this, [this](bool) { cmdSortOscillators_Click(); });
    connectGuarded(plot, &QPushButton::clicked, this, [this](bool) { cmdPlotELF_Click(); });
    connectGuarded(typical, &QPushButton::clicked, this, [this](bool) { cmdTypicalRefrIndexValues_Click(); });
    connectGuarded(what, &QPushButton::clicked, this, [this](bool) { cmdWhatIsKK_SumRule_Click(); });
    connectGuarded(rescale, &QPushButton::clicked, this, [this](bool) { cmdAutoRescaleInt_Click(); });
    for (int i = 1; i <= kRows; ++i) {
        connectGuarded(txtw0(i), &QLineEdit::textChanged, this, [this, i](const QString&) { txtw0_Change(i); });
        connectGuarded(txtA0(i), &QLineEdit::textChanged, this, [this, i](const QString&) { txtA0_Change(i); });
        connectGuarded(txtgamma(i), &QLineEdit::textChanged, this, [this, i](const QString&) { txtgamma_Change(i); });
    }
    // alpha, ac and bc enter the model at the next update; an edit of them
    // judges the table (OwnBoxChanged).
    for (int i = 1; i <= kRows; ++i)
        connectGuarded(txtalfa(i), &QLineEdit::textChanged, this, [this](const QString&) { OwnBoxChanged(); });
    for (TextBox* box : {txt_Core_ac, txt_Core_bc})
        connectGuarded(box, &QLineEdit::textChanged, this, [this](const QString&) { OwnBoxChanged(); });
    connectGuarded(txtE_Gap, &QLineEdit::textChanged, this, [this](const QString&) { txtE_Gap_Change(); });
    connectGuarded(txtRef_Index, &QLineEdit::textChanged, this, [this](const QString&) { txtRef_Index_Change(); });
}

namespace {
// Room a one-line box needs around its text (frame and margins).
constexpr int kBoxPadding = 10;

// The width a number box needs to show a number of seven significant digits
// whole, e.g. 0.9771528.
int NumberBoxWidth(const QFontMetrics& fm) { return fm.horizontalAdvance(QStringLiteral("0.0000000")) + kBoxPadding; }

int TextWidth(const QFontMetrics& fm, const QString& text) { return fm.horizontalAdvance(text); }

// A button's width for its caption at the normal font.
int ButtonWidth(const QFontMetrics& fm, const QString& caption) {
    int widest = 0;
    for (const QString& line : caption.split(QLatin1Char('\n'))) widest = std::max(widest, fm.horizontalAdvance(line));
    return widest + 16;
}

// The rescale button's caption on one, two or three lines.
const char* const kRescaleCaptions[3] = {"Auto Rescale Intensities A0 to fulfill KK-sum rule",
                                         "Auto Rescale Intensities A0\nto fulfill KK-sum rule",
                                         "Auto Rescale\nIntensities A0 to\nfulfill KK-sum rule"};
} // namespace

void ElfPage::layout() {
    QWidget* page = form_.page(4);
    const QFontMetrics fm(page->font());
    const int number = NumberBoxWidth(fm);
    const int row = std::max(20, fm.height() + 6);

    // File name and the number of oscillators.
    const auto place = [](QWidget* w, int x, int y, int width, int height) { w->setGeometry(x, y, width, height); };
    QLabel* nameLabel = page->findChild<QLabel*>(QStringLiteral("lblELFFilename"));
    const int nameLabelW = TextWidth(fm, nameLabel->text()) + 6;
    place(nameLabel, 8, 20, nameLabelW, row);
    const int nameW = TextWidth(fm, QStringLiteral("semiconductor_si_like.elf")) + kBoxPadding + 10;
    place(txtELFFilename, 8 + nameLabelW, 20, nameW, row);

    // The buttons of the model file: a column at the left, or a row after
    // the file name where the screen is too narrow for the column.
    int buttonW = 0;
    const char* buttons[4] = {"cmdReadELFdata", "cmdSaveELFdata", "cmdSortOscillators", "cmdCancelELF_0"};
    for (const char* name : buttons)
        if (auto* b = page->findChild<QPushButton*>(QString::fromLatin1(name)))
            buttonW = std::max(buttonW, ButtonWidth(fm, b->text()));

    // Column C: core excitations, gap, plot grid.
    const int labelW = std::max({TextWidth(fm, QStringLiteral("E_step=")), TextWidth(fm, QStringLiteral("E_Max =")),
                                 TextWidth(fm, QStringLiteral("E_Gap="))}) +
                       6;
    const int columnW = 8 + labelW + number + 8;

    // The sum-rule panel at its narrowest: the hint buttons in one column.
    auto* typical = frameCheckSumRules->findChild<QPushButton*>(QStringLiteral("cmdTypicalRefrIndexValues"));
    auto* what = frameCheckSumRules->findChild<QPushButton*>(QStringLiteral("cmdWhatIsKK_SumRule"));
    auto* rescale = frameCheckSumRules->findChild<QPushButton*>(QStringLiteral("cmdAutoRescaleInt"));
    const int hintW = std::max(ButtonWidth(fm, typical->text()), ButtonWidth(fm, what->text()));
    const int panelMin = std::max(hintW, ButtonWidth(fm, QString::fromLatin1(kRescaleCaptions[2]))) + 20;

    Frame* info = form_.frameinfo(4);
    const int infoLeft = (infoPlace_.isValid() ? infoPlace_ : info->geometry()).left();
    const int visibleRight = TwipsToPixelsX(ScreenWidthTwips()) - page->x() - 24;
    const int minCell = TextWidth(fm, QStringLiteral("0.00000")) + kBoxPadding; // six digits
    // The rows that the page holds above its lower edge (less the room of
    // "Main menu" below the table); the width of the scroll bar beside the
    // rows when they do not all fit.
    const auto rowsShown = [&](int menuRoom) {
        return std::clamp((page->height() - 6 - 63 - menuRoom) / row, 3, kRows);
    };
    const int scrollBarW = rows_->verticalScrollBar()->sizeHint().width();
    const auto scrollBarFor = [&](int menuRoom) { return rowsShown(menuRoom) < kRows ? scrollBarW : 0; };
    // The scroll bar itself parts the rows from column C: it takes the most
    // of the gap there.
    const auto extraFor = [&](int menuRoom) { return std::max(0, scrollBarFor(menuRoom) - 4); };
    // Standard: buttons at the left, the table and column C left of the info frame.
    int x0 = 8 + buttonW + 6;
    int cell = std::min(number, (infoLeft - 6 - columnW - 6 - x0 - extraFor(0)) / 4 - 2);
    const bool narrow = cell < minCell;
    QLabel* countLabel = page->findChild<QLabel*>(QStringLiteral("lblNELFdata"));
    if (!narrow) {
        for (int k = 0; k < 3; ++k)
            place(page->findChild<QPushButton*>(QString::fromLatin1(buttons[k])), 8, 50 + k * 30, buttonW, 26);
    } else {
        // Narrow: the buttons in the first row, the table from the left edge,
        // the info frame (while the page is shown) right of column C.
        int bx = txtELFFilename->geometry().right() + 8;
        for (int k = 0; k < 3; ++k) {
            auto* b = page->findChild<QPushButton*>(QString::fromLatin1(buttons[k]));
            if (!b) continue;
            const int bw = ButtonWidth(fm, b->text());
            place(b, bx, 18, bw, 26);
            bx += bw + 4;
        }
        x0 = 8;
        cell = std::clamp((visibleRight - panelMin - 6 - columnW - 6 - x0 - extraFor(32)) / 4 - 2, minCell, number);
    }
    const int tableWidth = 4 * (cell + 2);
    for (int c = 0; c < 4; ++c) place(headers_[static_cast<std::size_t>(c)], x0 + c * (cell + 2), 46, cell, 16);
    for (int i = 1; i <= kRows; ++i) {
        const int y = (i - 1) * row;
        place(txtw0(i), 0, y, cell, row);
        place(txtA0(i), cell + 2, y, cell, row);
        place(txtgamma(i), 2 * (cell + 2), y, cell, row);
        place(txtalfa(i), 3 * (cell + 2), y, cell, row);
    }
    rows_->widget()->resize(tableWidth, kRows * row);
    // "Main menu" stands below the table where the table starts at the left edge.
    const int menuRoom = narrow ? 32 : 0;
    const int shown = rowsShown(menuRoom);
    const int scrollBar = scrollBarFor(menuRoom);
    place(rows_, x0, 63, tableWidth + scrollBar, shown * row);
    const int tableRight = x0 + tableWidth + scrollBar;
    const int tableBottom = 63 + shown * row;
    const int cx = tableRight + 6 - (scrollBar > 0 ? 4 : 0);
    const int countW = TextWidth(fm, countLabel->text()) + 6;
    int columnTop = 44;
    if (!narrow) {
        const int countX = txtELFFilename->geometry().right() + 8;
        if (countX + countW + 40 <= infoLeft - 6) {
            place(countLabel, countX, 20, countW, row);
            place(txtNELFdata, countX + countW, 20, 40, row);
        } else {
            countLabel->setWordWrap(true);
            place(countLabel, 8, 142, buttonW, 2 * fm.height() + 4);
            place(txtNELFdata, 8, 142 + 2 * fm.height() + 6, std::min(buttonW, 48), row);
        }
        if (auto* menu = page->findChild<QPushButton*>(QStringLiteral("cmdCancelELF_0")))
            place(menu, 8, std::max(menu->y(), tableBottom - 26), buttonW, 26);
    } else {
        // The count heads column C (its label on two lines when it must);
        // "Main menu" below the table.
        const bool oneLine = countW + 44 <= columnW;
        countLabel->setWordWrap(!oneLine);
        const int countH = oneLine ? row : 2 * fm.height() + 2;
        place(countLabel, cx, 48, columnW - 44, countH);
        place(txtNELFdata, cx + columnW - 40, 48 + (countH - row) / 2, 40, row);
        columnTop = 48 + countH + 2;
        if (auto* menu = page->findChild<QPushButton*>(QStringLiteral("cmdCancelELF_0")))
            place(menu, 8, tableBottom + 4, buttonW, 26);
    }

    // Column C beside the table.
    place(frameCoreExcitations, cx, columnTop, columnW, 20 + 2 * (row + 4) + 4);
    const int boxX = 8 + labelW;
    place(frameCoreExcitations->findChild<QLabel*>(QStringLiteral("lblCore_ac")), 8, 20, labelW, row);
    place(txt_Core_ac, boxX, 20, number, row);
    place(frameCoreExcitations->findChild<QLabel*>(QStringLiteral("lblCore_bc")), 8, 20 + row + 4, labelW, row);
    place(txt_Core_bc, boxX, 20 + row + 4, number, row);
    const int gapY = frameCoreExcitations->geometry().bottom() + 6;
    place(page->findChild<QLabel*>(QStringLiteral("lblE_Gap")), cx + 2, gapY, labelW + 6, row);
    place(txtE_Gap, cx + boxX, gapY, number, row);
    const int plotY = gapY + row + 6;
    place(framePlotELF, cx, plotY, columnW, 20 + 2 * (row + 4) + 30);
    place(framePlotELF->findChild<QLabel*>(QStringLiteral("lblE_step")), 8, 20, labelW, row);
    place(txtE_step, boxX, 20, number, row);
    place(framePlotELF->findChild<QLabel*>(QStringLiteral("lblE_max")), 8, 20 + row + 4, labelW, row);
    place(txtE_max, boxX, 20 + row + 4, number, row);
    place(framePlotELF->findChild<QPushButton*>(QStringLiteral("cmdPlotELF")), 8, 20 + 2 * (row + 4), columnW - 16, 26);
    const int columnRight = cx + columnW;

    // The info frame keeps its place unless the controls reach into it; then,
    // while the page is shown, it stands right of column C and as wide as the
    // screen leaves (the start-up layout puts it back for every page).
    if (arrangeInfoFrame_) {
        if (!infoPlace_.isValid()) infoPlace_ = info->geometry();
        QRect r = infoPlace_;
        if (r.left() < columnRight + 6) {
            r.moveLeft(columnRight + 6);
            r.setWidth(std::max(std::min(infoPlace_.width(), visibleRight - r.left()), panelMin));
        }
        info->setGeometry(r);
        const double fw = r.width(), fh = r.height();
        if (r == infoPlace_) {
            form_.txtinfo(4)->setGeometry(static_cast<int>(0.02 * fw), static_cast<int>(0.055 * fh),
                                          static_cast<int>(0.44 * fw), static_cast<int>(0.33 * fh));
        } else {
            // Moved and narrower: the info box takes the frame's width.
            form_.txtinfo(4)->setGeometry(6, static_cast<int>(0.055 * fh) + 6, r.width() - 12,
                                          static_cast<int>(0.25 * fh));
        }
    }

    // The sum rule below the info box, inside the info frame's area.
    const QRect infoBox = form_.txtinfo(4)->geometry();
    const QRect frame = info->geometry();
    int x = frame.x() + 4;
    int y = frame.y() + infoBox.bottom() + 6;
    int w = frame.width() - 8;
    if (frame.width() < 60) {
        // Before the start-up layout: beside column C.
        x = columnRight + 6;
        y = 130;
        w = 302;
    }
    const int refrLabelW =
        std::max(TextWidth(fm, QStringLiteral("Refr. index = ")), TextWidth(fm, QStringLiteral("KK-sum ="))) + 6;
    // As wide as a sum needs, but never past the frame's right edge.
    const int sumBox =
        std::max(std::min(TextWidth(fm, QStringLiteral("0.00000000")) + kBoxPadding, w - 14 - refrLabelW),
                 TextWidth(fm, QStringLiteral("0.000")) + kBoxPadding);
    const int boxesRight = 8 + refrLabelW + sumBox;
    int h = 0;
    place(frameCheckSumRules->findChild<QLabel*>(QStringLiteral("lblRef_Index")), 8, 22, refrLabelW, row);
    place(txtRef_Index, 8 + refrLabelW, 22, sumBox, row);
    place(frameCheckSumRules->findChild<QLabel*>(QStringLiteral("lblfsum")), 8, 22 + row + 6, refrLabelW, row);
    place(txtfsum, 8 + refrLabelW, 22 + row + 6, sumBox, row);
    const int belowBoxes = 22 + 2 * row + 10;
    if (boxesRight + 6 + hintW + 6 <= w) {
        // Hints beside the boxes, the rescale button below.
        place(typical, boxesRight + 6, 20, w - boxesRight - 12, 26);
        place(what, boxesRight + 6, 20 + row + 6, w - boxesRight - 12, 26);
        h = belowBoxes;
    } else {
        // Everything in one column.
        place(typical, 6, belowBoxes, w - 12, 26);
        place(what, 6, belowBoxes + 28, w - 12, 26);
        h = belowBoxes + 56;
    }
    int lines = 1;
    while (lines < 3 && ButtonWidth(fm, QString::fromLatin1(kRescaleCaptions[lines - 1])) > w - 12) ++lines;
    rescale->setText(QString::fromLatin1(kRescaleCaptions[lines - 1]));
    const int rescaleH = lines == 1 ? 26 : lines * fm.height() + 10;
    place(rescale, 6, h, w - 12, rescaleH);
    h += rescaleH + 6;
    frameCheckSumRules->setGeometry(x, y, w, h);
    for (QWidget* wdg : std::initializer_list<QWidget*>{frameCoreExcitations, framePlotELF, frameCheckSumRules})
        wdg->raise();
}

bool ElfPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.page(4) && event->type() == QEvent::Show) {
        arrangeInfoFrame_ = true;
        layout();
        ShowModelInUse();
    }
    return QObject::eventFilter(watched, event);
}

// ---- change handlers
// -------------------------------------------------------------

void ElfPage::txtw0_Change(int) {
    if (Module1::FillingBoxes != True) UpdateELFdata();
}
void ElfPage::txtA0_Change(int) {
    if (Module1::FillingBoxes != True) UpdateELFdata();
}
void ElfPage::txtgamma_Change(int) {
    if (Module1::FillingBoxes != True) UpdateELFdata();
}
void ElfPage::txtE_Gap_Change() {
    if (Module1::FillingBoxes != True) UpdateELFdata();
}
void ElfPage::txtRef_Index_Change() {
    if (Module1::FillingBoxes != True) UpdateELFdata();
}
void ElfPage::UpdateModelOnAlfaEdit(int) {
    if (Module1::FillingBoxes != True) UpdateELFdata();
}

// ---- the model
// ------------------------------------------------------------------

bool ElfPage::SumRule() {
    namespace M = Module1;
    M::fsum = 0.0f;
    for (int i = 1; i <= M::NumOsc; ++i) {
        const float w2 = M::W0(i) * M::W0(i);
        if (w2 == 0.0f || !std::isfinite(w2)) return false;
        const float sum = M::fsum + M::A0(i) / w2;
        if (!std::isfinite(sum)) return false;
        M::fsum = sum;
    }
    const float n2 = M::RefIndex * M::RefIndex;
    if (n2 == 0.0f || !std::isfinite(n2)) return false;
    const float sum = M::fsum + 1.0f / n2;
    if (!std::isfinite(sum)) return false;
    M::fsum = sum;
    return true;
}

namespace {
const char* const kUnusableProperty = "kelvaraUnusable";

// A box whose value cannot be used: tinted, with the reason in its tool tip.
// A usable box loses the tint; its tool tip shows its whole text.
void MarkBox(QLineEdit* box, const QString& problem) {
    const bool marked = box->property(kUnusableProperty).toBool();
    if (problem.isEmpty()) {
        if (marked) {
            box->setPalette(QPalette());
            box->setProperty(kUnusableProperty, false);
            box->setToolTip(box->text());
        }
        return;
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(255, 205, 205));
    box->setPalette(palette);
    box->setProperty(kUnusableProperty, true);
    box->setToolTip(problem);
}

// Whether two models are the same, value for value (the oscillators in any
// order: ModelValues).
bool SameModel(const OscillatorModelValues& a, const OscillatorModelValues& b) {
    return ModelValues(ViewOf(a)) == ModelValues(ViewOf(b));
}

} // namespace

QString ElfPage::ReadTable(OscillatorModelValues& model) {
    QString first;
    // A box that is no number, or a value the model's rule refuses.
    const auto read = [&first](QLineEdit* box, float& value, ModelValue which) {
        QString problem;
        try {
            value = BoxSingle(box);
            const QString why = ModelValueProblem(which, value);
            if (!why.isEmpty())
                problem = BoxValueError(ErrorCode::Overflow, BoxCaption(box), box->text(), why).message();
        } catch (const BoxValueError& e) {
            problem = e.message();
        }
        MarkBox(box, problem);
        if (first.isEmpty()) first = problem;
    };
    read(txt_Core_ac, model.Core_ac, ModelValue::Core_ac);
    read(txt_Core_bc, model.Core_bc, ModelValue::Core_bc);
    read(txtE_Gap, model.Egap, ModelValue::Egap);
    read(txtRef_Index, model.RefIndex, ModelValue::RefIndex);
    // The rows up to the first whose boxes are all empty. A row that holds a
    // value but no w0 cannot be used: its empty w0 box (while it is being
    // retyped, say) does not end the model there.
    const auto rowIsEmpty = [this](int i) {
        return txtw0(i)->text().isEmpty() && txtA0(i)->text().isEmpty() && txtgamma(i)->text().isEmpty() &&
               txtalfa(i)->text().isEmpty();
    };
    int taken = 0;
    for (int i = 1; i <= kRows; ++i) {
        if (taken == i - 1 && !rowIsEmpty(i)) {
            read(txtw0(i), model.W0(i), ModelValue::W0);
            read(txtA0(i), model.A0(i), ModelValue::A0);
            read(txtgamma(i), model.Gamma(i), ModelValue::Gamma);
            read(txtalfa(i), model.Alfa(i), ModelValue::Alfa);
            taken = i;
        } else {
            // From the first empty row on: not part of the model.
            for (QLineEdit* box : {txtw0(i), txtA0(i), txtgamma(i), txtalfa(i)}) MarkBox(box, QString());
        }
    }
    model.NumOsc = static_cast<int16_t>(taken);
    tableProblem_ = first;
    return first;
}

void ElfPage::OwnBoxChanged() {
    if (Module1::FillingBoxes == True) return;
    const bool wasUnusable = !tableProblem_.isEmpty();
    OscillatorModelValues table;
    if (!ReadTable(table).isEmpty()) {
        ShowSumAndPlot(false);
        return;
    }
    // The last box that could not be used is corrected: the model is rebuilt
    // from the table and its sum, count and curve come back.
    if (wasUnusable) UpdateELFdata();
}

namespace {
// Whether the plot grid in the two boxes holds more than 1000 points (boxes
// that are not usable numbers are left to the plot's own refusal).
bool PlotGridTooLarge(const QLineEdit* step, const QLineEdit* max) {
    try {
        const float dE = ToSingle(step->text().toStdString());
        const float top = ToSingle(max->text().toStdString());
        return dE > 0.0f && top > 0.0f && TooManyGridPoints(top, dE);
    } catch (const RuntimeError&) {
        return false;
    }
}
} // namespace

void ElfPage::ClearTablePlot() {
    if (plotBlank_) return;
    clearingPlot_ = true;
    form_.ClearPlot();
    clearingPlot_ = false;
    plotBlank_ = true;
}

void ElfPage::ShowSumAndPlot(bool usable) {
    // The count of the model in use: the table's, or the one a table that
    // cannot be used has left in use.
    txtNELFdata->setText(QString::number(Module1::NumOsc));
    txtNELFdata->setCursorPosition(0);
    // No sum of a table that cannot be used, nor of a model whose sum fails.
    if (usable && SumRule()) {
        ShowText(txtfsum, GeneralText(Module1::fsum));
    } else {
        txtfsum->clear();
        txtfsum->setToolTip(QString());
    }
    if (!usable) {
        ClearTablePlot();
        return;
    }
    // An edit of the table never opens a message box: a plot grid of more
    // points than the plot takes gives no curve and a line in the status bar
    // ("Plot ELF" still says it in a message).
    if (PlotGridTooLarge(txtE_step, txtE_max)) {
        ClearTablePlot();
        form_.sbStatusBarPanel1->setText(TooManyPointsMessage(BoxCaption(txtE_max), txtE_max->text()) +
                                         QStringLiteral(" The loss function is not plotted."));
        return;
    }
    try {
        kelvara::cmdPlotELF_Click(form_);
    } catch (const RuntimeError&) {
        // The grid boxes or the library: no curve of an older model stays.
        ClearTablePlot();
        return;
    }
    // Values at the edge of the float range (a width of 1E-30 on a grid
    // point at w0) can still overflow the loss function: no such curve.
    const float count = Module1::PlotBuf(1);
    const int points = count >= 0.0f && count <= 1000.0f ? static_cast<int>(count) : 0;
    for (int i = 4; i <= points + 3; ++i) {
        if (!std::isfinite(Module1::PlotBuf(i))) {
            ClearTablePlot();
            break;
        }
    }
}

bool ElfPage::UpdateELFdata() {
    namespace M = Module1;
    OscillatorModelValues model;
    if (!ReadTable(model).isEmpty()) {
        ShowSumAndPlot(false);
        return false;
    }
    StoreModel(model, M::W0, M::A0, M::Gamma, M::Alfa, M::Egap, M::RefIndex, M::NumOsc, M::Core_ac, M::Core_bc);
    // The model in use is now the table's: from the file last read into the
    // table or saved from it, changed or not.
    M::ModelSource = {tableFile_, !SameModel(model, tableOrigin_)};
    ShowSumAndPlot(true);
    return true;
}

void ElfPage::FillTable() {
    namespace M = Module1;
    // The old rows go; no update runs (the model is the one shown).
    FillingTable filling;
    for (int i = 1; i <= kRows; ++i)
        for (QLineEdit* box : {txtw0(i), txtA0(i), txtgamma(i), txtalfa(i)}) box->setText(QString());
    ShowNumber(txt_Core_ac, M::Core_ac);
    ShowNumber(txt_Core_bc, M::Core_bc);
    ShowNumber(txtE_Gap, M::Egap);
    ShowNumber(txtRef_Index, M::RefIndex);
    for (int i = 1; i <= M::NumOsc; ++i) {
        ShowNumber(txtw0(i), M::W0(i));
        ShowNumber(txtA0(i), M::A0(i));
        ShowNumber(txtgamma(i), M::Gamma(i));
        ShowNumber(txtalfa(i), M::Alfa(i));
    }
}

void ElfPage::ShowModelInUse() {
    namespace M = Module1;
    // No model in memory yet: the table keeps what it holds (the start-up
    // values, or a model being typed that cannot be used yet).
    if (M::NumOsc == 0 && M::ModelSource.path.isEmpty()) return;
    OscillatorModelValues table;
    if (ReadTable(table).isEmpty() && ModelValues(ViewOf(table)) == ModelValues(ProgramModel())) {
        // The table holds the model in use; a read elsewhere of a file with
        // the same values makes that file the table's.
        if (!M::ModelSource.changedInTable && tableFile_ != M::ModelSource.path) {
            tableFile_ = M::ModelSource.path;
            tableOrigin_ = table;
        }
        return;
    }
    // The model was read elsewhere (a calculation page, the photoemission
    // window), or the table holds text that never became part of it: the
    // table shows the model in use, as a read on this page does.
    FillTable();
    FillingTable filling;
    // The file the model came from is the table's; a model this table changed
    // keeps the values it was read with as its origin.
    const bool sameFile = tableFile_ == M::ModelSource.path;
    tableFile_ = M::ModelSource.path;
    const bool usable =
        M::ModelSource.changedInTable && sameFile ? ReadTable(table).isEmpty() : ReadTable(tableOrigin_).isEmpty();
    ShowSumAndPlot(usable);
}

bool ElfPage::SaveELFdata(const QString& path) { return SaveModel(path, true) == SaveOutcome::Saved; }

ElfPage::SaveOutcome ElfPage::SaveModel(const QString& path, bool tellWriteFailure) {
    namespace M = Module1;
    // A model without oscillators is no model: an empty table (after a file
    // was picked in the browser, or a model read on a calculation page) must
    // neither replace a file nor the model in use.
    if (txtw0(1)->text().trimmed().isEmpty()) {
        services().messageBox(QStringLiteral("The table holds no oscillator: nothing was written.") + kCrLf +
                              QStringLiteral("Fill at least the first row (w0, A0, gamma, alpha) or read a model "
                                             "first."));
        return SaveOutcome::ModelIncomplete;
    }
    if (!UpdateELFdata()) {
        services().messageBox(QStringLiteral("The model was not saved:") + kCrLf + tableProblem_);
        return SaveOutcome::ModelIncomplete;
    }
    if (M::NumOsc < 1) {
        services().messageBox(QStringLiteral("The table holds no oscillator: nothing was written.") + kCrLf +
                              QStringLiteral("Fill at least the first row (w0, A0, gamma, alpha) or read a model "
                                             "first."));
        return SaveOutcome::ModelIncomplete;
    }
    try {
        WriteELFDataFile(path, ProgramModel());
        // The model in use is the file's now.
        tableFile_ = path;
        ReadTable(tableOrigin_);
        M::ModelSource = {path, false};
    } catch (const RuntimeError& e) {
        if (tellWriteFailure) {
            services().messageBox(
                QStringLiteral("The model could not be saved in") + kCrLf + path + kCrLf + kCrLf +
                QString::fromStdString(PlainReason(e)) + kCrLf + kCrLf +
                QStringLiteral("Save into another folder (choose it in the folder list) or under another "
                               "name (type it in the box \"File name\")."));
        }
        return SaveOutcome::NotWritten;
    }
    return SaveOutcome::Saved;
}

ElfPage::SaveOutcome ElfPage::SaveToNamedFile(bool tellWriteFailure) {
    // The same rule as every typed file name: a plain name in the browser's folder.
    if (!IsPlainFileName(txtELFFilename->text())) {
        if (tellWriteFailure)
            services().messageBox(RefusedFileNameMessage(txtELFFilename->text()) + kCrLf +
                                  QStringLiteral("Nothing was written."));
        return SaveOutcome::NotWritten;
    }
    const QString path = JoinPath(form_.Dir1->path(), txtELFFilename->text());
    const SaveOutcome outcome = SaveModel(path, tellWriteFailure);
    if (outcome == SaveOutcome::Saved) {
        form_.Dir1->refresh();
        form_.File1->refresh();
    }
    return outcome;
}

// ---- buttons
// --------------------------------------------------------------------

void ElfPage::cmdReadELFdata_Click() {
    const QString name = form_.File1->fileName();

    // The file is read whole before anything changes; a file that cannot be
    // read leaves the table and the model as they are.
    if (!ReadSelectedModel(form_.Dir1->path(), name)) return;

    txtELFFilename->setText(name);
    FillTable();
    {
        FillingTable filling;
        // The file's values are not checked: a value the dielectric function
        // cannot use is marked in the table, and neither sum nor curve shown.
        tableFile_ = ModelFilePath();
        ShowSumAndPlot(ReadTable(tableOrigin_).isEmpty());
    }
}

bool ElfPage::cmdSaveELFdata_Click() { return SaveToNamedFile(true) == SaveOutcome::Saved; }

void ElfPage::cmdAutoRescaleInt_Click() {
    namespace M = Module1;
    OscillatorModelValues table;
    if (!ReadTable(table).isEmpty()) {
        ShowSumAndPlot(false);
        services().messageBox(QStringLiteral("Nothing was rescaled:") + kCrLf + tableProblem_);
        return;
    }
    if (M::fsum == 0.0f || !std::isfinite(M::fsum)) {
        services().messageBox(QStringLiteral("The KK-sum is 0: there is no model to rescale. Read or type a model "
                                             "first."));
        return;
    }
    {
        FillingTable filling;
        for (int i = 1; i <= M::NumOsc; ++i) {
            M::A0(i) = M::A0(i) / M::fsum;
            ShowNumber(txtA0(i), M::A0(i));
        }
    }
    UpdateELFdata();
}

void ElfPage::cmdSortOscillators_Click() {
    namespace M = Module1;
    // The table is saved and the model rebuilt from it. A table that does not
    // hold a complete model is not sorted; a file that cannot be written
    // (no name typed yet) is reported once and the rows are sorted all the same.
    const SaveOutcome first = SaveToNamedFile(true);
    if (first == SaveOutcome::ModelIncomplete) return;
    // A name that was refused before the table was read: the rows are sorted
    // from the table's model all the same.
    if (first == SaveOutcome::NotWritten && !UpdateELFdata()) return;

    // Work table: rows 1..NumOsc, columns 1..4 (w0, M::A0, gamma, alpha); row 21
    // is the temporary storage of an exchange.
    float work[22][5] = {};
    const int rows = M::NumOsc;
    for (int i = 1; i <= rows; ++i) {
        try {
            work[i][1] = Number(txtw0(i));
        } catch (const RuntimeError&) {
            services().messageBox(QStringLiteral("The oscillators could not be sorted: w0 of row %1 is "
                                                 "not a number.")
                                      .arg(i));
            return;
        }
        work[i][2] = M::A0(i);
        work[i][3] = M::Gamma(i);
        work[i][4] = M::Alfa(i);
    }

    for (int i = 1; i <= rows; ++i) {
        float smallest = work[i][1];
        int k = i;
        for (int j = i + 1; j <= rows; ++j) {
            if (work[j][1] < smallest) {
                smallest = work[j][1];
                k = j;
            }
        }
        if (k != i) {
            for (int c = 1; c <= 4; ++c) {
                work[21][c] = work[i][c];
                work[i][c] = work[k][c];
                work[k][c] = work[21][c];
            }
        }
    }

    for (int i = 1; i <= rows; ++i) {
        ShowNumber(txtw0(i), work[i][1]);
        ShowNumber(txtA0(i), work[i][2]);
        ShowNumber(txtgamma(i), work[i][3]);
        ShowNumber(txtalfa(i), work[i][4]);
    }
    // The sorted table saved and the model rebuilt from it; where no file is
    // written, the model is rebuilt all the same (an alpha enters it here).
    if (SaveToNamedFile(first == SaveOutcome::Saved) != SaveOutcome::Saved) UpdateELFdata();
}

QString ElfPage::TypicalRefrIndexText() {
    return QStringLiteral("Metals:") + kCrLf + QStringLiteral(" in general n > 3") + kCrLf +
           QStringLiteral("Polymers:") + kCrLf + QStringLiteral(" In general 1 < n < 2. Typical value n ~ 1.5.") +
           kCrLf + QStringLiteral("Oxides:") + kCrLf +
           QStringLiteral(" SiO2 n= 1.5; Al2O3 n= 1.7; ZnO n = 2.0; ZrO2 n = 2.2");
}

QString ElfPage::KKSumRuleText() { return QStringLiteral(" 1 = (2/pi)Integral(1/T*Im(-1/epsilon)dT + 1/n^2"); }

void ElfPage::cmdTypicalRefrIndexValues_Click() { form_.txtinfo(4)->setText(TypicalRefrIndexText()); }

void ElfPage::cmdWhatIsKK_SumRule_Click() { form_.txtinfo(4)->setText(KKSumRuleText()); }

void ElfPage::cmdPlotELF_Click() {
    // No curve of a model whose table cannot be used.
    OscillatorModelValues table;
    if (!ReadTable(table).isEmpty()) {
        ShowSumAndPlot(false);
        services().messageBox(QStringLiteral("The model cannot be plotted:") + kCrLf + tableProblem_);
        return;
    }
    try {
        kelvara::cmdPlotELF_Click(form_);
    } catch (const BoxValueError& e) {
        services().messageBox(e.message());
    }
}

void ElfPage::ReadELFForThinFilm() {
    ReadELFForPage(form_, form_.findChild<TextBox*>(QStringLiteral("txtELFfilethinfilm")), nullptr);
}

} // namespace kelvara
