#include "picturebox.h"

#include <QPaintEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    resize(picture.size());
    update();
}

// Only the exposed part: a preview can be far larger than the window.
void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_picture, event->rect());
}
