#pragma once
// Small controls with the behaviour the forms rely on:
// - OptionButton: its click fires only when it becomes selected (never when
//   it is cleared or clicked while already selected), and code can clear it.
// - TextBox: a one-line box whose change handler runs at once, inside the
//   statement that writes its text (QLineEdit::textChanged is synchronous).
// - InfoBox: a read-only multi-line box (line breaks CR LF or LF).
// - Frame: a captioned container whose children are placed by position.
// - Control arrays: element i of array "name" carries the object name
//   "name_i"; ArrayName() builds it and Element() finds it.
// - DriveListBox, DirListBox, FileListBox: the file browser controls.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

namespace kelvara {

// Object name of element `index` of the control array `name`.
QString ArrayName(const QString& name, int index);

// Element `index` of the control array `name` below `root` (null if absent).
template <typename T = QWidget>
T* Element(const QObject* root, const QString& name, int index) {
    return root->findChild<T*>(ArrayName(name, index));
}

// Creates a child widget with an object name.
template <typename T, typename... Args>
T* MakeNamed(QWidget* parent, const QString& objectName, Args&&... args) {
    T* w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(objectName);
    return w;
}

// Creates a named push button at (x, y) with the given size in pixels.
QPushButton* MakeButton(QWidget* parent, const QString& objectName, const QString& caption, int x, int y, int w,
                        int h = 26);

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);
    // Selects the button (fires chosen() if it was not selected).
    void select();
    // Clears the button without firing anything.
    void clear();
    bool value() const { return isChecked(); }
signals:
    // The button has just become selected (by the user or by code).
    void chosen();
};

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    TextBox(const QString& text, QWidget* parent);
};

class InfoBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit InfoBox(QWidget* parent = nullptr);
    // The text as stored (CR LF line breaks are shown as line breaks).
    void setText(const QString& text);
    QString text() const;
};

class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(const QString& caption, QWidget* parent = nullptr);
};

// A line control: a thin horizontal or vertical line.
class LineControl : public QFrame {
    Q_OBJECT
public:
    explicit LineControl(Qt::Orientation orientation, QWidget* parent = nullptr);
};

// The mounted file systems; the current item is the drive (root path).
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);
    QString drive() const;
    // Selects the drive that holds `path` (fires driveChanged when it changes).
    void setDrive(const QString& drive);
    void refresh();
    static QString driveOf(const QString& path);
signals:
    void driveChanged();
};

// The folder list: the current folder with its ancestors above it and its
// sub-folders below. A double click (or Enter) opens the folder.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);
    QString path() const { return path_; }
    // Raises "Path not found" when the folder does not exist or cannot be read.
    // Another folder is shown from the top of the list.
    void setPath(const QString& path);
    // Lists the folder again; the highlighted folder and the scroll position stay.
    void refresh();
signals:
    void pathChanged();

private:
    void open(QListWidgetItem* item);
    QString path_;
    QString listed_; // the folder the list shows
};

// The files of one folder, sorted by name.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);
    QString path() const { return path_; }
    // Another folder is shown from the top, with no file selected.
    void setPath(const QString& path);
    // Lists the folder again; the selected file (while it exists) and the
    // scroll position stay.
    void refresh();
    // The selected file's name (empty when none is selected).
    QString fileName() const;
    void setFileName(const QString& name);
    // Folder and file name joined with the native separator.
    QString fullPath() const;

private:
    QString path_;
};

// Joins a folder and a name with the native separator (one separator only).
QString JoinPath(const QString& folder, const QString& name);

// On a screen too small for a window's layout fractions a container may be
// smaller than the controls it holds. Grows every container inside `w` (a
// frame or a plain widget; never shrinks one) so that it holds its own
// controls, hidden ones included, with a border of `margin` pixels, and
// returns the bottom-right corner (in w's coordinates) that w's controls
// reach; an empty container counts with its whole area.
QPoint FitContainers(QWidget* w, int margin = 6);

} // namespace kelvara
