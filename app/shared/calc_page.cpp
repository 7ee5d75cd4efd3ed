#include "shared/calc_page.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

#include "platform/errors.h"
#include "shared/oscillator_model.h"
#include "shared/window_surface.h"
#include "state/module1.h"
#include "widgets/controls.h"
#include "widgets/picturebox.h"
#include "widgets/services.h"

namespace kelvara {

namespace {
const char* const kFileNameTip = "Write the name of the file where you wish to save the data. ";
const char* const kDescriptionTip = "The content of this text box is added to the top of the file. You may type "
                                    "additional lines by clicking and typing directly in this text box.";
} // namespace

CalcPage::CalcPage(WindowSurface& window, QObject* owner, QWidget* page, const QString& objectName)
    : QObject(owner), window_(window), page_(page) {
    setObjectName(objectName);
}

CalcRecipe CalcPage::Recipe(const QString& titleLine) const { return WindowRecipe(window_, titleLine); }

CalcOutcome CalcPage::Run(const CalcRecipe& recipe) {
    // A run that does not end Done leaves the result arrays as they were (the
    // driver gives them back), but the page's boxes no longer describe them.
    const CalcOutcome outcome = RunCalculation(recipe);
    InfoBox& title = window_.titleBox();
    if (outcome == CalcOutcome::Done) {
        results_ = Results::Ready;
        run_ = LastDoneRun();
        resultText_ = Module1::ResultText;
        model_ = ModelValues(ProgramModel());
        runTexts_.clear();
        for (const QLineEdit* box : page_->findChildren<QLineEdit*>()) runTexts_.insert(box, box->text());
        runModelSource_ = ModelSourceText();
        ownPlot_ = window_.plotBox().clearCount();
        // The title box holds the run's mean free paths: shown after every
        // good run, whatever hid it before (a refused run, or a window that
        // starts with it hidden).
        title.show();
        return outcome;
    }
    results_ = Results::Lost;
    resultText_.clear();
    runTexts_.clear();
    runModelSource_.clear();
    // Nothing of an earlier run stays on show beside the boxes that were refused.
    window_.areasBox().setText(QString());
    window_.areasBox().hide();
    title.setText(QString());
    title.hide();
    if (window_.plotBox().clearCount() == ownPlot_) window_.ClearPlot();
    ForgetShownResults();
    return outcome;
}

const QString& CalcPage::RunText(const QLineEdit* box) const {
    const auto text = runTexts_.constFind(box);
    if (text == runTexts_.constEnd())
        raise(ErrorCode::InvalidCall,
              "The box " + box->objectName().toStdString() + " holds no text of a run of this page");
    return *text;
}

void CalcPage::Refuse(Use use, const QString& why) {
    services().messageBox(
        (use == Use::Save ? QStringLiteral("Nothing was written: ") : QStringLiteral("Nothing is shown: ")) + why);
}

bool CalcPage::RunResultReady(Use use, bool allowBeforeFirstRun) const {
    const bool save = use == Use::Save;
    if (results_ == Results::Ready || (results_ == Results::None && allowBeforeFirstRun)) return true;
    if (results_ == Results::None)
        Refuse(use, save ? QStringLiteral("there is no result to save yet. Calculate first, then save.")
                         : QStringLiteral("there is no result to show yet. Calculate first."));
    else
        Refuse(use, save ? QStringLiteral("the last calculation of this page gave no result. Calculate again, then "
                                          "save.")
                         : QStringLiteral("the last calculation of this page gave no result. Calculate again."));
    return false;
}

bool CalcPage::ResultReady(const SingleArray& curve, Use use) const {
    if (!RunResultReady(use, false)) return false;
    const CurveWriter writer = LastWriter(curve);
    if (writer.run == run_) return ModelOfRunInUse(use);
    // A later run of another page has written the shared array.
    const QString by = writer.calculation.isEmpty()
                           ? QStringLiteral("another calculation")
                           : QStringLiteral("the ") + writer.calculation + QStringLiteral(" calculation");
    Refuse(use, QStringLiteral("the curve now holds the result of ") + by +
                    QStringLiteral(", which ran after this page's. Calculate again on this page") +
                    (use == Use::Save ? QStringLiteral(", then save.") : QStringLiteral(".")));
    return false;
}

bool CalcPage::ModelOfRunInUse(Use use) const {
    if (use != Use::Save || ModelValues(ProgramModel()) == model_) return true;
    Refuse(use, QStringLiteral("the oscillator model has changed since this page's calculation, and the file would "
                               "name and list the new one. Calculate again on this page, then save."));
    return false;
}

std::function<void()> CalcPage::MessageOnFailure(const QString& message) {
    return [message] { services().messageBox(message); };
}

void CalcPage::ShowCurve(const SingleArray& curve, const QString& title) {
    if (!ResultReady(curve, Use::Show)) return;
    PlotResult(curve);
    window_.titleBox().setText(title);
}

void CalcPage::PlotResult(const SingleArray& curve) {
    ClearAndPlot(window_, curve);
    ownPlot_ = window_.plotBox().clearCount();
}

ModelFileControls CalcPage::ModelFile(const QString& boxName, const QString& buttonName, QWidget* frameToHide) {
    return MakeModelFileControls(window_, page_, boxName, buttonName, frameToHide);
}

void CalcPage::ShowInFront(QWidget* frame) {
    frame->show();
    frame->raise();
}

namespace {
// Keeps a save frame's boxes and buttons fitted to the frame's width: the
// boxes across the frame, the save buttons as many to a row as their
// captions allow (three at most), then the frame's other buttons ("Cancel")
// in a row below them.
class SaveFrameLayout : public QObject {
public:
    SaveFrameLayout(QWidget* frame, QLabel* caption, TextBox* name, InfoBox* notes, std::vector<QPushButton*> saves)
        : QObject(frame), frame_(frame), caption_(caption), name_(name), notes_(notes), saves_(std::move(saves)) {
        frame->installEventFilter(this);
        place();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == frame_ && event->type() == QEvent::Resize) place();
        return false;
    }

private:
    void place() {
        const QFontMetrics fm(frame_->font());
        const int width = std::max(frame_->width(), 200);
        // Below the frame's title.
        const int top = fm.height() + 8;
        const int labelW = fm.horizontalAdvance(caption_->text()) + 8;
        caption_->setGeometry(8, top, labelW, 24);
        name_->setGeometry(8 + labelW, top, width - 16 - labelW, 24);
        notes_->setGeometry(8, top + 28, width - 16, 46);
        int buttonW = 0;
        for (QPushButton* b : saves_) buttonW = std::max(buttonW, fm.horizontalAdvance(b->text()) + 16);
        const int room = width - 16;
        const int perRow = std::clamp((room + 4) / (buttonW + 4), 1, 3);
        const int w = std::max(buttonW, (room + 4) / perRow - 4);
        const int firstRow = top + 78;
        int k = 0;
        for (QPushButton* b : saves_) {
            b->setGeometry(8 + (k % perRow) * (w + 4), firstRow + (k / perRow) * 28, w, 26);
            ++k;
        }
        const int rows = (k + perRow - 1) / perRow;
        // The frame's other buttons (its "Cancel" buttons), in one row below.
        int x = 8;
        const int y = firstRow + rows * 28 + 4;
        for (QPushButton* b : frame_->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
            if (std::find(saves_.begin(), saves_.end(), b) != saves_.end()) continue;
            const int bw = std::max(90, fm.horizontalAdvance(b->text()) + 16);
            b->setGeometry(x, y, bw, 26);
            x += bw + 10;
        }
    }

    QWidget* frame_;
    QLabel* caption_;
    TextBox* name_;
    InfoBox* notes_;
    std::vector<QPushButton*> saves_;
};
} // namespace

CalcPage::SaveFrameBoxes CalcPage::SaveFrame(QWidget* frame, int width, const QString& label, const char* fileNameBox,
                                             const char* descriptionBox, const QString& description,
                                             const std::vector<SaveButton>& buttons) {
    const int buttonWidth = (width - 16) / 3 - 4;
    auto* caption = new QLabel(label, frame);
    caption->setGeometry(8, 22, 72, 24);
    auto* name = MakeNamed<TextBox>(frame, QString::fromLatin1(fileNameBox));
    name->setPlaceholderText(QStringLiteral("Enter file name here"));
    name->setGeometry(82, 22, width - 90, 24);
    name->setToolTip(QString::fromLatin1(kFileNameTip));
    SetBoxCaption(name, QStringLiteral("File name"));
    auto* notes = MakeNamed<InfoBox>(frame, QString::fromLatin1(descriptionBox));
    // The hint as one line; the box wraps it.
    notes->setPlaceholderText(QString(description).remove(QStringLiteral("\r\n")).trimmed());
    // The user types the description here; it becomes the file's header lines.
    notes->setReadOnly(false);
    notes->setTabChangesFocus(true);
    notes->setGeometry(8, 50, width - 16, 46);
    notes->setToolTip(QString::fromLatin1(kDescriptionTip));
    saveBoxes_ = {name, notes};
    std::vector<QPushButton*> saves;
    int k = 0;
    for (const SaveButton& b : buttons) {
        auto* button = MakeButton(frame, QString::fromLatin1(b.name), QString::fromLatin1(b.caption),
                                  8 + (k % 3) * (buttonWidth + 4), 100 + (k / 3) * 25, buttonWidth, 24);
        connectGuarded(button, &QPushButton::clicked, this, [this, b](bool) {
            static const QString kNoResultLine;
            if (!ResultReady(*b.curve)) return;
            SaveResultFile(window_, saveBoxes_.fileName->text(), *b.curve, b.header(),
                           b.withResultText ? resultText_ : kNoResultLine);
        });
        saves.push_back(button);
        ++k;
    }
    new SaveFrameLayout(frame, caption, name, notes, std::move(saves));
    return saveBoxes_;
}

} // namespace kelvara
