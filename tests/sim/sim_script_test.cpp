// The script language: every event, comments, names, and the bad lines.
#include <gtest/gtest.h>

#include <variant>

#include "sim/latin1.h"
#include "sim/script.h"

namespace kelvarok::sim {
namespace {

using Kind = ScriptEvent::Kind;

std::vector<ScriptEvent> Parse(const std::string& text) {
  auto parsed = ParseScript(text);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    ADD_FAILURE() << "line " << error->line << ": " << error->reason;
    return {};
  }
  return std::get<std::vector<ScriptEvent>>(parsed);
}

TEST(ScriptTest, EveryEventParses) {
  const auto events = Parse(
      "# a demo\n"
      "\n"
      "0 menu N1Playerstart1\n"
      "  40 key 17 down   # fire\n"
      "80\tkey 17 up\r\n"
      "120 joy 1 0 65535 3\n"
      "160 focus lost\n"
      "200 focus gained\n"
      "240 name Ann Lee #1\n"
      "240 name\n"
      "250 name-cancel\n"
      "300 menu Exit1\n"
      "300 close\n"
      "310 joy 0 unplugged\n");
  ASSERT_EQ(events.size(), 12u);
  EXPECT_EQ(events[0].kind, Kind::Menu);
  EXPECT_EQ(events[0].item, MenuItem::N1Playerstart1);
  EXPECT_EQ(events[1].time, 40u);
  EXPECT_EQ(events[1].vk, 17);
  EXPECT_TRUE(events[1].down);
  EXPECT_FALSE(events[2].down);
  EXPECT_EQ(events[3].joystick, 1u);
  EXPECT_EQ(events[3].joy, (JOYINFO{0, 65535, 0, 3}));
  EXPECT_FALSE(events[4].gained);
  EXPECT_TRUE(events[5].gained);
  EXPECT_EQ(events[6].name, "Ann Lee #1");  // a name is the rest of its line
  EXPECT_EQ(events[7].kind, Kind::Name);
  EXPECT_EQ(events[7].name, "");
  EXPECT_EQ(events[8].kind, Kind::NameCancel);
  EXPECT_EQ(events[9].item, MenuItem::Exit1);
  EXPECT_EQ(events[10].kind, Kind::Close);
  EXPECT_FALSE(events[3].unplugged);
  EXPECT_EQ(events[11].kind, Kind::Joy);
  EXPECT_EQ(events[11].joystick, 0u);
  EXPECT_TRUE(events[11].unplugged);
}

TEST(ScriptTest, NamesBecomeLatin1WithAQuestionMarkForOtherCharacters) {
  const auto events = Parse("0 name Jos\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x9A\x80\n");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].name, "Jos\xE9 ??");
  EXPECT_EQ(Utf8FromLatin1("Jos\xE9"), "Jos\xC3\xA9");
}

TEST(ScriptTest, BadLinesAreReportedWithTheirNumber) {
  struct Case {
    const char* text;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"0 menu N1Playerstart1\nsoon close\n", 2, "bad time 'soon'"},
      {"-5 close\n", 1, "bad time '-5'"},
      {"4294967296 close\n", 1, "bad time '4294967296'"},
      {"10\n", 1, "missing event"},
      {"10 jump\n", 1, "unknown event 'jump'"},
      {"10 menu Options1\n", 1, "unknown menu item 'Options1'"},
      {"10 menu\n", 1, "expected 'menu ITEM'"},
      {"10 key 256 down\n", 1, "bad virtual-key code '256'"},
      {"10 key -1 down\n", 1, "bad virtual-key code '-1'"},
      {"10 key 17 pressed\n", 1, "expected 'down' or 'up'"},
      {"10 key 17\n", 1, "expected 'key VK down|up'"},
      {"10 joy 2 0 0 0\n", 1, "joystick ID must be 0 or 1"},
      {"10 joy 0 65536 0 0\n", 1, "joystick position must be 0 to 65535"},
      {"10 joy 0 0 0 x\n", 1, "bad button bits 'x'"},
      {"10 joy 0 unplugged now\n", 1, "expected 'joy ID X Y BUTTONS' or 'joy ID unplugged'"},
      {"10 joy 2 unplugged\n", 1, "joystick ID must be 0 or 1"},
      {"10 focus away\n", 1, "expected 'lost' or 'gained'"},
      {"10 close now\n", 1, "unexpected 'now'"},
      {"10 name \xC3\n", 1, "name is not valid UTF-8"},
      {"10 name \xC0\xA0\n", 1, "name is not valid UTF-8"},
      {"20 close\n10 close\n", 2, "time goes back before the previous event's"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = ParseScript(c.text);
    const auto* error = std::get_if<ScriptError>(&parsed);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->line, c.line);
    EXPECT_EQ(error->reason, c.reason);
  }
}

}  // namespace
}  // namespace kelvarok::sim
