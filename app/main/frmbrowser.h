#pragma once
// A small window with an address box; it holds and lists addresses and
// contacts nothing.
#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace kelvara {

class frmBrowser : public QWidget {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget* parent = nullptr);
    void Form_Load();
    void Form_Resize();
    void cboAddress_Click();
    void cboAddress_KeyPress(int keyCode);
    void timTimer_Timer() {}

    QString StartingAddress;
    QWidget* tbToolBar = nullptr;
    QWidget* picAddress = nullptr;
    QLabel* lblAddress = nullptr;
    QComboBox* cboAddress = nullptr;
    QWidget* brwWebBrowser = nullptr;
    QWidget* imlIcons = nullptr;
    QTimer* timTimer = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kelvara
