// Build/Copy benchmark: the median time of one press of "Build/Copy" at an editor's
// defaults (handler to clipboard, offscreen) with the scan check off and on, of its
// engine alone (encode and paint into a picture of the symbol's size), and of the scan
// check's decoding and whole check of a picture. Not a test: it only reports.
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "editors/bareditor.h"
#include "engines/ena13unit.h"
#include "engines/environment.h"
#include "platform/files.h"
#include "platform/qtcanvas.h"
#include "platform/scancheck.h"
#include "shell/mainform.h"

namespace {

using Clock = std::chrono::steady_clock;

// Median of the single runs, in microseconds, after a warm-up.
double MedianMicros(const std::function<void()>& run, int rounds)
{
    for (int i = 0; i < rounds / 10; ++i) run();
    std::vector<double> times;
    times.reserve(rounds);
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    return times[rounds / 2];
}

void Report(const char* what, double micros, double target)
{
    std::printf("%-40s median %8.1f us   target %5.0f us   %s\n", what, micros, target,
                micros <= target ? "met" : "MISSED");
}

// The EAN-13 engine at the editor's defaults: 1.3 inches high, 2 inches wide, the
// default font, no page values, no comment, no add-on, 96 dpi.
void Ena13Engine(const engines::Font& font, QImage& picture)
{
    engines::TENA13 engine;
    engine.SetCodeHeight(1.3);
    engine.SetCodeWidth(2);
    engine.SetFont(&font);
    engine.SetLeftMargin(0.025);
    engine.SetRightMargin(0.1);
    engine.SetBottomMargin(0.025);
    engine.SetResolution(96);
    engine.SetMessage("590123412345");
    engine.SetCommentX(8.0 / 96 + 0.025);
    engine.SetCommentY(0);
    platform::ImageCanvas canvas(picture);
    engine.SetCanvas(&canvas);
    engine.DrawComment();
    engine.Draw(8.0 / 96 + 0.025, 0);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    QTemporaryDir exeDir;
    platform::SetExeDirectoryOverride(exeDir.path());
    Tmainfm main;
    engines::SetScreenResolutionSource([] { return 96; });

    const struct {
        const char* what;
        void (Tmainfm::*pick)();
        const char* message;
    } editors[] = {
        {"Code 39 Build/Copy at defaults", &Tmainfm::C391Click, "RUVOLA-39"},
        {"EAN-13 Build/Copy at defaults", &Tmainfm::ENA13Click, "590123412345"},
        {"UPC-A Build/Copy at defaults", &Tmainfm::upca1Click, "03600029145"},
        {"EAN-8 Build/Copy at defaults", &Tmainfm::EAN81Click, "9638507"},
        {"UPC-E Build/Copy at defaults", &Tmainfm::UPCE1Click, "123456"},
    };
    for (const auto& editor : editors) {
        (main.*editor.pick)();
        auto* form = qobject_cast<TBarEditor*>(main.barform);
        form->barcodeedt->setText(QString::fromLatin1(editor.message));
        main.ScanCheck1->setChecked(false);
        Report(editor.what, MedianMicros([&] { form->Button1Click(); }, rounds), 25);
        main.ScanCheck1->setChecked(true);
        Report("  the same with the scan check", MedianMicros([&] { form->Button1Click(); }, rounds), 2050);
    }

    QImage picture = platform::WhiteImage(204, 127);
    Report("EAN-13 engine alone (encode + paint)", MedianMicros([&] { Ena13Engine(main.font, picture); }, rounds), 10);

    // The pictures the check reads: the EAN-13 editor's at its defaults, and a Code 39
    // symbol of 22 characters at 23 mils with 9 pixels of quiet zone a side, 640 wide.
    const struct {
        const char* what;
        void (Tmainfm::*pick)();
        const char* message;
        double margins;  // left and right, mils
        platform::ScanFamily family;
    } pictures[] = {
        {"EAN-13 picture", &Tmainfm::ENA13Click, "590123412345", 0, platform::ScanFamily::EanUpc},
        {"640-pixel Code 39 picture", &Tmainfm::C391Click, "RUVOLA-BARCODE-2024-42", 93.75,
         platform::ScanFamily::Code39},
    };
    for (const auto& built : pictures) {
        main.fleft = main.fright = built.margins;
        (main.*built.pick)();
        auto* form = qobject_cast<TBarEditor*>(main.barform);
        form->barcodeedt->setText(QString::fromLatin1(built.message));
        form->Button1Click();
        const QImage picture = form->Image1->picture.copy();
        std::printf("%s: %d x %d\n", built.what, picture.width(), picture.height());
        Report("  decode", MedianMicros([&] { platform::ReadSymbol(picture, built.family); }, rounds), 2000);
        Report("  whole check (decode, figures, hints)", MedianMicros([&] { form->CheckScan(picture); }, rounds),
               2000);
    }
    return 0;
}
