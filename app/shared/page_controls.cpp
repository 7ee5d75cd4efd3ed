#include "shared/page_controls.h"

#include <QEvent>

#include "shared/oscillator_model.h"
#include "widgets/guard.h"

#include "platform/errors.h"
#include "platform/numbers.h"

#include <limits>

namespace kelvara {

TextBox* MakeLabelBox(QWidget* parent, const QString& objectName, const QString& text, int x, int y, int w, int h) {
    auto* box = MakeNamed<TextBox>(parent, objectName, text);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setGeometry(x, y, w, h);
    return box;
}

std::map<int, TextBox*> MakeParameterFrame(QWidget* parent, const QString& frameName, const QString& caption,
                                           const QString& labelArray, const QString& valueArray,
                                           std::initializer_list<ParameterRow> rows, int x, int y, Frame** frameOut) {
    constexpr int kRow = 29;
    auto* frame = MakeNamed<Frame>(parent, frameName, caption);
    frame->setGeometry(x, y, 160, 30 + static_cast<int>(rows.size()) * kRow);
    std::map<int, TextBox*> values;
    int row = 0;
    for (const ParameterRow& r : rows) {
        const int top = 22 + row * kRow;
        MakeLabelBox(frame, ArrayName(labelArray, r.index), QString::fromUtf8(r.label), 6, top, 62);
        auto* value = MakeNamed<TextBox>(frame, ArrayName(valueArray, r.index), QString::fromUtf8(r.defaultText));
        value->setGeometry(70, top, 82, 24);
        SetBoxCaption(value, QString::fromUtf8(r.label));
        values[r.index] = value;
        ++row;
    }
    if (frameOut) *frameOut = frame;
    return values;
}

ModelFileControls MakeModelFileControls(WindowSurface& window, QWidget* page, const QString& boxName,
                                        const QString& buttonName, QWidget* frameToHide) {
    auto* box = MakeNamed<TextBox>(page, boxName);
    // Just below the page's caption: a save frame that opens over the page
    // (its top at 4 % of the screen height) leaves the box readable.
    box->setGeometry(176, 18, 200, 22);
    auto* button = MakeButton(page, buttonName, QStringLiteral("Read ELF file"), 176, 54, 98);
    connectGuarded(button, &QPushButton::clicked, page,
                   [&window, box, frameToHide](bool) { ReadELFForPage(window, box, frameToHide); });
    ShowModelSourceWhenShown(page, box);
    return {box, button};
}

namespace {
// Writes the model's source into a box whenever the watched page is shown.
class ModelSourceOnShow : public QObject {
public:
    ModelSourceOnShow(QWidget* page, QLineEdit* box) : QObject(box), page_(page), box_(box) {
        page->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == page_ && event->type() == QEvent::Show) ShowModelSource(box_);
        return false;
    }

private:
    QWidget* page_;
    QLineEdit* box_;
};
} // namespace

void ShowModelSourceWhenShown(QWidget* page, QLineEdit* box) { new ModelSourceOnShow(page, box); }

namespace {
const char* const kCaptionProperty = "kelvaraCaption";
BoxReadLog* activeLog = nullptr;

QString Quoted(const QString& text) { return QStringLiteral("\"") + text + QStringLiteral("\""); }

QString BoxMessage(const QString& box, const QString& text, const QString& problem) {
    const QString holds =
        text.isEmpty() ? QStringLiteral(" is empty") : QStringLiteral(" holds ") + Quoted(ShortBoxText(text));
    return QStringLiteral("The box ") + Quoted(box) + holds + QStringLiteral(": ") + problem;
}

QString Bound(float value) { return QString::fromStdString(GeneralText(value)); }
} // namespace

QString ShortBoxText(const QString& text) {
    constexpr qsizetype kLength = 40;
    if (text.size() <= kLength) return text;
    return text.left(kLength) + QStringLiteral("...");
}

void SetBoxCaption(QLineEdit* box, const QString& caption) {
    // "Estep = " is known as "Estep".
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char('='))) name.chop(1);
    box->setProperty(kCaptionProperty, name.trimmed());
}

QString BoxCaption(const QLineEdit* box) {
    const QString caption = box->property(kCaptionProperty).toString();
    return caption.isEmpty() ? box->objectName() : caption;
}

BoxValueError::BoxValueError(ErrorCode code, const QString& box, const QString& text, const QString& problem)
    : RuntimeError(code, BoxMessage(box, text, problem).toStdString()), box_(box), text_(text), problem_(problem) {}

QString BoxValueError::message() const { return QString::fromStdString(what()); }

float BoxSingle(const QLineEdit* box) {
    if (!box) raise(ErrorCode::ObjectRequired);
    const QString text = box->text();
    float value = 0.0f;
    try {
        value = ToSingle(text.toStdString());
    } catch (const RuntimeError& e) {
        if (e.code() == ErrorCode::Overflow)
            throw BoxValueError(ErrorCode::Overflow, BoxCaption(box), text, QStringLiteral("the number is too large."));
        throw BoxValueError(ErrorCode::TypeMismatch, BoxCaption(box), text,
                            text.isEmpty() ? QStringLiteral("a number is needed.")
                                           : QStringLiteral("this is not a number."));
    }
    BoxReadLog::Record({BoxCaption(box), text, value});
    return value;
}

float BoxSingleInRange(const QLineEdit* box, float low, float high, bool lowIncluded, bool highIncluded,
                       const QString& unit) {
    const float value = BoxSingle(box);
    const bool aboveLow = lowIncluded ? value >= low : value > low;
    const bool belowHigh = highIncluded ? value <= high : value < high;
    if (!(aboveLow && belowHigh))
        throw BoxValueError(ErrorCode::Overflow, BoxCaption(box), box->text(),
                            RangeProblem(low, high, lowIncluded, highIncluded, unit));
    return value;
}

QString RangeProblem(float low, float high, bool lowIncluded, bool highIncluded, const QString& unit) {
    const QString u = unit.isEmpty() ? QString() : QStringLiteral(" ") + unit;
    QString problem = QStringLiteral("the value must be ") +
                      (lowIncluded ? QStringLiteral("at least ") : QStringLiteral("greater than ")) + Bound(low) + u;
    if (!(high == std::numeric_limits<float>::max() && highIncluded))
        problem +=
            (highIncluded ? QStringLiteral(" and at most ") : QStringLiteral(" and less than ")) + Bound(high) + u;
    return problem + QStringLiteral(".");
}

float BoxPositive(const QLineEdit* box) {
    return BoxSingleInRange(box, 0.0f, std::numeric_limits<float>::max(), false, true);
}

float BoxLength(const QLineEdit* box) {
    return BoxSingleInRange(box, kShortestLength, std::numeric_limits<float>::max(), true, true,
                            QStringLiteral("\u00C5"));
}

float BoxAngle(const QLineEdit* box) {
    return BoxSingleInRange(box, 0.0f, 90.0f, true, false, QStringLiteral("degrees"));
}

BoxReadLog::BoxReadLog() : outer_(activeLog) { activeLog = this; }
BoxReadLog::~BoxReadLog() { activeLog = outer_; }

void BoxReadLog::Record(const BoxReading& reading) {
    if (activeLog) activeLog->readings_.push_back(reading);
}

const BoxReading* BoxReadLog::find(const QString& caption) const {
    for (const BoxReading& r : readings_)
        if (r.box.compare(caption, Qt::CaseInsensitive) == 0) return &r;
    return nullptr;
}

} // namespace kelvara
