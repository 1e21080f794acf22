#include "C39form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "editorhost.h"
#include "engines/c39unit.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/widgets.h"
#include "symbols/notices.h"
#include "symbols/symbolbuild.h"

namespace {

const EditorDesign kDesign = {
    .caption = "BarCode_C39",
    .client = {688, 461},
    .panelHeight = 214,
    .firstPicture = {8, 8, 665, 169},
    .colorButton = false,
    .releasesPicturesOnClose = true,
    .heightDefault = "1.2",
    .closeCaption = "Close",
    .closeButtonCloses = true,
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
    .button5 = {570, 174, 100, 28},
};

QString SizeText(const char* prefix, double inches)
{
    return QString::fromLatin1(prefix) + QString::asprintf("%8.2f", inches) + QStringLiteral("    inches");
}

}  // namespace

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
    Label2->setBuddy(fnarwidthedt);
    Label3->setBuddy(natiocbox);
    // A list box would be named after the item it shows.
    natiocbox->setAccessibleName(Label3->text());
    natiocbox->setCurrentIndex(0);

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(fnarwidthedt, [this](QKeyEvent* key) { return fnarwidthedtKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    platform::SetTabOrder({fheightedt, fnarwidthedt, natiocbox, heardtextedt, barcodeedt, Button1, Button3, Button4, Button5});
}

bool Tc39fm::fheightedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(fheightedt, this, key, true, true); }
bool Tc39fm::fnarwidthedtKeyPress(QKeyEvent* key)
{
    return platform::FilterNumericKey(fnarwidthedt, this, key, true, true);
}
bool Tc39fm::barcodeedtKeyPress(QKeyEvent*) { return false; }

void Tc39fm::Button1Click()
{
    platform::Guarded([this] { Build(); });
}

void Tc39fm::Build()
{
    // A character without a pattern would give a picture without bars: refuse the
    // build before anything the user already has is touched.
    const QString notice = symbols::MessageNotice(symbols::Kind::Code39, barcodeedt->text());
    if (!notice.isEmpty()) return platform::ShowNotice(this, notice);
    WhitenPictures();
    symbols::Inputs inputs = SharedInputs();
    inputs.message = barcodeedt->text().toStdString();
    inputs.height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    inputs.width = platform::StrToFloat(fnarwidthedt->text(), QLocale::c());
    inputs.ratio = platform::StrToFloat(natiocbox->currentText(), QLocale::c());
    const symbols::Drawing drawing = symbols::Prepare(symbols::Kind::Code39, inputs);
    // Too short a message is found once the pictures are sized: they stay white.
    if (drawing.refusal != symbols::Refusal::Layout && !Accepted(drawing)) return;
    if (!SizePicture(drawing.width, drawing.height) || !SizeWorkBitmap(drawing.width, drawing.height)) return;
    CentreImage();
    Label4->setText(SizeText("Bar Code Height:    ", double(drawing.height) / drawing.resolution));
    Label5->setText(SizeText("Bar Code Width:   ", double(drawing.width) / drawing.resolution));
    if (!Accepted(drawing)) return;
    PaintPreview(drawing);
    // Both bitmaps hold the same painting: where they are alike, as every build makes
    // them, it is made once and copied.
    if (work.format() == Image1->picture.format() && work.size() == Image1->picture.size()) {
        std::copy_n(Image1->picture.constBits(), work.sizeInBytes(), work.bits());
    } else {
        platform::ImageCanvas canvas(work);
        drawing.paint(canvas);
    }
    FinishBuild(false, drawing, inputs);
}
