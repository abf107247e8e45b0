#include "app/field_view.h"

#include <QImage>
#include <QPainter>

namespace kelvarok {

FieldView::FieldView(const Bitmap& field, QWidget* parent) : QWidget(parent), field_(field) {
  setObjectName("iBackGround");
  // Every pixel is painted each time: nothing behind needs drawing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void FieldView::paintEvent(QPaintEvent*) {
  // 0xFFRRGGBB pixels are QImage's RGB32: the view reads them in place.
  const QImage picture(reinterpret_cast<const uchar*>(field_.pixels().data()), field_.width(),
                       field_.height(), field_.width() * 4, QImage::Format_RGB32);
  QPainter painter(this);
  // Nearest-neighbour scaling into device pixels keeps the picture sharp at
  // any size and on HiDPI screens.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), picture);
}

}  // namespace kelvarok
