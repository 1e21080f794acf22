#include "pagesetting.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "mainform.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"

namespace {

struct Row {
    int top;
    const char* label;
    const char* box;
    const char* key;
    double Tmainfm::*value;
    QLineEdit* Tpagesettingfm::*edit;
};
const Row kRows[] = {
    {22, "Top Blank Space", "topedt", "ftop", &Tmainfm::ftop, &Tpagesettingfm::topedt},
    {54, "Down Blank Space", "downedt", "fdown", &Tmainfm::fdown, &Tpagesettingfm::downedt},
    {86, "Left Blank Space", "leftedt", "fleft", &Tmainfm::fleft, &Tpagesettingfm::leftedt},
    {118, "Right Blank Space", "rightedt", "fright", &Tmainfm::fright, &Tpagesettingfm::rightedt},
    {147, "Interval Space", "iwidthedt", "fiwidth", &Tmainfm::fiwidth, &Tpagesettingfm::iwidthedt},
};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 200, 75, 25);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Tpagesettingfm::Tpagesettingfm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pagesettingfm"));
    setWindowTitle(QStringLiteral("Page Setting"));
    setFixedSize(375, 235);
    BitBtn1 = MakeButton(this, "BitBtn1", "Save ", 222);
    BitBtn2 = MakeButton(this, "BitBtn2", "Close", 296);
    for (const Row& row : kRows) {
        auto* label = new QLabel(QString::fromLatin1(row.label), this);
        label->setGeometry(4, row.top + 3, 112, 16);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(row.box));
        edit->setGeometry(124, row.top, 172, 21);
        platform::InstallNumericFilter(edit, this, true, true);
        auto* unit = new QLabel(QStringLiteral("mils"), this);
        unit->setGeometry(304, row.top + 3, 40, 16);
        this->*row.edit = edit;
    }
    QWidget::setTabOrder(BitBtn1, BitBtn2);
    QWidget::setTabOrder(BitBtn2, topedt);
    QWidget::setTabOrder(topedt, downedt);
    QWidget::setTabOrder(downedt, leftedt);
    QWidget::setTabOrder(leftedt, rightedt);
    QWidget::setTabOrder(rightedt, iwidthedt);
    connect(BitBtn1, &QPushButton::clicked, this, &Tpagesettingfm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tpagesettingfm::BitBtn2Click);
    FormCreate();
}

void Tpagesettingfm::FormCreate()
{
    if (!mainfm) return;
    for (const Row& row : kRows) (this->*row.edit)->setText(platform::FloatToStr(mainfm->*row.value));
}

void Tpagesettingfm::BitBtn1Click()
{
    platform::Guarded([this] { Save(); });
}

// Converts all five boxes before anything is written, so that a bad text leaves
// file and values in use untouched; a write failure keeps the dialog open.
void Tpagesettingfm::Save()
{
    double values[std::size(kRows)];
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        values[i] = platform::StrToFloatOrZero((this->*kRows[i].edit)->text());
    const platform::IniFile ini(platform::SettingsPath());
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (!ini.WriteString(QStringLiteral("pagesetting"), QString::fromLatin1(kRows[i].key),
                             platform::FloatToStr(values[i]))) {
            platform::ShowNotice(this, platform::SettingsNotWritten());
            return;
        }
    if (mainfm)
        for (std::size_t i = 0; i < std::size(kRows); ++i) mainfm->*kRows[i].value = values[i];
    accept();
}

void Tpagesettingfm::BitBtn2Click() { reject(); }
