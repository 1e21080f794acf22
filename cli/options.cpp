#include "options.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* const kUsage =
    "usage: ruvola-batch [OPTION]... SYMBOLOGY MESSAGE [ADD-ON]\n"
    "       ruvola-batch [OPTION]... --batch FILE|-\n"
    "\n"
    "Draws bar code symbols as the editors of Ruvola BarCode Generator do and writes\n"
    "them as PNG, SVG or PDF files at their true size.\n"
    "\n"
    "SYMBOLOGY is code39, ean13, ean8, upca or upce. MESSAGE is what the editor's\n"
    "'Bar Code Message' takes (12, 7, 11 or 6 digits without the check digit; Code 39\n"
    "text); ADD-ON is an optional 2- or 5-digit supplement (not for Code 39).\n"
    "\n"
    "  -b, --batch FILE       one symbol per line of FILE ('-' reads standard input):\n"
    "                           symbology,message,add-on,comment,height,width,ratio\n"
    "                         fields after the message may be left out or empty (then\n"
    "                         the options below, else the editor's defaults, apply);\n"
    "                         a field with a comma or quote is written in double quotes.\n"
    "                         Blank lines and lines starting with '#' are skipped.\n"
    "  -o, --output PATTERN   file name; {line}, {symbology}, {message} and {addon} are\n"
    "                         replaced, the suffix .png, .svg or .pdf picks the format\n"
    "                         (default: {symbology}-{message}.png, and\n"
    "                         {line}-{symbology}-{message}.png for a batch)\n"
    "  -c, --comment TEXT     comment line above the symbol\n"
    "      --height INCHES    bar height (editor default 1.2 for Code 39, else 1.3)\n"
    "      --width VALUE      Code 39: narrow bar in mils (23); EAN-13: symbol width in\n"
    "                         whole inches (2); UPC-A, EAN-8, UPC-E: module in mils (21)\n"
    "      --ratio R          Code 39 wide to narrow ratio, 2.0 to 3.0 (2.0)\n"
    "      --top, --bottom, --left, --right, --interval MILS\n"
    "                         the page values of the page setting dialog (0)\n"
    "      --font FACE        text font face (MS Sans Serif)\n"
    "      --font-size POINTS text size (8)\n"
    "      --dpi N            resolution the symbol is drawn at (96)\n"
    "  -j, --jobs N           a batch's PNG files written by N threads while the next\n"
    "                         symbols are drawn (1: each drawn and written in turn)\n"
    "  -h, --help             show this help and exit\n"
    "\n"
    "Exit status: 0 when every symbol was written, 1 when some line or file failed\n"
    "(each is told on standard error with its line number; the good ones are still\n"
    "written), 2 for a usage error.\n";

[[noreturn]] void UsageError(const QString& text)
{
    std::fprintf(stderr, "ruvola-batch: %s\nTry 'ruvola-batch --help' for more information.\n", qPrintable(text));
    std::exit(2);
}

double Number(const QString& option, const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) UsageError(QStringLiteral("'%1' for %2 is not a number").arg(text, option));
    return value;
}

}  // namespace

Options ParseArguments(const QStringList& arguments)
{
    Options options;
    double* pageValues[] = {&options.page.ftop, &options.page.fdown, &options.page.fleft, &options.page.fright,
                            &options.page.fiwidth};
    const QStringList pageOptions = {"--top", "--bottom", "--left", "--right", "--interval"};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            options.positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            options.positional << arguments.mid(i + 1);
            break;
        }
        if (i + 1 >= arguments.size()) UsageError(QStringLiteral("option %1 needs a value").arg(a));
        const QString value = arguments[++i];
        if (a == QLatin1String("-b") || a == QLatin1String("--batch"))
            options.batch = value;
        else if (a == QLatin1String("-o") || a == QLatin1String("--output"))
            options.pattern = value;
        else if (a == QLatin1String("-c") || a == QLatin1String("--comment"))
            options.comment = value;
        else if (a == QLatin1String("--height"))
            options.height = Number(a, value);
        else if (a == QLatin1String("--width"))
            options.width = Number(a, value);
        else if (a == QLatin1String("--ratio"))
            options.ratio = Number(a, value);
        else if (pageOptions.contains(a))
            *pageValues[pageOptions.indexOf(a)] = Number(a, value);
        else if (a == QLatin1String("--font"))
            options.font.face = value.toStdString();
        else if (a == QLatin1String("--font-size"))
            options.font.size = int(Number(a, value));
        else if (a == QLatin1String("--dpi")) {
            options.dpi = int(Number(a, value));
            if (options.dpi < 1 || options.dpi > 10000) UsageError(QStringLiteral("--dpi must be 1 to 10000"));
        } else if (a == QLatin1String("-j") || a == QLatin1String("--jobs")) {
            options.jobs = int(Number(a, value));
            if (options.jobs < 1 || options.jobs > 256) UsageError(QStringLiteral("--jobs must be 1 to 256"));
        } else
            UsageError(QStringLiteral("unknown option %1").arg(a));
    }
    if (options.batch.isEmpty() && (options.positional.size() < 2 || options.positional.size() > 3))
        UsageError(QStringLiteral("give SYMBOLOGY MESSAGE [ADD-ON], or --batch FILE"));
    if (!options.batch.isEmpty() && !options.positional.isEmpty())
        UsageError(QStringLiteral("--batch takes no symbol arguments"));
    if (options.font.size < 1) UsageError(QStringLiteral("--font-size must be at least 1"));
    if (options.pattern.isEmpty())
        options.pattern = options.batch.isEmpty() ? QStringLiteral("{symbology}-{message}.png")
                                                  : QStringLiteral("{line}-{symbology}-{message}.png");
    return options;
}
