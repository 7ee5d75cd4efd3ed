#pragma once
// The photoemission window "XPS and AES": a second full-screen view of the
// program, created and laid out while the main form loads and then hidden.
#include <QWidget>

#include "widgets/controls.h"

namespace kelvara {

class formXPS : public QWidget {
    Q_OBJECT
public:
    explicit formXPS(QWidget* parent = nullptr);
    // Load event: full-screen layout, then visible.
    void Form_Load();
    // Element i of the save-frame array (only element 3 exists).
    Frame* frameSave_xps(int i) const;

private:
    Frame* frameSave_xps3_ = nullptr;
};

} // namespace kelvara
