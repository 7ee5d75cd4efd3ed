// A sweep through the real windows: every page of the main window and the
// photoemission window is entered from the start menu, each of its number
// boxes is set in turn to texts a user may type by mistake, and after each
// one every button of the page and every menu item is pressed. The program
// must go on, show no inf or NaN, take the hourglass back and leave only
// whole files. The boxes, buttons and menu items are found by walking the
// widget tree, so pages added later are swept as well.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

#include "program_fixture.h"
#include "shared/program_shell.h"
#include "state/binder.h"
#include "widgets/controls.h"

using namespace kelvara;

namespace {

const QStringList& BadTexts() {
    static const QStringList texts = {"", "abc", "1e39", "-1", "0", "NaN", "1,5", QString(300, QLatin1Char('9')),
                                      "1e30", "1e-30"};
    return texts;
}

// Buttons and menu items that leave the page, end the program or start
// something outside it (editor, web, printer, about window).
bool Skipped(const QString& text, const QString& name) {
    static const QRegularExpression away(
        QStringLiteral("exit|print|edit|web|www|about|main menu|notepad"), QRegularExpression::CaseInsensitiveOption);
    return away.match(text).hasMatch() || away.match(name).hasMatch();
}

// "inf", "infinity", "nan" (also "1.#INF", "-1.#IND") standing as a word;
// names such as "keff_inf" are words of their own, not numbers.
bool ShowsNonFinite(const QString& text) {
    static const QRegularExpression bad(QStringLiteral("(^|[^a-z_])(inf|infinity|nan|#ind|#qnan)([^a-z_]|$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    return bad.match(text).hasMatch();
}

template <class W>
QList<W*> Visible(QWidget* root) {
    QList<W*> out;
    for (W* w : root->findChildren<W*>())
        if (w->isVisible() && w->isEnabled()) out.append(w);
    return out;
}

QString Describe(QObject* o) {
    QString text;
    if (auto* b = qobject_cast<QPushButton*>(o)) text = b->text();
    if (auto* a = qobject_cast<QAction*>(o)) text = a->text();
    return o->objectName() + " \"" + text + "\"";
}

class WindowSweep : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::UseOffscreenScreen(1280, 1024);
        ASSERT_TRUE(folder_.isValid());
        QDir::setCurrent(folder_.path());
        SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
        // A model for the pages' read buttons (from the file browser) and
        // for the file dialogs (which the saves overwrite).
        const QString example = QStringLiteral(KELVARA_SOURCE_DIR "/examples/free_electron_metal.elf");
        ASSERT_TRUE(QFile::copy(example, folder_.filePath(QStringLiteral("model.elf"))));
        ASSERT_TRUE(QFile::copy(example, folder_.filePath(QStringLiteral("dialog.elf"))));
        program_ = testsupport::StartProgram();
        program_.services->nextFileName = folder_.filePath(QStringLiteral("dialog.elf"));
        root_ = &Forms::MDIForm1();
        program_.form->Dir1->setPath(folder_.path());
    }

    // The checks after each press.
    void check(const QString& what) {
        SCOPED_TRACE(what.toStdString());
        ASSERT_EQ(program_.services->busyDepth, 0) << "hourglass left on";
        ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr) << "hourglass left on";
        for (const auto& m : program_.services->messages)
            ASSERT_FALSE(m.text.startsWith(QStringLiteral("Run-time error:"))) << m.text.toStdString();
        program_.services->messages.clear();
        for (QPlainTextEdit* box : root_->findChildren<QPlainTextEdit*>()) {
            if (box->isVisible()) {
                ASSERT_FALSE(ShowsNonFinite(box->toPlainText()))
                    << box->objectName().toStdString() << ": " << box->toPlainText().toStdString();
            }
        }
        for (QLabel* label : root_->findChildren<QLabel*>()) {
            if (label->isVisible()) {
                ASSERT_FALSE(ShowsNonFinite(label->text()))
                    << label->objectName().toStdString() << ": " << label->text().toStdString();
            }
        }
        for (QLineEdit* box : root_->findChildren<QLineEdit*>()) {
            if (box->isVisible() && !typed_.contains(box)) {
                ASSERT_FALSE(ShowsNonFinite(box->text()))
                    << box->objectName().toStdString() << ": " << box->text().toStdString();
            }
        }
        for (const QString& name : QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden)) {
            ASSERT_FALSE(name.contains(QStringLiteral("tmp")) || name.endsWith(QStringLiteral(".part")))
                << "temporary file left: " << name.toStdString();
            QFile f(folder_.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = f.readAll();
            ASSERT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n")) << "half-written file " << name.toStdString();
            ASSERT_FALSE(ShowsNonFinite(QString::fromUtf8(bytes))) << "file " << name.toStdString();
        }
    }

    void backToStartMenu() {
        for (int i = 0; i < 4 && !program_.form->Frame4->isVisible(); ++i) {
            bool pressed = false;
            for (QPushButton* b : Visible<QPushButton>(root_)) {
                if (b->text().contains(QStringLiteral("main menu"), Qt::CaseInsensitive)) {
                    b->click();
                    pressed = true;
                    break;
                }
            }
            // A window without its way back yet: the shell's.
            if (!pressed) Shell().ReturnToMainWindow();
        }
        ASSERT_TRUE(program_.form->Frame4->isVisible());
    }

    void enter(OptionButton* option) {
        backToStartMenu();
        program_.form->File1->setFileName(QStringLiteral("model.elf"));
        option->click();
    }

    // Notes each box that is visible now, with the button or menu item whose
    // press showed it (none for the boxes of the page itself).
    void noteBoxes(QObject* shownBy) {
        for (QLineEdit* box : Visible<QLineEdit>(root_))
            if (!box->isReadOnly() && !revealer_.contains(box)) {
                revealer_.insert(box, shownBy);
                order_.append(box);
            }
    }

    // Presses every button of the page and every menu item once.
    void pressAll(OptionButton* option, const QString& context) {
        const QList<QPushButton*> buttons = Visible<QPushButton>(root_);
        for (QPushButton* b : buttons) {
            if (Skipped(b->text(), b->objectName()) || !b->isVisible() || !b->isEnabled()) continue;
            b->click();
            check(context + " then " + Describe(b));
            if (HasFatalFailure()) return;
            if (noting_) noteBoxes(b);
            if (program_.form->Frame4->isVisible()) enter(option); // the button left the page
        }
        for (QAction* a : root_->findChildren<QAction*>()) {
            if (a->isSeparator() || a->menu() != nullptr || !a->isEnabled() || Skipped(a->text(), a->objectName()))
                continue;
            a->trigger();
            check(context + " then menu " + Describe(a));
            if (HasFatalFailure()) return;
            if (noting_) noteBoxes(a);
            if (program_.form->Frame4->isVisible()) enter(option);
        }
    }

    QTemporaryDir folder_;
    testsupport::Program program_;
    QWidget* root_ = nullptr;
    QSet<QLineEdit*> typed_; // the boxes that hold a bad text
    bool noting_ = false;    // pressAll notes the boxes each press shows
    QHash<QLineEdit*, QObject*> revealer_;
    QList<QLineEdit*> order_;
};

} // namespace

TEST_F(WindowSweep, EveryBoxOfEveryPageTakesEveryBadTextAndEveryButtonStillWorks) {
    const QList<OptionButton*> options = program_.form->Frame4->findChildren<OptionButton*>();
    ASSERT_GE(options.size(), 6);
    int boxesSwept = 0;
    for (OptionButton* option : options) {
        const QString page = Describe(option) + " " + option->text();
        SCOPED_TRACE(page.toStdString());
        enter(option);
        // Once with the defaults, noting the boxes of the page and those that
        // a press shows (results, save boxes), to be swept too.
        revealer_.clear();
        order_.clear();
        noteBoxes(nullptr);
        noting_ = true;
        pressAll(option, page + " defaults");
        noting_ = false;
        if (HasFatalFailure()) return;
        // Brings the box on screen again: the page entered anew and the
        // button pressed that showed it.
        const auto reveal = [&](QLineEdit* box) {
            if (box->isVisible()) return true;
            enter(option);
            QObject* by = revealer_.value(box);
            if (auto* b = qobject_cast<QPushButton*>(by); b != nullptr && b->isVisible()) b->click();
            if (auto* a = qobject_cast<QAction*>(by)) a->trigger();
            return box->isVisible();
        };
        for (QLineEdit* box : order_) {
            if (!reveal(box)) continue;
            ++boxesSwept;
            const QString original = box->text();
            typed_ = {box};
            for (const QString& text : BadTexts()) {
                if (!reveal(box)) break;
                box->setText(text);
                const QString context = page + " " + box->objectName() + " = \"" + text.left(20) + "\"";
                check(context);
                if (HasFatalFailure()) return;
                pressAll(option, context);
                if (HasFatalFailure()) return;
            }
            reveal(box);
            box->setText(original);
            typed_.clear();
        }
        // Every box of the page at once.
        for (const QString& text : BadTexts()) {
            enter(option);
            QHash<QLineEdit*, QString> originals;
            for (QLineEdit* box : Visible<QLineEdit>(root_)) {
                if (box->isReadOnly()) continue;
                originals.insert(box, box->text());
                typed_.insert(box);
                box->setText(text);
            }
            pressAll(option, page + " every box = \"" + text.left(20) + "\"");
            if (HasFatalFailure()) return;
            enter(option);
            for (auto it = originals.begin(); it != originals.end(); ++it) it.key()->setText(it.value());
            typed_.clear();
        }
    }
    EXPECT_GT(boxesSwept, 10);
    EXPECT_TRUE(program_.form->isVisible() || Forms::formXPSExists());
}
