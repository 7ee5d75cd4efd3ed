#include "widgets/controls.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>

#include "platform/errors.h"

namespace kelvara {

QPushButton* MakeButton(QWidget* parent, const QString& objectName, const QString& caption, int x, int y, int w,
                        int h) {
    auto* b = MakeNamed<QPushButton>(parent, objectName, caption);
    b->setGeometry(x, y, w, h);
    return b;
}

QString ArrayName(const QString& name, int index) { return name + QLatin1Char('_') + QString::number(index); }

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on) emit chosen();
    });
}

void OptionButton::select() { setChecked(true); }

void OptionButton::clear() {
    if (!isChecked()) return;
    const bool exclusive = autoExclusive();
    setAutoExclusive(false);
    {
        QSignalBlocker block(this);
        setChecked(false);
    }
    setAutoExclusive(exclusive);
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}
TextBox::TextBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {}

InfoBox::InfoBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void InfoBox::setText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

QString InfoBox::text() const {
    QString t = toPlainText();
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return t;
}

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

LineControl::LineControl(Qt::Orientation orientation, QWidget* parent) : QFrame(parent) {
    setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    setFrameShadow(QFrame::Plain);
}

// ---- drives -------------------------------------------------------------

QString DriveListBox::driveOf(const QString& path) {
    QStorageInfo info(path);
    if (info.isValid()) return info.rootPath();
    return QDir::rootPath();
}

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    refresh();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit driveChanged(); });
}

void DriveListBox::refresh() {
    QSignalBlocker block(this);
    const QString current = drive();
    clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid()) continue;
        const QString root = volume.rootPath();
        if (!roots.contains(root)) roots.append(root);
    }
    roots.sort();
    for (const QString& root : roots) addItem(QDir::toNativeSeparators(root), root);
    const int at = findData(current.isEmpty() ? driveOf(QDir::currentPath()) : current);
    setCurrentIndex(at >= 0 ? at : 0);
}

QString DriveListBox::drive() const { return currentData().toString(); }

void DriveListBox::setDrive(const QString& drive) {
    int at = findData(drive);
    if (at < 0) {
        addItem(QDir::toNativeSeparators(drive), drive);
        at = count() - 1;
    }
    setCurrentIndex(at);
}

// ---- folders ------------------------------------------------------------

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    setIconSize(QSize(16, 16));
    setPath(QDir::currentPath());
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { open(item); });
}

void DirListBox::setPath(const QString& path) {
    QDir dir(path);
    if (path.isEmpty() || !dir.exists() || !dir.isReadable())
        kelvara::raise(ErrorCode::PathNotFound, "Path not found: " + QDir::toNativeSeparators(path).toStdString());
    const QString clean = QDir::cleanPath(dir.absolutePath());
    const bool changed = clean != path_;
    path_ = clean;
    refresh();
    if (changed) {
        // Another folder starts at the top of the list, its own item in view
        // (once the list is on the screen with its size).
        executeDelayedItemsLayout();
        scrollToTop();
        if (QListWidgetItem* item = currentItem(); item && isVisible()) scrollToItem(item);
        emit pathChanged();
    }
}

void DirListBox::refresh() {
    QSignalBlocker block(this);
    // A folder highlighted by a single click stays highlighted, and the list
    // stays where it was scrolled to, as long as the folder is the same.
    const bool same = listed_ == path_;
    const QString highlighted = same && currentItem() ? currentItem()->data(Qt::UserRole).toString() : QString();
    const int scrolled = same ? verticalScrollBar()->value() : 0;
    listed_ = path_;
    clear();
    // Ancestors, from the root down to the current folder.
    QStringList chain;
    QDir walk(path_);
    chain.prepend(walk.absolutePath());
    while (walk.cdUp()) chain.prepend(walk.absolutePath());
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const QString& folder : chain) {
        const QString label = folder == QDir::rootPath() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + label, this);
        item->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        item->setData(Qt::UserRole, folder);
        current = item;
        ++depth;
    }
    const QStringList subs = QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subs) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, this);
        item->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
        item->setData(Qt::UserRole, QDir(path_).absoluteFilePath(sub));
    }
    for (int i = 0; i < count() && !highlighted.isEmpty(); ++i)
        if (item(i)->data(Qt::UserRole).toString() == highlighted) current = item(i);
    if (current) setCurrentItem(current);
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scrolled);
}

void DirListBox::open(QListWidgetItem* item) {
    if (!item) return;
    setPath(item->data(Qt::UserRole).toString());
}

// ---- files --------------------------------------------------------------

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setToolTip(QStringLiteral("Filelist. Click to select - Dbl click to edit file."));
    setPath(QDir::currentPath());
}

void FileListBox::setPath(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (clean != path_) {
        // Another folder: nothing selected, the list from its top.
        path_ = clean;
        {
            QSignalBlocker block(this);
            clear();
        }
        refresh();
        scrollToTop();
        return;
    }
    refresh();
}

void FileListBox::refresh() {
    const QString selected = fileName();
    const int scrolled = verticalScrollBar()->value();
    QSignalBlocker block(this);
    clear();
    const QStringList files = QDir(path_).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    addItems(files);
    // The selected file stays selected while it exists; the list stays where
    // it was scrolled to.
    if (!selected.isEmpty()) setFileName(selected);
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scrolled);
}

QString FileListBox::fileName() const {
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FileListBox::setFileName(const QString& name) {
    const QList<QListWidgetItem*> found = findItems(name, Qt::MatchExactly);
    if (!found.isEmpty()) {
        setCurrentItem(found.first());
        found.first()->setSelected(true);
    }
}

QString FileListBox::fullPath() const { return JoinPath(path_, fileName()); }

QString JoinPath(const QString& folder, const QString& name) {
    QString f = QDir::toNativeSeparators(folder);
    const QChar sep = QDir::separator();
    if (!f.endsWith(sep)) f += sep;
    return f + name;
}

namespace {
// A widget that only holds other controls: a frame or a plain widget.
bool IsContainer(const QWidget* w) {
    return qobject_cast<const QGroupBox*>(w) != nullptr || w->metaObject() == &QWidget::staticMetaObject;
}
} // namespace

QPoint FitContainers(QWidget* w, int margin) {
    QPoint reach(0, 0);
    for (QObject* o : w->children()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (!c || c->isWindow()) continue;
        QPoint used = c->pos() + QPoint(c->width(), c->height());
        if (IsContainer(c)) {
            const QPoint inner = FitContainers(c, margin);
            if (inner != QPoint(0, 0)) {
                const QPoint needed = inner + QPoint(margin, margin);
                c->resize(std::max(c->width(), needed.x()), std::max(c->height(), needed.y()));
                // What must stay visible is the controls, not the border.
                used = c->pos() + inner;
            }
        }
        reach.setX(std::max(reach.x(), used.x()));
        reach.setY(std::max(reach.y(), used.y()));
    }
    return reach;
}

} // namespace kelvara
