#include "shared/calc_page.h"

#include <QLabel>

#include "shared/window_surface.h"
#include "state/module1.h"
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

std::function<void()> CalcPage::MessageOnFailure(const QString& message) {
    return [message] { services().messageBox(message); };
}

void CalcPage::ShowCurve(const SingleArray& curve, const QString& title) {
    ClearAndPlot(window_, curve);
    window_.titleBox().setText(title);
}

ModelFileControls CalcPage::ModelFile(const QString& boxName, const QString& buttonName, QWidget* frameToHide) {
    return MakeModelFileControls(window_, page_, boxName, buttonName, frameToHide);
}

void CalcPage::ShowInFront(QWidget* frame) {
    frame->show();
    frame->raise();
}

CalcPage::SaveFrameBoxes CalcPage::SaveFrame(QWidget* frame, int width, const QString& label, const char* fileNameBox,
                                             const char* descriptionBox, const QString& description,
                                             const std::vector<SaveButton>& buttons) {
    const int buttonWidth = (width - 16) / 3 - 4;
    auto* caption = new QLabel(label, frame);
    caption->setGeometry(8, 22, 72, 24);
    auto* name = MakeNamed<TextBox>(frame, QString::fromLatin1(fileNameBox), QStringLiteral("Enter file name here"));
    name->setGeometry(82, 22, width - 90, 24);
    name->setToolTip(QString::fromLatin1(kFileNameTip));
    auto* notes = MakeNamed<InfoBox>(frame, QString::fromLatin1(descriptionBox));
    notes->setText(description);
    // The user types the description here; it becomes the file's header lines.
    notes->setReadOnly(false);
    notes->setTabChangesFocus(true);
    notes->setGeometry(8, 50, width - 16, 46);
    notes->setToolTip(QString::fromLatin1(kDescriptionTip));
    saveBoxes_ = {name, notes};
    int k = 0;
    for (const SaveButton& b : buttons) {
        auto* button = MakeButton(frame, QString::fromLatin1(b.name), QString::fromLatin1(b.caption),
                                  8 + (k % 3) * (buttonWidth + 4), 100 + (k / 3) * 25, buttonWidth, 24);
        connectGuarded(button, &QPushButton::clicked, this, [this, b](bool) {
            static const QString kNoResultLine;
            SaveResultFile(window_, saveBoxes_.fileName->text(), *b.curve, b.header(),
                           b.withResultText ? Module1::ResultText : kNoResultLine);
        });
        ++k;
    }
    return saveBoxes_;
}

} // namespace kelvara
