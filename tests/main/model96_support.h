#pragma once
// Shared set-up of the Model 96 and result-file tests: the main form on the
// offscreen screen, recording services (no blocking message box), the real
// libraries from the program's folder and a two-oscillator model.
#include <gtest/gtest.h>

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <memory>
#include <vector>

#include "file_lines.h"
#include "main/form1.h"
#include "main/model96_page.h"
#include "offscreen_screen.h"
#include "program_fixture.h"
#include "shell/forms.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/services.h"

namespace kelvara::testsupport {

struct Model96World {
    RecordingServices* rec = nullptr;
    Form1* form = nullptr;
    Model96Page* page = nullptr;
};

inline Model96World& World() {
    static Model96World w;
    static QPointer<Form1> running; // empty again once the test that started the program ended it
    if (!running) {
        UseOffscreenScreen(1280, 1024);
        SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
        // As at start-up: the start-up frame first, whose load creates the main form.
        const Program p = StartProgram({.resetState = false, .showFrame = false});
        w.rec = p.services;
        w.form = p.form;
        w.page = w.form->findChild<Model96Page*>(QStringLiteral("Model96Page"));
        running = w.form;
    }
    w.rec->messages.clear();
    return w;
}

// A free-electron-like material: a plasmon at 15.8 eV and a broad band.
inline void SetExampleModel() {
    using namespace Module1;
    for (SingleArray* a : {&W0, &A0, &Gamma, &Alfa}) a->clear();
    NumOsc = 2;
    W0(1) = 15.8f; A0(1) = 235.0f; Gamma(1) = 1.2f; Alfa(1) = 1.0f;
    W0(2) = 25.0f; A0(2) = 20.0f; Gamma(2) = 8.0f; Alfa(2) = 1.0f;
    Egap = 0.0f;
    RefIndex = 100.0f;
    Core_ac = 1.0f;
    Core_bc = 1.5f;
}

// The example model of the program's examples folder, read through the
// page's "Read ELF file" button from the file browser.
inline constexpr const char* kExampleModel = "free_electron_metal.elf";
inline void ReadExampleModel(Model96World& w) {
    w.form->Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    w.form->File1->setFileName(QString::fromLatin1(kExampleModel));
    w.rec->messages.clear();
    w.page->cmdELFfile96->click();
}

// Ep, Estep, Emax, X0, theta1, theta2.
inline void SetBoxes(Model96Page& page, const QStringList& texts) {
    for (int i = 0; i < 6; ++i) page.txtpar96Val[static_cast<std::size_t>(i)]->setText(texts.at(i));
}

inline QStringList Defaults() {
    return {QStringLiteral("1000"), QStringLiteral("0.5"), QStringLiteral("50"), QStringLiteral("20"),
            QStringLiteral("0"), QStringLiteral("0")};
}

// The library called directly, outside the page.
struct DirectRun {
    SingleArray Kvi{0, 1003}, Kvo{0, 1003}, Kmi{0, 1003}, Kmo{0, 1003}, Keff{0, 1003};
    float IMFPc = 0, IMFPv = 0, IMFPeff = 0;
};
inline DirectRun CallOrvane(float Ep, float Estep, float Emax, float X0, float t1, float t2) {
    using namespace Module1;
    DirectRun r;
    Module1::orvane(&Ep, &Estep, &Emax, &X0, &t1, &t2, r.Kvi.element1(), r.Kvo.element1(), r.Kmi.element1(),
                    r.Kmo.element1(), r.Keff.element1(), &Egap, W0.element1(), Gamma.element1(), A0.element1(),
                    Alfa.element1(), &NumOsc, &Core_ac, &Core_bc, &r.IMFPc, &r.IMFPv, &r.IMFPeff);
    return r;
}

inline void Click(QObject* root, const char* name) {
    auto* b = root->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

} // namespace kelvara::testsupport
