#include "app/dialogs/thsform.h"

#include <QKeyEvent>
#include <array>

#include "app/dialogs/bevel_label.h"
#include "game/flow_host.h"
#include "qt/text/latin1_text.h"

namespace kelvarok {
namespace {

constexpr std::array<int, 4> kColumnWidths{49, 64, 64, 129};  // Rank, Score, Round, Name
constexpr int kRowHeight = 21;
constexpr int kTableTop = 8;

QColor ColourOf(Pixel p) {
  return QColor::fromRgb(p);
}

}  // namespace

THSForm::THSForm(QWidget* parent)
    : FixedDialog(parent, "High Scores", QSize(306, 289), Frame::WithoutCloseBox) {
  QFont bold = DialogFont();
  bold.setBold(true);
  const auto cell = [this](QLabel* label, int column, int row) {
    int x = 0;
    for (int c = 0; c < column; ++c) x += kColumnWidths[static_cast<std::size_t>(c)];
    label->setGeometry(x, kTableTop + row * kRowHeight,
                       kColumnWidths[static_cast<std::size_t>(column)], kRowHeight);
    return label;
  };
  int column = 0;
  for (const char* header : {"Rank", "Score", "Round", "Name"})
    cell(MakeBevelLabel(header, bold, ColourOf(kMaroon), Qt::AlignCenter, this), column++, 0);

  const QColor navy = ColourOf(kNavy);
  for (int i = 1; i <= kHiScorePlaces; ++i) {
    cell(MakeBevelLabel(QString::number(i), DialogFont(), palette().color(QPalette::WindowText),
                        Qt::AlignCenter, this),
         0, i);
    Score[i] = cell(
        MakeBevelLabel("0 ", DialogFont(), navy, Qt::AlignRight | Qt::AlignVCenter, this), 1, i);
    Score[i]->setObjectName(QString("Score%1").arg(i));
    Round[i] = cell(MakeBevelLabel("", DialogFont(), navy, Qt::AlignCenter, this), 2, i);
    Round[i]->setObjectName(QString("Round%1").arg(i));
    // Left-aligned: a name wider than its cell keeps its start in view.
    Name[i] =
        cell(MakeBevelLabel("", DialogFont(), navy, Qt::AlignLeft | Qt::AlignVCenter, this), 3, i);
    Name[i]->setObjectName(QString("Name%1").arg(i));
  }
  OkButton = MakeButton("Ok", this);
  OkButton->setGeometry((306 - 113) / 2, 252, 113, 25);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  SetCloseButton(OkButton);
  for (int i = 1; i <= kHiScorePlaces; ++i)
    for (QLabel* label : {Score[i], Round[i], Name[i]}) label->installEventFilter(this);
}

void THSForm::SetWatchable(const std::function<bool(int place)>& watchable) {
  chosen_ = 0;
  for (int i = 1; i <= kHiScorePlaces; ++i) {
    watchable_[i] = watchable(i);
    Name[i]->setFocusPolicy(watchable_[i] ? Qt::StrongFocus : Qt::NoFocus);
    Name[i]->setToolTip(watchable_[i] ? "Double-click to watch this game" : QString());
  }
}

void THSForm::showEvent(QShowEvent* event) {
  FixedDialog::showEvent(event);
  // Enter closes the window: no name cell that plays a game has the focus.
  OkButton->setFocus();
}

int THSForm::PlaceOf(QObject* cell) const {
  for (int i = 1; i <= kHiScorePlaces; ++i)
    if (cell == Score[i] || cell == Round[i] || cell == Name[i]) return i;
  return 0;
}

bool THSForm::eventFilter(QObject* watched, QEvent* event) {
  const int place = PlaceOf(watched);
  if (place == 0 || !watchable_[place]) return false;
  const bool enter = event->type() == QEvent::KeyPress &&
                     (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
  if (event->type() != QEvent::MouseButtonDblClick && !enter) return false;
  chosen_ = place;
  accept();
  return true;
}

void THSForm::SetCells(const HiScoreCells& cells) {
  for (int i = 1; i <= kHiScorePlaces; ++i) {
    Score[i]->setText(QStringFromLatin1(cells[i].Score));
    Round[i]->setText(QStringFromLatin1(cells[i].Round));
    // The longest name (20 characters) fits its cell at every screen scale.
    SetFittingText(*Name[i], QStringFromLatin1(cells[i].Name), DialogFont());
  }
}

}  // namespace kelvarok
