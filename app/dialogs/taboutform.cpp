#include "app/dialogs/taboutform.h"

#include <QFrame>
#include <QMouseEvent>

#include "kelvarok_version.h"
#include "qt/text/embedded_fonts.h"

namespace kelvarok {
namespace {

QLabel* Centred(const QString& text, const QFont& font, int y, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(0, y, parent->width(), 17);
  return label;
}

}  // namespace

LinkLabel::LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
    : QLabel(text, parent), onClick_(std::move(onClick)) {}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) onClick_();
  QLabel::mouseReleaseEvent(event);
}

TAboutForm::TAboutForm(const QUrl& helpPage, std::function<void(const QUrl&)> openUrl,
                       QWidget* parent)
    : FixedDialog(parent, "About", QSize(344, 272), Frame::WithCloseBox),
      openUrl_(std::move(openUrl)) {
  auto* banner = new QFrame(this);
  banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  banner->setGeometry((344 - 313) / 2, 16, 313, 49);
  auto* name = new QLabel("Kelvarok", banner);
  name->setObjectName("Title");
  name->setFont(ComicFont(33));
  name->setStyleSheet("color: rgb(128, 0, 0);");
  name->setAlignment(Qt::AlignCenter);
  name->setGeometry(2, 2, 309, 45);
  auto* trademark = new QLabel("TM", banner);
  trademark->setFont(PixelFont("Arial", 10, true));
  trademark->setStyleSheet("color: rgb(128, 128, 128);");
  trademark->setGeometry(280, 4, 24, 12);

  QFont bold = DialogFont();
  bold.setBold(true);
  Centred(QString("Version %1").arg(kProgramVersion), bold, 96, this);
  Centred("Ombrix", DialogFont(), 128, this);

  QFont underlined = DialogFont();
  underlined.setUnderline(true);
  // The page is a file of the installation: its path says nothing to the
  // player, the link's text says what it opens.
  Link = new LinkLabel(
      kHelpLinkText, [this, helpPage] { openUrl_(helpPage); }, this);
  Link->setFont(underlined);
  Link->setStyleSheet("color: rgb(0, 0, 255);");
  Link->setAlignment(Qt::AlignCenter);
  Link->setCursor(Qt::PointingHandCursor);
  Link->setToolTip("Click here to access web site");
  Link->setGeometry(0, 168, 344, 17);

  OkButton = MakeButton("Ok", this);
  OkButton->setGeometry((344 - 75) / 2, 224, 75, 25);
  OkButton->setDefault(true);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kelvarok
