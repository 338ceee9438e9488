#pragma once

#include <QImage>
#include <QSize>

// A stand-in for a camera photograph: smooth colour with grain in every
// pixel, so that it compresses no better than a real one.
QImage photograph(QSize size);
