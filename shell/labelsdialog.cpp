#include "labelsdialog.h"

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>

#include "calibration.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/notices.h"
#include "printunit.h"
#include "symbols/sequence.h"

namespace {

const QString kSection = QStringLiteral("Labels");
const QString kTemplateKey = QStringLiteral("Template");
const QString kCustomKey = QStringLiteral("Custom");
const QString kCustomPrefix = QStringLiteral("custom:");
const QString kDefaultTemplate = QStringLiteral("Avery 5160");
const QString kDefaultCustom = QStringLiteral("custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm");
// A PDF written where no printer tells its resolution: fine enough for any label printer
// that takes a PDF, and the bars still land on whole dots of 300 and 600 dpi printers.
constexpr int kPdfDpi = 300;
constexpr int kMostLabels = 9999;
constexpr int kIndexRole = Qt::UserRole;       // the template's index in the library; -1 custom
constexpr int kSearchedRole = Qt::UserRole + 1;  // what the search box looks in, case-folded
constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

QString Plural(int n, const char* one)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(one)).arg(n == 1 ? QString() : QStringLiteral("s"));
}

// US papers are measured in inches, the others in millimetres.
QString Size(QSizeF points, bool inches)
{
    if (inches)
        return QStringLiteral("%1 x %2 in").arg(points.width() / kPointsPerInch, 0, 'f', 2).arg(points.height() / kPointsPerInch, 0, 'f', 2);
    const double mm = kMmPerInch / kPointsPerInch;
    return QStringLiteral("%1 x %2 mm").arg(points.width() * mm, 0, 'f', 1).arg(points.height() * mm, 0, 'f', 1);
}

// "(3 x 10, 2.63 x 1.00 in, US-Letter)"
QString About(const sheets::LabelTemplate& t)
{
    const bool inches = t.paperId.startsWith(QLatin1String("US"), Qt::CaseInsensitive);
    const QString grid = t.layouts.size() == 1 ? QStringLiteral("%1 x %2").arg(t.layouts[0].nx).arg(t.layouts[0].ny)
                                               : Plural(sheets::LabelCount(t), "label");
    const QString paper = t.paperId.compare(QLatin1String("Other"), Qt::CaseInsensitive) == 0 || t.paperId.isEmpty()
                              ? Size(t.page, inches)
                              : t.paperId;
    return QStringLiteral("(%1, %2, %3)").arg(grid, Size(t.label, inches), paper);
}

// "Avery 5160 — Address Labels (3 x 10, 2.63 x 1.00 in, US-Letter)"
QString Describe(const sheets::LabelTemplate& t)
{
    const QString about = About(t);
    if (t.description.isEmpty()) return t.Name() + u' ' + about;
    return t.Name() + QStringLiteral(" \u2014 ") + t.description + u' ' + about;
}

// The library's templates by brand, then part with its numbers in numeric order.
const QList<int>& SortedTemplates()
{
    static const QList<int> order = [] {
        const auto& templates = LabelLibrary().templates;
        QList<int> indices;
        for (int i = 0; i < templates.size(); ++i) indices << i;
        QCollator collator;
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(indices.begin(), indices.end(), [&](int a, int b) {
            const int brand = collator.compare(templates[a].brand, templates[b].brand);
            return brand != 0 ? brand < 0 : collator.compare(templates[a].part, templates[b].part) < 0;
        });
        return indices;
    }();
    return order;
}

// A line edit keeps the line breaks of pasted text; the settings file keeps one line a
// value, so they stand as blanks there, and in what is read as the layout.
QString OneLine(const QString& text)
{
    QString line = text;
    for (QChar& c : line)
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) c = u' ';
    return line.trimmed();
}

bool NarrowBars(symbols::Kind kind) { return kind == symbols::Kind::Code39 || kind == symbols::Kind::Itf14; }

}  // namespace

const sheets::TemplateLibrary& LabelLibrary()
{
    static const sheets::TemplateLibrary library = sheets::LoadTemplates();
    return library;
}

// ---- the sheet drawn to scale ---------------------------------------------------------

TSheetView::TSheetView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SheetView"));
    setAccessibleName(QStringLiteral("Sheet"));
    setMinimumSize(200, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TSheetView::SetSheet(const std::optional<sheets::LabelTemplate>& sheet)
{
    sheet_ = sheet;
    corners_ = sheet ? sheets::LabelCorners(*sheet) : QList<QPointF>{};
    update();
}

void TSheetView::SetRun(int start, int count)
{
    start_ = start;
    count_ = count;
    const int used = std::min<int>(start - 1, corners_.size());
    const int last = std::min<qsizetype>(qsizetype(start) - 1 + count, corners_.size());
    QString text;
    if (used > 0) text = QStringLiteral("labels 1 to %1 used; ").arg(used);
    if (last > used) text += QStringLiteral("labels %1 to %2 printed").arg(used + 1).arg(last);
    setAccessibleDescription(text);
    update();
}

double TSheetView::Scale() const
{
    if (!sheet_) return 0;
    const double margin = 8;
    return std::min((width() - 2 * margin) / sheet_->page.width(), (height() - 2 * margin) / sheet_->page.height());
}

QRectF TSheetView::PagePlace() const
{
    if (!sheet_) return {};
    const QSizeF size = sheet_->page * Scale();
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QRectF TSheetView::LabelPlace(int index) const
{
    const double scale = Scale();
    return QRectF(PagePlace().topLeft() + corners_.at(index) * scale, sheet_->label * scale);
}

int TSheetView::PositionAt(QPointF point) const
{
    for (int i = 0; i < corners_.size(); ++i)
        if (LabelPlace(i).contains(point)) return i + 1;
    return 0;
}

void TSheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!sheet_) return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF page = PagePlace();
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    const double radius = sheet_->round * Scale();
    const QColor printed = palette().color(QPalette::Highlight);
    for (int i = 0; i < corners_.size(); ++i) {
        const QRectF label = LabelPlace(i);
        const bool used = i < start_ - 1, marked = !used && i < qsizetype(start_) - 1 + count_;
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.setBrush(used ? QBrush(Qt::lightGray, Qt::BDiagPattern) : marked ? QBrush(printed.lighter(160)) : QBrush(Qt::white));
        painter.drawRoundedRect(label, radius, radius);
        if (!marked || label.width() < 12 || label.height() < 6) continue;
        // A few bars stand for the symbol a label gets.
        painter.setPen(Qt::NoPen);
        painter.setBrush(printed.darker(130));
        const QRectF bars = label.adjusted(label.width() * 0.3, label.height() * 0.3, -label.width() * 0.3, -label.height() * 0.3);
        for (int b = 0; b < 7; ++b)
            if (b % 3 != 1) painter.drawRect(QRectF(bars.left() + bars.width() * b / 7, bars.top(), bars.width() / 10, bars.height()));
    }
}

void TSheetView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (const int position = PositionAt(event->position())) emit PositionClicked(position);
    QWidget::mousePressEvent(event);
}

// ---- the dialog -------------------------------------------------------------------------

Tlabelsfm::Tlabelsfm(const symbols::Shown& shown, QPrinter* printer, QWidget* parent)
    : QDialog(parent), shown_(shown), printer_(printer)
{
    setObjectName(QStringLiteral("labelsfm"));
    setWindowTitle(QStringLiteral("Labels"));
    // The resolution is asked once: the dialog is modal, so the printer stays as it is.
    printerDpi_ = printer_ && PrinterReady(*printer_) ? PrinterDots(*printer_) : 0;
    sharp_ = symbols::DrawSharp(shown_, printerDpi_ > 0 ? printerDpi_ : kPdfDpi);
    BuildControls();
    FillList();
    ConnectHandlers();
    Restore();
    TellCalibration();
    // Fills what is left of the first sheet unless told otherwise.
    countedt->setValue(sheet_ ? std::max(1, sheets::LabelCount(*sheet_) - startedt->value() + 1) : 1);
    Refresh();
}

void Tlabelsfm::BuildControls()
{
    const auto newLabel = [this](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };
    searchedt = new QLineEdit(this);
    searchedt->setObjectName(QStringLiteral("searchedt"));
    searchedt->setPlaceholderText(QStringLiteral("brand, part or description"));
    searchedt->setClearButtonEnabled(true);
    templatelist = new QListWidget(this);
    templatelist->setObjectName(QStringLiteral("templatelist"));
    templatelist->setMinimumWidth(560);
    // A line too long for the list ends in "..."; its tip holds the whole of it.
    templatelist->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    templatelist->setTextElideMode(Qt::ElideRight);
    customedt = new QLineEdit(this);
    customedt->setObjectName(QStringLiteral("customedt"));
    customedt->setToolTip(QStringLiteral("custom:PAPER,WxH,COLSxROWS,X0,Y0,DX,DY \u2014 the paper (A4, Letter, ...) or "
                                         "its size, the label's size, its columns and rows, the first label's corner "
                                         "and the step to the next column and row; every length with its unit "
                                         "(mm, cm, in, pt)"));
    auto* customHint = new QLabel(QStringLiteral("PAPER,WxH,COLSxROWS,X0,Y0,DX,DY; lengths in mm, cm, in or pt"), this);
    customHint->setWordWrap(true);
    SheetLine = new QLabel(this);
    SheetLine->setObjectName(QStringLiteral("SheetLine"));
    SheetLine->setWordWrap(true);
    SheetView = new TSheetView(this);
    startedt = new QSpinBox(this);
    startedt->setObjectName(QStringLiteral("startedt"));
    startedt->setRange(1, 1);
    countedt = new QSpinBox(this);
    countedt->setObjectName(QStringLiteral("countedt"));
    countedt->setRange(1, kMostLabels);
    copiesbtn = new QRadioButton(QStringLiteral("C&opies of this symbol"), this);
    copiesbtn->setObjectName(QStringLiteral("copiesbtn"));
    copiesbtn->setChecked(true);
    sequencebtn = new QRadioButton(QStringLiteral("Se&quence: the message counts up by one"), this);
    sequencebtn->setObjectName(QStringLiteral("sequencebtn"));
    Figures = new QLabel(this);
    Figures->setObjectName(QStringLiteral("Figures"));
    Figures->setWordWrap(true);
    Figures->setMinimumHeight(Figures->fontMetrics().lineSpacing() * 2);
    Figures->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CalibrationLine = new QLabel(this);
    CalibrationLine->setObjectName(QStringLiteral("CalibrationLine"));
    CalibrationLine->setWordWrap(true);
    const auto newButton = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    CalibrateButton = newButton("CalibrateButton", QStringLiteral("C&alibrate..."));
    PrintButton = newButton("PrintButton", QStringLiteral("&Print"));
    PdfButton = newButton("PdfButton", QStringLiteral("P&DF..."));
    CloseButton = newButton("CloseButton", QStringLiteral("Close"));
    // The default button is the harmless one; Enter in a box does nothing (keyPressEvent).
    CloseButton->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(newLabel(QStringLiteral("&Search:"), searchedt));
    left->addWidget(searchedt);
    left->addWidget(newLabel(QStringLiteral("S&heet of labels:"), templatelist));
    left->addWidget(templatelist, 1);
    left->addWidget(newLabel(QStringLiteral("C&ustom layout (pick \"Custom...\" above or type here):"), customedt));
    left->addWidget(customedt);
    left->addWidget(customHint);

    auto* job = new QFormLayout;
    job->addRow(newLabel(QStringLiteral("&First label:"), startedt), startedt);
    job->addRow(newLabel(QStringLiteral("&Labels:"), countedt), countedt);
    job->addRow(copiesbtn);
    job->addRow(sequencebtn);
    auto* right = new QVBoxLayout;
    right->addWidget(SheetLine);
    right->addWidget(SheetView, 1);
    right->addLayout(job);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CalibrateButton);
    buttons->addStretch();
    buttons->addWidget(PrintButton);
    buttons->addWidget(PdfButton);
    buttons->addWidget(CloseButton);

    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowMinimumHeight(1, 8);
    grid->addWidget(Figures, 2, 0, 1, 2);
    grid->addWidget(CalibrationLine, 3, 0, 1, 2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    searchedt->setFocus();
}

void Tlabelsfm::ConnectHandlers()
{
    // Every handler runs behind the guard: no exception crosses a Qt frame.
    const auto guarded = [this](void (Tlabelsfm::*step)()) {
        return [this, step] { platform::Guarded([this, step] { (this->*step)(); }); };
    };
    connect(searchedt, &QLineEdit::textChanged, this,
            [this](const QString& text) { platform::Guarded([this, &text] { Filter(text); }); });
    connect(templatelist, &QListWidget::currentRowChanged, this, guarded(&Tlabelsfm::TemplatePicked));
    connect(customedt, &QLineEdit::textEdited, this, guarded(&Tlabelsfm::CustomEdited));
    connect(startedt, &QSpinBox::valueChanged, this, guarded(&Tlabelsfm::Refresh));
    connect(countedt, &QSpinBox::valueChanged, this, guarded(&Tlabelsfm::Refresh));
    connect(sequencebtn, &QRadioButton::toggled, this, guarded(&Tlabelsfm::Refresh));
    connect(SheetView, &TSheetView::PositionClicked, startedt, &QSpinBox::setValue);
    connect(CalibrateButton, &QPushButton::clicked, this, &Tlabelsfm::CalibrateButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &Tlabelsfm::PrintButtonClick);
    connect(PdfButton, &QPushButton::clicked, this, &Tlabelsfm::PdfButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

void Tlabelsfm::FillList()
{
    filling_ = true;
    auto* custom = new QListWidgetItem(QStringLiteral("Custom..."), templatelist);
    custom->setData(kIndexRole, -1);
    const auto& templates = LabelLibrary().templates;
    for (const int i : SortedTemplates()) {
        const sheets::LabelTemplate& t = templates[i];
        auto* item = new QListWidgetItem(Describe(t), templatelist);
        item->setData(kIndexRole, i);
        const QStringList searched = QStringList{t.brand, t.part, t.description, t.paperId} + t.equivalents;
        item->setData(kSearchedRole, searched.join(u' ').toCaseFolded());
        item->setToolTip(t.equivalents.isEmpty() ? item->text()
                                                 : QStringLiteral("%1\nAlso sold as %2")
                                                       .arg(item->text(), t.equivalents.join(QStringLiteral(", "))));
    }
    filling_ = false;
}

// Every word typed must be found, in any case, in the brand, the part, an equivalent
// part, the description or the paper's name. The custom row always stays.
void Tlabelsfm::Filter(const QString& text)
{
    const QStringList words = text.simplified().toCaseFolded().split(u' ', Qt::SkipEmptyParts);
    filling_ = true;
    for (int row = 1; row < templatelist->count(); ++row) {
        QListWidgetItem* item = templatelist->item(row);
        const QString searched = item->data(kSearchedRole).toString();
        bool found = true;
        for (const QString& word : words) found = found && searched.contains(word);
        item->setHidden(!found);
    }
    filling_ = false;
}

bool Tlabelsfm::Pick(const QString& name)
{
    if (name.startsWith(kCustomPrefix, Qt::CaseInsensitive)) {
        customedt->setText(name);
        if (templatelist->currentRow() == 0)
            TemplatePicked();
        else
            templatelist->setCurrentRow(0);
        return true;
    }
    const sheets::LabelTemplate* found = LabelLibrary().Find(name);
    if (!found) return false;
    const int index = int(found - LabelLibrary().templates.data());
    for (int row = 1; row < templatelist->count(); ++row)
        if (templatelist->item(row)->data(kIndexRole).toInt() == index) {
            templatelist->setCurrentRow(row);
            templatelist->scrollToItem(templatelist->item(row));
            return true;
        }
    return false;
}

void Tlabelsfm::TemplatePicked()
{
    if (filling_) return;
    const QListWidgetItem* item = templatelist->currentItem();
    if (!item) return;
    const int index = item->data(kIndexRole).toInt();
    if (index < 0) {
        const sheets::CustomSheet custom = sheets::ParseCustomSheet(OneLine(customedt->text()), LabelLibrary());
        sheet_ = custom.sheet;
        sheetFault_ = custom.refusal;
    } else {
        sheet_ = LabelLibrary().templates.at(index);
        sheetFault_.clear();
    }
    Refresh();
}

void Tlabelsfm::CustomEdited()
{
    if (templatelist->currentRow() == 0)
        TemplatePicked();
    else
        templatelist->setCurrentRow(0);
}

void Tlabelsfm::Restore()
{
    const QStringList stored = platform::IniFile(platform::SettingsPath()).ReadStrings(kSection, {kTemplateKey, kCustomKey});
    customedt->setText(stored[1].isEmpty() ? kDefaultCustom : stored[1]);
    if (!stored[0].isEmpty() && Pick(stored[0])) return;
    if (!Pick(kDefaultTemplate)) templatelist->setCurrentRow(templatelist->count() > 1 ? 1 : 0);
}

void Tlabelsfm::done(int result)
{
    // What the user typed is kept even where it does not parse, to be mended next time.
    const QString custom = OneLine(customedt->text());
    QList<std::pair<QString, QString>> values{{kCustomKey, custom}};
    if (templatelist->currentRow() == 0 && custom.startsWith(kCustomPrefix, Qt::CaseInsensitive))
        values.prepend({kTemplateKey, custom});
    else if (templatelist->currentRow() > 0 && sheet_)
        values.prepend({kTemplateKey, sheet_->Name()});
    const bool written = platform::IniFile(platform::SettingsPath()).WriteStrings(kSection, values);
    QDialog::done(result);
    if (!written) platform::ShowNotice(parentWidget(), platform::SettingsNotWritten());
}

void Tlabelsfm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // From the search box on to what it found.
        if (focusWidget() == searchedt) templatelist->setFocus();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString Tlabelsfm::Queue() const
{
    if (!printer_ || printer_->outputFormat() != QPrinter::NativeFormat) return {};
    return printer_->printerName();
}

void Tlabelsfm::TellCalibration()
{
    const QString queue = Queue();
    CalibrateButton->setEnabled(!queue.isEmpty() && sheet_.has_value());
    if (queue.isEmpty()) {
        CalibrationLine->setText(QStringLiteral("No print queue is chosen: there is no printer to calibrate."));
        return;
    }
    const CalibrationRead read = ReadCalibration(queue);
    if (!read.fault.isEmpty()) return CalibrationLine->setText(read.fault);
    CalibrationLine->setText(QStringLiteral("Printer %1: labels moved %2 mils right and %3 mils down, spaced at %4 %. "
                                            "This applies to Print only; a PDF is written without it.")
                                 .arg(queue)
                                 .arg(read.value.xMils)
                                 .arg(read.value.yMils)
                                 .arg(read.value.scalePercent));
}

QString Tlabelsfm::Refusal(int dpi) const
{
    if (!sheet_)
        return sheetFault_.isEmpty() ? QStringLiteral("Pick a sheet of labels.")
                                     : QStringLiteral("The custom layout cannot be used: %1.").arg(sheetFault_);
    if (sharp_.picture.isNull()) return sharp_.error;
    const int perSheet = sheets::LabelCount(*sheet_);
    if (QString fault = sheets::StartFault(startedt->value(), perSheet); !fault.isEmpty()) return fault;
    if (sequencebtn->isChecked()) {
        const symbols::Counted last = symbols::CountUp(shown_.Symbology(), shown_.inputs.message, countedt->value() - 1);
        if (!last.refusal.empty())
            return QStringLiteral("The sequence cannot count up: %1").arg(QString::fromStdString(last.refusal));
    }
    const sheets::SheetGrid grid(*sheet_, dpi);
    return sheets::FitFault(sharp_.picture.size(), grid);
}

void Tlabelsfm::Refresh()
{
    const int perSheet = sheet_ ? sheets::LabelCount(*sheet_) : 1;
    startedt->setMaximum(std::max(1, perSheet));
    SheetView->SetSheet(sheet_);
    // The sheet in use, also while the search hides it in the list.
    if (!sheet_)
        SheetLine->setText(QStringLiteral("No sheet"));
    else
        SheetLine->setText(templatelist->currentRow() == 0 ? QStringLiteral("Custom layout ") + About(*sheet_)
                                                           : Describe(*sheet_));
    SheetView->SetRun(startedt->value(), countedt->value());
    CalibrateButton->setEnabled(!Queue().isEmpty() && sheet_.has_value());
    const int dpi = printerDpi_ > 0 ? printerDpi_ : kPdfDpi;
    const QString refusal = Refusal(dpi);
    PrintButton->setEnabled(refusal.isEmpty());
    PdfButton->setEnabled(refusal.isEmpty());
    // A refusal stands out from the figures it replaces.
    QPalette palette = this->palette();
    if (!refusal.isEmpty()) palette.setColor(QPalette::WindowText, Qt::darkRed);
    Figures->setPalette(palette);
    if (!refusal.isEmpty()) return Figures->setText(refusal);
    const int count = countedt->value();
    const QString gives = QStringLiteral("%1 on %2, %3 of %4 dots")
                              .arg(Plural(count, "label"), Plural(sheets::SheetsNeeded(count, perSheet, startedt->value()), "sheet"),
                                   NarrowBars(shown_.Symbology()) ? QStringLiteral("narrow bars") : QStringLiteral("modules"))
                              .arg(sharp_.module);
    QString line = printerDpi_ > 0 ? QStringLiteral("%1 dpi: %2").arg(printerDpi_).arg(gives)
                                   : QStringLiteral("No printer tells its resolution, so Print cannot put the bars on "
                                                    "whole dots; a PDF at %1 dpi: %2")
                                         .arg(kPdfDpi)
                                         .arg(gives);
    if (sequencebtn->isChecked())
        line += QStringLiteral("; messages %1 to %2")
                    .arg(QString::fromStdString(shown_.inputs.message),
                         QString::fromStdString(symbols::CountUp(shown_.Symbology(), shown_.inputs.message, count - 1).message));
    Figures->setText(line);
}

symbols::Shown Tlabelsfm::LabelShown(const std::string& message) const
{
    symbols::Shown shown = shown_;
    shown.inputs.message = message;
    return shown;
}

// The whole run is drawn in two passes: first every label is counted, laid out and held
// against its label, so that a refusal anywhere prints nothing; then each is drawn and
// placed. Only the messages are kept between them, not the pictures.
Tlabelsfm::Outcome Tlabelsfm::WriteLabels(QPagedPaintDevice& device, int dpi, const sheets::Calibration& calibration,
                                          bool cancellable)
{
    const sheets::SheetGrid grid(*sheet_, dpi, calibration);
    const int start = startedt->value(), count = countedt->value();
    if (QString fault = sheets::StartFault(start, grid.LabelsPerSheet()); !fault.isEmpty()) return {fault};
    const symbols::Kind kind = shown_.Symbology();
    QProgressDialog progress(QStringLiteral("Drawing the labels..."), QStringLiteral("Cancel"), 0, 2 * count, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);

    std::vector<std::string> messages;
    symbols::SharpPicture copy;
    if (sequencebtn->isChecked()) {
        messages.reserve(count);
        for (int i = 0; i < count; ++i) {
            const symbols::Counted counted = symbols::CountUp(kind, shown_.inputs.message, i);
            const QString name = QStringLiteral("Label %1 (%2)").arg(i + 1).arg(QString::fromStdString(counted.message));
            if (!counted.refusal.empty())
                return {QStringLiteral("Label %1: %2").arg(i + 1).arg(QString::fromStdString(counted.refusal))};
            const symbols::Drawing drawing = symbols::Prepare(
                kind, symbols::AtResolution(LabelShown(counted.message).inputs, shown_.drawing.resolution, dpi));
            if (!drawing.Drawable()) return {name + QStringLiteral(": ") + drawing.error};
            const QSize size = shown_.turned ? QSize(drawing.height, drawing.width) : QSize(drawing.width, drawing.height);
            if (QString fault = sheets::FitFault(size, grid); !fault.isEmpty()) return {name + QStringLiteral(": ") + fault};
            messages.push_back(counted.message);
            progress.setValue(i);
            if (progress.wasCanceled()) return {{}, true};
        }
    } else {
        copy = symbols::DrawSharp(shown_, dpi);
        if (copy.picture.isNull()) return {copy.error};
        if (QString fault = sheets::FitFault(copy.picture.size(), grid); !fault.isEmpty()) return {fault};
    }

    // A print queue has the job once the first sheet is begun: it is not cut short.
    if (!cancellable) progress.setCancelButton(nullptr);
    sheets::SheetWriter writer(device, grid, start);
    for (int i = 0; i < count; ++i) {
        const symbols::SharpPicture drawn = messages.empty() ? copy : symbols::DrawSharp(LabelShown(messages[i]), dpi);
        if (drawn.picture.isNull()) return {QStringLiteral("Label %1: %2").arg(i + 1).arg(drawn.error)};
        if (QString fault = writer.Add(drawn.picture); !fault.isEmpty())
            return {QStringLiteral("Label %1: %2").arg(i + 1).arg(fault)};
        progress.setValue(count + i);
        if (cancellable && progress.wasCanceled()) return {{}, true};
    }
    return {writer.Finish()};
}

QString Tlabelsfm::WritePdf(const QString& path) { return WriteFile(path).fault; }

Tlabelsfm::Outcome Tlabelsfm::WriteFile(const QString& path)
{
    const int dpi = printerDpi_ > 0 ? printerDpi_ : kPdfDpi;
    if (QString refusal = Refusal(dpi); !refusal.isEmpty()) return {refusal};
    // Written beside and renamed into place: a failed or cancelled job leaves no file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString())};
    Outcome outcome;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Ruvola BarCode Generator"));
        writer.setTitle(QStringLiteral("Labels: %1").arg(sheet_->Name()));
        writer.setResolution(dpi);
        if (!writer.setPageLayout(sheets::SheetLayout(*sheet_))) return {QStringLiteral("The PDF cannot take the sheet's paper.")};
        outcome = WriteLabels(writer, dpi, {}, true);
    }
    if (!outcome.fault.isEmpty() || outcome.cancelled) {
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit())
        return {QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString())};
    return {};
}

void Tlabelsfm::Print()
{
    if (!printer_ || !PrinterReady(*printer_) || printerDpi_ <= 0)
        return platform::ShowNotice(this, QStringLiteral("No printer tells its resolution, so the labels cannot be "
                                                         "printed on whole dots. Write a PDF instead."));
    if (QString refusal = Refusal(printerDpi_); !refusal.isEmpty()) return platform::ShowNotice(this, refusal);
    CalibrationRead calibration;
    if (const QString queue = Queue(); !queue.isEmpty()) calibration = ReadCalibration(queue);
    if (!calibration.fault.isEmpty()) return platform::ShowNotice(this, calibration.fault);
    const JobSettings job(*printer_, printerDpi_, sheets::SheetLayout(*sheet_));
    if (!job.Taken()) return platform::ShowNotice(this, QStringLiteral("The printer does not take the sheet's paper."));
    const Outcome outcome = WriteLabels(*printer_, printerDpi_, calibration.value, false);
    if (!outcome.fault.isEmpty()) return platform::ShowNotice(this, outcome.fault);
    Figures->setText(Figures->text() + QStringLiteral("\nSent to the printer."));
}

void Tlabelsfm::PrintButtonClick()
{
    platform::Guarded([this] { Print(); });
}

void Tlabelsfm::PdfButtonClick()
{
    platform::Guarded([this] {
        QFileDialog dialog(this, QStringLiteral("Write the labels to a PDF file"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("PDF document (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        const QString path = dialog.selectedFiles().constFirst();
        const Outcome outcome = WriteFile(path);
        if (!outcome.fault.isEmpty()) return platform::ShowNotice(this, outcome.fault);
        if (!outcome.cancelled)
            Figures->setText(Figures->text() + QStringLiteral("\nWritten to %1.").arg(QDir::toNativeSeparators(path)));
    });
}

void Tlabelsfm::CalibrateButtonClick()
{
    platform::Guarded([this] {
        if (!sheet_ || Queue().isEmpty()) return;
        Tcalibratefm dialog(Queue(), printer_, printerDpi_, *sheet_, this);
        dialog.exec();
        TellCalibration();
    });
}
