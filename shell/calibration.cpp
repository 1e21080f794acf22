#include "calibration.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/notices.h"
#include "platform/numtext.h"

namespace {

const QString kXKey = QStringLiteral("X");
const QString kYKey = QStringLiteral("Y");
const QString kScaleKey = QStringLiteral("Scale");

QString Number(double value) { return platform::FloatToStr(value, QLocale::c()); }

// One value as text: empty is the neutral value; otherwise it must convert.
bool ReadValue(const QString& text, double neutral, double& value)
{
    if (text.trimmed().isEmpty()) {
        value = neutral;
        return true;
    }
    return platform::TryStrToFloat(text.trimmed(), value, QLocale::c());
}

}  // namespace

QString CalibrationSection(const QString& queue)
{
    return QStringLiteral("Calibration ") + QString::fromLatin1(QUrl::toPercentEncoding(queue));
}

CalibrationRead CalibrationFromTexts(const QString& x, const QString& y, const QString& scale)
{
    CalibrationRead read;
    sheets::Calibration c;
    const struct {
        const QString& text;
        double neutral;
        double& value;
        const char* name;
    } values[] = {{x, 0, c.xMils, "X offset"}, {y, 0, c.yMils, "Y offset"}, {scale, 100, c.scalePercent, "scale"}};
    for (const auto& v : values)
        if (!ReadValue(v.text, v.neutral, v.value)) {
            read.fault = QStringLiteral("The %1 '%2' is not a number.").arg(QLatin1String(v.name), v.text.trimmed());
            return read;
        }
    read.fault = sheets::CalibrationFault(c);
    if (read.fault.isEmpty()) read.value = c;
    return read;
}

CalibrationRead ReadCalibration(const QString& queue)
{
    const QStringList texts = platform::IniFile(platform::SettingsPath())
                                  .ReadStrings(CalibrationSection(queue), {kXKey, kYKey, kScaleKey});
    CalibrationRead read = CalibrationFromTexts(texts[0], texts[1], texts[2]);
    if (!read.fault.isEmpty())
        read.fault = QStringLiteral("The calibration of printer %1 in the settings file cannot be used: %2")
                         .arg(queue, read.fault);
    return read;
}

bool WriteCalibration(const QString& queue, const sheets::Calibration& c)
{
    return platform::IniFile(platform::SettingsPath())
        .WriteStrings(CalibrationSection(queue),
                      {{kXKey, Number(c.xMils)}, {kYKey, Number(c.yMils)}, {kScaleKey, Number(c.scalePercent)}});
}

QString PrintCalibrationPage(QPrinter& printer, int dpi, const sheets::LabelTemplate& sheet,
                             const sheets::Calibration& calibration)
{
    const JobSettings job(printer, dpi, sheets::SheetLayout(sheet));
    if (!job.Taken()) return QStringLiteral("The printer does not take the sheet's paper.");
    QPainter painter;
    if (!painter.begin(&printer)) return QStringLiteral("The print job could not be started.");
    sheets::PaintCalibrationPage(painter, sheets::SheetGrid(sheet, dpi, calibration));
    if (!painter.end()) return QStringLiteral("The print job could not be written.");
    return {};
}

Tcalibratefm::Tcalibratefm(const QString& queue, QPrinter* printer, int dpi, const sheets::LabelTemplate& sheet,
                           QWidget* parent)
    : QDialog(parent), queue_(queue), printer_(printer), dpi_(dpi), sheet_(sheet)
{
    setObjectName(QStringLiteral("calibratefm"));
    setWindowTitle(QStringLiteral("Calibrate"));
    const CalibrationRead stored = ReadCalibration(queue);
    saved_ = stored.value;
    const QStringList texts = platform::IniFile(platform::SettingsPath())
                                  .ReadStrings(CalibrationSection(queue), {kXKey, kYKey, kScaleKey});
    // Stored values that cannot be used are shown as they are, to be mended.
    const auto text = [&](int i, double value) { return stored.fault.isEmpty() ? Number(value) : texts[i]; };
    const auto edit = [this](const char* name, const QString& value) {
        auto* box = new QLineEdit(value, this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    xedt = edit("xedt", text(0, saved_.xMils));
    yedt = edit("yedt", text(1, saved_.yMils));
    scaleedt = edit("scaleedt", text(2, saved_.scalePercent));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Printer:"), new QLabel(queue, this));
    form->addRow(QStringLiteral("&X offset (mils, right):"), xedt);
    form->addRow(QStringLiteral("&Y offset (mils, down):"), yedt);
    form->addRow(QStringLiteral("&Scale (per cent, 90 to 110):"), scaleedt);
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setWordWrap(true);
    Note->setText(QStringLiteral("The page prints on plain paper with the values above, the outlines of %1 where "
                                 "they will land: hold it against a sheet of labels, correct the values and print "
                                 "again until they match, then save. The correction applies to printing on this "
                                 "printer only; a PDF file is written without it.%2")
                      .arg(sheet.Name(), stored.fault.isEmpty() ? QString() : QStringLiteral("\n\n") + stored.fault));
    PrintButton = new QPushButton(QStringLiteral("&Print calibration page"), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    PrintButton->setEnabled(printer_ && dpi_ > 0);
    SaveButton = new QPushButton(QStringLiteral("Sa&ve"), this);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    // Enter in a box saves; it never prints a page.
    SaveButton->setDefault(true);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PrintButton);
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Note);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    connect(PrintButton, &QPushButton::clicked, this, &Tcalibratefm::PrintButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &Tcalibratefm::SaveButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<sheets::Calibration> Tcalibratefm::Typed()
{
    const CalibrationRead typed = CalibrationFromTexts(xedt->text(), yedt->text(), scaleedt->text());
    if (typed.fault.isEmpty()) return typed.value;
    platform::ShowNotice(this, typed.fault);
    return std::nullopt;
}

void Tcalibratefm::PrintButtonClick()
{
    platform::Guarded([this] {
        const auto typed = Typed();
        if (!typed) return;
        if (!printer_ || dpi_ <= 0)
            return platform::ShowNotice(this, QStringLiteral("The printer does not tell its resolution: nothing is printed."));
        const QString fault = PrintCalibrationPage(*printer_, dpi_, sheet_, *typed);
        if (!fault.isEmpty()) platform::ShowNotice(this, fault);
    });
}

void Tcalibratefm::SaveButtonClick()
{
    platform::Guarded([this] {
        const auto typed = Typed();
        if (!typed) return;
        if (!WriteCalibration(queue_, *typed)) return platform::ShowNotice(this, platform::SettingsNotWritten());
        saved_ = *typed;
        accept();
    });
}
