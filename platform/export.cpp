#include "export.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/qtcanvas.h"

namespace platform {

namespace {

constexpr double kMetresPerInch = 0.0254;

QByteArray Colour(engines::Rgb c)
{
    return QByteArray("#") + QByteArray::number((c.r << 16) | (c.g << 8) | c.b, 16).rightJustified(6, '0');
}

QByteArray Escaped(const std::string& text)
{
    return QString::fromStdString(text).toHtmlEscaped().toUtf8();
}

QString WriteError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write '%1': %2.").arg(QDir::toNativeSeparators(path), reason);
}

// SaveBytes' files being written, and the interrupting signal once one has come. Both
// are lock-free atomics, which a signal handler may touch.
std::atomic<int> filesInFlight{0};
std::atomic<int> interruptedBy{0};

void EndBySignal(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnInterrupt(int signal)
{
    interruptedBy.store(signal);
    if (filesInFlight.load() == 0) EndBySignal(signal);
    // Otherwise the last file to be finished ends the program.
}

// Counts a file in flight for its lifetime; the last one out ends an interrupted program.
// No file is begun after the signal: the handler may have found none in flight and be
// ending the program already, or another file's end will.
class FileInFlight {
public:
    FileInFlight()
    {
        filesInFlight.fetch_add(1);
        if (interruptedBy.load() == 0) return;
        Leave();
        for (;;) pause();
    }
    ~FileInFlight() { Leave(); }
    FileInFlight(const FileInFlight&) = delete;
    FileInFlight& operator=(const FileInFlight&) = delete;

private:
    static void Leave()
    {
        if (filesInFlight.fetch_sub(1) == 1)
            if (const int signal = interruptedBy.load(); signal != 0) EndBySignal(signal);
    }
};

// The file appears only when all of its content is written; write returns why not.
// There is no sync to disk: a batch writes thousands of small files, and the sync
// costs more than drawing them.
QString SaveAs(const QString& path, const ContentWriter& write)
{
    const QString reason = ReplaceFile(path, write);
    return reason.isEmpty() ? QString() : WriteError(path, reason);
}

// Writes all of data to fd; errno tells why not.
bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

QString WritePdf(const ExportedSymbol& symbol, const QString& path)
{
    const int r = symbol.resolution;
    const QSize size = symbol.picture.size();
    return SaveAs(path, [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setResolution(r);
        writer.setPageSize(QPageSize(QSizeF(double(size.width()) / r, double(size.height()) / r), QPageSize::Inch,
                                     {}, QPageSize::ExactMatch));
        writer.setPageMargins({0, 0, 0, 0});
        writer.setCreator(QStringLiteral("Ruvola BarCode Generator"));
        QPainter painter;
        if (!painter.begin(&writer)) return device.errorString();
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        PainterCanvas canvas(painter);
        symbol.paint(canvas);
        return painter.end() ? QString() : device.errorString();
    });
}

}  // namespace

int DotsPerMetre(int dpi) { return qRound(dpi / kMetresPerInch); }

void SetResolution(QImage& picture, int dpi)
{
    if (dpi <= 0) return;
    const int dpm = DotsPerMetre(dpi);
    picture.setDotsPerMeterX(dpm);
    picture.setDotsPerMeterY(dpm);
}

// One pass that packs black pixels into bits and gives up at the first colour; a
// batch spends less on this than Qt's dithering conversion and a separate check.
QImage PngPicture(const QImage& picture)
{
    // Every build makes a 32-bit picture; others are converted first.
    const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    const QImage rgb = direct ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();
    QImage mono(width, height, QImage::Format_Mono);
    if (mono.isNull()) return picture;
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const auto rowBytes = std::size_t(width) * sizeof(QRgb), packedBytes = std::size_t(mono.bytesPerLine());
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = mono.scanLine(y);
        // Rows through the bars repeat the one above: their bits are copied.
        if (y > 0 && std::memcmp(in, rgb.constScanLine(y - 1), rowBytes) == 0) {
            std::memcpy(out, mono.constScanLine(y - 1), packedBytes);
            continue;
        }
        std::memset(out, 0, packedBytes);
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = in[x] & 0xFFFFFF;
            if (pixel == 0)
                out[x >> 3] |= uchar(0x80 >> (x & 7));
            else if (pixel != 0xFFFFFF)
                return picture;
        }
    }
    mono.setDotsPerMeterX(picture.dotsPerMeterX());
    mono.setDotsPerMeterY(picture.dotsPerMeterY());
    return mono;
}

void SvgCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top) return;
    body_ += QByteArray("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                 .replace("%1", QByteArray::number(left))
                 .replace("%2", QByteArray::number(top))
                 .replace("%3", QByteArray::number(right - left))
                 .replace("%4", QByteArray::number(bottom - top))
                 .replace("%5", Colour(brush_));
}

bool SvgCanvas::TextOut(int x, int y, const std::string& text)
{
    // The same box and baseline as on a picture: the text's advance by the font's height.
    const QFont font = ToQFont(font_, dpi_);
    const QFontMetrics metrics(font);
    const QString s = QString::fromStdString(text);
    FillRect(x, y, x + metrics.horizontalAdvance(s), y + metrics.height());
    QByteArray element = "<text x=\"" + QByteArray::number(x) + "\" y=\"" + QByteArray::number(y + metrics.ascent()) +
                         "\" font-family=\"" + Escaped(font_.face) + "\" font-size=\"" +
                         QByteArray::number(font.pixelSize()) + "\" fill=\"" + Colour(font_.color) + "\"";
    if (font_.style & engines::fsBold) element += " font-weight=\"bold\"";
    if (font_.style & engines::fsItalic) element += " font-style=\"italic\"";
    if (font_.style & (engines::fsUnderline | engines::fsStrikeOut))
        element += QByteArray(" text-decoration=\"") + (font_.style & engines::fsUnderline ? "underline" : "") +
                   (font_.style & engines::fsUnderline && font_.style & engines::fsStrikeOut ? " " : "") +
                   (font_.style & engines::fsStrikeOut ? "line-through" : "") + "\"";
    body_ += element + " xml:space=\"preserve\">" + Escaped(text) + "</text>\n";
    return true;
}

QByteArray SvgDocument(int width, int height, int dpi, const SymbolPainter& paint)
{
    SvgCanvas canvas(dpi);
    paint(canvas);
    const auto inches = [dpi](int pixels) { return QByteArray::number(double(pixels) / dpi, 'g', 10) + "in"; };
    const QByteArray w = QByteArray::number(width), h = QByteArray::number(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           inches(width) + "\" height=\"" + inches(height) + "\" viewBox=\"0 0 " + w + " " + h +
           "\" shape-rendering=\"crispEdges\">\n<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h +
           "\" fill=\"#ffffff\"/>\n" + canvas.Body() + "</svg>\n";
}

// Creating the file exclusively makes it this write's own: removing it after a failure
// cannot take anything that was there before. Only a name that exists already costs the
// hidden file and the rename.
void LetFilesFinishBeforeInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

QString SaveBytes(const QString& path, std::string_view data)
{
    const FileInFlight inFlight;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        return SaveAs(path, [&](QIODevice& device) {
            return device.write(data.data(), qint64(data.size())) == qint64(data.size()) ? QString() : device.errorString();
        });
    if (fd < 0) return WriteError(path, QString::fromLocal8Bit(std::strerror(errno)));
    bool written = WriteAll(fd, data);
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) return {};
    ::unlink(name.constData());
    return WriteError(path, QString::fromLocal8Bit(std::strerror(error)));
}

QString ExportSymbol(const ExportedSymbol& symbol, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (symbol.picture.isNull() || symbol.resolution <= 0 || !symbol.paint)
        return QStringLiteral("Build a symbol before exporting it.");
    if (suffix == QLatin1String("png")) {
        QImage png = PngPicture(symbol.picture);
        SetResolution(png, symbol.resolution);
        return SaveAs(path, [&](QIODevice& device) {
            QImageWriter writer(&device, "png");
            if (writer.write(png)) return QString();
            return device.errorString().isEmpty() ? writer.errorString() : device.errorString();
        });
    }
    if (suffix == QLatin1String("svg")) {
        const QByteArray svg = SvgDocument(symbol.picture.width(), symbol.picture.height(), symbol.resolution, symbol.paint);
        return SaveAs(path, [&](QIODevice& device) {
            return device.write(svg) == svg.size() ? QString() : device.errorString();
        });
    }
    if (suffix == QLatin1String("pdf")) return WritePdf(symbol, path);
    return QStringLiteral("'%1' is not a PNG, SVG or PDF file name.").arg(QFileInfo(path).fileName());
}

}  // namespace platform
