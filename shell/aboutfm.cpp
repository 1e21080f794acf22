#include "aboutfm.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "platform/files.h"
#include "platform/icons.h"
#include "platform/notices.h"
#include "platform/widgets.h"

namespace {
const char* const kPresetText =
    "Ruvola BarCode Generator\n"
    "Version 1.0, December 2026\n"
    "\n"
    "Makes Code 39, EAN-13, EAN-8, UPC-A and UPC-E symbols,\n"
    "with 2- or 5-digit add-ons, for the clipboard and the printer.\n"
    "\n"
    "Runs on Debian GNU/Linux desktops.\n"
    "Made by Ruvola.";
}

Taboutform::Taboutform(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutform"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(394, 372);
    // Opens at its design place: QDialog centres a window on its parent at show time
    // only while the window has never been moved.
    move(198, 113);
    platform::SetPixelFont(this, 11);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 16, 41, 41);
    Image1->setScaledContents(true);
    Image1->setPixmap(platform::ProgramPixmap());
    Label1 = new QLabel(QStringLiteral("Ruvola BarCode Generator "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(72, 32, 209, 17);
    platform::SetPixelFont(Label1, 13);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(280, 31, 97, 25);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 64, 361, 297);
    Memo1->setReadOnly(true);
    // A screen reader names the text after the box it stands in.
    Memo1->setAccessibleName(QStringLiteral("About"));
    Memo1->setFocusPolicy(Qt::ClickFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(QString::fromLatin1(kPresetText));
    connect(Button1, &QPushButton::clicked, this, &Taboutform::Button1Click);
    FormCreate();
}

// Reads "About.txt" as 8-bit text; lines end at CR, LF or both.
void Taboutform::FormCreate()
{
    lines.clear();
    QFile file(platform::ExeDirectory() + QStringLiteral("About.txt"));
    if (!file.exists()) return;
    if (!file.open(QIODevice::ReadOnly)) {
        platform::ShowErrorBox(QStringLiteral("Cannot open file \"%1\". %2").arg(file.fileName(), file.errorString()));
        return;
    }
    const QString text = QString::fromLocal8Bit(file.readAll());
    if (text.isEmpty()) return;
    lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (lines.last().isEmpty()) lines.removeLast();
}

// Shows exactly the file's lines: the memo is refilled, never appended to.
void Taboutform::FormPaint()
{
    if (lines.isEmpty()) return;
    const QString text = lines.join(QLatin1Char('\n'));
    if (Memo1->toPlainText() != text) Memo1->setPlainText(text);
}

void Taboutform::Button1Click() { accept(); }

void Taboutform::paintEvent(QPaintEvent* event)
{
    FormPaint();
    QDialog::paintEvent(event);
}
