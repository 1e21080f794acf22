#include "pagesetting.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/widgets.h"

namespace {

struct Row {
    int top;
    const char* label;
    const char* box;
    const char* key;
    double PageValues::*value;
    QLineEdit* Tpagesettingfm::*edit;
};
const Row kRows[] = {
    {22, "Top Blank Space", "topedt", "ftop", &PageValues::ftop, &Tpagesettingfm::topedt},
    {54, "Down Blank Space", "downedt", "fdown", &PageValues::fdown, &Tpagesettingfm::downedt},
    {86, "Left Blank Space", "leftedt", "fleft", &PageValues::fleft, &Tpagesettingfm::leftedt},
    {118, "Right Blank Space", "rightedt", "fright", &PageValues::fright, &Tpagesettingfm::rightedt},
    {147, "Interval Space", "iwidthedt", "fiwidth", &PageValues::fiwidth, &Tpagesettingfm::iwidthedt},
};

}  // namespace

Tpagesettingfm::Tpagesettingfm(const PageValues& values, QWidget* parent) : QDialog(parent), values_(values)
{
    setObjectName(QStringLiteral("pagesettingfm"));
    setWindowTitle(QStringLiteral("Page Setting"));
    setFixedSize(375, 235);
    // Opens at its design place: QDialog centres a window on its parent at show time
    // only while the window has never been moved.
    move(304, 261);
    platform::SetPixelFont(this, 11);
    BitBtn1 = platform::NewButton(this, "BitBtn1", QStringLiteral("Save "), QRect(222, 200, 75, 25));
    BitBtn2 = platform::NewButton(this, "BitBtn2", QStringLiteral("Close"), QRect(296, 200, 75, 25));
    for (const Row& row : kRows) {
        QLabel* label = platform::NewLabel(this, "", QString::fromLatin1(row.label), QRect(0, row.top + 3, 118, 16));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLineEdit* edit = platform::NewEdit(this, row.box, {}, QRect(124, row.top, 172, 21));
        label->setBuddy(edit);
        platform::InstallNumericFilter(edit, this, true, true);
        platform::NewLabel(this, "", QStringLiteral("mils"), QRect(304, row.top + 3, 40, 16));
        this->*row.edit = edit;
    }
    platform::SetTabOrder({BitBtn1, BitBtn2, topedt, downedt, leftedt, rightedt, iwidthedt});
    connect(BitBtn1, &QPushButton::clicked, this, &Tpagesettingfm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tpagesettingfm::BitBtn2Click);
    FormCreate();
}

void Tpagesettingfm::FormCreate()
{
    for (const Row& row : kRows) (this->*row.edit)->setText(platform::FloatToStr(values_.*row.value));
}

void Tpagesettingfm::BitBtn1Click()
{
    platform::Guarded([this] { Save(); });
}

// Converts all five boxes before anything is written, so that a bad text leaves
// file and values in use untouched; the five keys go into the file in one rewrite,
// all or none, and a write failure keeps the dialog open.
void Tpagesettingfm::Save()
{
    double values[std::size(kRows)];
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        values[i] = platform::StrToFloatOrZero((this->*kRows[i].edit)->text());
    QList<std::pair<QString, QString>> written;
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        written.append({QString::fromLatin1(kRows[i].key), platform::FloatToStr(values[i])});
    if (!platform::IniFile(platform::SettingsPath()).WriteStrings(QStringLiteral("pagesetting"), written)) {
        platform::ShowNotice(this, platform::SettingsNotWritten());
        return;
    }
    for (std::size_t i = 0; i < std::size(kRows); ++i) values_.*kRows[i].value = values[i];
    accept();
}

void Tpagesettingfm::BitBtn2Click() { reject(); }
