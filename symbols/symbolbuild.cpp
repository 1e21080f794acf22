#include "symbolbuild.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>

#include "engines/errors.h"
#include "engines/gs1.h"
#include "engines/itf14.h"
#include "platform/fonts.h"
#include "platform/textcache.h"
#include "symbols/notices.h"

namespace symbols {

namespace {

Drawing Refused(Refusal refusal, QString error)
{
    Drawing drawing;
    drawing.refusal = refusal;
    drawing.error = std::move(error);
    return drawing;
}

// The recording is the symbol: every output replays it.
void Keep(Drawing& drawing, std::shared_ptr<const Recording> recording)
{
    drawing.paint = [recording](engines::Canvas& canvas) { recording->Replay(canvas); };
    drawing.recording = std::move(recording);
}

// What every build tells the scan check the same way.
BuiltSymbol Built(Kind kind, const Inputs& inputs, IntervalLeverage leverage, std::function<QString(int)> widthFor)
{
    return {
        .symbology = kind,
        .number = {},
        .addOn = QString::fromStdString(inputs.addOn),
        .comment = QString::fromStdString(inputs.comment),
        .fontSize = inputs.font.size,
        .interval = inputs.page.fiwidth,
        .leverage = leverage,
        .widthFor = std::move(widthFor),
    };
}

// The size, then the bars on a picture of that size; the bars are judged first, where
// both sides can be drawn at all, as the editors do.
Drawing CheckedForBarsAndSize(Drawing drawing, const std::string& widthInput, const std::string& lowHint)
{
    if (drawing.width <= engines::kMaxPixels && drawing.height <= engines::kMaxPixels) {
        const std::string bars = BarsNotice(CheckBars(drawing.recording->Extent(), drawing.width, drawing.height),
                                            drawing.resolution, widthInput, lowHint);
        if (!bars.empty()) return Refused(Refusal::Bars, QString::fromStdString(bars));
    }
    if (QString size = SizeNotice(drawing.width, drawing.height); !size.isEmpty())
        return Refused(Refusal::Size, std::move(size));
    return drawing;
}

// As a scanner reports a Code 39 message: letters in upper case, and the underscore,
// which carries the Code 39 space, as a space.
QString ScannedCode39(const std::string& message)
{
    QString text = QString::fromStdString(message).toUpper();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

// The EAN-13 module is the picture's width in pixels divided among the 95 modules,
// the remainder dropped; the advice names the narrowest width of the list that gives it.
std::function<QString(int)> Ean13WidthInput(int resolution)
{
    return [resolution](int pixels) -> QString {
        for (int inches = 1; inches <= 9; ++inches)
            if (engines::RoundToInt(inches * resolution) / engines::TENA13::kModules == pixels)
                return QStringLiteral("a 'Bar code Width' of %1 inches").arg(inches);
        return {};
    };
}

Drawing PrepareCode39(const Inputs& inputs)
{
    if (QString notice = MessageNotice(Kind::Code39, QString::fromStdString(inputs.message)); !notice.isEmpty())
        return Refused(Refusal::Input, std::move(notice));
    engines::Tc39 engine;
    if (QString notice = Code39StatusNotice(ConfigureCode39(engine, inputs, inputs.font)); !notice.isEmpty())
        return Refused(Refusal::Input, std::move(notice));
    Drawing drawing;
    drawing.width = engine.SymbolWidth();
    drawing.height = engine.SymbolHeight();
    drawing.resolution = engine.Dpi();
    drawing.module = engine.Narrow();
    if (QString size = SizeNotice(drawing.width, drawing.height); !size.isEmpty())
        return Refused(Refusal::Size, std::move(size));
    Recorder recorder;
    try {
        engine.Draw(recorder);
    } catch (const engines::LayoutError&) {
        // The picture is still sized: the editor whitens it at that size.
        drawing.refusal = Refusal::Layout;
        drawing.error = Code39TooShortNotice();
        return drawing;
    }
    // The characters start right at the bars' bottom unless a comment adds an interval;
    // below them lie three intervals, or one with a comment.
    const IntervalLeverage leverage = inputs.comment.empty() ? IntervalLeverage{1, 0, 0, 3} : IntervalLeverage{1, 1, 0, 1};
    drawing.built = Built(Kind::Code39, inputs, leverage,
                          WholeMilsInput(QStringLiteral("Narrow Bar Width"), engine.Dpi()));
    drawing.built.number = ScannedCode39(inputs.message);
    std::shared_ptr<Recording> recording = recorder.Finish();
    // The engine tells a comment that the canvas refuses.
    if (!inputs.comment.empty()) recording->TellFirstTextRefused();
    Keep(drawing, std::move(recording));
    return drawing;
}

Drawing PrepareEan13(const Inputs& inputs)
{
    // Counted and checked in characters, as the editors do, so a digit of another
    // script is named whole rather than as a byte of it.
    const QString message = QString::fromStdString(inputs.message);
    const QString addOn = QString::fromStdString(inputs.addOn);
    if (QString notice = MessageNotice(Kind::Ean13, message); !notice.isEmpty())
        return Refused(Refusal::Input, std::move(notice));
    if (!AddOnLengthAccepted(addOn)) return Refused(Refusal::Input, AddOnLengthNotice(Kind::Ean13));
    // The engine draws at the resolution it is given; without one the build stops.
    if (inputs.resolution <= 0) return Refused(Refusal::Resolution, QStringLiteral("No resolution to draw at."));
    // A pasted non-digit in the add-on is refused before anything is drawn: the preview
    // would otherwise keep the main symbol without its add-on, ready to print.
    RequireAddOnDigits(addOn);
    if (inputs.width < 1 || inputs.width > 9) return Refused(Refusal::Input, Ean13WidthNotice());
    engines::TENA13 engine;
    ConfigureEan13(engine, inputs, &inputs.font);
    const int r = engine.Resolution();
    PlaceEan13(engine, inputs.message, inputs.font.size);
    Drawing drawing;
    const int stated = engine.SymbolWidth(), rightMargin = engines::RoundToInt(engine.RightMargin() * r);
    Recorder recorder;
    DrawEan13(engine, inputs.font.size, !inputs.comment.empty(), recorder);
    Keep(drawing, recorder.Finish());
    // The picture is made wide enough for the add-on at once; its strip stays white
    // until the add-on is drawn.
    drawing.width = Ean13PictureWidth(stated, rightMargin, drawing.recording->Extent());
    drawing.height = engine.SymbolHeight();
    drawing.resolution = r;
    drawing.module = engines::RoundToInt(inputs.width * r) / engines::TENA13::kModules;
    // The digits move down half an interval while the guard bars, 6 % longer than data
    // bars that lose two and a half intervals, end 0.15 of one higher; the add-on's bars
    // start one interval below its digits.
    drawing.built = Built(Kind::Ean13, inputs, {1, 0.65, 1, 1}, Ean13WidthInput(r));
    drawing.built.number = message + QString::number(engines::TENA13::CheckDigit(inputs.message));
    return CheckedForBarsAndSize(std::move(drawing), "'Bar code Width'", kLowEan13BarsHint);
}

// The number a scanner reports. UPC-A and EAN-8 engines have appended the check digit
// to the message by the time they have drawn; a UPC-E symbol reads as its number
// system 0, the six digits and the check digit of their expansion.
std::string ScannedNumber(const engines::Tbar& engine) { return engine.Message(); }
std::string ScannedNumber(const engines::Tupce& engine) { return "0" + engine.Message() + engine.ExpandToUpcA(); }

template <class Engine>
Drawing PrepareUpc(Kind kind, const Inputs& inputs)
{
    const QString message = QString::fromStdString(inputs.message);
    const QString addOn = QString::fromStdString(inputs.addOn);
    if (QString notice = MessageNotice(kind, message); !notice.isEmpty())
        return Refused(Refusal::Input, std::move(notice));
    if (!AddOnLengthAccepted(addOn)) return Refused(Refusal::Input, AddOnLengthNotice(kind));
    Engine engine;
    ConfigureUpc(engine, inputs, Engine::kModules, &inputs.font);
    // Pasted non-digits raise the conversion error here, before anything is drawn, so no
    // half-built symbol reaches the preview, the clipboard or the work bitmap.
    RequireMessageDigits(message);
    RequireAddOnDigits(addOn);
    Drawing drawing;
    // The picture is sized before the comment is set: a comment moves the symbol down
    // but never enlarges the picture.
    drawing.width = engine.SymbolWidth();
    drawing.height = engine.SymbolHeight();
    drawing.resolution = engine.Resolution();
    drawing.module = engine.ModuleWidth();
    engine.SetComment(inputs.comment);
    Recorder recorder;
    engine.SetCanvas(&recorder);
    engine.Draw();
    if (!engine.Supplemental.empty()) engine.DrawSupplemental();
    engine.SetCanvas(nullptr);
    Keep(drawing, recorder.Finish());
    // Every text keeps one interval from the bars it faces. The digits under the bars
    // move down by two intervals while the picture grows by one, so below them each
    // pixel of interval is one pixel less.
    drawing.built = Built(kind, inputs, {1, 1, 1, -1},
                          WholeMilsInput(QStringLiteral("Single Bar Width"), drawing.resolution));
    // Drawn, the engine has appended the check digit to its message.
    drawing.built.number = QString::fromStdString(ScannedNumber(engine));
    return CheckedForBarsAndSize(std::move(drawing), "'Single Bar Width'", kLowBarsHint);
}

// Code 128, GS1-128 and ITF-14 as whole pixels: bars and spaces alternating, a bar
// first; the quiet zones on either side; ITF-14's bearer bars.
struct WidthsSymbol {
    std::vector<int> widths;
    int quiet = 0;
    Bearers bearers = Bearers::None;
    int bearer = 0;    // thickness
    std::string text;  // the human-readable line
};

int MilsToPixels(double mils, int resolution) { return engines::RoundToInt(mils / 1000.0 * resolution); }

QString NoResolution() { return QStringLiteral("No resolution to draw at."); }

// The quiet zones lie inside the picture and the frame, the page values outside them; the
// comment stands above, the human-readable line centred below, one interval from the
// bars (or their bearers) either way. A line wider than the symbol widens the picture
// and the symbol is centred over it, so no character is cut off.
Drawing DrawWidths(Kind kind, const Inputs& inputs, const WidthsSymbol& symbol, int module, const QString& widthLabel)
{
    const int r = inputs.resolution;
    const PageValues& page = inputs.page;
    const long long left = MilsToPixels(page.fleft, r), right = MilsToPixels(page.fright, r);
    const long long top = MilsToPixels(page.ftop, r), down = MilsToPixels(page.fdown, r);
    const long long interval = MilsToPixels(page.fiwidth, r), barHeight = engines::RoundToInt(inputs.height * r);
    long long bars = 0;
    for (const int w : symbol.widths) bars += w;
    const long long sides = symbol.bearers == Bearers::Frame ? symbol.bearer : 0;
    const long long across = symbol.bearers == Bearers::None ? 0 : symbol.bearer;
    const long long symbolWidth = 2 * (sides + symbol.quiet) + bars;
    const int dpi = platform::PictureTextDpi();
    const QSize text = platform::TextBox(inputs.font, dpi, symbol.text);
    const QSize comment = inputs.comment.empty() ? QSize(0, 0) : platform::TextBox(inputs.font, dpi, inputs.comment);
    const long long content = std::max<long long>(symbolWidth, text.width());
    const long long frameTop = top + (inputs.comment.empty() ? 0 : comment.height() + interval);
    const long long barTop = frameTop + across, barBottom = barTop + barHeight, frameBottom = barBottom + across;
    const long long textTop = frameBottom + interval;
    const long long width = left + content + right, height = textTop + text.height() + down;
    // Pasted page values may be far beyond any picture; no length is laid out that
    // would not fit the pixels' range.
    for (const long long length : {left, right, top, down, interval, barHeight, content, width, height})
        if (length < -engines::kMaxPixels || length > engines::kMaxPixels)
        {
            // Where the sides themselves fit, it is a length inside them that does not.
            const bool sidesFit = width <= engines::kMaxPixels && height <= engines::kMaxPixels;
            if (width <= 0 || height <= 0) return Refused(Refusal::Size, SizeNotice(width, height));
            return Refused(Refusal::Size, sidesFit ? TooLargeNotice(INT_MAX, INT_MAX)
                                                   : TooLargeNotice(std::min<long long>(width, INT_MAX),
                                                                    std::min<long long>(height, INT_MAX)));
        }
    const int x0 = int(left + (content - symbolWidth) / 2);
    Recorder recorder;
    recorder.SetFont(inputs.font);
    if (!inputs.comment.empty()) {
        recorder.SetBrushColor(engines::kWhite);
        recorder.TextOut(x0, int(top), inputs.comment);
    }
    recorder.SetBrushColor(inputs.barColor);
    int x = int(x0 + sides + symbol.quiet);
    for (std::size_t i = 0; i < symbol.widths.size(); ++i) {
        if (i % 2 == 0) recorder.FillRect(x, int(barTop), x + symbol.widths[i], int(barBottom));
        x += symbol.widths[i];
    }
    if (across > 0) {
        const int x1 = int(x0 + symbolWidth);
        recorder.FillRect(x0, int(frameTop), x1, int(barTop));
        recorder.FillRect(x0, int(barBottom), x1, int(frameBottom));
        if (sides > 0) {
            recorder.FillRect(x0, int(barTop), int(x0 + sides), int(barBottom));
            recorder.FillRect(int(x1 - sides), int(barTop), x1, int(barBottom));
        }
    }
    recorder.SetBrushColor(engines::kWhite);
    recorder.TextOut(int(left + (content - text.width()) / 2), int(textTop), symbol.text);

    Drawing drawing;
    drawing.width = int(width);
    drawing.height = int(height);
    drawing.resolution = r;
    drawing.module = module;
    Keep(drawing, recorder.Finish());
    // The interval parts the comment and the line below from the bars; the picture grows
    // by it, so the room below the line stays.
    drawing.built = Built(kind, inputs, {1, 1, 0, 0}, WholeMilsInput(widthLabel, r));
    drawing.built.bearers = symbol.bearers;
    const std::string quotedLabel = "'" + widthLabel.toStdString() + "'";
    return CheckedForBarsAndSize(std::move(drawing), quotedLabel, kLowBarsHint);
}

// The bars less than a pixel wide at this resolution, told as for the other symbologies.
Drawing TooNarrow(int resolution, const QString& widthLabel)
{
    return Refused(Refusal::Bars, QString::fromStdString(BarsNotice(BarsFault::TooNarrow, resolution,
                                                                    "'" + widthLabel.toStdString() + "'", kLowBarsHint)));
}

// As a scanner reports Code 128 data: the characters, and FNC1 between GS1 fields as
// the group separator (ASCII 29); the FNC1 that opens a GS1-128 symbol is its symbology
// identifier ("]C1"), not text.
QString ScannedCode128(const std::vector<int>& data)
{
    QString text;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] != engines::kFnc1)
            text += QChar(char16_t(data[i]));
        else if (i > 0)
            text += QChar(char16_t(0x1d));
    }
    return text;
}

const QString kModuleWidth = QStringLiteral("Module Width");
const QString kNarrowBarWidth = QStringLiteral("Narrow Bar Width");

Drawing PrepareCode128(Kind kind, const Inputs& inputs)
{
    if (inputs.resolution <= 0) return Refused(Refusal::Resolution, NoResolution());
    WidthsSymbol symbol;
    std::vector<int> data;
    engines::Code128Symbol encoded;
    try {
        if (kind == Kind::Gs1_128) {
            engines::Gs1Message parsed = engines::ParseGs1(inputs.message);
            data = std::move(parsed.data);
            symbol.text = std::move(parsed.text);
        } else {
            data = engines::Code128Data(inputs.message);
            symbol.text = engines::Code128Text(data);
        }
        encoded = engines::EncodeCode128(data);
    } catch (const engines::EncodeError& e) {
        return Refused(Refusal::Input, QString::fromUtf8(e.what()));
    }
    const int module = MilsToPixels(inputs.width, inputs.resolution);
    if (module < 1) return TooNarrow(inputs.resolution, kModuleWidth);
    if (module > engines::kMaxPixels) return Refused(Refusal::Size, TooLargeNotice(INT_MAX, INT_MAX));
    for (const int w : encoded.widths) symbol.widths.push_back(w * module);
    symbol.quiet = 10 * module;
    Drawing drawing = DrawWidths(kind, inputs, symbol, module, kModuleWidth);
    drawing.built.number = ScannedCode128(data);
    drawing.built.modules = encoded.modules;
    return drawing;
}

Drawing PrepareItf14(const Inputs& inputs)
{
    if (inputs.resolution <= 0) return Refused(Refusal::Resolution, NoResolution());
    WidthsSymbol symbol;
    engines::Itf14Symbol encoded;
    try {
        encoded = engines::EncodeItf14(QString::fromStdString(inputs.message).trimmed().toStdString());
    } catch (const engines::EncodeError& e) {
        return Refused(Refusal::Input, QString::fromUtf8(e.what()));
    }
    const int narrow = MilsToPixels(inputs.width, inputs.resolution);
    if (narrow < 1) return TooNarrow(inputs.resolution, kNarrowBarWidth);
    if (narrow > engines::kMaxPixels) return Refused(Refusal::Size, TooLargeNotice(INT_MAX, INT_MAX));
    try {
        symbol.widths = engines::Itf14PixelWidths(encoded.wide, narrow, inputs.ratio);
    } catch (const engines::EncodeError& e) {
        return Refused(Refusal::Input, QString::fromUtf8(e.what()));
    }
    symbol.quiet = 10 * narrow;
    symbol.bearers = inputs.bearers;
    symbol.bearer = std::max(2, 2 * narrow);
    symbol.text = encoded.digits;
    Drawing drawing = DrawWidths(Kind::Itf14, inputs, symbol, narrow, kNarrowBarWidth);
    drawing.built.number = QString::fromStdString(encoded.digits);
    return drawing;
}

}  // namespace

Inputs Defaults(Kind kind)
{
    Inputs inputs;
    switch (kind) {
    case Kind::Code39: inputs.height = 1.2; inputs.width = 23; break;
    case Kind::Ean13: inputs.height = 1.3; inputs.width = 2; break;
    case Kind::Ean8:
    case Kind::UpcA:
    case Kind::UpcE: inputs.height = 1.3; inputs.width = 21; break;
    case Kind::Code128: inputs.height = 1.0; inputs.width = 13; break;
    case Kind::Gs1_128: inputs.height = 1.3; inputs.width = 20; break;
    case Kind::Itf14: inputs.height = 1.3; inputs.width = 20; inputs.ratio = 2.5; break;
    }
    return inputs;
}

Drawing Prepare(Kind kind, const Inputs& inputs)
{
    try {
        switch (kind) {
        case Kind::Code39: return PrepareCode39(inputs);
        case Kind::Ean13: return PrepareEan13(inputs);
        case Kind::Ean8: return PrepareUpc<engines::Tean8>(kind, inputs);
        case Kind::UpcA: return PrepareUpc<engines::Tupc_a>(kind, inputs);
        case Kind::UpcE: return PrepareUpc<engines::Tupce>(kind, inputs);
        case Kind::Code128:
        case Kind::Gs1_128: return PrepareCode128(kind, inputs);
        case Kind::Itf14: return PrepareItf14(inputs);
        }
    } catch (const std::exception& e) {
        return Refused(Refusal::Conversion, QString::fromUtf8(e.what()));
    }
    return Refused(Refusal::Input, QStringLiteral("Unknown symbology."));
}

BarsFault CheckBars(const FillExtent& bars, int width, int height)
{
    if (bars.count == 0) return BarsFault::NoBars;
    if (bars.narrow) return BarsFault::TooNarrow;
    if (bars.low) return BarsFault::TooLow;
    if (bars.minLeft < 0) return BarsFault::CutLeft;
    if (bars.maxRight > width) return BarsFault::CutRight;
    if (bars.minTop < 0) return BarsFault::CutTop;
    if (bars.shortestBottom > height) return BarsFault::CutBottom;
    return BarsFault::None;
}
std::string BarsNotice(BarsFault fault, int resolution, const std::string& widthInput, const std::string& lowHint)
{
    const auto cut = [](const char* edge) {
        return std::string("The bars would reach beyond the picture's ") + edge +
               " edge and be cut off: check the page setting for negative values.";
    };
    switch (fault) {
    case BarsFault::None: return {};
    // Left only where page values far apart, one of them negative, leave no bar on the picture.
    case BarsFault::NoBars:
        return "The symbol would have no bars on the picture: check the page setting for negative values.";
    case BarsFault::TooNarrow:
        return "The bars would be less than one pixel wide at " + std::to_string(resolution) +
               " dots per inch: make the " + widthInput + " larger.";
    case BarsFault::TooLow: return "The bars would be less than one pixel high: " + lowHint + ".";
    case BarsFault::CutLeft: return cut("left");
    case BarsFault::CutRight: return cut("right");
    case BarsFault::CutTop: return cut("top");
    case BarsFault::CutBottom: return cut("bottom");
    }
    return {};
}

int ConfigureCode39(engines::Tc39& engine, const Inputs& inputs, const engines::Font& font)
{
    const PageValues& page = inputs.page;
    // Without a resolution above 0 the engine asks the screen, and refuses one that is not
    // above 0 with its status 8.
    return engine.SetParams(font, std::max(0, inputs.resolution), page.fiwidth / 1000, inputs.height, inputs.width / 1000, inputs.ratio,
                            page.fleft / 1000, page.fright / 1000, inputs.comment, inputs.message, page.ftop / 1000,
                            page.fdown / 1000);
}

void ConfigureEan13(engines::TENA13& engine, const Inputs& inputs, const engines::Font* font)
{
    const PageValues& page = inputs.page;
    engine.SetComment(inputs.comment);
    engine.SetCodeHeight(inputs.height);
    engine.SetCodeWidth(int(inputs.width));
    engine.SetFont(font);
    engine.SetLeftMargin((page.fleft + 25) / 1000);
    engine.SetRightMargin((page.fright + 100) / 1000);
    engine.SetTopMargin(page.ftop / 1000);
    engine.SetBottomMargin((page.fdown + 25) / 1000);
    engine.SetBarColor(inputs.barColor);
    engine.SetResolution(inputs.resolution);
    engine.SetIntervalSpace(page.fiwidth / 1000);
    engine.SetSupplemental(inputs.addOn);
}

void PlaceEan13(engines::TENA13& engine, const std::string& message, int fontSize)
{
    const double fs = fontSize, r = engine.Resolution();
    engine.SetMessage(message);
    engine.SetCommentX(fs / r + engine.LeftMargin());
    engine.SetCommentY(engine.TopMargin() + engine.IntervalSpace());
}

void DrawEan13(engines::TENA13& engine, int fontSize, bool commented, engines::Canvas& canvas)
{
    const double fs = fontSize, r = engine.Resolution();
    const double width = engine.CodeWidth(), left = engine.LeftMargin(), top = engine.TopMargin();
    const double interval = engine.IntervalSpace();
    engine.SetCanvas(&canvas);
    engine.DrawComment();
    // The digits move down below a comment by one more interval and a line of text.
    const double y = commented ? top + 2 * interval + fs / r + 0.03 : top + interval;
    engine.Draw(fs / r + left, y);
    if (!engine.Supplemental().empty())
        engine.DrawSupplemental(engines::RoundToInt((width + left + width / engines::TENA13::kModules * 12) * r),
                                engines::RoundToInt((top + interval) * r));
    engine.SetCanvas(nullptr);
}

int Ean13PictureWidth(int stated, int rightMargin, const FillExtent& bars)
{
    // The picture's width leaves out the font's size that the bars move right by to make
    // room for the leading digit, so at larger fonts and narrow widths the bars or the
    // add-on would pass its right edge and the symbol would not scan. The picture then
    // widens to hold them and the right margin after them; where it holds them already,
    // as at the default font, it keeps its width.
    if (stated <= 0 || stated > engines::kMaxPixels) return stated;
    if (bars.count == 0 || bars.maxRight <= stated) return stated;
    const long long needed = (long long)bars.maxRight + rightMargin;
    return needed > stated ? int(std::min<long long>(needed, INT_MAX)) : stated;
}

}  // namespace symbols
