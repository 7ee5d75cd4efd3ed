#include "photoemission/geometry_sketch.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvara {

GeometrySketch::GeometrySketch(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

namespace {

// Where the parts are drawn, in the widget's pixels.
struct Shape {
    double surfaceY = 0;
    QPointF atom;
    QPointF exit;      // where the path crosses the surface
    QPointF end;       // the arrow head in the vacuum
    double depthX = 0; // the X0 dimension line
};

Shape ShapeFor(QSize size, double thetaDegrees) {
    const double w = size.width();
    const double h = size.height();
    const double tanTheta = std::tan(thetaDegrees * std::numbers::pi / 180.0);
    Shape s;
    s.surfaceY = 0.46 * h;
    // The path crosses the surface right of the info text.
    s.exit = QPointF(0.52 * w, s.surfaceY);
    const double depth = 0.36 * h;
    s.atom = QPointF(s.exit.x() - depth * tanTheta, s.surfaceY + depth);
    const double rise = 0.34 * h;
    s.end = QPointF(s.exit.x() + rise * tanTheta, s.surfaceY - rise);
    s.depthX = s.atom.x() - std::max(22.0, 0.12 * w);
    return s;
}

void Arrow(QPainter& p, QPointF from, QPointF to, double head) {
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double spread = 0.45;
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(to - head * QPointF(std::cos(angle - spread), std::sin(angle - spread)));
    tip.lineTo(to - head * QPointF(std::cos(angle + spread), std::sin(angle + spread)));
    tip.closeSubpath();
    p.fillPath(tip, p.pen().color());
}

} // namespace

void GeometrySketch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Shape s = ShapeFor(size(), kThetaDegrees);
    const double w = width();
    const double h = height();
    QFont font = p.font();
    font.setPixelSize(std::clamp(static_cast<int>(h / 13), 10, 15));
    p.setFont(font);
    const QFontMetricsF fm(font);
    const double pad = 3;

    // The solid below the surface, hatched, and the surface itself.
    const QRectF solid(0, s.surfaceY, w, h - s.surfaceY);
    p.fillRect(solid, QColor(226, 226, 226));
    p.fillRect(solid, QBrush(QColor(170, 170, 170), Qt::BDiagPattern));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(0, s.surfaceY), QPointF(w, s.surfaceY));

    // Labels of the regions, on the right.
    p.setPen(Qt::black);
    const QRectF right(0, 0, w - pad, h);
    p.drawText(QRectF(0, s.surfaceY - fm.height() - 1, w - pad, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("surface"));
    p.drawText(QRectF(0, 0.6 * s.surfaceY - fm.height() / 2, w - pad, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("vacuum"));
    p.drawText(right.adjusted(0, 0, 0, -pad), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("solid"));

    // The surface normal through the exit point, and the angle theta.
    p.setPen(QPen(QColor(80, 80, 80), 1, Qt::DashLine));
    p.drawLine(QPointF(s.exit.x(), s.surfaceY + 0.2 * h), QPointF(s.exit.x(), s.end.y()));
    const double r = 0.22 * h;
    p.setPen(QPen(Qt::black, 1));
    const QRectF arc(s.exit.x() - r, s.surfaceY - r, 2 * r, 2 * r);
    p.drawArc(arc, static_cast<int>((90.0 - kThetaDegrees) * 16), static_cast<int>(kThetaDegrees * 16));
    const double mid = (90.0 - kThetaDegrees / 2) * std::numbers::pi / 180.0;
    const QPointF thetaAt(s.exit.x() + (r + fm.height() * 0.6) * std::cos(mid),
                          s.surfaceY - (r + fm.height() * 0.6) * std::sin(mid));
    p.drawText(QRectF(thetaAt.x() - fm.height(), thetaAt.y() - fm.height() / 2, 2 * fm.height(), fm.height()),
               Qt::AlignCenter, QStringLiteral("\u03B8"));

    // The depth X0: a dimension line from the surface down to the atom.
    p.setPen(QPen(QColor(80, 80, 80), 1, Qt::DotLine));
    p.drawLine(QPointF(s.depthX - 4, s.atom.y()), s.atom);
    p.setPen(QPen(Qt::black, 1));
    const double head = std::max(5.0, 0.035 * h);
    Arrow(p, QPointF(s.depthX, (s.surfaceY + s.atom.y()) / 2), QPointF(s.depthX, s.surfaceY + 1), head);
    Arrow(p, QPointF(s.depthX, (s.surfaceY + s.atom.y()) / 2), QPointF(s.depthX, s.atom.y()), head);
    p.drawText(QRectF(0, (s.surfaceY + s.atom.y() - fm.height()) / 2, s.depthX - pad, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("X0"));

    // The electron's path from the atom out into the vacuum.
    const QColor pathColour(0, 0, 170);
    p.setPen(QPen(pathColour, 2));
    Arrow(p, s.atom, s.end, std::max(7.0, 0.05 * h));
    p.drawText(QRectF(s.end.x() + pad, s.end.y() - fm.height() / 2, w, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("e\u207B"));

    // The emitting atom.
    const double radius = std::max(4.0, 0.035 * h);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(s.atom, radius, radius);
    p.setPen(Qt::black);
    p.drawText(QRectF(s.atom.x() + radius + pad, s.atom.y(), w, fm.height() + radius), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("atom"));
}

} // namespace kelvara
