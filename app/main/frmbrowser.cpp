#include "main/frmbrowser.h"

#include <QKeyEvent>

#include "widgets/guard.h"
#include "widgets/twips.h"

namespace kelvara {

namespace {
// Runs one statement of a handler that ignores its errors: a failure is
// dropped without a message and the handler goes on with the next one.
template <typename F>
void IgnoringErrors(F&& statement) noexcept {
    try {
        statement();
    } catch (...) {
    }
}
} // namespace

frmBrowser::frmBrowser(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QString());
    resize(640, 400);
    tbToolBar = new QWidget(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setGeometry(0, 0, width(), 24);
    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    picAddress->setGeometry(0, 24, width(), 56);
    lblAddress = new QLabel(QStringLiteral("&Address:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setGeometry(4, 2, 120, 20);
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    lblAddress->setBuddy(cboAddress);
    brwWebBrowser = new QWidget(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    imlIcons = new QWidget(this);
    imlIcons->setObjectName(QStringLiteral("imlIcons"));
    imlIcons->hide();
    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(5);
    connect(timTimer, &QTimer::timeout, this, [this] { timTimer_Timer(); });
    connectGuarded(cboAddress, &QComboBox::activated, this, [this](int) { cboAddress_Click(); });
    cboAddress->installEventFilter(this);
}

void frmBrowser::Form_Load() {
    // Each step goes on when one before it fails.
    IgnoringErrors([&] { show(); });
    IgnoringErrors([&] { tbToolBar->update(); });
    IgnoringErrors([&] { Form_Resize(); });
    IgnoringErrors([&] {
        cboAddress->move(TwipsToPixelsX(50), lblAddress->y() + lblAddress->height() + TwipsToPixelsY(15));
    });
    IgnoringErrors([&] {
        if (!StartingAddress.isEmpty()) {
            cboAddress->setEditText(StartingAddress);
            cboAddress->addItem(StartingAddress);
            timTimer->start();
        }
    });
}

void frmBrowser::Form_Resize() {
    picAddress->setGeometry(0, 24, width(), 56);
    tbToolBar->setGeometry(0, 0, width(), 24);
    brwWebBrowser->setGeometry(0, 80, width(), std::max(0, height() - 80));
    cboAddress->resize(std::max(0, width() - TwipsToPixelsX(100)), cboAddress->sizeHint().height());
}

void frmBrowser::cboAddress_Click() { timTimer->start(); }

void frmBrowser::cboAddress_KeyPress(int keyCode) {
    if (keyCode == 13) IgnoringErrors([&] { cboAddress_Click(); });
}

void frmBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([&] { Form_Resize(); });
}

bool frmBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cboAddress && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) cboAddress_KeyPress(13);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kelvara
