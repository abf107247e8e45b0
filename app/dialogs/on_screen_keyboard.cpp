#include "app/dialogs/on_screen_keyboard.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

namespace kelvarok {
namespace {

constexpr int kGap = 2;      // between keys, in pixels
constexpr int kPadding = 6;  // around a key's widest letter

}  // namespace

OnScreenKeyboard::OnScreenKeyboard(QLineEdit& edit, int maxCharacters, QWidget* parent)
    : QWidget(parent), edit_(edit), maxCharacters_(maxCharacters) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

bool OnScreenKeyboard::Press(PadButton button) {
  using Move = OnScreenKeys::Move;
  switch (button) {
    case PadButton::Up:
      keys_.Step(Move::Up);
      break;
    case PadButton::Down:
      keys_.Step(Move::Down);
      break;
    case PadButton::Left:
      keys_.Step(Move::Left);
      break;
    case PadButton::Right:
      keys_.Step(Move::Right);
      break;
    case PadButton::B:
      DeleteLast();
      break;
    case PadButton::A:
      switch (const OnScreenKey& key = keys_.Focused(); key.kind) {
        case OnScreenKey::Kind::Character:
          Type(keys_.Typed(key));
          break;
        case OnScreenKey::Kind::Space:
          Type(' ');
          break;
        case OnScreenKey::Kind::Case:
          keys_.SwitchCase();
          break;
        case OnScreenKey::Kind::Delete:
          DeleteLast();
          break;
      }
      break;
    default:
      return false;
  }
  update();
  return true;
}

void OnScreenKeyboard::Type(QChar character) {
  edit_.end(false);
  if (edit_.text().size() < std::min(maxCharacters_, edit_.maxLength())) edit_.insert(character);
}

void OnScreenKeyboard::DeleteLast() {
  edit_.end(false);
  edit_.backspace();
}

QSize OnScreenKeyboard::CellSize() const {
  const QFontMetrics metrics(font());
  int widest = 0;
  for (const auto& row : keys_.Rows())
    for (const OnScreenKey& key : row)
      if (key.span == 1) widest = std::max(widest, metrics.horizontalAdvance(keys_.Label(key)));
  return {widest + kPadding, metrics.height() + kPadding};
}

QSize OnScreenKeyboard::sizeHint() const {
  const QSize cell = CellSize();
  const int rows = static_cast<int>(keys_.Rows().size());
  return {keys_.Columns() * (cell.width() + kGap) - kGap, rows * (cell.height() + kGap) - kGap};
}

void OnScreenKeyboard::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QSize cell = CellSize();
  const auto& rows = keys_.Rows();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int top = static_cast<int>(r) * (cell.height() + kGap);
    for (std::size_t i = 0; i < rows[r].size(); ++i) {
      const OnScreenKey& key = rows[r][i];
      const QRect box(key.column * (cell.width() + kGap), top,
                      key.span * (cell.width() + kGap) - kGap, cell.height());
      const bool focused = keys_.IsFocused(r, i);
      painter.setPen(palette().color(QPalette::Mid));
      painter.setBrush(palette().brush(focused ? QPalette::Highlight : QPalette::Button));
      painter.drawRect(box.adjusted(0, 0, -1, -1));
      painter.setPen(palette().color(focused ? QPalette::HighlightedText : QPalette::ButtonText));
      painter.drawText(box, Qt::AlignCenter, keys_.Label(key));
    }
  }
}

}  // namespace kelvarok
