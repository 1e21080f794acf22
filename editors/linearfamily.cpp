#include "linearfamily.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/widgets.h"
#include "symbols/symbolbuild.h"

namespace {

// The frame the three share. The message rows are wider than the UPC family's: a GS1
// element string runs to some forty characters. Label4 tells what the message takes.
constexpr EditorDesign LinearFrame(const char* caption)
{
    return {
        .caption = caption,
        .client = {688, 445},
        .panelHeight = 214,
        .firstPicture = {8, 8, 656, 147},
        .colorButton = true,
        .releasesPicturesOnClose = false,
        .heightDefault = "",  // the symbology's default, set by the editor
        .closeCaption = nullptr,
        .label1 = {16, 14, 190, 17},
        .fheightedt = {210, 12, 90, 21},
        .label7 = {16, 76, 190, 17},
        .heardtextedt = {210, 74, 460, 21},
        .label6 = {16, 106, 190, 17},
        .barcodeedt = {210, 104, 460, 21},
        .label4 = {210, 130, 460, 17},
        .label5 = {16, 130, 190, 17},
        .button1 = {210, 174, 100, 28},
        .button4 = {330, 174, 100, 28},
        .button3 = {450, 174, 100, 28},
        .button5 = {450, 174, 100, 28},
    };
}

const LinearFamilyDesign kDesigns[] = {
    {LinearFrame("fmcode128"), symbols::Kind::Code128, "Module Width (mils)", "Any ASCII text", false, false},
    {LinearFrame("fmgs1_128"), symbols::Kind::Gs1_128, "Module Width (mils)",
     "Element string as on the label: (01)09501101530003(17)250101(10)AB-123", false, false},
    {LinearFrame("fmitf14"), symbols::Kind::Itf14, "Narrow Bar Width (mils)",
     "13 digits (the check digit is added) or 14", true, true},
};

const LinearFamilyDesign& DesignOf(symbols::Kind kind)
{
    for (const LinearFamilyDesign& design : kDesigns)
        if (design.kind == kind) return design;
    return kDesigns[0];
}

struct BearerItem {
    const char* caption;
    symbols::Bearers bearers;
};
const BearerItem kBearerItems[] = {
    {"Frame", symbols::Bearers::Frame},
    {"Top and bottom", symbols::Bearers::TopBottom},
    {"None", symbols::Bearers::None},
};

// The ratios offered, in hundredths: 2.25 to 3.00 in steps of 0.05.
constexpr int kLeastRatio = 225, kMostRatio = 300, kRatioStep = 5;

QString RatioText(double ratio) { return QString::number(ratio, 'f', 2); }

}  // namespace

TLinearEditor::TLinearEditor(QWidget* parent, EditorHost& host, symbols::Kind kind)
    : TBarEditor(parent, host, DesignOf(kind).frame), family_(DesignOf(kind))
{
    setObjectName(QString::fromLatin1(family_.frame.caption));
    const symbols::Inputs defaults = symbols::Defaults(kind);
    // Inches with their tenths, as the other editors show them ("1.0", not "1").
    fheightedt->setText(QLocale::c().toString(defaults.height, 'f', 1));
    Label2 = PanelLabel("Label2", family_.widthCaption, QRect(16, 44, 190, 17));
    barwidth = platform::NewEdit(Panel2, "barwidth", QLocale::c().toString(defaults.width), QRect(210, 42, 90, 21));
    Label2->setBuddy(barwidth);
    Label4->setText(QString::fromLatin1(family_.messageHint));
    if (family_.ratioAndBearers) BuildRatioAndBearers();

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(barwidth, [this](QKeyEvent* key) { return barwidthKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    if (ratiocbox)
        platform::SetTabOrder({fheightedt, barwidth, ratiocbox, bearercbox, heardtextedt, barcodeedt, Button1, Button4, Button5});
    else
        platform::SetTabOrder({fheightedt, barwidth, heardtextedt, barcodeedt, Button1, Button4, Button5});
}

void TLinearEditor::BuildRatioAndBearers()
{
    const auto newList = [this](const char* name, const char* caption, QRect place) {
        auto* list = new QComboBox(Panel2);
        list->setObjectName(QString::fromLatin1(name));
        list->setGeometry(place);
        // A list box would be named after the item it shows.
        list->setAccessibleName(QString::fromLatin1(caption).simplified());
        return list;
    };
    Label3 = PanelLabel("Label3", "Wide To Narrow Ratio", QRect(330, 14, 150, 17));
    ratiocbox = newList("ratiocbox", "Wide To Narrow Ratio", QRect(490, 12, 90, 21));
    for (int hundredths = kLeastRatio; hundredths <= kMostRatio; hundredths += kRatioStep)
        ratiocbox->addItem(RatioText(hundredths / 100.0));
    ratiocbox->setCurrentText(RatioText(symbols::Defaults(family_.kind).ratio));
    Label8 = PanelLabel("Label8", "Bearer Bars", QRect(330, 44, 150, 17));
    bearercbox = newList("bearercbox", "Bearer Bars", QRect(490, 42, 120, 21));
    for (const BearerItem& item : kBearerItems) bearercbox->addItem(QString::fromLatin1(item.caption));
    Label3->setBuddy(ratiocbox);
    Label8->setBuddy(bearercbox);
}

bool TLinearEditor::fheightedtKeyPress(QKeyEvent* key)
{
    return platform::FilterNumericKey(fheightedt, this, key, true, false);
}
bool TLinearEditor::barwidthKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(barwidth, this, key, true, false); }
bool TLinearEditor::barcodeedtKeyPress(QKeyEvent* key)
{
    return family_.digitsOnly && platform::FilterNumericKey(barcodeedt, this, key, false, false);
}

void TLinearEditor::Button1Click()
{
    platform::Guarded([this] { BuildAndShow(family_.kind, ReadInputs()); });
}

symbols::Inputs TLinearEditor::ReadInputs() const
{
    symbols::Inputs inputs = SharedInputs();
    // As UTF-8: the build names a character beyond ASCII rather than lose it.
    inputs.message = barcodeedt->text().toStdString();
    inputs.height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    inputs.width = platform::StrToFloat(barwidth->text(), QLocale::c());
    if (ratiocbox) {
        inputs.ratio = platform::StrToFloat(ratiocbox->currentText(), QLocale::c());
        inputs.bearers = kBearerItems[std::max(0, bearercbox->currentIndex())].bearers;
    }
    return inputs;
}
