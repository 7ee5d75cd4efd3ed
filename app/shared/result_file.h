#pragma once
// Saving one result array as a result file in a window's browser folder: the
// toolkit's writer (five header lines the page gives, the program-wide
// oscillator model, the result line, "@" and the two columns), then the
// window's file list refreshed.
//
// An empty file name, one of blanks only and one that holds a path separator
// or ".." are refused
// with a message that names the box "File name"; a file that cannot be
// written is reported with its path. An existing file is replaced.
#include <QString>
#include <QStringList>
#include <array>

#include "platform/checked_array.h"

namespace kelvara {

class WindowSurface;

// The five header lines of a result file; each page builds its own from its
// boxes.
using HeaderLines = std::array<QString, 5>;

// Writes `curve` as the result file `fileName` in the window's browser folder,
// under `header` and `resultLine`, with the program-wide oscillator model.
// Returns false when nothing was written (the user has been told why).
bool SaveResultFile(WindowSurface& window, const QString& fileName, const SingleArray& curve, const HeaderLines& header,
                    const QString& resultLine);

// The same for a curve whose first point lies at its own first energy
// (element 2; the photoemission curves start at their lowest loss), under any
// number of header lines (at most 20): the rows give the curve's true losses
// E0, E0 + dE, ... . A main-window curve (E0 = dE) gets the rows dE, 2 dE,
// ... that SaveResultFile writes.
bool SaveResultFileFromFirstEnergy(WindowSurface& window, const QString& fileName, const SingleArray& curve,
                                   const QStringList& header, const QString& resultLine);

// Whether a typed file name may be used: not empty nor blanks only, no folder
// part, no "..".
bool IsPlainFileName(const QString& name);
// The message that refuses a typed file name that is empty, blank or not plain.
QString RefusedFileNameMessage(const QString& name);

} // namespace kelvara
