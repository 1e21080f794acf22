#include "symbolbuild.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <utility>

#include "C39form.h"
#include "bareditor.h"
#include "engines/environment.h"
#include "engines/errors.h"

namespace symbols {

namespace {

// The add-on's length in characters, as the editors count it, is 0, 2 or 5.
bool AddOnLengthAccepted(const QString& addOn)
{
    return addOn.isEmpty() || addOn.size() == 2 || addOn.size() == 5;
}

std::string SizeError(long long width, long long height)
{
    // An engine reads both sides as the largest int when any of its lengths cannot be
    // laid out: there is no size to tell then.
    const bool unknown = width >= INT_MAX || height >= INT_MAX;
    const std::string size =
        unknown ? "The symbol would be more than " + std::to_string(engines::kMaxPixels) + " pixels on a side, "
                : "The symbol would be " + std::to_string(width) + " x " + std::to_string(height) + " pixels, ";
    if (width <= 0 || height <= 0)
        return size + "which leaves nothing to draw: check the sizes and the page setting for negative values.";
    if (width > engines::kMaxPixels || height > engines::kMaxPixels || width * height > engines::kMaxPictureArea)
        return size + "too large to draw: make it smaller.";
    return {};
}

// A canvas that draws nothing: lets an engine lay a symbol out to find its faults.
class NoCanvas : public engines::Canvas {
public:
    void SetBrushColor(engines::Rgb) override {}
    void SetFont(const engines::Font& font) override { size_ = font.size; }
    int FontSize() const override { return size_; }
    void FillRect(int, int, int, int) override {}
    bool TextOut(int, int, const std::string&) override { return true; }

private:
    int size_ = 0;
};

// A canvas that keeps where the bars would go and draws nothing.
class BarsProbe : public NoCanvas {
public:
    void FillRect(int left, int top, int right, int bottom) override
    {
        ++count;
        narrow = narrow || right <= left;
        low = low || bottom <= top;
        minLeft = std::min(minLeft, left);
        maxRight = std::max(maxRight, right);
        minTop = std::min(minTop, top);
        shortestBottom = std::min(shortestBottom, bottom);
    }
    int count = 0;
    bool narrow = false, low = false;
    int minLeft = INT_MAX, maxRight = INT_MIN, minTop = INT_MAX, shortestBottom = INT_MAX;
};

Drawing Failure(std::string error)
{
    Drawing drawing;
    drawing.error = std::move(error);
    return drawing;
}

// A picture of this size at this resolution; its error where the editors refuse the size.
Drawing Sized(int width, int height, int resolution)
{
    Drawing drawing;
    drawing.width = width;
    drawing.height = height;
    drawing.resolution = resolution;
    drawing.error = SizeError(width, height);
    return drawing;
}

// The editors' notice for a symbol whose bars would not be whole, or the empty text.
std::string BarsError(const Drawing& drawing, const std::string& widthInput, const std::string& lowHint)
{
    return BarsNotice(CheckBars(drawing.paint, drawing.width, drawing.height), drawing.resolution, widthInput, lowHint);
}

Drawing PrepareCode39(const Inputs& inputs)
{
    const std::string unencodable = engines::Tc39::UnencodableChars(inputs.message);
    if (!unencodable.empty()) return Failure(Tc39fm::UnencodableNotice(unencodable).toStdString());
    const auto font = std::make_shared<const engines::Font>(inputs.font);
    engines::Tc39 engine;
    if (const QString text = Tc39fm::StatusMessage(ConfigureCode39(engine, inputs, *font)); !text.isEmpty())
        return Failure(text.toStdString());
    Drawing drawing = Sized(engine.SymbolWidth(), engine.SymbolHeight(), engine.Dpi());
    if (!drawing.error.empty()) return drawing;
    try {
        NoCanvas canvas;
        engine.Draw(canvas);
    } catch (const engines::LayoutError&) {
        return Failure("The 'Bar code message' must have two or above two characters.");
    }
    drawing.paint = [engine, font](engines::Canvas& canvas) { engine.Draw(canvas); };
    return drawing;
}

Drawing PrepareEan13(const Inputs& inputs)
{
    // Counted and checked in characters, as the editors do, so a digit of another
    // script is named whole rather than as a byte of it.
    const QString message = QString::fromStdString(inputs.message);
    const QString addOn = QString::fromStdString(inputs.addOn);
    if (message.size() != 12) return Failure("The 'Bar code message' must contain 12 numbers.");
    if (const QString bad = FirstNonDigit(message); !bad.isEmpty())
        return Failure("The 'Bar code message' holds '" + bad.toStdString() + "', which is not a digit.");
    if (!AddOnLengthAccepted(addOn)) return Failure("The 'Ean13 Supplemental' must contain 2 or 5 numbers.");
    RequireAddOnDigits(addOn);
    if (inputs.width < 1 || inputs.width > 9) return Failure("The 'Bar code Width' must be 1 to 9 inches.");
    const auto font = std::make_shared<const engines::Font>(inputs.font);
    engines::TENA13 engine;
    ConfigureEan13(engine, inputs, font.get());
    if (engine.Resolution() <= 0) return Failure("No resolution to draw at.");
    PlaceEan13(engine, inputs.message, font->size);
    const platform::SymbolPainter paint = Ean13Painter(engine, font, !inputs.comment.empty());
    Drawing drawing = Sized(Ean13PictureWidth(engine, paint), engine.SymbolHeight(), engine.Resolution());
    if (!drawing.error.empty()) return drawing;
    drawing.paint = paint;
    if (std::string bars = BarsError(drawing, "'Bar code Width'", kLowEan13BarsHint); !bars.empty())
        return Failure(std::move(bars));
    return drawing;
}

template <class Engine>
Drawing PrepareUpc(const Inputs& inputs, std::size_t length, int modules, const char* addOnLabel)
{
    const QString message = QString::fromStdString(inputs.message);
    const QString addOn = QString::fromStdString(inputs.addOn);
    if (message.size() != qsizetype(length))
        return Failure("The 'Bar code message' must contain " + std::to_string(length) + " numbers.");
    if (!AddOnLengthAccepted(addOn))
        return Failure(std::string("The '") + addOnLabel + " Supplemental' must contain 2 or 5 numbers.");
    RequireMessageDigits(message);
    RequireAddOnDigits(addOn);
    const auto font = std::make_shared<const engines::Font>(inputs.font);
    Engine engine;
    ConfigureUpc(engine, inputs, modules, font.get());
    Drawing drawing = Sized(engine.SymbolWidth(), engine.SymbolHeight(), engine.Resolution());
    if (!drawing.error.empty()) return drawing;
    engine.SetComment(inputs.comment);
    drawing.paint = UpcPainter(engine, font);
    if (std::string bars = BarsError(drawing, "'Single Bar Width'", kLowBarsHint); !bars.empty())
        return Failure(std::move(bars));
    return drawing;
}

}  // namespace

std::optional<Kind> KindNamed(std::string_view name)
{
    std::string key;
    for (const char c : name)
        if (c != '-' && c != '_') key += char(std::tolower(static_cast<unsigned char>(c)));
    if (key == "code39" || key == "c39") return Kind::Code39;
    if (key == "ean13") return Kind::Ean13;
    if (key == "ean8") return Kind::Ean8;
    if (key == "upca") return Kind::UpcA;
    if (key == "upce") return Kind::UpcE;
    return std::nullopt;
}

Inputs Defaults(Kind kind)
{
    Inputs inputs;
    switch (kind) {
    case Kind::Code39: inputs.height = 1.2; inputs.width = 23; break;
    case Kind::Ean13: inputs.height = 1.3; inputs.width = 2; break;
    default: inputs.height = 1.3; inputs.width = 21; break;
    }
    return inputs;
}

Drawing Prepare(Kind kind, const Inputs& inputs)
{
    try {
        switch (kind) {
        case Kind::Code39: return PrepareCode39(inputs);
        case Kind::Ean13: return PrepareEan13(inputs);
        case Kind::Ean8: return PrepareUpc<engines::Tean8>(inputs, 7, 67, "Ean8");
        case Kind::UpcA: return PrepareUpc<engines::Tupc_a>(inputs, 11, 95, "Upc-a");
        case Kind::UpcE: return PrepareUpc<engines::Tupce>(inputs, 6, 51, "Upc-e");
        }
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
    return Failure("Unknown symbology.");
}

BarsFault CheckBars(const platform::SymbolPainter& paint, int width, int height)
{
    BarsProbe probe;
    paint(probe);
    if (probe.count == 0) return BarsFault::NoBars;
    if (probe.narrow) return BarsFault::TooNarrow;
    if (probe.low) return BarsFault::TooLow;
    if (probe.minLeft < 0) return BarsFault::CutLeft;
    if (probe.maxRight > width) return BarsFault::CutRight;
    if (probe.minTop < 0) return BarsFault::CutTop;
    if (probe.shortestBottom > height) return BarsFault::CutBottom;
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
    return engine.SetParams(font, 0, page.fiwidth / 1000, inputs.height, inputs.width / 1000, inputs.ratio,
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
    engine.SetResolution(engines::ScreenResolution());
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

platform::SymbolPainter Ean13Painter(const engines::TENA13& engine, std::shared_ptr<const engines::Font> font,
                                     bool commented)
{
    return [engine, font, commented](engines::Canvas& canvas) {
        engines::TENA13 drawn = engine;
        const double fs = font->size, r = drawn.Resolution();
        const double width = engine.CodeWidth(), left = engine.LeftMargin(), top = engine.TopMargin();
        const double interval = engine.IntervalSpace();
        drawn.SetCanvas(&canvas);
        drawn.DrawComment();
        // The digits move down below a comment by one more interval and a line of text.
        const double y = commented ? top + 2 * interval + fs / r + 0.03 : top + interval;
        drawn.Draw(fs / r + left, y);
        if (!drawn.Supplemental().empty())
            drawn.DrawSupplemental(engines::RoundToInt((width + left + width / 95 * 12) * r),
                                    engines::RoundToInt((top + interval) * r));
    };
}

int Ean13PictureWidth(const engines::TENA13& engine, const platform::SymbolPainter& paint)
{
    // The picture's width leaves out the font's size that the bars move right by to make
    // room for the leading digit, so at larger fonts and narrow widths the bars or the
    // add-on would pass its right edge and the symbol would not scan. The picture then
    // widens to hold them and the right margin after them; where it holds them already,
    // as at the default font, it keeps its width.
    const int stated = engine.SymbolWidth();
    if (stated <= 0 || stated > engines::kMaxPixels) return stated;
    BarsProbe probe;
    paint(probe);
    if (probe.count == 0 || probe.maxRight <= stated) return stated;
    const long long needed = (long long)probe.maxRight + engines::RoundToInt(engine.RightMargin() * engine.Resolution());
    return needed > stated ? int(std::min<long long>(needed, INT_MAX)) : stated;
}

}  // namespace symbols
