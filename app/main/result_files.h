#pragma once
// The save frames of the main window ("Save the Cross Section"). Each
// calculation page has a "Save" button that opens its save frame; there the
// user types a file name and a description and presses one of the frame's
// save buttons. Each page fills its own frame with CalcPage::SaveFrame
// (shared/calc_page.h), giving the header lines of each of its curves; the
// file goes into the main window's browser folder (shared/result_file.h).
#include <QString>

namespace kelvara {

class Form1;

// The show buttons of the save frames: frameSave(index) visible and in front.
void ShowSaveFrame(Form1& form, int index);

// Room inside the frames as the start-up layout sizes them on a screen 1280
// pixels wide (the frames of pages 0 and 3 are the wider ones).
inline constexpr int kWideSaveFrame = 396;
inline constexpr int kNarrowSaveFrame = 344;

// The description box's first text in the frames of pages 0 and 2.
inline const QString kTwoLineDescription =
    QStringLiteral("You may write info here to be stored with \r\nthe data.\r\n");

// The unit of lengths in header lines.
inline const QString kAngstromText = QStringLiteral("\u00C5");

} // namespace kelvara
