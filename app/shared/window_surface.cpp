#include "shared/window_surface.h"

#include "widgets/picturebox.h"
#include "shared/plot.h"
#include "state/module1.h"

namespace kelvara {

void WindowSurface::Plot(const SingleArray& spectrum, int32_t color) {
    plotState().draw(plotBox(), spectrum, color, PlotShared{Module1::AutoScale, Module1::StepTable});
}

} // namespace kelvara
