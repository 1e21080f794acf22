// Worst-case benchmark: how long each hostile input takes before the user sees its
// message, and how long and how much memory the largest picture an editor accepts
// costs. Not a test: it only reports. Message boxes are answered as soon as they open.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

#include "editors/bareditor.h"
#include "engines/environment.h"
#include "platform/files.h"
#include "shell/mainform.h"

namespace {

struct Timed {
    double toMessage = -1;  // ms from the press to the first box opening; -1: none opened
    double whole = 0;       // ms for the whole press
    QString text;
};

// Presses Build/Copy; the first message box is timed, read and closed.
Timed Press(TBarEditor* form)
{
    Timed timed;
    QElapsedTimer clock;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (timed.toMessage < 0) {
            timed.toMessage = clock.nsecsElapsed() / 1e6;
            timed.text = box->text().left(90);
        }
        box->done(QMessageBox::Ok);
    });
    poll.start();
    clock.start();
    form->Button1Click();
    timed.whole = clock.nsecsElapsed() / 1e6;
    poll.stop();
    return timed;
}

long PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

struct Case {
    const char* what;
    void (Tmainfm::*pick)();
    const char* box;
    QString text;
    const char* message;  // the valid message the other boxes go with
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir exeDir;
    platform::SetExeDirectoryOverride(exeDir.path());
    Tmainfm main;
    engines::SetScreenResolutionSource([] { return 96; });
    const bool scanCheck = argc > 1 && QString(argv[1]) == "--scan-check";
    main.ScanCheck1->setChecked(scanCheck);

    QString manyCjk;
    for (char16_t c = 0x4E00; c < 0x4E00 + 30000; ++c) manyCjk += QChar(c);
    const Case refusals[] = {
        {"C39 message of 32767 digits", &Tmainfm::C391Click, "barcodeedt", QString(32767, '1'), nullptr},
        {"C39 message of 30000 different CJK", &Tmainfm::C391Click, "barcodeedt", manyCjk, nullptr},
        {"C39 height 1e300", &Tmainfm::C391Click, "fheightedt", "1e300", "AB"},
        {"C39 height of 32767 digits", &Tmainfm::C391Click, "fheightedt", QString(32767, '1'), "AB"},
        {"EAN-13 height 1e300", &Tmainfm::ENA13Click, "fheightedt", "1e300", "400638133393"},
        {"EAN-13 height -5", &Tmainfm::ENA13Click, "fheightedt", "-5", "400638133393"},
        {"UPC-A width 999999 mils", &Tmainfm::upca1Click, "barwidth", "999999", "03600029145"},
        {"UPC-A width 0", &Tmainfm::upca1Click, "barwidth", "0", "03600029145"},
        {"UPC-A height 1e300", &Tmainfm::upca1Click, "fheightedt", "1e300", "03600029145"},
        {"UPC-A comment of 32767 characters", &Tmainfm::upca1Click, "heardtextedt", QString(32767, 'W'), "03600029145"},
        {"EAN-8 add-on of 5 CJK", &Tmainfm::EAN81Click, "Supplementaltxt", QStringLiteral("条码条码条"), "9638507"},
    };
    std::printf("%-40s %12s %12s  %s\n", "input", "to message", "whole press", "message");
    for (const Case& c : refusals) {
        (main.*c.pick)();
        auto* form = qobject_cast<TBarEditor*>(main.barform);
        if (c.message) form->barcodeedt->setText(QString::fromLatin1(c.message));
        form->findChild<QLineEdit*>(QString::fromLatin1(c.box))->setText(c.text);
        const Timed t = Press(form);
        std::printf("%-40s %9.1f ms %9.1f ms  %s\n", c.what, t.toMessage, t.whole, qPrintable(t.text));
    }

    // The largest pictures the editors accept: a side at 32767 pixels and the area at its cap.
    struct Largest {
        const char* what;
        void (Tmainfm::*pick)();
        const char* message;
        const char* height;
        const char* width;  // UPC: module mils; Code 39: narrow mils
    } largest[] = {
        {"UPC-A 32696 x 1509 (49.3 Mpx), refused", &Tmainfm::upca1Click, "03600029145", "15.55", "3583"},
        {"UPC-A 32696 x 482 (15.8 Mpx)", &Tmainfm::upca1Click, "03600029145", "4.85", "3583"},
        {"UPC-A 6571 x 2512 (16.5 Mpx)", &Tmainfm::upca1Click, "03600029145", "26", "719"},
        {"C39 26 characters at 1 px, 32767 high", &Tmainfm::C391Click, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "341", "10.5"},
    };
    for (const Largest& l : largest) {
        (main.*l.pick)();
        auto* form = qobject_cast<TBarEditor*>(main.barform);
        form->barcodeedt->setText(QString::fromLatin1(l.message));
        form->fheightedt->setText(QString::fromLatin1(l.height));
        const char* widthBox = l.pick == &Tmainfm::C391Click ? "fnarwidthedt" : "barwidth";
        form->findChild<QLineEdit*>(QString::fromLatin1(widthBox))->setText(QString::fromLatin1(l.width));
        const Timed t = Press(form);
        std::printf("%-40s %9.1f ms whole press, picture %d x %d, peak %ld MB so far  %s\n", l.what, t.whole,
                    form->Image1->picture.width(), form->Image1->picture.height(), PeakMegabytes(), qPrintable(t.text));
        main.C391Click();  // frees the editor and its pictures
        QGuiApplication::clipboard()->clear();
    }
    return 0;
}
