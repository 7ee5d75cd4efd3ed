#pragma once
// The about window: eleven lines of credits inside its frame, lines 1 and 7
// in bold. "OK" closes it; the next opening builds it again.
#include <QWidget>
#include <array>

#include "widgets/controls.h"

namespace kelvara {

class formAbout : public QWidget {
    Q_OBJECT
public:
    explicit formAbout(QWidget* parent = nullptr);
    void Form_Load();
    void cmdOK_Click();
    TextBox* line(int i) const { return Text1_.at(static_cast<std::size_t>(i)); }
    static QString LineText(int i);

private:
    std::array<TextBox*, 11> Text1_{};
};

} // namespace kelvara
