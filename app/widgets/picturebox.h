#pragma once
// The picture box: a drawing surface with a persistent image, a user scale,
// the classic 16-colour palette, text printed at the current position, a pen
// width, mouse events in user coordinates, and line controls that sit on top
// of the image (drawing and Cls never touch them).
//
// Drawing goes into a backing QImage that survives every repaint; the widget
// shows that image, then the visible line controls, then its child widgets
// (a status bar or text boxes placed inside the box). Antialiasing is off, so
// every drawn pixel is exactly the colour asked for.
//
// Scale: (x1, y1) is the user coordinate of the top-left corner and (x2, y2)
// that of the bottom-right corner; y grows upward when y2 < y1 (a negative
// ScaleHeight). Before any scale is set the box measures in twips from its
// top-left corner.
#include <QImage>
#include <QRgb>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace kelvara {

// Colour number 0..15 of the 16-colour standard palette (0 black, 1 blue,
// 2 green, 3 cyan, 4 red, 5 magenta, 6 yellow, 7 white (light grey), 8 grey,
// 9 light blue, 10 light green, 11 light cyan, 12 light red, 13 light
// magenta, 14 light yellow, 15 bright white). Raises InvalidCall outside.
QRgb QBColor(long long index);
// An RGB colour; each component is clamped to 0..255.
QRgb RGB(int red, int green, int blue);

class PictureBox;

// A line control inside a picture box, in the box's user coordinates. It is
// drawn above the persistent image and below the child widgets; Cls and the
// drawing methods do not erase it.
class PictureLine {
public:
    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void setX1(double v);
    void setY1(double v);
    void setX2(double v);
    void setY2(double v);
    void setPosition(double x1, double y1, double x2, double y2);

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    QRgb color() const { return color_; }
    void setColor(QRgb color);
    int borderWidth() const { return width_; }
    void setBorderWidth(int width);

private:
    friend class PictureBox;
    explicit PictureLine(PictureBox* box) : box_(box) {}
    void changed();

    PictureBox* box_;
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    bool visible_ = true;
    QRgb color_ = qRgb(0, 0, 0);
    int width_ = 1;
};

class PictureBox : public QWidget {
    Q_OBJECT
public:
    // The widest pen the box draws with; wider requests are capped to it.
    static constexpr int kMaxDrawWidth = 100;

    // Mouse pointer shapes (the numbers of the classic MousePointer property).
    enum Pointer : int { PointerDefault = 0, PointerArrow = 1, PointerCross = 2, PointerIBeam = 3,
                         PointerSizeNS = 7, PointerSizeWE = 9, PointerHourglass = 11 };

    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    // --- scale ---------------------------------------------------------
    // (x1, y1) at the top-left corner, (x2, y2) at the bottom-right corner.
    void setScale(double x1, double y1, double x2, double y2);
    // Back to twips measured from the top-left corner.
    void setScaleTwips();
    // A strip of `pixels` along the bottom edge that the scale leaves out (a
    // status bar lies there): the scale maps onto the box's height less the
    // strip. 0 at start.
    void setBottomReserve(int pixels);
    int bottomReserve() const { return bottomReserve_; }
    // A strip of `pixels` along the right edge that the scale leaves out
    // (boxes of text lie there, clear of every curve). 0 at start.
    void setRightReserve(int pixels);
    int rightReserve() const { return rightReserve_; }
    // The height and width in pixels that the scale maps onto.
    int drawingHeight() const;
    int drawingWidth() const;
    bool hasUserScale() const { return userScale_; }
    double scaleLeft() const;
    double scaleTop() const;
    double scaleWidth() const;
    double scaleHeight() const;

    // User coordinates <-> widget pixel coordinates (continuous; the pixel
    // holding a user point is the floor of its pixel coordinates).
    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double toUserX(double px) const;
    double toUserY(double py) const;

    // --- drawing properties ----------------------------------------------
    int drawWidth() const { return drawWidth_; }
    // Pen width in pixels for later drawing; below 1 is refused (InvalidCall),
    // above kMaxDrawWidth is capped.
    void setDrawWidth(long long width);
    QRgb foreColor() const { return foreColor_; }
    void setForeColor(QRgb color) { foreColor_ = color; }
    QRgb backColor() const { return backColor_; }
    // Setting the background colour clears the picture to it.
    void setBackColor(QRgb color);

    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }

    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    // --- drawing -----------------------------------------------------------
    // Clears the persistent image to the background colour and puts the
    // current position at the scale origin (0, 0).
    void cls();
    // The same, for drawing the same picture again (after a change of pen or
    // size): the clear count stays, as the picture is still the one drawn
    // since the last Cls.
    void eraseForRedraw();
    // How many times the picture was cleared: a drawing made since the last
    // Cls is one made at the present count.
    long long clearCount() const { return clearCount_; }
    // A line from (x1, y1) to (x2, y2) in the given colour (the foreground
    // colour when none); the current position moves to (x2, y2).
    void line(double x1, double y1, double x2, double y2, std::optional<QRgb> color = std::nullopt);
    // A line from the current position to (x, y).
    void lineTo(double x, double y, std::optional<QRgb> color = std::nullopt);
    // One point of the pen's size at (x, y); the current position moves there.
    void pset(double x, double y, std::optional<QRgb> color = std::nullopt);
    // Prints the text with its top-left corner at the current position in the
    // foreground colour, transparent background. With newLine the current
    // position then goes to the start of the next line (x = scale left),
    // otherwise it moves right by the text's width.
    void print(const QString& text, bool newLine = true);
    double textWidth(const QString& text) const;  // in user units (positive)
    double textHeight(const QString& text) const; // in user units (positive)
    // Colour of the persistent image at a user point; nullopt outside.
    std::optional<QRgb> point(double x, double y) const;

    // The persistent image (the size of the widget).
    const QImage& image() const { return image_; }

    // --- line controls -------------------------------------------------------
    // A new line control, owned by the box, initially visible at (0,0)-(0,0).
    PictureLine* addLine();

    // Keeps one painter open on the image for a run of drawing calls (a plot
    // of thousands of segments). Nesting is allowed.
    class DrawSession {
    public:
        explicit DrawSession(PictureBox& box);
        ~DrawSession();
        DrawSession(const DrawSession&) = delete;
        DrawSession& operator=(const DrawSession&) = delete;

    private:
        PictureBox& box_;
    };

signals:
    // Button: the button pressed or released (1 left, 2 right, 4 middle); on a
    // move, the buttons held. Shift: 1 Shift, 2 Ctrl, 4 Alt. X, Y: the pointer
    // in user coordinates.
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class PictureLine;
    friend class DrawSession;

    // Runs f with a painter on the image (the session's or a new one).
    template <typename F>
    void withPainter(F&& f);
    void drawSegment(QPainter& painter, double px1, double py1, double px2, double py2, QRgb color);
    void ensureImageSize();

    QImage image_;
    std::unique_ptr<QPainter> sessionPainter_;
    int sessionDepth_ = 0;

    bool userScale_ = false;
    int bottomReserve_ = 0;
    int rightReserve_ = 0;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1; // user scale

    int drawWidth_ = 1;
    QRgb foreColor_ = qRgb(0, 0, 0);
    QRgb backColor_ = qRgb(255, 255, 255);
    double currentX_ = 0, currentY_ = 0;
    int mousePointer_ = 0;
    long long clearCount_ = 0;

    std::vector<std::unique_ptr<PictureLine>> lines_;
};

} // namespace kelvara
