#include "app/field_view.h"

#include <QImage>
#include <QPainter>

namespace kelvarok {

FieldView::FieldView(const Bitmap& field, QWidget* parent) : QWidget(parent), field_(&field) {
  setObjectName("iBackGround");
  // Every pixel is painted each time: nothing behind needs drawing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void FieldView::Show(const Bitmap& field) {
  field_ = &field;
  update();
}

void FieldView::paintEvent(QPaintEvent*) {
  const Bitmap& field = *field_;
  // 0xFFRRGGBB pixels are QImage's RGB32: the view reads them in place.
  const QImage picture(reinterpret_cast<const uchar*>(field.pixels().data()), field.width(),
                       field.height(), field.width() * 4, QImage::Format_RGB32);
  QPainter painter(this);
  // Nearest-neighbour scaling into device pixels keeps the picture sharp at
  // any size and on HiDPI screens.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), picture);
}

}  // namespace kelvarok
