#pragma once
// The smoothing window: loaded at start-up and kept hidden. Its frame
// frameSmooth holds the smoothing panel's boxes, which the measured-spectrum
// tools of the main window (spectrum_tools.h) read and write:
//   txtReadFileName  the spectrum file read for smoothing (input file)
//   txtFileName      the name to save the smoothed spectrum under (output file)
//   txtns            ns, points on each side of a filtered point (2..20)
//   txtm             m, degree of the smoothing polynomial (2..5)
//   txtFactor        the factor of the scaled loss curve (and its plot's Ymax)
//   txtPeakDescript  the description of the last smoothing
//   chkShowOriginal  overlay the unsmoothed spectrum on the smoothed one
// The window has no code of its own: no handler is connected to its controls.
#include <QWidget>

#include "widgets/controls.h"

class QCheckBox;

namespace kelvara {

class frmSmooth : public QWidget {
    Q_OBJECT
public:
    explicit frmSmooth(QWidget* parent = nullptr);
    void Form_Load() {}
    Frame* frameSmooth = nullptr;
    TextBox* txtReadFileName = nullptr;
    TextBox* txtFileName = nullptr;
    TextBox* txtns = nullptr;
    TextBox* txtm = nullptr;
    TextBox* txtFactor = nullptr;
    TextBox* txtPeakDescript = nullptr;
    QCheckBox* chkShowOriginal = nullptr;
};

} // namespace kelvara
