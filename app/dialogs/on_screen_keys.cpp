#include "app/dialogs/on_screen_keys.h"

#include <utility>

namespace kelvarok {
namespace {

using Kind = OnScreenKey::Kind;

// One column per character, then the wider keys of the row. Names are
// Latin-1: these are its letters (without the signs × and ÷), lower case.
struct RowPlan {
  const char* characters;
  std::vector<std::pair<Kind, int>> wide;  // kind and span
};

const RowPlan kRowPlans[] = {
    {"abcdefghijklm", {}},
    {"nopqrstuvwxyz", {}},
    {"\xe0\xe1\xe2\xe3\xe4\xe5\xe6\xe7\xe8\xe9\xea\xeb\xec", {}},
    {"\xed\xee\xef\xf0\xf1\xf2\xf3\xf4\xf5\xf6\xf8\xf9\xfa", {}},
    {"\xfb\xfc\xfd\xfe\xff\xdf", {{Kind::Case, 3}, {Kind::Space, 4}}},
    {"1234567890", {{Kind::Delete, 3}}},
};

}  // namespace

OnScreenKeys::OnScreenKeys() {
  for (const RowPlan& plan : kRowPlans) {
    std::vector<OnScreenKey> row;
    int column = 0;
    for (const QChar c : QString::fromLatin1(plan.characters))
      row.push_back({Kind::Character, c, column++, 1});
    for (const auto& [kind, span] : plan.wide) {
      row.push_back({kind, QChar(), column, span});
      column += span;
    }
    rows_.push_back(std::move(row));
  }
}

int OnScreenKeys::Columns() const {
  const OnScreenKey& last = rows_.front().back();
  return last.column + last.span;
}

void OnScreenKeys::Step(Move move) {
  const std::size_t rows = rows_.size();
  switch (move) {
    case Move::Left:
    case Move::Right: {
      const std::size_t keys = rows_[row_].size();
      index_ = (index_ + (move == Move::Right ? 1 : keys - 1)) % keys;
      column_ = Focused().column;
      return;
    }
    case Move::Up:
    case Move::Down:
      row_ = (row_ + (move == Move::Down ? 1 : rows - 1)) % rows;
      index_ = 0;
      while (rows_[row_][index_].column + rows_[row_][index_].span <= column_) ++index_;
      return;
  }
}

QChar OnScreenKeys::Typed(const OnScreenKey& key) const {
  if (!capitals_) return key.character;
  // ß and ÿ have no capital in Latin-1.
  const QChar upper = key.character.toUpper();
  return upper.unicode() <= 0xff ? upper : key.character;
}

QString OnScreenKeys::Label(const OnScreenKey& key) const {
  switch (key.kind) {
    case Kind::Character:
      return Typed(key);
    case Kind::Case:
      return capitals_ ? "abc" : "ABC";
    case Kind::Space:
      return "Space";
    case Kind::Delete:
      return "Delete";
  }
  return {};
}

}  // namespace kelvarok
