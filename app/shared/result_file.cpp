#include "shared/result_file.h"

#include <QDir>
#include <algorithm>

#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "shared/window_surface.h"
#include "state/module1.h"
#include "toolkit/tools.h"
#include "widgets/services.h"

namespace kelvara {

bool IsPlainFileName(const QString& name) {
    return !name.trimmed().isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QStringLiteral(".."));
}

QString RefusedFileNameMessage(const QString& name) {
    const QString problem = name.trimmed().isEmpty() ? QStringLiteral("type the name of the file to write.")
                                                     : QStringLiteral("a file name may not hold a folder or \"..\".");
    return BoxValueError(ErrorCode::BadFileName, QStringLiteral("File name"), name, problem).message();
}

namespace {
// Whether a typed name may be written; otherwise the user is told why.
bool AcceptFileName(const QString& name) {
    if (IsPlainFileName(name)) return true;
    services().messageBox(RefusedFileNameMessage(name));
    return false;
}

// A file that could not be written, named by its folder and the typed name.
void TellNotWritten(WindowSurface& window, const QString& name) {
    services().messageBox(QStringLiteral("The file could not be written: ") +
                          QDir::toNativeSeparators(window.browserFolder() + QStringLiteral("/") + ShortBoxText(name)));
}
} // namespace

bool SaveResultFile(WindowSurface& window, const QString& name, const SingleArray& curve, const HeaderLines& header,
                    const QString& resultLine) {
    if (!AcceptFileName(name)) return false;
    const QString path = window.browserFolder() + QStringLiteral("/") + name;
    Tools_cls::TextLines text(0, 20);
    for (int i = 0; i < 5; ++i) text(i + 1) = header[static_cast<std::size_t>(i)].toStdString();
    const ModelView model = ProgramModel();
    const bool written = Tools().Save2col_ELF(path.toStdString(), curve, text, 5, model.NumOsc, model.W0, model.A0,
                                              model.Gamma, model.Alfa, model.RefIndex, model.Egap, model.Core_ac,
                                              model.Core_bc, resultLine.toStdString());
    if (!written) TellNotWritten(window, name);
    window.refreshBrowser();
    return written;
}

bool SaveResultFileFromFirstEnergy(WindowSurface& window, const QString& name, const SingleArray& curve,
                                   const QStringList& header, const QString& resultLine) {
    if (!AcceptFileName(name)) return false;
    const QString path = window.browserFolder() + QStringLiteral("/") + name;
    Tools_cls::TextLines text(0, 20);
    const auto lines = static_cast<int16_t>(std::min<qsizetype>(header.size(), 20));
    for (int i = 0; i < lines; ++i) text(i + 1) = header[i].toStdString();
    // The rows run E0, E0 + dE, ... by successive additions, as the curve's
    // library formed its losses. A main-window curve starts at one step
    // (E0 = dE) and gets the rows dE, 2 dE, ... that SaveResultFile writes; a
    // curve that never held a result (E0 = 0) is written the same way.
    const float lossBeforeFirst = curve(2) == 0.0f ? 0.0f : curve(2) - curve(3);
    const ModelView model = ProgramModel();
    const bool written = Tools().Save2col_ELF(path.toStdString(), curve, text, lines, model.NumOsc, model.W0, model.A0,
                                              model.Gamma, model.Alfa, model.RefIndex, model.Egap, model.Core_ac,
                                              model.Core_bc, resultLine.toStdString(), lossBeforeFirst);
    if (!written) TellNotWritten(window, name);
    window.refreshBrowser();
    return written;
}

} // namespace kelvara
