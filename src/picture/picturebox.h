#pragma once

#include <QImage>
#include <QWidget>

// A box as large as the picture it holds, drawing it from its top-left
// corner. It keeps the image itself, so what it shows is what it hands on.
class PictureBox : public QWidget
{
public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
