// iBackGround: shows the field bitmap stretched to the widget, pixel for
// pixel without smoothing, as the old picture control did.
#pragma once

#include <QWidget>

#include "platform/bitmap.h"

namespace kelvarok {

class FieldView final : public QWidget {
 public:
  // The bitmap must outlive the view and keep its size.
  FieldView(const Bitmap& field, QWidget* parent);
  // From now on shows this bitmap (a replayed game's field), of the same size.
  void Show(const Bitmap& field);
  const Bitmap& Shown() const { return *field_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Bitmap* field_;
};

}  // namespace kelvarok
