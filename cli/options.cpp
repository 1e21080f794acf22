#include "options.h"

#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <QFileInfo>

#include "symbols/kind.h"

namespace {

const char* const kUsage =
    "usage: ruvola-batch [OPTION]... SYMBOLOGY MESSAGE [ADD-ON]\n"
    "       ruvola-batch [OPTION]... --batch FILE|-\n"
    "\n"
    "Draws bar code symbols as the editors of Ruvola BarCode Generator do and writes\n"
    "them as PNG, SVG or PDF files at their true size.\n"
    "\n"
    "SYMBOLOGY is code39, ean13, ean8, upca, upce, code128, gs1-128 or itf14. MESSAGE\n"
    "is what the editor's 'Bar Code Message' takes (12, 7, 11 or 6 digits without the\n"
    "check digit; Code 39 text); Code 128: ASCII text; GS1-128: the element string as\n"
    "on the label, each Application Identifier in brackets, as\n"
    "(01)09501101530003(17)250101(10)AB-123; ITF-14: 13 digits, or 14 with the check\n"
    "digit. ADD-ON is an optional 2- or 5-digit supplement (EAN/UPC only).\n"
    "An EAN/UPC number may also be typed whole, with its check digit (13, 8, 12 digits;\n"
    "UPC-E: 8, number system 0 first): a right check digit gives the same symbol, a\n"
    "wrong one is refused naming the digit it should be.\n"
    "\n"
    "  -b, --batch FILE       one symbol per line of FILE ('-' reads standard input):\n"
    "                           symbology,message,add-on,comment,height,width,ratio\n"
    "                         fields after the message may be left out or empty (then\n"
    "                         the options below, else the editor's defaults, apply);\n"
    "                         a field with a comma or quote is written in double quotes;\n"
    "                         blanks around an EAN/UPC message are dropped.\n"
    "                         Blank lines and lines starting with '#' are skipped.\n"
    "  -o, --output PATTERN   file name; {line}, {symbology}, {message} and {addon} are\n"
    "                         replaced, the suffix .png, .svg or .pdf picks the format\n"
    "                         (default: {symbology}-{message}.png, and\n"
    "                         {line}-{symbology}-{message}.png for a batch); two lines\n"
    "                         that would write one file are refused: the first is\n"
    "                         written, the later one told. '-' writes the one symbol\n"
    "                         to standard output\n"
    "      --format FORMAT    png, svg or pdf: the format for standard output (png)\n"
    "  -c, --comment TEXT     comment line above the symbol\n"
    "      --height INCHES    bar height (editor default 1.2 for Code 39, 1.0 for\n"
    "                         Code 128, else 1.3)\n"
    "      --width VALUE      Code 39: narrow bar in mils (23); EAN-13: symbol width in\n"
    "                         whole inches (2); UPC-A, EAN-8, UPC-E: module in mils (21);\n"
    "                         Code 128: module in mils (13); GS1-128: module in mils (20);\n"
    "                         ITF-14: narrow bar in mils (20)\n"
    "      --ratio R          wide to narrow ratio: Code 39 2.0 to 3.0 (2.0), ITF-14\n"
    "                         2.25 to 3.0 (2.5)\n"
    "      --bearers STYLE    ITF-14's bearer bars: frame, topbottom or none (frame);\n"
    "                         a batch line has no field for it, the option sets all\n"
    "      --top, --bottom, --left, --right, --interval MILS\n"
    "                         the page values of the page setting dialog (0)\n"
    "      --font FACE        text font face (MS Sans Serif)\n"
    "      --font-size POINTS text size, a whole number (8)\n"
    "      --dpi N            resolution the symbol is drawn at, bars and text alike:\n"
    "                         the 96 dpi layout at N dots per inch (96)\n"
    "  -j, --jobs N           a batch's PNG files written by N threads while the next\n"
    "                         symbols are drawn (1: each drawn and written in turn)\n"
    "      --sheet TEMPLATE   put the labels on sheets of label stock, written as one\n"
    "                         PDF (default name sheet.pdf): a template by brand and\n"
    "                         part ('Avery 5160', 'Avery L7651') or by part or\n"
    "                         equivalent alone ('5160', '8160'), from glabels-data when\n"
    "                         installed (Avery 5160, L7160 and L7651 are built in), or\n"
    "                         custom:PAPER,WxH,COLSxROWS,X0,Y0,DX,DY: PAPER a paper\n"
    "                         (A4, US-Letter, Letter, ...) or its size WxH; WxH the\n"
    "                         label's size; COLSxROWS its columns and rows; X0,Y0 the\n"
    "                         first label's top-left corner; DX,DY the step to the next\n"
    "                         column and row; every length with its unit (mm, in, pt,\n"
    "                         cm, pc), as in\n"
    "                         custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm\n"
    "                         Labels are filled row by row, in line order; each symbol\n"
    "                         is centred in its label on whole dots of --dpi (300 with\n"
    "                         --sheet); one larger than its label is told with its\n"
    "                         line, and the rest are placed\n"
    "      --sheet-start N    the first label's position on the first sheet (1)\n"
    "      --copies N         labels of each symbol (1)\n"
    "      --count N          N symbols from each message, counting up by one, each\n"
    "                         with its own check digit (1); Code 39 and Code 128 count\n"
    "                         the digits their message ends with\n"
    "  -h, --help             show this help and exit\n"
    "  -V, --version          show the version and exit\n"
    "\n"
    "--dpi, --jobs, --font-size and the EAN-13 width take whole numbers and refuse a\n"
    "fraction. A message or comment longer than 32767 characters is refused, and so is\n"
    "a name whose suffix is not .png, .svg or .pdf. Control characters in a message\n"
    "are told as \\0, \\t, \\x01 and the like; an SVG file shows them as the\n"
    "control pictures U+2400 to U+241F.\n"
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

// A number of dots, threads or points: a fraction is refused, not cut.
int WholeNumber(const QString& option, const QString& text, int low, int high)
{
    const double value = Number(option, text);
    if (value != std::floor(value))
        UsageError(QStringLiteral("'%1' for %2 is not a whole number").arg(text, option));
    if (value < low || value > high) UsageError(QStringLiteral("%1 must be %2 to %3").arg(option).arg(low).arg(high));
    return int(value);
}

const QStringList kFormats = {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};

// The format of the files: --format where given, else the pattern's suffix.
void PickFormat(Options& options)
{
    if (!options.format.isEmpty() && !kFormats.contains(options.format))
        UsageError(QStringLiteral("--format takes png, svg or pdf, not '%1'").arg(options.format));
    if (options.ToStandardOutput()) {
        if (!options.batch.isEmpty()) UsageError(QStringLiteral("a batch cannot be written to standard output"));
        if (options.format.isEmpty()) options.format = kFormats[0];
        return;
    }
    const QString suffix = QFileInfo(options.pattern).suffix().toLower();
    if (!kFormats.contains(suffix))
        UsageError(QStringLiteral("'%1' does not end in .png, .svg or .pdf").arg(options.pattern));
    if (!options.format.isEmpty() && options.format != suffix)
        UsageError(QStringLiteral("--format %1 does not match '%2'").arg(options.format, options.pattern));
    options.format = suffix;
}

}  // namespace

bool WholeWidthOnly(const QString& symbology)
{
    const auto kind = symbols::KindNamed(symbology.trimmed().toStdString());
    return kind == symbols::Kind::Ean13;
}

Options ParseArguments(const QStringList& arguments)
{
    Options options;
    double* pageValues[] = {&options.page.ftop, &options.page.fdown, &options.page.fleft, &options.page.fright,
                            &options.page.fiwidth};
    const QStringList pageOptions = {"--top", "--bottom", "--left", "--right", "--interval"};
    const QStringList valued = QStringList{"-b", "--batch", "-o", "--output", "-c", "--comment", "--height", "--width",
                                           "--ratio", "--bearers", "--font", "--font-size", "--dpi", "-j", "--jobs", "--format",
                                           "--sheet", "--sheet-start", "--copies", "--count"}
                               << pageOptions;
    QString widthText;
    bool dpiGiven = false;
    QStringList sheetOnly;
    const QStringList bearerNames = {"frame", "topbottom", "none"};
    const symbols::Bearers bearerStyles[] = {symbols::Bearers::Frame, symbols::Bearers::TopBottom,
                                             symbols::Bearers::None};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (a == QLatin1String("-V") || a == QLatin1String("--version")) {
            std::fputs("ruvola-batch (Ruvola BarCode Generator) " RUVOLA_VERSION "\n", stdout);
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
        if (!valued.contains(a)) UsageError(QStringLiteral("unknown option %1").arg(a));
        if (i + 1 >= arguments.size()) UsageError(QStringLiteral("option %1 needs a value").arg(a));
        const QString value = arguments[++i];
        if (a == QLatin1String("--sheet-start") || a == QLatin1String("--copies") || a == QLatin1String("--count"))
            sheetOnly << a;
        if (a == QLatin1String("-b") || a == QLatin1String("--batch"))
            options.batch = value;
        else if (a == QLatin1String("-o") || a == QLatin1String("--output"))
            options.pattern = value;
        else if (a == QLatin1String("--format"))
            options.format = value.toLower();
        else if (a == QLatin1String("-c") || a == QLatin1String("--comment"))
            options.comment = value;
        else if (a == QLatin1String("--height"))
            options.height = Number(a, value);
        else if (a == QLatin1String("--width"))
            options.width = Number(a, widthText = value);
        else if (a == QLatin1String("--ratio"))
            options.ratio = Number(a, value);
        else if (a == QLatin1String("--bearers")) {
            const qsizetype style = bearerNames.indexOf(value.toLower());
            if (style < 0) UsageError(QStringLiteral("--bearers takes frame, topbottom or none, not '%1'").arg(value));
            options.bearers = bearerStyles[style];
        }
        else if (pageOptions.contains(a))
            *pageValues[pageOptions.indexOf(a)] = Number(a, value);
        else if (a == QLatin1String("--font"))
            options.font.face = value.toStdString();
        else if (a == QLatin1String("--font-size"))
            options.font.size = WholeNumber(a, value, 1, 1000);
        else if (a == QLatin1String("--dpi")) {
            options.dpi = WholeNumber(a, value, 1, 10000);
            dpiGiven = true;
        }
        else if (a == QLatin1String("--sheet"))
            options.sheet = value;
        else if (a == QLatin1String("--sheet-start"))
            options.sheetStart = WholeNumber(a, value, 1, 100000);
        else if (a == QLatin1String("--copies"))
            options.copies = WholeNumber(a, value, 1, 100000);
        else if (a == QLatin1String("--count"))
            options.count = WholeNumber(a, value, 1, 1000000);
        else
            options.jobs = WholeNumber(a, value, 1, 256);
    }
    if (options.batch.isEmpty() && (options.positional.size() < 2 || options.positional.size() > 3))
        UsageError(QStringLiteral("give SYMBOLOGY MESSAGE [ADD-ON], or --batch FILE"));
    if (!options.batch.isEmpty() && !options.positional.isEmpty())
        UsageError(QStringLiteral("--batch takes no symbol arguments"));
    if (options.batch.isEmpty() && options.width && WholeWidthOnly(options.positional[0]) &&
        *options.width != std::floor(*options.width))
        UsageError(QStringLiteral("'%1' for --width is not a whole number of inches").arg(widthText));
    if (options.sheet.isEmpty() && !sheetOnly.isEmpty())
        UsageError(QStringLiteral("%1 places labels on a sheet: give --sheet TEMPLATE").arg(sheetOnly[0]));
    if (!options.sheet.isEmpty()) {
        if (!dpiGiven) options.dpi = kDefaultSheetDpi;
        if (options.pattern.isEmpty()) options.pattern = QStringLiteral("sheet.pdf");
        if (options.format.isEmpty()) options.format = QStringLiteral("pdf");
        if (options.format != QLatin1String("pdf"))
            UsageError(QStringLiteral("sheets are written as PDF, not as %1").arg(options.format));
        if (!options.ToStandardOutput() && QFileInfo(options.pattern).suffix().toLower() != QLatin1String("pdf"))
            UsageError(QStringLiteral("sheets are written as one PDF file: '%1' does not end in .pdf").arg(options.pattern));
        return options;
    }
    if (options.pattern.isEmpty())
        options.pattern = options.batch.isEmpty() ? QStringLiteral("{symbology}-{message}.png")
                                                  : QStringLiteral("{line}-{symbology}-{message}.png");
    PickFormat(options);
    return options;
}
