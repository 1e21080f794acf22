#include "C39form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <utility>

#include "editorhost.h"
#include "symbolbuild.h"
#include "engines/c39unit.h"
#include "platform/keyfilter.h"
#include "platform/export.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/widgets.h"

namespace {

const EditorDesign kDesign = {
    .caption = "BarCode_C39",
    .client = {688, 461},
    .panelHeight = 214,
    .firstPicture = {8, 8, 665, 169},
    .colorButton = false,
    .ownsWorkBitmap = true,
    .heightDefault = "1.2",
    .closeCaption = "Close",
    .label1 = {16, 14, 190, 17},
    .fheightedt = {210, 12, 90, 21},
    .label7 = {16, 108, 190, 17},
    .heardtextedt = {210, 106, 346, 21},
    .label6 = {16, 140, 190, 17},
    .barcodeedt = {210, 138, 346, 21},
    .label4 = {330, 14, 255, 17},
    .label5 = {330, 44, 255, 17},
    .button1 = {210, 174, 100, 28},
    .button4 = {330, 174, 100, 28},
    .button3 = {450, 174, 100, 28},
};

const std::pair<int, const char*> kStatusMessages[] = {
    {1, "Width Error"},
    {2, "Height Error"},
    {3, "Font setting Error"},
    {4, "Narwidth param Error"},
    {5, "Natio Error"},
    {6, "Left blank space Error"},
    {7, "Right blank space Error"},
    {8, "DPI Error"},
    {9, "Line Message Error"},
    {10, "Barcode Message Error"},
    {11, "Top blank space Error"},
    {12, "Down blank space  Error"},
    {14, "Nation  Error!"},
};

const char* const kTooShort = "The 'Bar code message' must have two or above two characters.";

// Names the characters one by one, a character beyond the 16-bit range whole; a long
// paste of foreign text is named by its first few, so the box stays readable.

// As a scanner reports the message: letters in upper case, and the underscore, which
// carries the Code 39 space, as a space.
QString ScannedText(const std::string& message)
{
    QString text = QString::fromStdString(message).toUpper();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

QString SizeText(const char* prefix, double inches)
{
    return QString::fromLatin1(prefix) + QString::asprintf("%8.2f", inches) + QStringLiteral("    inches");
}

}  // namespace

QString Tc39fm::UnencodableNotice(const std::string& characters)
{
    constexpr qsizetype kNamed = 10;
    const QList<uint> codes = QString::fromStdString(characters).toUcs4();
    QStringList names;
    for (qsizetype i = 0; i < std::min(codes.size(), kNamed); ++i) {
        const char32_t code = codes[i];
        names << (code == U' ' ? QStringLiteral("space") : QStringLiteral("'%1'").arg(QString::fromUcs4(&code, 1)));
    }
    QString list = names.join(QStringLiteral(", "));
    if (codes.size() > kNamed) list += QStringLiteral(" and %1 more").arg(codes.size() - kNamed);
    return QStringLiteral("The 'Bar code message' holds characters that Code 39 cannot encode: %1.").arg(list);
}

Tc39fm::Tc39fm(QWidget* parent, EditorHost& host) : TBarEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("c39fm"));
    Label2 = PanelLabel("Label2", "Narrow  Bar   Width  (mils)", QRect(16, 44, 190, 17));
    fnarwidthedt = platform::NewEdit(Panel2, "fnarwidthedt", QStringLiteral("23"), QRect(210, 42, 90, 21));
    Label3 = PanelLabel("Label3", "Narrow  To   Width Ratio ", QRect(16, 74, 190, 17));
    natiocbox = new QComboBox(Panel2);
    natiocbox->setObjectName(QStringLiteral("natiocbox"));
    natiocbox->setGeometry(210, 72, 90, 21);
    for (int tenths = 20; tenths <= 30; ++tenths)
        natiocbox->addItem(QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10));
    natiocbox->setCurrentIndex(0);

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(fnarwidthedt, [this](QKeyEvent* key) { return fnarwidthedtKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    platform::SetTabOrder({fheightedt, fnarwidthedt, natiocbox, heardtextedt, barcodeedt, Button1, Button3, Button4});
}

bool Tc39fm::fheightedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(fheightedt, this, key, true, true); }
bool Tc39fm::fnarwidthedtKeyPress(QKeyEvent* key)
{
    return platform::FilterNumericKey(fnarwidthedt, this, key, true, true);
}
bool Tc39fm::barcodeedtKeyPress(QKeyEvent*) { return false; }

QString Tc39fm::StatusMessage(int code)
{
    for (const auto& [status, text] : kStatusMessages)
        if (status == code) return QString::fromLatin1(text);
    return {};
}

void Tc39fm::Button1Click()
{
    platform::Guarded([this] { Build(); });
}

void Tc39fm::Build()
{
    // A character without a pattern would give a picture without bars: refuse the
    // build before anything the user already has is touched.
    const std::string message = barcodeedt->text().toStdString();
    const std::string unencodable = engines::Tc39::UnencodableChars(message);
    if (!unencodable.empty()) {
        platform::ShowNotice(this, UnencodableNotice(unencodable));
        return;
    }

    WhitenPictures();

    engines::Tc39 engine;
    const double height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    const double narrow = platform::StrToFloat(fnarwidthedt->text(), QLocale::c());
    const double ratio = platform::StrToFloat(natiocbox->currentText(), QLocale::c());
    const PageValues page = host.Pages();
    // The engine keeps the font by address: a copy of its own outlives the build for exports.
    const auto font = std::make_shared<const engines::Font>(host.TextFont());
    symbols::Inputs inputs;
    inputs.message = message;
    inputs.comment = heardtextedt->text().toStdString();
    inputs.height = height;
    inputs.width = narrow;
    inputs.ratio = ratio;
    inputs.page = page;
    const int status = symbols::ConfigureCode39(engine, inputs, *font);
    if (const QString text = StatusMessage(status); !text.isEmpty()) {
        platform::ShowNotice(this, text);
        return;
    }

    const int width = engine.SymbolWidth(), heightPx = engine.SymbolHeight();
    if (!SizePicture(width, heightPx) || !SizeWorkBitmap(width, heightPx)) return;
    CentreImage();

    const QString comment = heardtextedt->text();
    BuiltSymbol built{
        .symbology = ScanSymbology::Code39,
        .number = ScannedText(message),
        .addOn = {},
        .comment = comment,
        .resolution = engine.Dpi(),
        .fontSize = host.TextFont().size,
        .interval = page.fiwidth,
        // The characters start right at the bars' bottom unless a comment adds an
        // interval; below them lie three intervals, or one with a comment.
        .leverage = comment.isEmpty() ? IntervalLeverage{1, 0, 0, 3} : IntervalLeverage{1, 1, 0, 1},
        .widthFor = WholeMilsInput(QStringLiteral("Narrow Bar Width"), engine.Dpi()),
        .drawn = {},
    };
    // The work bitmap is drawn first: a message the engine cannot lay out is found
    // there, and the preview stays white.
    try {
        Label4->setText(SizeText("Bar Code Height:    ", static_cast<double>(heightPx) / engine.Dpi()));
        Label5->setText(SizeText("Bar Code Width:   ", static_cast<double>(width) / engine.Dpi()));
        for (QImage* target : {&work, &Image1->picture}) {
            platform::ImageCanvas canvas(*target);
            if (target == &Image1->picture) canvas.SetLog(&built.drawn);
            engine.Draw(canvas);
        }
    } catch (const engines::LayoutError&) {
        // The work bitmap holds the bars without characters by now: a turn or a print
        // would offer them as a symbol.
        work = platform::WhiteImage(work.width(), work.height());
        platform::ShowNotice(this, QString::fromLatin1(kTooShort));
        return;
    }
    FinishBuild(false, std::move(built), [engine, font](engines::Canvas& canvas) { engine.Draw(canvas); });
}
