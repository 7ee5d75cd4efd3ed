#include "widgets/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace kelvara {

namespace {
std::unique_ptr<Services>& slot() {
    static std::unique_ptr<Services> current = std::make_unique<Services>();
    return current;
}
} // namespace

Services& services() { return *slot(); }

std::unique_ptr<Services> setServices(std::unique_ptr<Services> replacement) {
    if (!replacement) replacement = std::make_unique<Services>();
    std::unique_ptr<Services> previous = std::move(slot());
    slot() = std::move(replacement);
    return previous;
}

QString defaultMessageTitle() {
    QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Kelvara") : name;
}

void Services::messageBox(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? defaultMessageTitle() : title, text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

QString Services::openFileName(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}

QString Services::saveFileName(const QString& caption, const QString& folder, const QString& filter,
                               const QString& selectedFilter) {
    QString selected = selectedFilter;
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, folder, filter,
                                        selected.isEmpty() ? nullptr : &selected);
}

bool Services::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool Services::startEditor(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void Services::setBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void RecordingServices::messageBox(const QString& text, const QString& title) {
    messages.append({text, title});
}

QString RecordingServices::openFileName(const QString&, const QString&, const QString&) {
    return nextFileName;
}

QString RecordingServices::saveFileName(const QString&, const QString& folder, const QString& filter,
                                        const QString& selectedFilter) {
    ++saveDialogs;
    lastFolder = folder;
    lastFilter = filter;
    lastSelectedFilter = selectedFilter;
    return nextFileName;
}

bool RecordingServices::printDialog(QPrinter& printer) {
    ++printDialogs;
    if (!printAccepts) return false;
    if (!printToFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile);
    }
    printer.setCopyCount(printCopies);
    return true;
}

bool RecordingServices::startEditor(const QString& path) {
    editorPaths.append(path);
    return editorStarts;
}

void RecordingServices::setBusy(bool busy) {
    ++busyCalls;
    busyDepth += busy ? 1 : -1;
}

} // namespace kelvara
