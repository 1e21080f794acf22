#include "labeltemplates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <charconv>
#include <cmath>
#include <string>

namespace sheets {

using namespace Qt::StringLiterals;

namespace {

// The sheets and papers that stand in for an absent glabels-data, written as its files
// write them (Debian's glabels-data 3.4: templates/avery-us-templates.xml,
// avery-iso-templates.xml and paper-sizes.xml) and read by the same reader, so the
// built-in geometry is the installed one to the digit.
const char kBuiltInTemplates[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Avery" part="5160" size="US-Letter" _description="Address Labels">
    <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
      <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="5260" equiv="5160"/>
  <Template brand="Avery" part="5510" equiv="5160"/>
  <Template brand="Avery" part="5520" equiv="5160"/>
  <Template brand="Avery" part="5560" equiv="5160"/>
  <Template brand="Avery" part="5810" equiv="5160"/>
  <Template brand="Avery" part="5920" equiv="5160"/>
  <Template brand="Avery" part="5960" equiv="5160"/>
  <Template brand="Avery" part="5970" equiv="5160"/>
  <Template brand="Avery" part="5971" equiv="5160"/>
  <Template brand="Avery" part="5972" equiv="5160"/>
  <Template brand="Avery" part="5979" equiv="5160"/>
  <Template brand="Avery" part="5980" equiv="5160"/>
  <Template brand="Avery" part="6231" equiv="5160"/>
  <Template brand="Avery" part="6233" equiv="5160"/>
  <Template brand="Avery" part="6245" equiv="5160"/>
  <Template brand="Avery" part="6460" equiv="5160"/>
  <Template brand="Avery" part="6498" equiv="5160"/>
  <Template brand="Avery" part="8160" equiv="5160"/>
  <Template brand="Avery" part="8250" equiv="5160"/>
  <Template brand="Avery" part="8460" equiv="5160"/>
  <Template brand="Avery" part="8560" equiv="5160"/>
  <Template brand="Avery" part="8620" equiv="5160"/>
  <Template brand="Avery" part="8660" equiv="5160"/>
  <Template brand="Avery" part="8810" equiv="5160"/>
  <Template brand="Avery" part="8920" equiv="5160"/>
  <Template brand="Avery" part="8930" equiv="5160"/>
  <Template brand="Avery" part="15160" equiv="5160"/>
  <Template brand="Avery" part="18160" equiv="5160"/>
  <Template brand="Avery" part="18660" equiv="5160"/>
  <Template brand="Avery" part="25160" equiv="5160"/>

  <Template brand="Avery" part="7160" size="A4" _description="Mailing labels">
    <Label-rectangle id="0" width="181.4" height="108.0" round="5">
      <Layout nx="3" ny="7" x0="21.2" y0="43.9" dx="187.2" dy="108.0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="L7160" equiv="7160"/>
  <Template brand="Avery" part="J8160" equiv="7160"/>

  <Template brand="Avery" part="8651" size="A4" _description="Mini Address Labels">
    <Label-rectangle id="0" width="108" height="60.09" round="5">
      <Layout nx="5" ny="13" x0="13.32" y0="30.90" dx="115.09" dy="60.09"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="L8651" equiv="8651"/>
  <Template brand="Avery" part="J8651" equiv="8651"/>
  <Template brand="Avery" part="J8551" equiv="8651"/>
  <Template brand="Avery" part="L7651" equiv="8651"/>
  <Template brand="Avery" part="L7551" equiv="8651"/>
</Glabels-templates>
)";

const char kBuiltInPapers[] = R"(<?xml version="1.0"?>
<Glabels-paper-sizes>
  <Paper-size id="A4"           width="210mm"  height="297mm"/>
  <Paper-size id="US-Letter"    width="8.5in"  height="11in"/>
  <Paper-size id="US-Legal"     width="8.5in"  height="14in"/>
  <Paper-size id="US-Executive" width="7.25in" height="10.5in"/>
  <Paper-size id="A3"           width="297mm"  height="420mm"/>
  <Paper-size id="A5"           width="148mm"  height="210mm"/>
  <Paper-size id="A6"           width="105mm"  height="148mm"/>
  <Paper-size id="B4"           width="250mm"  height="353mm"/>
  <Paper-size id="B5"           width="176mm"  height="250mm"/>
  <Paper-size id="SRA3"         width="320mm"  height="450mm"/>
</Glabels-paper-sizes>
)";

constexpr auto kPaperFile = "paper-sizes.xml"_L1;
constexpr auto kOtherPaper = "Other"_L1;

// The files round lengths to a tenth of a millimetre or a whole point, and the rounding
// adds up along a row: three 70 mm labels written as 199 pt each end 1.7 pt past the
// edge of A4. A millimetre of slack takes such a sheet as the sheet it describes, and is
// less than any printer's margin; a label further off the page, or further into its
// neighbour, is a fault in the template.
constexpr double kSlack = 72.0 / 25.4;
// A bound on one sheet's labels, so that a typed layout cannot make the overlap check
// or a print run for ever; the most in the installed files is 270.
constexpr qint64 kMostLabels = 2000;
// The largest page a PDF holds, 200 inches a side; no label stock comes near it.
constexpr double kLargestPage = 200 * 72.0;

struct Unit {
    const char* name;
    double points;
};
const Unit kUnits[] = {{"pt", 1.0}, {"in", 72.0}, {"mm", 72.0 / 25.4}, {"cm", 720.0 / 25.4}, {"pc", 12.0}};

// A template as a file gives it, before a number is read.
struct RawTemplate {
    QString file;
    QXmlStreamAttributes attributes;
    QStringList labelKinds;  // the element name of each label it describes
    QXmlStreamAttributes label;
    QList<QXmlStreamAttributes> layouts;
};

struct ReadFile {
    QList<RawTemplate> templates;
    QList<Paper> papers;
    QString error;  // not well-formed: where and why
};

QString Key(QStringView brand, QStringView part)
{
    return (brand.toString() + u' ' + part.toString()).simplified().toCaseFolded();
}

bool IsLabel(QStringView element) { return element.startsWith(u"Label-"); }

// Reads one file's templates and papers, whole or not at all.
ReadFile ReadXml(QXmlStreamReader& xml, const QString& file)
{
    ReadFile read;
    std::optional<RawTemplate> open;
    bool inLabel = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"Template") {
                open = RawTemplate{file, xml.attributes(), {}, {}, {}};
            } else if (open && IsLabel(name)) {
                open->labelKinds << name.toString();
                if (open->labelKinds.size() == 1) open->label = xml.attributes();
                inLabel = true;
            } else if (open && inLabel && name == u"Layout" && open->labelKinds.size() == 1) {
                open->layouts << xml.attributes();
            } else if (name == u"Paper-size") {
                const auto a = xml.attributes();
                const auto w = ParseLength(a.value("width"_L1)), h = ParseLength(a.value("height"_L1));
                if (w && h && *w > 0 && *h > 0)
                    read.papers << Paper{a.value("id"_L1).toString(), QSizeF(*w, *h)};
            }
        } else if (xml.isEndElement()) {
            if (IsLabel(xml.name())) inLabel = false;
            if (xml.name() == u"Template" && open) {
                read.templates << *open;
                open.reset();
            }
        }
    }
    if (xml.hasError()) {
        read.error = QStringLiteral("%1: line %2: %3").arg(file).arg(xml.lineNumber()).arg(xml.errorString());
        read.templates.clear();
        read.papers.clear();
    }
    return read;
}

ReadFile ReadXmlFile(const QString& path)
{
    QFile f(path);
    const QString name = QFileInfo(path).fileName();
    if (!f.open(QIODevice::ReadOnly)) return ReadFile{{}, {}, name + QStringLiteral(": cannot be read")};
    QXmlStreamReader xml(&f);
    return ReadXml(xml, name);
}

ReadFile ReadXmlText(const char* text, const QString& name)
{
    QXmlStreamReader xml{QByteArray(text)};
    return ReadXml(xml, name);
}

std::optional<int> ParseCount(QStringView text)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return n;
}

// A required length, or a fault naming the attribute.
std::optional<double> Length(const QXmlStreamAttributes& a, QLatin1String attribute, QString& fault,
                             std::optional<double> absent = std::nullopt)
{
    if (!a.hasAttribute(attribute)) {
        if (!absent) fault = QStringLiteral("no %1").arg(attribute);
        return absent;
    }
    const auto length = ParseLength(a.value(attribute));
    if (!length) fault = QStringLiteral("%1 \"%2\" is not a length").arg(attribute, a.value(attribute));
    return length;
}

// Why a described template does not make a sheet, or an empty string; the sheet in t.
QString Build(const RawTemplate& raw, const TemplateLibrary& papers, LabelTemplate& t)
{
    const auto& a = raw.attributes;
    t.brand = a.value("brand"_L1).toString().simplified();
    t.part = a.value("part"_L1).toString().simplified();
    if (t.brand.isEmpty() || t.part.isEmpty()) return QStringLiteral("no brand or no part");
    t.description = a.hasAttribute("description"_L1) ? a.value("description"_L1).toString()
                                                    : a.value("_description"_L1).toString();
    if (raw.labelKinds.size() != 1) return QStringLiteral("%1 kinds of label, not one").arg(raw.labelKinds.size());

    QString fault;
    t.paperId = a.value("size"_L1).toString();
    if (t.paperId.compare(kOtherPaper, Qt::CaseInsensitive) == 0) {
        const auto w = Length(a, "width"_L1, fault), h = Length(a, "height"_L1, fault);
        if (!fault.isEmpty()) return fault;
        t.page = QSizeF(*w, *h);
    } else if (const auto size = papers.PaperSize(t.paperId)) {
        t.page = *size;
    } else {
        return QStringLiteral("unknown paper \"%1\"").arg(t.paperId);
    }

    const auto& l = raw.label;
    const auto w = Length(l, "width"_L1, fault), h = Length(l, "height"_L1, fault);
    const auto round = Length(l, "round"_L1, fault, 0.0);
    if (!fault.isEmpty()) return fault;
    t.label = QSizeF(*w, *h);
    t.round = *round;

    for (const auto& layout : raw.layouts) {
        const auto nx = ParseCount(layout.value("nx"_L1)), ny = ParseCount(layout.value("ny"_L1));
        if (!nx || !ny) return QStringLiteral("a layout's nx or ny is not a whole number");
        const auto x0 = Length(layout, "x0"_L1, fault, 0.0), y0 = Length(layout, "y0"_L1, fault, 0.0);
        const auto dx = Length(layout, "dx"_L1, fault, 0.0), dy = Length(layout, "dy"_L1, fault, 0.0);
        if (!fault.isEmpty()) return fault;
        t.layouts << LabelTemplate::Layout{*nx, *ny, *x0, *y0, *dx, *dy};
    }
    return GeometryFault(t);
}

const QList<Paper>& BuiltInPapers()
{
    static const QList<Paper> papers = ReadXmlText(kBuiltInPapers, QStringLiteral("built-in papers")).papers;
    return papers;
}

// Equivalents name their sheet by part within their own brand; they may come before it,
// or in another file, so they are joined once every sheet is read.
void Assemble(const QList<RawTemplate>& raws, TemplateLibrary& library)
{
    QHash<QString, qsizetype> sheetAt;
    QSet<QString> described;  // every sheet described, kept or not
    QList<const RawTemplate*> equivalents;
    for (const auto& raw : raws) {
        if (raw.attributes.hasAttribute("equiv"_L1)) {
            equivalents << &raw;
            continue;
        }
        const QString key = Key(raw.attributes.value("brand"_L1), raw.attributes.value("part"_L1));
        const bool twice = described.contains(key);
        described.insert(key);
        if (raw.labelKinds.size() == 1 && raw.labelKinds.first() != u"Label-rectangle") {
            ++library.notRectangular;
            continue;
        }
        LabelTemplate t;
        QString fault = twice ? QStringLiteral("described twice") : Build(raw, library, t);
        if (!fault.isEmpty()) {
            ++library.skippedTemplates;
            const auto& a = raw.attributes;
            library.faults << QStringLiteral("%1: %2 %3: %4")
                                  .arg(raw.file, a.value("brand"_L1), a.value("part"_L1), fault);
            continue;
        }
        sheetAt.insert(key, library.templates.size());
        library.templates << t;
    }
    for (const RawTemplate* raw : equivalents) {
        const auto& a = raw->attributes;
        const QString key = Key(a.value("brand"_L1), a.value("equiv"_L1));
        if (const auto at = sheetAt.constFind(key); at != sheetAt.cend())
            library.templates[*at].equivalents << a.value("part"_L1).toString().simplified();
        else if (!described.contains(key)) {
            ++library.skippedTemplates;
            library.faults << QStringLiteral("%1: %2 %3: an equivalent of %4, which no template describes")
                                  .arg(raw->file, a.value("brand"_L1), a.value("part"_L1), a.value("equiv"_L1));
        }
    }
}

}  // namespace

QString LabelTemplate::Name() const { return brand + u' ' + part; }

int LabelCount(const LabelTemplate& sheet)
{
    int n = 0;
    for (const auto& l : sheet.layouts) n += l.nx * l.ny;
    return n;
}

QList<QPointF> LabelCorners(const LabelTemplate& sheet)
{
    QList<QPointF> corners;
    for (const auto& l : sheet.layouts)
        for (int row = 0; row < l.ny; ++row)
            for (int column = 0; column < l.nx; ++column)
                corners << QPointF(l.x0 + column * l.dx, l.y0 + row * l.dy);
    return corners;
}

// The comparisons are written so that a NaN fails them too.
QString GeometryFault(const LabelTemplate& sheet)
{
    const auto positive = [](double v) { return v > 0 && std::isfinite(v); };
    if (!positive(sheet.page.width()) || !positive(sheet.page.height()))
        return QStringLiteral("the page has no size");
    if (!(sheet.page.width() <= kLargestPage && sheet.page.height() <= kLargestPage))
        return QStringLiteral("the page is larger than 200 inches, the most a PDF page holds");
    if (!positive(sheet.label.width()) || !positive(sheet.label.height()))
        return QStringLiteral("the labels have no size");
    if (!(sheet.round >= 0)) return QStringLiteral("the corner radius is negative");
    if (sheet.layouts.isEmpty()) return QStringLiteral("there is no layout");
    qint64 labels = 0;
    for (const auto& l : sheet.layouts) {
        if (l.nx < 1 || l.ny < 1) return QStringLiteral("a layout has no column or no row");
        if (!(l.dx >= 0) || !(l.dy >= 0)) return QStringLiteral("a layout steps left or up");
        labels += qint64(l.nx) * l.ny;
        if (labels > kMostLabels) return QStringLiteral("more than %1 labels on a sheet").arg(kMostLabels);
    }
    const QList<QPointF> corners = LabelCorners(sheet);
    const double w = sheet.label.width(), h = sheet.label.height();
    for (qsizetype i = 0; i < corners.size(); ++i) {
        const QPointF c = corners[i];
        if (!(c.x() >= -kSlack && c.y() >= -kSlack && c.x() + w <= sheet.page.width() + kSlack &&
              c.y() + h <= sheet.page.height() + kSlack))
            return QStringLiteral("label %1 runs off the page").arg(i + 1);
    }
    for (qsizetype i = 0; i < corners.size(); ++i)
        for (qsizetype j = i + 1; j < corners.size(); ++j) {
            const QPointF a = corners[i], b = corners[j];
            if (std::abs(a.x() - b.x()) < w - kSlack && std::abs(a.y() - b.y()) < h - kSlack)
                return QStringLiteral("labels %1 and %2 overlap").arg(i + 1).arg(j + 1);
        }
    return {};
}

std::optional<double> ParseLength(QStringView text)
{
    QStringView number = text.trimmed();
    double scale = 1.0;
    for (const auto& unit : kUnits)
        if (number.endsWith(QLatin1StringView(unit.name), Qt::CaseInsensitive)) {
            number = number.chopped(2).trimmed();
            scale = unit.points;
            break;
        }
    const std::string digits = number.toString().toStdString();
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value * scale;
}

QList<const LabelTemplate*> TemplateLibrary::Matches(QStringView name) const
{
    const QString wanted = name.toString().simplified().toCaseFolded();
    QList<const LabelTemplate*> byName, byPart;
    for (const auto& t : templates) {
        const QStringList parts = QStringList{t.part} + t.equivalents;
        for (const auto& part : parts) {
            if (Key(t.brand, part) == wanted && !byName.contains(&t)) byName << &t;
            if (part.toCaseFolded() == wanted && !byPart.contains(&t)) byPart << &t;
        }
    }
    return byName.isEmpty() ? byPart : byName;
}

const LabelTemplate* TemplateLibrary::Find(QStringView name) const
{
    const auto found = Matches(name);
    return found.size() == 1 ? found.first() : nullptr;
}

std::optional<QSizeF> TemplateLibrary::PaperSize(QStringView id) const
{
    const QString trimmed = id.trimmed().toString();
    for (const QString& candidate : {trimmed, QStringLiteral("US-") + trimmed})
        for (const auto& paper : papers)
            if (paper.id.compare(candidate, Qt::CaseInsensitive) == 0) return paper.size;
    return std::nullopt;
}

QString DefaultTemplateFolder() { return QStringLiteral("/usr/share/libglabels-3.0/templates"); }

TemplateLibrary ReadTemplates(const QString& folder)
{
    TemplateLibrary library;
    library.papers = BuiltInPapers();
    const QDir dir(folder);
    if (dir.exists(kPaperFile)) {
        const ReadFile read = ReadXmlFile(dir.filePath(kPaperFile));
        if (!read.error.isEmpty()) {
            ++library.skippedFiles;
            library.faults << read.error;
        }
        // The file's sizes first, so that they are the ones found.
        library.papers = read.papers + library.papers;
    }
    QList<RawTemplate> raws;
    const QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& file : files) {
        if (file == kPaperFile) continue;
        const ReadFile read = ReadXmlFile(dir.filePath(file));
        if (!read.error.isEmpty()) {
            ++library.skippedFiles;
            library.faults << read.error;
        }
        raws += read.templates;
    }
    Assemble(raws, library);
    return library;
}

TemplateLibrary BuiltInTemplates()
{
    TemplateLibrary library;
    library.builtIn = true;
    library.papers = BuiltInPapers();
    Assemble(ReadXmlText(kBuiltInTemplates, QStringLiteral("built-in templates")).templates, library);
    return library;
}

TemplateLibrary LoadTemplates(const QString& folder)
{
    TemplateLibrary read = ReadTemplates(folder);
    if (!read.templates.isEmpty()) return read;
    TemplateLibrary builtIn = BuiltInTemplates();
    builtIn.skippedFiles = read.skippedFiles;
    builtIn.skippedTemplates = read.skippedTemplates;
    builtIn.notRectangular = read.notRectangular;
    builtIn.faults = read.faults;
    return builtIn;
}

namespace {

// The sentences a typed sheet is refused with.
const char kNotCustom[] = "a custom sheet starts with \"custom:\"";
const char kFieldCount[] =
    "a custom sheet is custom:PAPER,WxH,COLSxROWS,X0,Y0,DX,DY: seven values separated by commas, not %1";
const char kNotPaper[] = "\"%1\" is not a paper: give its name, such as A4 or Letter, or its size WIDTHxHEIGHT";
const char kNotLabelSize[] = "\"%1\" is not a label size WIDTHxHEIGHT, such as 63.5mmx38.1mm";
const char kNotGrid[] = "\"%1\" is not COLUMNSxROWS in whole numbers from 1, such as 3x7";
const char kNotLength[] = "\"%1\" is not a length: a number and its unit, pt, in, mm, cm or pc";
const char kFault[] = "the custom sheet cannot be printed: %1";

std::optional<double> TypedLength(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t == u"0") return 0.0;
    const auto length = ParseLength(t);
    if (!length) return std::nullopt;
    for (const auto& unit : kUnits)
        if (t.endsWith(QLatin1StringView(unit.name), Qt::CaseInsensitive)) return length;
    return std::nullopt;
}

// "AxB", split at its one x (or X).
std::optional<std::pair<QStringView, QStringView>> SplitAtX(QStringView text)
{
    std::optional<qsizetype> at;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'x' || text[i] == u'X') {
            if (at) return std::nullopt;
            at = i;
        }
    if (!at) return std::nullopt;
    return std::pair{text.first(*at), text.sliced(*at + 1)};
}

std::optional<QSizeF> TypedSize(QStringView text)
{
    const auto halves = SplitAtX(text);
    if (!halves) return std::nullopt;
    const auto w = TypedLength(halves->first), h = TypedLength(halves->second);
    if (!w || !h) return std::nullopt;
    return QSizeF(*w, *h);
}

CustomSheet Refuse(const char* sentence, QStringView value = {})
{
    QString text = QString::fromUtf8(sentence);
    if (text.contains("%1"_L1)) text = text.arg(value);
    return CustomSheet{std::nullopt, text};
}

}  // namespace

CustomSheet ParseCustomSheet(QStringView text, const TemplateLibrary& library)
{
    const QStringView prefix = u"custom:";
    const QStringView trimmed = text.trimmed();
    if (!trimmed.startsWith(prefix, Qt::CaseInsensitive)) return Refuse(kNotCustom);
    const QStringView body = trimmed.sliced(prefix.size());
    const auto fields = body.split(u',');
    if (fields.size() != 7) return Refuse(kFieldCount, QString::number(fields.size()));

    LabelTemplate t;
    t.brand = QStringLiteral("Custom");
    t.part = body.toString();
    if (const auto paper = library.PaperSize(fields[0])) {
        t.paperId = fields[0].trimmed().toString();
        t.page = *paper;
    } else if (const auto size = TypedSize(fields[0])) {
        t.paperId = kOtherPaper;
        t.page = *size;
    } else {
        return Refuse(kNotPaper, fields[0]);
    }
    const auto label = TypedSize(fields[1]);
    if (!label) return Refuse(kNotLabelSize, fields[1]);
    t.label = *label;

    const auto grid = SplitAtX(fields[2]);
    const auto nx = grid ? ParseCount(grid->first.trimmed()) : std::nullopt;
    const auto ny = grid ? ParseCount(grid->second.trimmed()) : std::nullopt;
    if (!nx || !ny || *nx < 1 || *ny < 1) return Refuse(kNotGrid, fields[2]);

    double lengths[4];
    for (int i = 0; i < 4; ++i) {
        const auto length = TypedLength(fields[3 + i]);
        if (!length) return Refuse(kNotLength, fields[3 + i]);
        lengths[i] = *length;
    }
    t.layouts << LabelTemplate::Layout{*nx, *ny, lengths[0], lengths[1], lengths[2], lengths[3]};
    if (const QString fault = GeometryFault(t); !fault.isEmpty()) return Refuse(kFault, fault);
    return CustomSheet{t, {}};
}

}  // namespace sheets
