#pragma once

// The splash window shown while the program starts: borderless, on top,
// centred, sized to its picture, fading in. "Splash.bmp" in the current
// folder replaces the built-in picture.

#include <QPixmap>
#include <QWidget>

class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    explicit TSplashForm(QWidget *parent = nullptr);

    // Shows the window and fades it in; returns when the fade is complete.
    void ShowAndFadeIn();

    static QPixmap BuiltInPicture();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
