#include "photoemission/formxps.h"

#include "platform/errors.h"
#include "widgets/twips.h"

namespace kelvara {

formXPS::formXPS(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("formXPS"));
    setWindowTitle(QStringLiteral("XPS and AES"));
    setAutoFillBackground(true);
    hide();
    frameSave_xps3_ = MakeNamed<Frame>(this, ArrayName(QStringLiteral("frameSave_xps"), 3),
                                       QStringLiteral("Save the Cross Section"));
    frameSave_xps3_->hide();
}

Frame* formXPS::frameSave_xps(int i) const {
    if (i != 3) kelvara::raise(ErrorCode::SubscriptOutOfRange);
    return frameSave_xps3_;
}

void formXPS::Form_Load() {
    const double W = ScreenWidthTwips();
    const double H = ScreenHeightTwips();
    PlaceTwips(this, 0, 0, W, H);
    setVisible(true);
    // The save frame, at the main form's places for its own save frames (a
    // screen below 12000 twips high takes the larger frame).
    if (H < 12000.0)
        PlaceTwips(frameSave_xps3_, 0.2 * W, 0.02 * H, 0.4 * W, 0.3 * H);
    else
        PlaceTwips(frameSave_xps3_, 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
}

} // namespace kelvara
