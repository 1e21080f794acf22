// ruvola-batch: the command-line generator. Draws one symbol from its arguments, or one
// symbol per line of a CSV file or standard input, with the editors' build path and page
// values, and writes each as a PNG, SVG or PDF file named by a pattern.
#include <QGuiApplication>
#include <cstdio>
#include <malloc.h>

#include "generator.h"
#include "options.h"
#include "sheetrun.h"
#include "platform/qtcanvas.h"
#include "platform/savebytes.h"
#include "tell.h"

int main(int argc, char** argv)
{
    // No window is ever shown; fonts still need a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error tells the bad lines; the toolkit's remarks about the session stay out.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "ruvola-batch: %s\n", qPrintable(text));
    });
    // A symbol drawn in colour, or as SVG or PDF, has a picture of some hundred kilobytes
    // made and freed again: kept in the heap rather than mapped and unmapped every time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    QGuiApplication app(argc, argv);
    const Options options = ParseArguments(QCoreApplication::arguments());
    // The symbols' text face stands for the same face as in the editors' windows.
    platform::DesignFamily();
    // An interrupted batch leaves whole files only.
    platform::LetFilesFinishBeforeInterrupts();
    if (!options.sheet.isEmpty()) return RunSheet(options);
    if (!options.batch.isEmpty()) return RunBatch(options);
    Generator generator(options, nullptr);
    QStringList fields = {options.positional[0], options.positional[1], options.positional.value(2)};
    const QString error = generator.Write(1, fields);
    if (error.isEmpty()) return 0;
    TellFault(0, error);
    return 1;
}
