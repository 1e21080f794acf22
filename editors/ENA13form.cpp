#include "ENA13form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "editorhost.h"
#include "symbolbuild.h"
#include "engines/ena13unit.h"
#include "engines/environment.h"
#include "engines/rounding.h"
#include "platform/export.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/widgets.h"

namespace {

const EditorDesign kDesign = {
    .caption = "EAN-13",
    .client = {688, 446},
    .panelHeight = 214,
    .firstPicture = {8, 8, 656, 147},
    .colorButton = true,
    .ownsWorkBitmap = true,
    .heightDefault = "1.3",
    .closeCaption = nullptr,
    .label1 = {12, 41, 165, 20},
    .fheightedt = {192, 39, 105, 21},
    .label7 = {62, 102, 110, 20},
    .heardtextedt = {191, 98, 346, 21},
    .label6 = {21, 128, 150, 20},
    .barcodeedt = {191, 125, 346, 21},
    .label4 = {68, 168, 100, 17},
    .label5 = {77, 188, 100, 17},
    .button1 = {456, 184, 81, 25},
    .button4 = {536, 184, 65, 25},
    .button3 = {},
    .lowerInnerPanel = true,
};

constexpr int kMessageLength = 12;

// The symbol's module is the picture's width in pixels divided among the 95 modules,
// the remainder dropped; the advice names the narrowest width of the list that gives it.
std::function<QString(int)> WidthInput(int resolution)
{
    return [resolution](int pixels) -> QString {
        for (int inches = 1; inches <= 9; ++inches)
            if (engines::RoundToInt(inches * resolution) / engines::TENA13::kModules == pixels)
                return QStringLiteral("a 'Bar code Width' of %1 inches").arg(inches);
        return {};
    };
}

}  // namespace

Tena13fm::Tena13fm(QWidget* parent, EditorHost& host) : TBarEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("ena13fm"));
    Label2 = PanelLabel("Label2", "Bar  code  Width (inches)", QRect(11, 70, 155, 20));
    ComboBox1 = new QComboBox(Panel2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(192, 68, 105, 21);
    for (int inches = 1; inches <= 9; ++inches) ComboBox1->addItem(QString::number(inches));
    ComboBox1->setCurrentIndex(1);
    Label3 = PanelLabel("Label3", "Ean13 Supplemental: ", QRect(21, 155, 153, 25), true);
    Edit1 = platform::NewEdit(Panel2, "Edit1", {}, QRect(192, 152, 137, 21));
    Edit1->setMaxLength(5);
    barcodeedt->setMaxLength(kMessageLength);

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    platform::RouteKeyPresses(Edit1, [this](QKeyEvent* key) { return Edit1KeyPress(key); });
    platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, ComboBox1, Edit1});
}

// Enter moves on from the height and the message, not from the add-on.
bool Tena13fm::fheightedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(fheightedt, this, key, true, true); }
bool Tena13fm::barcodeedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(barcodeedt, this, key, false, true); }
bool Tena13fm::Edit1KeyPress(QKeyEvent* key) { return platform::FilterNumericKey(Edit1, this, key, false, false); }

void Tena13fm::Button1Click()
{
    platform::Guarded([this] { Build(); });
}

void Tena13fm::Build()
{
    barcodeedt->setFocus();
    EnableTurnButtons();
    const QString message = barcodeedt->text();
    if (message.size() != kMessageLength) {
        platform::ShowNotice(this, QStringLiteral("The 'Bar code message' must contain 12 numbers."));
        return;
    }
    // Only pasted text can hold a non-digit; the engine cannot encode it, so the last
    // good symbol stays where it is.
    if (const QString bad = FirstNonDigit(message); !bad.isEmpty()) {
        platform::ShowNotice(this, QStringLiteral("The 'Bar code message' holds '%1', which is not a digit.").arg(bad));
        return;
    }
    QString addOn = Edit1->text();
    if (addOn.size() != 0 && addOn.size() != 2 && addOn.size() != 5) {
        platform::ShowNotice(this, QStringLiteral("The 'Ean13 Supplemental' must contain 2 or 5 numbers."));
        Edit1->setFocus();
        addOn.clear();
    }

    WhitenPictures();
    if (fheightedt->text().isEmpty()) return;

    const PageValues page = host.Pages();
    // The engine keeps the font by address: a copy of its own outlives the build for exports.
    const auto font = std::make_shared<const engines::Font>(host.TextFont());
    symbols::Inputs inputs;
    inputs.comment = heardtextedt->text().toStdString();
    inputs.height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    inputs.width = ComboBox1->currentText().toInt();
    inputs.page = page;
    inputs.barColor = host.BarColor();
    inputs.addOn = addOn.toStdString();
    engines::TENA13 engine;
    symbols::ConfigureEan13(engine, inputs, font.get());
    const int r = engine.Resolution();
    if (r <= 0) return;
    symbols::PlaceEan13(engine, message.toStdString(), font->size);
    // A pasted non-digit in the add-on is refused before anything is drawn: the preview
    // would otherwise keep the main symbol without its add-on, ready to print.
    if (!addOn.isEmpty()) RequireAddOnDigits(addOn);

    BuiltSymbol built{
        .symbology = ScanSymbology::Ean13,
        .number = message + QString::number(engines::TENA13::CheckDigit(message.toStdString())),
        .addOn = addOn,
        .comment = heardtextedt->text(),
        .resolution = r,
        .fontSize = font->size,
        .interval = page.fiwidth,
        // The digits move down half an interval while the guard bars, 6 % longer than
        // data bars that lose two and a half intervals, end 0.15 of one higher; the
        // add-on's bars start one interval below its digits.
        .leverage = {1, 0.65, 1, 1},
        .widthFor = WidthInput(r),
        .drawn = {},
    };
    // The picture is made wide enough for the add-on at once; its strip stays white
    // until the add-on is drawn.
    const platform::SymbolPainter paint = symbols::Ean13Painter(engine, font, !heardtextedt->text().isEmpty());
    const int width = symbols::Ean13PictureWidth(engine, paint);
    if (!BarsAccepted(paint, width, engine.SymbolHeight(), r, "'Bar code Width'", symbols::kLowEan13BarsHint))
        return;
    if (!SizePicture(width, engine.SymbolHeight())) return;
    {
        platform::ImageCanvas canvas(Image1->picture);
        canvas.SetLog(&built.drawn);
        paint(canvas);
    }
    FinishBuild(true, std::move(built), paint);
}
