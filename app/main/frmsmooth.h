#pragma once
// The smoothing window: loaded at start-up and kept hidden. Its frame
// frameSmooth holds the smoothing panel's controls.
#include <QWidget>

#include "widgets/controls.h"

namespace kelvara {

class frmSmooth : public QWidget {
    Q_OBJECT
public:
    explicit frmSmooth(QWidget* parent = nullptr);
    void Form_Load() {}
    Frame* frameSmooth = nullptr;
};

} // namespace kelvara
