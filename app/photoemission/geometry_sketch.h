#pragma once
// The sketch of the photoemission geometry in the info frame: the surface
// with vacuum above and the solid below, the emitting atom at the depth X0,
// and the electron's path out of the solid at the angle theta from the
// surface normal. The upper left part stays empty for the info text.
#include <QWidget>

namespace kelvara {

class GeometrySketch : public QWidget {
    Q_OBJECT
public:
    explicit GeometrySketch(QWidget* parent = nullptr);

    // The angle at which the path is drawn (degrees from the normal).
    static constexpr double kThetaDegrees = 35.0;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kelvara
