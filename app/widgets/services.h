#pragma once
// Services that reach outside the program's own windows: the message box, the
// common file dialog, starting the desktop's editor on a file and the
// hourglass pointer. Each is a replaceable object so that tests can record
// the calls instead of blocking on a modal dialog.
#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;
class QWidget;

namespace kelvara {

class Services {
public:
    virtual ~Services() = default;
    // A message box with the OK button alone; an empty title gives the
    // program's default title.
    virtual void messageBox(const QString& text, const QString& title = QString());
    // Common file dialog; an empty result means the user cancelled. The
    // filter lists its entries separated by ";;"; selectedFilter names the
    // entry shown first (empty: the first entry).
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter);
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                                 const QString& selectedFilter = QString());
    // Print dialog: the user chooses the printer and the number of copies,
    // which the dialog sets on `printer`. False when the user cancelled.
    virtual bool printDialog(QPrinter& printer);
    // Opens the file in the desktop's default application. The path is one
    // argument, blanks included. Returns false when nothing could be started.
    virtual bool startEditor(const QString& path);
    // Hourglass pointer on (true) or back to the default pointer (false).
    virtual void setBusy(bool busy);
};

// The services in use. Never null.
Services& services();
// Replaces the services; returns the previous ones. Passing null restores
// the desktop services.
std::unique_ptr<Services> setServices(std::unique_ptr<Services> replacement);

// Title of message boxes that name no title of their own.
QString defaultMessageTitle();

// Services that record what the program asked for and never block: for tests
// and for running without a desktop.
class RecordingServices : public Services {
public:
    struct Message {
        QString text;
        QString title;
    };
    void messageBox(const QString& text, const QString& title = QString()) override;
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                         const QString& selectedFilter = QString()) override;
    // Accepts when printAccepts is set: the printer then writes a PDF file to
    // printToFile (when not empty) with printCopies copies.
    bool printDialog(QPrinter& printer) override;
    bool startEditor(const QString& path) override;
    void setBusy(bool busy) override;

    QList<Message> messages;
    QStringList editorPaths;
    QString nextFileName;   // the answer of the next file dialog
    int saveDialogs = 0;    // save dialogs shown
    QString lastFolder;     // folder, filter and preselected entry of the last save dialog
    QString lastFilter;
    QString lastSelectedFilter;
    bool printAccepts = false; // answer of the print dialog
    QString printToFile;       // PDF file the accepted print dialog chooses
    int printCopies = 1;
    int printDialogs = 0;      // print dialogs shown
    bool editorStarts = true; // what startEditor reports
    int busyDepth = 0;        // hourglass requests not yet taken back
    int busyCalls = 0;
};

// Hourglass pointer for the lifetime of the object, restored on every path.
class BusyPointer {
public:
    BusyPointer() { services().setBusy(true); }
    ~BusyPointer() { services().setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace kelvara
