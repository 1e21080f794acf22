#include "guitest.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include "platform/files.h"
#include "shell/mainform.h"

QList<ModalSeen> RunClosingModals(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect)
{
    QList<ModalSeen> seen;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        ModalSeen record{modal->windowTitle(), {}, QString::fromLatin1(modal->metaObject()->className())};
        if (auto* box = qobject_cast<QMessageBox*>(modal)) record.text = box->text();
        seen << record;
        if (inspect) inspect(modal);
        if (!modal->isVisible()) return;  // inspect answered it already
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
        else modal->close();
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}

ExeDirFixture::ExeDirFixture() { platform::SetExeDirectoryOverride(dir_.path()); }

ExeDirFixture::~ExeDirFixture() { platform::SetExeDirectoryOverride({}); }

QString ExeDirFixture::Path(const QString& name) const { return dir_.filePath(name); }

void ExeDirFixture::Write(const QString& name, const QByteArray& content) const
{
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly)) file.write(content);
}

QByteArray ExeDirFixture::Read(const QString& name) const
{
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<Tmainfm> MakeMainWindow() { return std::make_unique<Tmainfm>(); }

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

QImage ClipboardImage() { return Rgb32(QGuiApplication::clipboard()->image()); }

bool AllWhite(const QImage& image)
{
    const QImage picture = Rgb32(image);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

QImage Marker()
{
    QImage marker(3, 2, QImage::Format_RGB32);
    marker.fill(qRgb(10, 200, 30));
    return marker;
}

bool IsQuarterTurnOf(const QImage& turned, const QImage& work)
{
    const QImage t = Rgb32(turned), w = Rgb32(work);
    if (t.size() != w.size().transposed()) return false;
    for (int r = 0; r < w.height(); ++r)
        for (int c = 0; c < w.width(); ++c)
            if (t.pixel(r, c) != w.pixel(c, w.height() - 1 - r)) return false;
    return true;
}
