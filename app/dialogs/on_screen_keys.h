// The keys of the on-screen keyboard and the highlight a game controller
// moves over them: the letters a name may hold (a to z and the accented
// letters of Latin-1), a case key, space, the digits and delete, laid out in
// rows of equal width. No widgets: the keyboard widget draws and types what
// this says.
#pragma once

#include <QChar>
#include <QString>
#include <cstddef>
#include <vector>

namespace kelvarok {

struct OnScreenKey {
  enum class Kind { Character, Case, Space, Delete };
  Kind kind = Kind::Character;
  QChar character;  // a Character key's lower-case letter or digit
  int column = 0;   // the first column it covers
  int span = 1;     // how many columns it covers
};

class OnScreenKeys {
 public:
  enum class Move { Up, Down, Left, Right };

  OnScreenKeys();

  // Every row covers the same columns.
  const std::vector<std::vector<OnScreenKey>>& Rows() const { return rows_; }
  int Columns() const;

  // The highlighted key; the first letter at the start.
  const OnScreenKey& Focused() const { return rows_[row_][index_]; }
  bool IsFocused(std::size_t row, std::size_t index) const {
    return row == row_ && index == index_;
  }
  // Left and Right step through a row, Up and Down keep to the column the
  // highlight came from; every move wraps around at the edges.
  void Step(Move move);

  // Letters come in capitals at the start; the case key switches.
  bool Capitals() const { return capitals_; }
  void SwitchCase() { capitals_ = !capitals_; }
  // What a Character key types now: its capital where Latin-1 has one.
  QChar Typed(const OnScreenKey& key) const;
  // What a key shows.
  QString Label(const OnScreenKey& key) const;

 private:
  std::vector<std::vector<OnScreenKey>> rows_;
  std::size_t row_ = 0;
  std::size_t index_ = 0;
  int column_ = 0;  // where Up and Down look for a key
  bool capitals_ = true;
};

}  // namespace kelvarok
