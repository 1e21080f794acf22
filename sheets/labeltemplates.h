// The label stock a user prints onto, as data: the sheet templates Debian ships in
// glabels-data, three common Avery sheets built in for when those files are absent, and
// a sheet typed on the command line. Reading only; nothing here draws.
#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace sheets {

// Every length here is in points (1/72 inch), as the template files count them.
struct LabelTemplate {
    // A grid of labels: the first one's top-left corner, and the step from one column
    // and from one row to the next.
    struct Layout {
        int nx = 0, ny = 0;
        double x0 = 0, y0 = 0, dx = 0, dy = 0;
    };
    QString brand, part, description;
    QStringList equivalents;  // other part numbers of the same brand sold as this sheet
    QString paperId;          // the paper's name ("A4", "US-Letter"), or "Other"
    QSizeF page;
    QSizeF label;
    double round = 0;         // the labels' corner radius
    QList<Layout> layouts;

    QString Name() const;     // "Avery 5160"
};

// The labels on one sheet, every layout's.
int LabelCount(const LabelTemplate& sheet);
// Every label's top-left corner on the page, in the order the labels are filled:
// layout by layout, and in each row by row from the top, left to right.
QList<QPointF> LabelCorners(const LabelTemplate& sheet);

// Why the sheet cannot be printed as it stands (no size, a layout without labels, a
// label off the page, two labels overlapping, ...), or an empty string when it can.
QString GeometryFault(const LabelTemplate& sheet);

// A length as the template files write it: a number, then optionally pt, in, mm, cm or
// pc (blanks allowed between); a bare number is in points.
std::optional<double> ParseLength(QStringView text);

struct Paper {
    QString id;
    QSizeF size;
};

struct TemplateLibrary {
    QList<LabelTemplate> templates;
    QList<Paper> papers;
    bool builtIn = false;      // the built-in sheets, the template folder having none
    int skippedFiles = 0;      // not well-formed XML
    int skippedTemplates = 0;  // a missing or faulty number, an unknown paper, labels off
                               // the page or overlapping, an equivalent of no template
    int notRectangular = 0;    // round, elliptic and CD labels, which are left out
    QStringList faults;        // a line for each file or template skipped, and why

    // The templates a name picks: "Brand Part", or the part alone, either part being the
    // template's own or an equivalent; any case, runs of blanks as one.
    QList<const LabelTemplate*> Matches(QStringView name) const;
    // The one template a name picks; none when it picks none or several.
    const LabelTemplate* Find(QStringView name) const;
    // A paper by its id ("A4", "US-Letter"; any case), or a US size by its short name
    // ("Letter", "Legal").
    std::optional<QSizeF> PaperSize(QStringView id) const;
};

QString DefaultTemplateFolder();
// Every *.xml file in folder, with the paper sizes of its paper-sizes.xml.
TemplateLibrary ReadTemplates(const QString& folder);
TemplateLibrary BuiltInTemplates();
// The templates in folder; the built-in ones when it holds none, telling what was
// skipped on the way.
TemplateLibrary LoadTemplates(const QString& folder = DefaultTemplateFolder());

// A sheet typed out, for stock that has no template:
//     custom:PAPER,WxH,COLSxROWS,X0,Y0,DX,DY
// PAPER is a paper's id from the library (A4, US-Letter, Letter, ...) or its size WxH;
// WxH is the label's size; COLSxROWS its whole number of columns and rows; X0,Y0 the
// first label's top-left corner and DX,DY the step to the next column and row. Every
// length carries its unit (pt, in, mm, cm or pc), 0 alone excepted, so that no number
// is taken in a unit the user did not mean. For example 21 labels of 63.5 by 38.1 mm
// on A4:
//     custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm
struct CustomSheet {
    std::optional<LabelTemplate> sheet;
    QString refusal;  // why there is no sheet
};
CustomSheet ParseCustomSheet(QStringView text, const TemplateLibrary& library);

}  // namespace sheets
