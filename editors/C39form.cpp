#include "C39form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "engines/c39unit.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/widgets.h"
#include "shell/mainform.h"

namespace {

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

QString UnencodableNotice(const std::string& characters)
{
    QStringList names;
    for (const QChar c : QString::fromStdString(characters))
        names << (c == QLatin1Char(' ') ? QStringLiteral("space") : QStringLiteral("'%1'").arg(c));
    return QStringLiteral("The 'Bar code message' holds characters that Code 39 cannot encode: %1.")
        .arg(names.join(QStringLiteral(", ")));
}

QString SizeText(const char* prefix, double inches)
{
    return QString::fromLatin1(prefix) + QString::asprintf("%8.2f", inches) + QStringLiteral("    inches");
}

QLabel* PanelLabel(QWidget* parent, const char* name, const char* text, QRect place, bool bold = false)
{
    QLabel* label = platform::NewLabel(parent, name, QString::fromLatin1(text), place);
    platform::SetPixelFont(label, 13, bold);
    return label;
}

}  // namespace

Tc39fm::Tc39fm(QWidget* parent) : TBarEditor(parent, QStringLiteral("BarCode_C39"), 461, 214)
{
    setObjectName(QStringLiteral("c39fm"));
    BuildControls();
    ConnectCommonHandlers();
    connect(Button1, &QPushButton::clicked, this, &Tc39fm::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &Tc39fm::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &Tc39fm::Button3Click);
    FormCreate();
}

void Tc39fm::BuildControls()
{
    Label1 = PanelLabel(Panel2, "Label1", "Bar  code  Height  (inches) ", QRect(16, 14, 190, 17));
    fheightedt = platform::NewEdit(Panel2, "fheightedt", QStringLiteral("1.2"), QRect(210, 12, 90, 21));
    Label2 = PanelLabel(Panel2, "Label2", "Narrow  Bar   Width  (mils)", QRect(16, 44, 190, 17));
    fnarwidthedt = platform::NewEdit(Panel2, "fnarwidthedt", QStringLiteral("23"), QRect(210, 42, 90, 21));
    Label3 = PanelLabel(Panel2, "Label3", "Narrow  To   Width Ratio ", QRect(16, 74, 190, 17));
    natiocbox = new QComboBox(Panel2);
    natiocbox->setObjectName(QStringLiteral("natiocbox"));
    natiocbox->setGeometry(210, 72, 90, 21);
    for (int tenths = 20; tenths <= 30; ++tenths)
        natiocbox->addItem(QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10));
    natiocbox->setCurrentIndex(0);
    Label7 = PanelLabel(Panel2, "Label7", "Comment  Line:", QRect(16, 108, 190, 17), true);
    heardtextedt = platform::NewEdit(Panel2, "heardtextedt", {}, QRect(210, 106, 346, 21));
    Label6 = PanelLabel(Panel2, "Label6", "Bar Code  Message :", QRect(16, 140, 190, 17), true);
    barcodeedt = platform::NewEdit(Panel2, "barcodeedt", {}, QRect(210, 138, 346, 21));
    Label4 = PanelLabel(Panel2, "Label4", "", QRect(330, 14, 255, 17));
    Label5 = PanelLabel(Panel2, "Label5", "", QRect(330, 44, 255, 17));
    Button1 = platform::NewButton(Panel2, "Button1", QStringLiteral("Build/Copy"), QRect(210, 174, 100, 28));
    Button4 = platform::NewButton(Panel2, "Button4", QStringLiteral("Print"), QRect(330, 174, 100, 28));
    Button4->setEnabled(false);
    Button3 = platform::NewButton(Panel2, "Button3", QStringLiteral("Close"), QRect(450, 174, 100, 28));
    Button3->setVisible(false);

    platform::InstallNumericFilter(fheightedt, this, true, true);
    platform::InstallNumericFilter(fnarwidthedt, this, true, true);
    platform::SetTabOrder({fheightedt, fnarwidthedt, natiocbox, heardtextedt, barcodeedt, Button1, Button3, Button4});
}

QString Tc39fm::StatusMessage(int code)
{
    for (const auto& [status, text] : kStatusMessages)
        if (status == code) return QString::fromLatin1(text);
    return {};
}

void Tc39fm::FormCreate() { work = QImage(); }

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

    work = platform::WhiteImage(work.width(), work.height());
    Image1->SetSize(Image1->width(), Image1->height());

    engines::Tc39 engine;
    const double height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    const double narrow = platform::StrToFloat(fnarwidthedt->text(), QLocale::c());
    const double ratio = platform::StrToFloat(natiocbox->currentText(), QLocale::c());
    const int status = engine.SetParams(mainfm->font, 0, mainfm->fiwidth / 1000, height, narrow / 1000, ratio,
                                        mainfm->fleft / 1000, mainfm->fright / 1000,
                                        heardtextedt->text().toStdString(), message, mainfm->ftop / 1000,
                                        mainfm->fdown / 1000);
    if (const QString text = StatusMessage(status); !text.isEmpty()) {
        platform::ShowNotice(this, text);
        return;
    }

    const int width = engine.SymbolWidth(), heightPx = engine.SymbolHeight();
    if (!PictureSizeAccepted(width, heightPx)) return;
    Image1->SetSize(width, heightPx);
    work = platform::WhiteImage(width, heightPx);
    CentreImage();

    try {
        Label4->setText(SizeText("Bar Code Height:    ", static_cast<double>(heightPx) / engine.Dpi()));
        Label5->setText(SizeText("Bar Code Width:   ", static_cast<double>(width) / engine.Dpi()));
        {
            platform::ImageCanvas canvas(work);
            engine.Draw(canvas);
        }
        {
            platform::ImageCanvas canvas(Image1->picture);
            engine.Draw(canvas);
        }
        Image1->update();
        EnableTurnButtons();
        Button4->setEnabled(true);
    } catch (const engines::LayoutError&) {
        platform::ShowNotice(this, QString::fromLatin1(kTooShort));
        return;
    }
    CopyPictureToClipboard();
}

void Tc39fm::Button3Click() { close(); }

void Tc39fm::closeEvent(QCloseEvent* event)
{
    work = QImage();
    PrintBitmap = QImage();
    event->accept();
}
