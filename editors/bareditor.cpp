#include "bareditor.h"

#include <QAction>
#include <QFontDialog>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "engines/rounding.h"
#include "platform/clipboard.h"
#include "platform/icons.h"
#include "platform/notices.h"
#include "platform/qtcanvas.h"
#include "shell/mainform.h"
#include "shell/pagesetting.h"
#include "shell/printunit.h"

namespace {
constexpr int kEditorWidth = 688;
constexpr int kToolBarHeight = 41;
constexpr int kPreviewCaptionHeight = 18;
const QColor kPreviewGrey(128, 128, 128);
// Two bitmaps of this many pixels (the preview and the work bitmap) stay well within memory.
constexpr qint64 kMaxPictureArea = 50'000'000;
}  // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Image1")); }

void TImage::SetSize(int width, int height)
{
    resize(width, height);
    picture = platform::WhiteImage(width, height);
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

TBarEditor::TBarEditor(QWidget* parent, const QString& caption, int clientHeight, int parameterHeight)
    : QWidget(parent)
{
    setWindowTitle(caption);
    setFixedSize(kEditorWidth, clientHeight);
    setAutoFillBackground(true);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(0, 0, kEditorWidth, kToolBarHeight);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolButton1 = AddToolButton("ToolButton1", "pagesetting", platform::iconPageSetting, true);
    ToolButton2 = AddToolButton("ToolButton2", "font", platform::iconFont, true);
    ToolButton3 = AddToolButton("ToolButton3", "turn3", platform::iconHorizontal, false);
    ToolButton5 = AddToolButton("ToolButton5", "turn 1", platform::iconTurn, false);
    ToolButton4 = ToolBar1->addSeparator();
    ToolButton4->setObjectName(QStringLiteral("ToolButton4"));
    ToolButton4->setText(QStringLiteral("trun 2"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kToolBarHeight, kEditorWidth, parameterHeight);
    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(0, 0, kEditorWidth, parameterHeight);

    const int previewTop = kToolBarHeight + parameterHeight;
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, previewTop, kEditorWidth, clientHeight - previewTop);
    Panel4 = new QLabel(QStringLiteral("Preview"), Panel3);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(0, 0, kEditorWidth, kPreviewCaptionHeight);
    Panel4->setAlignment(Qt::AlignCenter);
    ScrollBox1 = new QScrollArea(Panel3);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, kPreviewCaptionHeight, kEditorWidth, Panel3->height() - kPreviewCaptionHeight);
    ScrollBox1->setWidgetResizable(false);
    auto* host = new QWidget;
    QPalette grey = host->palette();
    grey.setColor(QPalette::Window, kPreviewGrey);
    host->setPalette(grey);
    host->setAutoFillBackground(true);
    ScrollBox1->setPalette(grey);
    ScrollBox1->setWidget(host);
    Image1 = new TImage(host);
    Image1->setGeometry(8, 8, 665, 169);
    FitScrollArea();
}

QToolButton* TBarEditor::AddToolButton(const char* name, const char* caption, int icon, bool enabled)
{
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(caption));
    button->setIcon(platform::ToolBarIcon(static_cast<platform::ToolIcon>(icon)));
    button->setFixedSize(82, 38);
    button->setEnabled(enabled);
    ToolBar1->addWidget(button);
    return button;
}

void TBarEditor::ConnectCommonHandlers()
{
    connect(ToolButton1, &QToolButton::clicked, this, &TBarEditor::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TBarEditor::ToolButton2Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TBarEditor::ToolButton3Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TBarEditor::ToolButton5Click);
}

// The scrolled area covers the image wherever it sits, and at least the visible part.
void TBarEditor::FitScrollArea()
{
    const QSize view = ScrollBox1->viewport()->size();
    const QRect image = Image1->geometry();
    ScrollBox1->widget()->resize(std::max(view.width(), image.right() + 1), std::max(view.height(), image.bottom() + 1));
}

void TBarEditor::CentreImage()
{
    const int left = Image1->width() > ScrollBox1->width() ? 0 : (ScrollBox1->width() - Image1->width()) / 2;
    const int top = Image1->height() > ScrollBox1->height() ? 0 : (ScrollBox1->height() - Image1->height()) / 2;
    Image1->move(left, top);
    FitScrollArea();
}

bool TBarEditor::PictureSizeAccepted(int width, int height)
{
    if (width > 0 && height > 0 && width <= engines::kMaxPixels && height <= engines::kMaxPixels &&
        qint64{width} * height <= kMaxPictureArea)
        return true;
    platform::ShowNotice(this, QStringLiteral("The symbol would be %1 x %2 pixels, too large to draw: make it smaller.")
                                   .arg(width)
                                   .arg(height));
    return false;
}

bool TBarEditor::CopyPictureToClipboard()
{
    if (platform::CopyImageToClipboard(Image1->picture)) return true;
    platform::ShowNotice(this, QStringLiteral("Fail to copy"));
    return false;
}

void TBarEditor::EnableTurnButtons()
{
    ToolButton3->setEnabled(true);
    ToolButton5->setEnabled(true);
}

void TBarEditor::ToolButton1Click()
{
    platform::Guarded([this] {
        Tpagesettingfm dialog(this);
        dialog.exec();
    });
}

void TBarEditor::ToolButton2Click()
{
    if (mainfm) mainfm->Fontsetting1Click();
}

// Quarter turn clockwise, pixel by pixel from the work bitmap: the destination pixel
// at x = r, y = c takes the source pixel at x = c, y = H - 1 - r.
void TBarEditor::ToolButton5Click()
{
    platform::Guarded([this] {
        const int w = work.width(), h = work.height();
        Image1->SetSize(h, w);
        const QImage source = work.convertToFormat(QImage::Format_RGB32);
        for (int r = 0; r < h; ++r) {
            const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(h - 1 - r));
            for (int c = 0; c < w; ++c)
                reinterpret_cast<QRgb*>(Image1->picture.scanLine(c))[r] = row[c];
        }
        FitScrollArea();
    });
}

void TBarEditor::ToolButton3Click()
{
    platform::Guarded([this] {
        Image1->SetSize(work.width(), work.height());
        if (!work.isNull()) Image1->picture = work.convertToFormat(QImage::Format_RGB32);
        CentreImage();
    });
}

void TBarEditor::Button4Click()
{
    platform::Guarded([this] {
        Tpringfm dialog(this);
        PrintBitmap = Image1->picture.copy();
        dialog.exec();
    });
}
