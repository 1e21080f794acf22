// What every symbology editor shares: the tool bar, the grey preview area with its
// centred image, the work bitmap that holds the horizontal result of the last build,
// the quarter turn and back, the clipboard copy and the hand-off to printing.
// An editor adds its parameter panel and its Build/Copy.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;

// The preview image control: shows its picture at the picture's size.
class TImage : public QWidget {
public:
    explicit TImage(QWidget* parent);
    QImage picture;
    // Resizes control and picture; the picture becomes white.
    void SetSize(int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TBarEditor : public QWidget {
    Q_OBJECT
public:
    explicit TBarEditor(QWidget* parent, const QString& caption, int clientHeight, int parameterHeight);

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QAction* ToolButton4 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Panel4 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TImage* Image1 = nullptr;
    QImage work;

public slots:
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton5Click();
    void Button4Click();

protected:
    // Whether a picture of this size can be made: sides and area within what a
    // desktop bitmap can take. Otherwise tells the user and returns false.
    bool PictureSizeAccepted(int width, int height);
    // Places Image1 in the middle of the scroll box, or at 0 on a side where it does not fit.
    void CentreImage();
    // Puts the preview picture on the clipboard; "Fail to copy" when it is refused.
    bool CopyPictureToClipboard();
    void EnableTurnButtons();
    QToolButton* AddToolButton(const char* name, const char* caption, int icon, bool enabled);
    void ConnectCommonHandlers();

private:
    void FitScrollArea();
};
