#include "photoemission/formxps.h"

#include "platform/errors.h"
#include "platform/twips.h"

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
    PlaceTwips(this, 0, 0, ScreenWidthTwips(), ScreenHeightTwips());
    setVisible(true);
}

} // namespace kelvara
