#include "shared/window_surface.h"

#include "shared/plot.h"
#include "state/module1.h"
#include "widgets/picturebox.h"

namespace kelvara {

void WindowSurface::Plot(const SingleArray& spectrum, int32_t color) {
    plotState().draw(plotBox(), spectrum, color, PlotShared{Module1::AutoScale, Module1::StepTable});
}

} // namespace kelvara
