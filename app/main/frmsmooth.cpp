#include "main/frmsmooth.h"

namespace kelvara {

frmSmooth::frmSmooth(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSmooth"));
    hide();
    frameSmooth = MakeNamed<Frame>(this, QStringLiteral("frameSmooth"), QStringLiteral("Smoothing"));
}

} // namespace kelvara
