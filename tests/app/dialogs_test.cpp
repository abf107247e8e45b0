#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <vector>

#include "app/dialogs/name_prompt.h"
#include "app/dialogs/on_screen_keyboard.h"
#include "app/dialogs/taboutform.h"
#include "app/dialogs/thsform.h"
#include "app/dialogs/tjsform.h"
#include "app/dialogs/tkbform.h"
#include "app/dialogs/tsoundform.h"
#include "app/pad_receiver.h"

namespace kelvarok {
namespace {

// The widgets that Tab visits from first, in order, until it comes back.
QList<QWidget*> TabOrder(QWidget* first) {
  QList<QWidget*> order{first};
  for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(first->window())) order << w;
  return order;
}

// --- Keyboard -----------------------------------------------------------------

TEST(TKBForm, LayoutTextsAndTabOrder) {
  GameSettings settings;
  TKBForm form(settings);
  EXPECT_EQ(form.windowTitle(), "Keyboard Settings");
  EXPECT_EQ(form.size(), QSize(358, 233));
  EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
  for (QComboBox* list : form.ComboBoxes) {
    ASSERT_EQ(list->count(), 66);
    EXPECT_FALSE(list->isEditable());
    for (int i = 0; i < 66; ++i) EXPECT_EQ(list->itemText(i), kKeyNames[std::size_t(i)].text);
  }
  EXPECT_EQ(form.ComboBoxes[0]->itemText(62), "Add");
  EXPECT_EQ(form.ComboBoxes[0]->itemText(63), "Subtract");
  for (QPushButton* b : form.DefaultButtons) EXPECT_EQ(b->text(), "Default");
  EXPECT_EQ(form.Button5->text(), "Ok");
  EXPECT_FALSE(form.Button5->isDefault());
  const QList<QWidget*> order = TabOrder(form.ComboBoxes[0]);
  const QList<QWidget*> expected{
      form.ComboBoxes[0], form.DefaultButtons[0], form.ComboBoxes[1], form.DefaultButtons[1],
      form.ComboBoxes[2], form.DefaultButtons[2], form.ComboBoxes[3], form.DefaultButtons[3],
      form.ComboBoxes[4], form.DefaultButtons[4], form.Button5};
  EXPECT_EQ(order, expected);
}

TEST(TKBForm, KeyTableCodes) {
  EXPECT_EQ(kKeyNames.size(), 66u);
  for (std::size_t i = 1; i < kKeyNames.size(); ++i)
    EXPECT_LT(kKeyNames[i - 1].code, kKeyNames[i].code) << kKeyNames[i].text;
  const struct {
    std::size_t index;
    const char* text;
    std::uint16_t code;
  } rows[] = {
      {0, "Backspace", 8}, {2, "Shift", 16},      {3, "Ctrl", 17},       {4, "Spacebar", 32},
      {13, "Ins", 45},     {14, "Del", 46},       {15, "0", 48},         {25, "A", 65},
      {50, "Z", 90},       {51, "Keypad 0", 96},  {56, "Keypad 5", 101}, {61, "Multiply", 106},
      {62, "Add", 107},    {63, "Subtract", 109}, {64, "Decimal", 110},  {65, "Divide", 111}};
  for (const auto& r : rows) {
    EXPECT_STREQ(kKeyNames[r.index].text, r.text);
    EXPECT_EQ(kKeyNames[r.index].code, r.code) << r.text;
  }
}

TEST(TKBForm, ShowingSelectsTheBindingsAndOkStoresTheChoices) {
  GameSettings settings;
  TKBForm form(settings);
  form.show();
  const QStringList shown{"Ctrl", "Up Arrow", "Left Arrow", "Right Arrow", "Spacebar"};
  for (int row = 0; row < kKeyActions; ++row)
    EXPECT_EQ(form.ComboBoxes[std::size_t(row)]->currentText(), shown[row]);
  EXPECT_TRUE(form.Button5->hasFocus() || QApplication::focusWidget() == nullptr);

  form.ComboBoxes[0]->setCurrentIndex(56);  // Keypad 5
  form.ComboBoxes[2]->setCurrentIndex(50);  // Z
  form.ComboBoxes[3]->setCurrentIndex(50);  // Z for both turns is accepted
  EXPECT_EQ(settings.FireKey, 17);          // nothing changes before "Ok"
  QTest::mouseClick(form.Button5, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(settings.FireKey, 101);
  EXPECT_EQ(settings.LeftKey, 90);
  EXPECT_EQ(settings.RightKey, 90);
  EXPECT_EQ(settings.ThrustKey, 38);

  form.show();
  EXPECT_EQ(form.ComboBoxes[0]->currentText(), "Keypad 5");
}

TEST(TKBForm, DefaultButtonsSelectTheirRowsDefault) {
  GameSettings settings;
  settings.FireKey = 65;
  settings.ThrustKey = 66;
  settings.LeftKey = 67;
  settings.RightKey = 68;
  settings.HyperSpaceKey = 69;
  TKBForm form(settings);
  form.show();
  const int defaults[] = {3, 10, 9, 11, 4};
  for (std::size_t row = 0; row < kKeyActions; ++row) {
    QTest::mouseClick(form.DefaultButtons[row], Qt::LeftButton);
    EXPECT_EQ(form.ComboBoxes[row]->currentIndex(), defaults[row]);
    for (std::size_t other = row + 1; other < kKeyActions; ++other)
      EXPECT_EQ(form.ComboBoxes[other]->currentIndex(), 25 + int(other)) << "only its own list";
  }
  EXPECT_EQ(settings.FireKey, 65);
  QTest::mouseClick(form.Button5, Qt::LeftButton);
  EXPECT_EQ(settings.FireKey, 17);
  EXPECT_EQ(settings.HyperSpaceKey, 32);
}

TEST(TKBForm, ACodeOutsideTheTableShowsNoSelectionAndOkKeepsIt) {
  GameSettings settings;
  settings.FireKey = 18;  // Alt
  TKBForm form(settings);
  form.show();
  EXPECT_EQ(form.ComboBoxes[0]->currentIndex(), -1);
  QTest::mouseClick(form.Button5, Qt::LeftButton);
  EXPECT_EQ(settings.FireKey, 18);
}

// Enter presses the button that has the focus and no other: none of the
// option dialogs has a default button.
TEST(OptionDialogs, EnterPressesOnlyTheFocusedButton) {
  GameSettings settings;
  // A std::vector: comparing two empty QLists passes a null pointer to memcmp.
  std::vector<int> played;
  TKBForm keyboard(settings);
  TSoundForm sound(
      settings, [&](Effect e) { played.push_back(EffectNumber(e)); }, [] {});
  TJSForm joystick(settings);
  const struct {
    const char* name;
    FixedDialog& dialog;
    QWidget* focus;
    bool closes;
    std::vector<int> plays;
  } cases[] = {
      {"keyboard list", keyboard, keyboard.ComboBoxes[1], false, {}},
      {"keyboard Ok", keyboard, keyboard.Button5, true, {}},
      {"sound box", sound, sound.CheckBoxes[2], false, {}},
      {"sound Test", sound, sound.TestButtons[1], false, {0}},
      {"joystick choice", joystick, joystick.Player2->Button(1), false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    played.clear();
    c.dialog.show();
    QApplication::setActiveWindow(&c.dialog);
    keyboard.ComboBoxes[0]->setCurrentIndex(56);  // Keypad 5
    c.focus->setFocus();
    for (QPushButton* button : c.dialog.findChildren<QPushButton*>())
      EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
    QTest::keyClick(c.focus, Qt::Key_Return);
    EXPECT_EQ(c.dialog.isVisible(), !c.closes);
    EXPECT_EQ(played, c.plays);
    EXPECT_EQ(keyboard.ComboBoxes[0]->currentIndex(), 56);
    c.dialog.hide();
  }
}

// A window manager may offer a minimise box all the same: the dialog, and
// with it the main window, comes back at once.
TEST(FixedDialog, AMinimisedDialogComesBack) {
  GameSettings settings;
  TJSForm form(settings);
  form.show();
  form.setWindowState(Qt::WindowMinimized);
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.isMinimized());
  EXPECT_TRUE(form.isVisible());
}

TEST(TKBForm, EscapeDoesNotCloseIt) {
  GameSettings settings;
  TKBForm form(settings);
  form.show();
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());
}

// --- Joystick -------------------------------------------------------------------

TEST(TJSForm, LayoutAndTexts) {
  GameSettings settings;
  TJSForm form(settings);
  EXPECT_EQ(form.windowTitle(), "Joystick Settings");
  EXPECT_EQ(form.size(), QSize(232, 253));
  EXPECT_EQ(form.Player1->title(), "Player 1");
  EXPECT_EQ(form.Player2->title(), "Player 2");
  EXPECT_EQ(form.Player1->size(), QSize(201, 89));
  const QStringList choices{"None", "Joystick #1", "Joystick #2"};
  for (int id = 0; id < 3; ++id) {
    EXPECT_EQ(form.Player1->Button(id)->text(), choices[id]);
    EXPECT_EQ(form.Player2->Button(id)->text(), choices[id]);
  }
  EXPECT_EQ(form.Button1->text(), "Ok");
  EXPECT_EQ(form.Button1->width(), 97);
}

TEST(TJSForm, StoredValuesShowTheNearestChoiceAndOkStoresTheShownOne) {
  const struct {
    std::int32_t stored;
    int shown;  // -1: no choice
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {99, 2}, {-1, -1}, {-7, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    GameSettings settings;
    settings.JoyStick1 = c.stored;
    settings.JoyStick2 = 1;
    TJSForm form(settings);
    form.show();
    EXPECT_EQ(form.Player1->Selected(), c.shown);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(settings.JoyStick1, c.shown);
    EXPECT_EQ(settings.JoyStick2, 1);
  }
}

TEST(TJSForm, BothPlayersMayChooseTheSameJoystick) {
  GameSettings settings;
  TJSForm form(settings);
  form.show();
  form.Player1->Button(1)->click();
  form.Player2->Button(1)->click();
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  EXPECT_EQ(settings.JoyStick1, 1);
  EXPECT_EQ(settings.JoyStick2, 1);
}

// --- Sound ----------------------------------------------------------------------------

struct SoundFormFixture {
  GameSettings settings;
  QList<int> played;
  QList<std::int32_t> applied;  // SoundVolume at each ApplySoundVolume
  TSoundForm form{settings, [this](Effect e) { played << EffectNumber(e); },
                  [this] { applied << settings.SoundVolume; }};
};

TEST(TSoundForm, LayoutTextsAndTabOrder) {
  SoundFormFixture f;
  TSoundForm& form = f.form;
  EXPECT_EQ(form.windowTitle(), "Sound Effects");
  EXPECT_EQ(form.size(), QSize(238, 315));
  const QStringList captions{"Phaser sounds", "Crash sounds", "Thrust sounds", "Hyperspace sounds",
                             "Bonus sounds"};
  const QStringList names{"PhaserSounds", "CrashSounds", "ThrustSounds", "HyperSounds",
                          "BonusSounds"};
  QList<QWidget*> expected;
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(form.CheckBoxes[std::size_t(row)]->text(), captions[row]);
    EXPECT_EQ(form.CheckBoxes[std::size_t(row)]->objectName(), names[row]);
    EXPECT_EQ(form.TestButtons[std::size_t(row)]->text(), "Test");
    EXPECT_EQ(form.TestButtons[std::size_t(row)]->width(), 51);
    expected << form.CheckBoxes[std::size_t(row)] << form.TestButtons[std::size_t(row)];
  }
  expected << form.TrackBar1 << form.Button1;
  EXPECT_EQ(TabOrder(form.CheckBoxes[0]), expected);
  EXPECT_EQ(form.Panel1->text(), "Volume: 50%");
  EXPECT_EQ(form.TrackBar1->minimum(), 0);
  EXPECT_EQ(form.TrackBar1->maximum(), 10);
  EXPECT_EQ(form.TrackBar1->pageStep(), 1);
  EXPECT_EQ(form.TrackBar1->tickPosition(), QSlider::TicksBelow);
  EXPECT_EQ(form.TrackBar1->size(), QSize(201, 25));
  EXPECT_EQ(form.Button1->text(), "Ok");
}

TEST(TSoundForm, ShowingSetsSliderLabelAndVolume) {
  const struct {
    std::int32_t stored;
    int position;
    const char* label;
  } cases[] = {{70, 7, "Volume: 70%"}, {75, 7, "Volume: 70%"}, {150, 10, "Volume: 100%"},
               {-20, 0, "Volume: 0%"}, {50, 5, "Volume: 50%"}, {9, 0, "Volume: 0%"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    SoundFormFixture f;
    f.settings.SoundVolume = c.stored;
    f.form.show();
    EXPECT_EQ(f.form.TrackBar1->value(), c.position);
    EXPECT_EQ(f.form.Panel1->text(), c.label);
    EXPECT_EQ(f.settings.SoundVolume, c.position * 10);
    // The change handler runs once, also when the position did not move.
    EXPECT_EQ(f.applied, QList<std::int32_t>{c.position * 10});
  }
}

TEST(TSoundForm, TheSliderAppliesAtOnceAndOkKeepsIt) {
  SoundFormFixture f;
  f.form.show();
  f.form.TrackBar1->setFocus();
  QTest::keyClick(f.form.TrackBar1, Qt::Key_Left);
  EXPECT_EQ(f.form.Panel1->text(), "Volume: 60%");
  EXPECT_EQ(f.settings.SoundVolume, 60);
  QTest::keyClick(f.form.TrackBar1, Qt::Key_PageDown);
  EXPECT_EQ(f.settings.SoundVolume, 50);
  EXPECT_EQ(f.applied, (QList<std::int32_t>{70, 60, 50}));
  QTest::mouseClick(f.form.Button1, Qt::LeftButton);
  EXPECT_EQ(f.settings.SoundVolume, 50);
}

TEST(TSoundForm, TestButtonsPlayWhateverTheBoxesSayAndOkCopiesThem) {
  SoundFormFixture f;
  f.form.show();
  for (QCheckBox* box : f.form.CheckBoxes) EXPECT_TRUE(box->isChecked());
  f.form.CheckBoxes[0]->setChecked(false);
  for (QPushButton* test : f.form.TestButtons) QTest::mouseClick(test, Qt::LeftButton);
  EXPECT_EQ(f.played, (QList<int>{2, 0, 3, 1, 4}));
  EXPECT_TRUE(f.settings.PhaserSounds);  // only "Ok" changes the flags
  QTest::mouseClick(f.form.Button1, Qt::LeftButton);
  EXPECT_FALSE(f.settings.PhaserSounds);
  EXPECT_TRUE(f.settings.CrashSounds && f.settings.ThrustSounds && f.settings.HyperSpaceSounds &&
              f.settings.BonusSounds);
}

// --- High scores, about, name prompt -----------------------------------------------

TEST(THSForm, LayoutAndCells) {
  THSForm form;
  EXPECT_EQ(form.windowTitle(), "High Scores");
  EXPECT_EQ(form.size(), QSize(306, 289));
  EXPECT_EQ(form.Score[1]->text(), "0 ");
  EXPECT_TRUE(form.Score[1]->alignment() & Qt::AlignRight);
  EXPECT_EQ(form.Score[1]->width(), 64);
  EXPECT_EQ(form.Name[1]->width(), 129);
  EXPECT_EQ(form.Name[1]->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_EQ(form.Score[10]->objectName(), "Score10");
  EXPECT_EQ(form.OkButton->text(), "Ok");
  EXPECT_EQ(form.OkButton->size(), QSize(113, 25));
  HiScoreCells cells;
  cells[1] = {"150 ", "2", "Ann\xe9"};
  cells[10] = {"0 ", "0", ""};
  form.SetCells(cells);
  EXPECT_EQ(form.Score[1]->text(), "150 ");
  EXPECT_EQ(form.Round[1]->text(), "2");
  EXPECT_EQ(form.Name[1]->text(), QString::fromUtf8("Ann\u00e9"));
  EXPECT_EQ(form.Score[10]->text(), "0 ");
  // The longest names fit their cell whole, with room for the rounding of a
  // scaled screen (up to half a screen pixel a letter).
  for (const char* name : {"WWWWWWWWWWWWWWWWWWWW", "Maximilian Wolfgang", "mmmmmmmmmmmmmmmmmmmm"}) {
    cells[2].Name = name;
    form.SetCells(cells);
    const QFontMetricsF metrics(form.Name[2]->font());
    EXPECT_LE(metrics.horizontalAdvance('x') / 2 + metrics.horizontalAdvance(name) +
                  0.5 * static_cast<double>(std::strlen(name)),
              form.Name[2]->contentsRect().width())
        << name;
    EXPECT_EQ(form.Name[2]->text(), name);
  }
  EXPECT_EQ(form.Name[1]->font().pixelSize(), 11);  // a short name keeps the dialog font
  form.show();
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());
  QTest::mouseClick(form.OkButton, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(THSForm, EnterClosesTheWindowEvenWithAGameToWatch) {
  THSForm form;
  form.SetWatchable([](int place) { return place == 1; });
  form.show();
  QApplication::setActiveWindow(&form);
  EXPECT_EQ(form.focusWidget(), form.OkButton);
  QTest::keyClick(form.focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.ChosenPlace(), 0);
}

TEST(TAboutForm, TextsLinkAndClosing) {
  QList<QUrl> opened;
  const QUrl page = QUrl::fromLocalFile("/usr/share/kelvarok/help/kelvarok.html");
  TAboutForm form(page, [&](const QUrl& url) { opened << url; });
  EXPECT_EQ(form.windowTitle(), "About");
  EXPECT_EQ(form.size(), QSize(344, 272));
  QStringList texts;
  for (QLabel* label : form.findChildren<QLabel*>()) texts << label->text();
  for (const char* text : {"Kelvarok", "TM", "Version 2.10", "Ombrix", "Kelvarok help page"})
    EXPECT_TRUE(texts.contains(text)) << text;
  // The page's path is no text for a player, whole or cut short.
  EXPECT_FALSE(texts.join(' ').contains("/")) << texts.join(' ').toStdString();
  const QFontInfo title(form.findChild<QLabel*>("Title")->font());
  EXPECT_EQ(title.family(), "Comic Neue");
  EXPECT_TRUE(title.bold());
  EXPECT_FALSE(title.italic());
  EXPECT_EQ(title.pixelSize(), 33);
  EXPECT_EQ(form.Link->toolTip(), "Click here to access web site");
  EXPECT_EQ(form.Link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(form.Link->font().underline());
  form.show();
  QTest::mouseClick(form.Link, Qt::LeftButton);
  EXPECT_EQ(opened, QList<QUrl>{page});
  EXPECT_TRUE(form.OkButton->isDefault());
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  form.show();
  QTest::keyClick(&form, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
}

// Answers the next name prompt from the event loop once it is shown.
void AnswerNamePrompt(std::function<void(QInputDialog&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
  });
}

TEST(NamePrompt, OkGivesTheTypedTextAndCancelKeepsIt) {
  QString text = "Ann";
  AnswerNamePrompt([](QInputDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "High Score!");
    EXPECT_EQ(dialog.labelText(), "Player 1, enter your name:");
    EXPECT_EQ(dialog.textValue(), "Ann");
    EXPECT_EQ(dialog.okButtonText(), "OK");
    EXPECT_EQ(dialog.cancelButtonText(), "Cancel");
    QLineEdit* edit = dialog.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), 255);
    edit->setText(QString(300, 'x'));
    dialog.accept();
  });
  EXPECT_TRUE(NamePrompt(nullptr, "High Score!", "Player 1, enter your name:", text));
  EXPECT_EQ(text, QString(255, 'x'));

  AnswerNamePrompt([](QInputDialog& dialog) {
    dialog.setTextValue("Bob");
    dialog.reject();
  });
  EXPECT_FALSE(NamePrompt(nullptr, "High Score!", "Player 2, enter your name:", text));
  EXPECT_EQ(text, QString(255, 'x'));
}

TEST(NamePrompt, AGameControllerTypesThroughTheOnScreenKeyboard) {
  using enum PadButton;
  enum Outcome { Open, Ok, Cancel };
  // first, then n presses of repeated, then last.
  const auto Then = [](std::vector<PadButton> first, int n, PadButton repeated,
                       std::initializer_list<PadButton> last) {
    first.insert(first.end(), static_cast<std::size_t>(n), repeated);
    first.insert(first.end(), last);
    return first;
  };
  const auto L1 = [](const char* text) { return QString::fromLatin1(text); };
  const struct {
    const char* name;
    QString text;  // in the box at the start
    bool keyboardShown;
    std::vector<PadButton> presses;
    QString typed;  // in the box after the presses
    Outcome outcome;
    bool lastPressUsed = true;
  } cases[] = {
      {"the first press only shows the keyboard", "", false, {A}, "", Open},
      {"Start only shows the keyboard", "Ann", false, {Start}, "Ann", Open},
      {"the press after showing types", "", false, {Down, A}, "A", Open},
      {"capitals at the start, Left wraps", "", true, {Right, A, Left, Left, A, Start}, "BM", Ok},
      {"Up wraps to the digits", "", true, {Up, A, Up, Up, A}, L1("1\xcd"), Open},
      {"the case key gives small letters", "", true,
       Then(Then(Then({Up, Up}, 6, Right, {A}), 6, Left, {A}), 4, Up, {A, Right, A}),
       L1("\xfb") + "ab", Open},
      {"no capital outside Latin-1", "", true, Then({Up, Up}, 4, Left, {A, Left, A}),
       L1("\xff\xde"), Open},
      {"space, then Down keeps the column", "", true, {Up, Up, Left, A, Down, A}, " 0", Open},
      {"the delete key", "Bob", true, {Up, Left, A, A}, "B", Open},
      {"B deletes the last character", "Ann", true, {B, A, Start}, "AnA", Ok},
      {"B on empty text", "", true, {B, B}, "", Open},
      {"Back cancels", "Ann", true, {A, Back}, "AnnA", Cancel},
      {"X is left to the controller", "", true, {X}, "", Open, false},
      {"a name's 20 characters", "", true, Then({}, 25, A, {}), QString(20, 'A'), Open},
      {"a longer name takes no more", QString(255, 'x'), true, {B, A}, QString(254, 'x'), Open},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QString text = c.text;
    AnswerNamePrompt([&](QInputDialog& dialog) {
      auto* pad = dynamic_cast<PadReceiver*>(&dialog);
      auto* keyboard = dialog.findChild<OnScreenKeyboard*>();
      QLineEdit* edit = dialog.findChild<QLineEdit*>();
      ASSERT_TRUE(pad && keyboard && edit);
      EXPECT_EQ(keyboard->isVisible(), c.keyboardShown);
      // The keyboard edits the end of the text: no selection is shown with it.
      EXPECT_EQ(edit->hasSelectedText(), !c.keyboardShown && !c.text.isEmpty());
      bool used = true;
      for (const PadButton press : c.presses) used = pad->PadPress(press);
      EXPECT_EQ(used, c.lastPressUsed);
      EXPECT_EQ(edit->text(), c.typed);
      EXPECT_EQ(dialog.focusWidget(), edit);
      EXPECT_EQ(dialog.isVisible(), c.outcome == Open);
      if (c.outcome != Open) return;
      EXPECT_TRUE(keyboard->isVisible());
      QTest::keyClicks(edit, "z");  // the real keyboard still types in the box
      EXPECT_EQ(edit->text(), c.typed + "z");
      dialog.reject();
    });
    EXPECT_EQ(
        NamePrompt(nullptr, "High Score!", "Player 1, enter your name:", text, c.keyboardShown),
        c.outcome == Ok);
    EXPECT_EQ(text, c.outcome == Ok ? c.typed : c.text);
  }
}

}  // namespace
}  // namespace kelvarok
