#include "widgets/picturebox.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/errors.h"
#include "widgets/twips.h"

namespace kelvara {

namespace {

constexpr std::array<QRgb, 16> kPalette = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0),   qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),     qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0),   qRgb(255, 255, 255),
};

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int buttonsMask(Qt::MouseButtons buttons) {
    int mask = 0;
    if (buttons & Qt::LeftButton) mask |= 1;
    if (buttons & Qt::RightButton) mask |= 2;
    if (buttons & Qt::MiddleButton) mask |= 4;
    return mask;
}

int shiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= 1;
    if (modifiers & Qt::ControlModifier) mask |= 2;
    if (modifiers & Qt::AltModifier) mask |= 4;
    return mask;
}

// Clips the segment (x1,y1)-(x2,y2) to the rectangle [lo, hi] both ways
// (Cohen-Sutherland: each outside end moves onto the edge it crosses, the
// edge coordinate set exactly, so far-off ends keep the visible part exact).
// Returns false when nothing of it lies inside.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double loX, double loY, double hiX,
                 double hiY) {
    enum : int { Left = 1, Right = 2, Below = 4, Above = 8 };
    const auto code = [&](double x, double y) {
        int c = 0;
        if (x < loX) c |= Left;
        else if (x > hiX) c |= Right;
        if (y < loY) c |= Below;
        else if (y > hiY) c |= Above;
        return c;
    };
    int c1 = code(x1, y1), c2 = code(x2, y2);
    for (int guard = 0; guard < 8; ++guard) {
        if ((c1 | c2) == 0) return true;
        if ((c1 & c2) != 0) return false;
        const int out = c1 != 0 ? c1 : c2;
        double x = 0, y = 0;
        if (out & Above) {
            x = x1 + (x2 - x1) * ((hiY - y1) / (y2 - y1));
            y = hiY;
        } else if (out & Below) {
            x = x1 + (x2 - x1) * ((loY - y1) / (y2 - y1));
            y = loY;
        } else if (out & Right) {
            y = y1 + (y2 - y1) * ((hiX - x1) / (x2 - x1));
            x = hiX;
        } else {
            y = y1 + (y2 - y1) * ((loX - x1) / (x2 - x1));
            x = loX;
        }
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        if (out == c1) {
            x1 = x;
            y1 = y;
            c1 = code(x1, y1);
        } else {
            x2 = x;
            y2 = y;
            c2 = code(x2, y2);
        }
    }
    return (c1 | c2) == 0;
}

bool finite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

} // namespace

QRgb QBColor(long long index) {
    if (index < 0 || index > 15) raise(ErrorCode::InvalidCall);
    return kPalette[static_cast<std::size_t>(index)];
}

QRgb RGB(int red, int green, int blue) {
    return qRgb(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

// ---------------------------------------------------------------------------
// PictureLine

void PictureLine::setX1(double v) { x1_ = v; changed(); }
void PictureLine::setY1(double v) { y1_ = v; changed(); }
void PictureLine::setX2(double v) { x2_ = v; changed(); }
void PictureLine::setY2(double v) { y2_ = v; changed(); }

void PictureLine::setPosition(double x1, double y1, double x2, double y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    changed();
}

void PictureLine::setVisible(bool visible) {
    visible_ = visible;
    changed();
}

void PictureLine::setColor(QRgb color) {
    color_ = color;
    changed();
}

void PictureLine::setBorderWidth(int width) {
    width_ = std::clamp(width, 1, PictureBox::kMaxDrawWidth);
    changed();
}

void PictureLine::changed() { box_->update(); }

// ---------------------------------------------------------------------------
// PictureBox

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ensureImageSize();
}

PictureBox::~PictureBox() = default;

void PictureBox::ensureImageSize() {
    const QSize wanted(std::max(1, width()), std::max(1, height()));
    if (image_.size() == wanted) return;
    QImage next(wanted, QImage::Format_RGB32);
    next.fill(backColor_);
    if (!image_.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
}

// --- scale -----------------------------------------------------------------

void PictureBox::setScale(double x1, double y1, double x2, double y2) {
    if (!finite(x1, y1, x2, y2) || x1 == x2 || y1 == y2) kelvara::raise(ErrorCode::InvalidCall);
    userScale_ = true;
    left_ = x1;
    top_ = y1;
    width_ = x2 - x1;
    height_ = y2 - y1;
    update();
}

void PictureBox::setScaleTwips() {
    userScale_ = false;
    update();
}

double PictureBox::scaleLeft() const { return userScale_ ? left_ : 0.0; }
double PictureBox::scaleTop() const { return userScale_ ? top_ : 0.0; }
double PictureBox::scaleWidth() const {
    return userScale_ ? width_ : PixelsToTwipsX(drawingWidth());
}
double PictureBox::scaleHeight() const {
    return userScale_ ? height_ : PixelsToTwipsY(drawingHeight());
}

int PictureBox::drawingHeight() const { return std::max(1, height() - bottomReserve_); }
int PictureBox::drawingWidth() const { return std::max(1, width() - rightReserve_); }

void PictureBox::setBottomReserve(int pixels) {
    bottomReserve_ = std::max(0, pixels);
    update();
}

void PictureBox::setRightReserve(int pixels) {
    rightReserve_ = std::max(0, pixels);
    update();
}

double PictureBox::toPixelX(double x) const {
    return (x - scaleLeft()) / scaleWidth() * drawingWidth();
}
double PictureBox::toPixelY(double y) const {
    return (y - scaleTop()) / scaleHeight() * drawingHeight();
}
double PictureBox::toUserX(double px) const {
    return scaleLeft() + px / drawingWidth() * scaleWidth();
}
double PictureBox::toUserY(double py) const {
    return scaleTop() + py / drawingHeight() * scaleHeight();
}

// --- properties ----------------------------------------------------------------

void PictureBox::setDrawWidth(long long width) {
    if (width < 1) kelvara::raise(ErrorCode::InvalidCall, "Invalid property value");
    drawWidth_ = static_cast<int>(std::min<long long>(width, kMaxDrawWidth));
}

void PictureBox::setBackColor(QRgb color) {
    backColor_ = color;
    cls();
}

void PictureBox::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    switch (pointer) {
    case PointerArrow: setCursor(Qt::ArrowCursor); break;
    case PointerCross: setCursor(Qt::CrossCursor); break;
    case PointerIBeam: setCursor(Qt::IBeamCursor); break;
    case PointerSizeNS: setCursor(Qt::SizeVerCursor); break;
    case PointerSizeWE: setCursor(Qt::SizeHorCursor); break;
    case PointerHourglass: setCursor(Qt::WaitCursor); break;
    default: unsetCursor(); break;
    }
}

// --- drawing ---------------------------------------------------------------------

template <typename F>
void PictureBox::withPainter(F&& f) {
    if (sessionPainter_) {
        f(*sessionPainter_);
    } else {
        ensureImageSize();
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        f(painter);
    }
    update();
}

PictureBox::DrawSession::DrawSession(PictureBox& box) : box_(box) {
    if (box_.sessionDepth_++ == 0) {
        box_.ensureImageSize();
        box_.sessionPainter_ = std::make_unique<QPainter>(&box_.image_);
        box_.sessionPainter_->setRenderHint(QPainter::Antialiasing, false);
        box_.sessionPainter_->setRenderHint(QPainter::TextAntialiasing, false);
    }
}

PictureBox::DrawSession::~DrawSession() {
    if (--box_.sessionDepth_ == 0) {
        box_.sessionPainter_.reset();
        box_.update();
    }
}

void PictureBox::cls() {
    eraseForRedraw();
    ++clearCount_;
}

void PictureBox::eraseForRedraw() {
    withPainter([&](QPainter& p) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(QRect(QPoint(0, 0), image_.size()), QColor(backColor_));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    });
    currentX_ = 0.0;
    currentY_ = 0.0;
}

// Segment between two pixel positions; each end lies in the pixel that holds
// it and the pen is centred on that pixel, so a pen of width w covers w
// pixels across the line.
void PictureBox::drawSegment(QPainter& painter, double px1, double py1, double px2, double py2,
                             QRgb color) {
    if (!finite(px1, py1, px2, py2)) return;
    const double margin = drawWidth_ + 2.0;
    const double hiX = image_.width() + margin, hiY = image_.height() + margin;
    if (!clipSegment(px1, py1, px2, py2, -margin, -margin, hiX, hiY)) return;
    const QPointF a(std::floor(px1) + 0.5, std::floor(py1) + 0.5);
    const QPointF b(std::floor(px2) + 0.5, std::floor(py2) + 0.5);
    QPen pen{QColor(color)};
    pen.setWidth(drawWidth_);
    pen.setCapStyle(drawWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    if (a == b)
        painter.drawPoint(a);
    else
        painter.drawLine(a, b);
}

void PictureBox::line(double x1, double y1, double x2, double y2, std::optional<QRgb> color) {
    const QRgb c = color.value_or(foreColor_);
    withPainter([&](QPainter& p) { drawSegment(p, toPixelX(x1), toPixelY(y1), toPixelX(x2), toPixelY(y2), c); });
    currentX_ = x2;
    currentY_ = y2;
}

void PictureBox::lineTo(double x, double y, std::optional<QRgb> color) {
    line(currentX_, currentY_, x, y, color);
}

void PictureBox::pset(double x, double y, std::optional<QRgb> color) {
    line(x, y, x, y, color);
}

void PictureBox::print(const QString& text, bool newLine) {
    const double px = toPixelX(currentX_);
    const double py = toPixelY(currentY_);
    if (std::isfinite(px) && std::isfinite(py) && std::fabs(px) < 1e6 && std::fabs(py) < 1e6) {
        withPainter([&](QPainter& p) {
            p.setFont(font());
            p.setPen(QColor(foreColor_));
            const QFontMetricsF fm(font());
            p.drawText(QPointF(std::floor(px), std::floor(py) + fm.ascent()), text);
        });
    }
    if (newLine) {
        currentX_ = scaleLeft();
        const double h = textHeight(text);
        currentY_ += scaleHeight() < 0 ? -h : h;
    } else {
        const double w = textWidth(text);
        currentX_ += scaleWidth() < 0 ? -w : w;
    }
}

double PictureBox::textWidth(const QString& text) const {
    const QFontMetricsF fm(font());
    return fm.horizontalAdvance(text) * std::fabs(scaleWidth()) / drawingWidth();
}

double PictureBox::textHeight(const QString& text) const {
    const QFontMetricsF fm(font());
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    return fm.height() * lines * std::fabs(scaleHeight()) / drawingHeight();
}

std::optional<QRgb> PictureBox::point(double x, double y) const {
    const double px = std::floor(toPixelX(x));
    const double py = std::floor(toPixelY(y));
    if (!(px >= 0 && py >= 0 && px < image_.width() && py < image_.height())) return std::nullopt;
    return image_.pixel(static_cast<int>(px), static_cast<int>(py));
}

PictureLine* PictureBox::addLine() {
    lines_.push_back(std::unique_ptr<PictureLine>(new PictureLine(this)));
    update();
    return lines_.back().get();
}

// --- events ---------------------------------------------------------------------

void PictureBox::paintEvent(QPaintEvent* event) {
    if (sessionDepth_ == 0) ensureImageSize();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
    for (const auto& l : lines_) {
        if (!l->isVisible()) continue;
        double x1 = toPixelX(l->X1()), y1 = toPixelY(l->Y1());
        double x2 = toPixelX(l->X2()), y2 = toPixelY(l->Y2());
        if (!finite(x1, y1, x2, y2)) continue;
        const double m = l->borderWidth() + 2.0;
        if (!clipSegment(x1, y1, x2, y2, -m, -m, width() + m, height() + m)) continue;
        QPen pen{QColor(l->color())};
        pen.setWidth(l->borderWidth());
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(std::floor(x1) + 0.5, std::floor(y1) + 0.5),
                         QPointF(std::floor(x2) + 0.5, std::floor(y2) + 0.5));
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    if (sessionDepth_ == 0) ensureImageSize();
    QWidget::resizeEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit mouseDown(buttonCode(event->button()), shiftMask(event->modifiers()), toUserX(p.x()), toUserY(p.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit mouseMove(buttonsMask(event->buttons()), shiftMask(event->modifiers()), toUserX(p.x()),
                   toUserY(p.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit mouseUp(buttonCode(event->button()), shiftMask(event->modifiers()), toUserX(p.x()), toUserY(p.y()));
}

} // namespace kelvara
