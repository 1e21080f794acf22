// A sheet typed out as custom:PAPER,WxH,COLSxROWS,X0,Y0,DX,DY, any text: it is refused
// with a reason, or it is a sheet that can be printed, whose labels all lie on the page
// at any resolution, each as large as the label on whole dots, and a symbol that fits
// a label is centred inside it.
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <cmath>

#include "check.h"
#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const sheets::TemplateLibrary library = sheets::BuiltInTemplates();
    FuzzedDataProvider input(data, size);
    const int dpi = input.ConsumeIntegralInRange(72, 2400);
    const int symbolWidth = input.ConsumeIntegralInRange(1, 5000), symbolHeight = input.ConsumeIntegralInRange(1, 5000);
    const std::string typed = input.ConsumeRemainingBytesAsString();
    const QString text = QStringLiteral("custom:") + QString::fromUtf8(typed.data(), qsizetype(typed.size()));
    const sheets::CustomSheet custom = sheets::ParseCustomSheet(text, library);
    FUZZ_CHECK(custom.sheet.has_value() == custom.refusal.isEmpty());
    if (!custom.sheet) return 0;
    const sheets::LabelTemplate& sheet = *custom.sheet;
    FUZZ_CHECK(sheets::GeometryFault(sheet).isEmpty());
    const sheets::SheetGrid grid(sheet, dpi);
    FUZZ_CHECK(grid.LabelsPerSheet() >= 1 && grid.LabelsPerSheet() <= 2000);
    FUZZ_CHECK(grid.LabelsPerSheet() == sheets::LabelCorners(sheet).size());
    // A millimetre off the page is allowed, as the template files have it, and a dot of rounding.
    const double slack = dpi / 25.4 + 1;
    const QSizeF page = grid.Page();
    const QSize symbol(symbolWidth, symbolHeight);
    for (int i = 0; i < grid.LabelsPerSheet(); ++i) {
        const QRect label = grid.Label(i);
        FUZZ_CHECK(std::abs(label.width() - sheet.label.width() * dpi / 72) < 1);
        FUZZ_CHECK(std::abs(label.height() - sheet.label.height() * dpi / 72) < 1);
        FUZZ_CHECK(label.left() >= -slack && label.top() >= -slack);
        FUZZ_CHECK(label.left() + label.width() <= page.width() + slack);
        FUZZ_CHECK(label.top() + label.height() <= page.height() + slack);
        if (sheets::FitFault(symbol, grid).isEmpty()) {
            FUZZ_CHECK(label.contains(QRect(sheets::CentredCorner(label, symbol), symbol)));
        }
    }
    return 0;
}
