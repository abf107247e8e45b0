#include "tools/sim/trace.h"

#include <charconv>

namespace kelvarok::sim {

namespace {

const char* PhaseName(FramePhase phase) {
  switch (phase) {
    case FramePhase::Play:
      return "play";
    case FramePhase::Crash:
      return "crash";
    case FramePhase::Warmup:
      return "warmup";
    case FramePhase::Bonus:
      return "bonus";
  }
  return "";
}

void PerPlayerArray(JsonWriter& json, const char* key, const PerPlayer<std::int32_t>& values) {
  json.Key(key).BeginArray().Int(values[1]).Int(values[2]).EndArray();
}

void HiScoreEntries(JsonWriter& json, const HiScoreTable& table) {
  json.BeginArray();
  for (int r = 1; r <= kHiScorePlaces; ++r)
    json.BeginObject()
        .Key("score")
        .Int(table[r].Score)
        .Key("round")
        .Int(table[r].Round)
        .Key("name")
        .String(table[r].Name)
        .EndObject();
  json.EndArray();
}

// The player number of a name prompt "Player N, enter your name:".
int PromptPlayer(const std::string& prompt) {
  int player = 0;
  const std::string_view digits = std::string_view(prompt).substr(prompt.find(' ') + 1);
  std::from_chars(digits.data(), digits.data() + digits.size(), player);
  return player;
}

}  // namespace

void Trace::WriteLine() {
  out_ << json_.Take() << '\n';
}

JsonWriter& Trace::BeginEvent(const char* name) {
  return json_.BeginObject().Key("t").Int(host_.now()).Key("event").String(name);
}

void Trace::Frame(FramePhase phase, std::uint32_t frameStart, std::int32_t penaltyClock) {
  const TShip& ship = state_.Ships[state_.CurPlayer];
  json_.BeginObject()
      .Key("t")
      .Int(frameStart)
      .Key("phase")
      .String(PhaseName(phase))
      .Key("player")
      .Int(state_.CurPlayer)
      .Key("round")
      .Int(state_.RoundNo[state_.CurPlayer]);
  PerPlayerArray(json_, "score", state_.Score);
  PerPlayerArray(json_, "shipsLeft", state_.ShipsLeft);
  PerPlayerArray(json_, "rockCount", state_.RockCount);
  json_.Key("shield").Int(state_.ShieldTime).Key("penalty").Int(penaltyClock);
  json_.Key("ship")
      .BeginObject()
      .Key("x")
      .Int(ship.X)
      .Key("y")
      .Int(ship.Y)
      .Key("vx")
      .Int(ship.VX)
      .Key("vy")
      .Int(ship.VY)
      .Key("heading")
      .Int(ship.Heading)
      .Key("warp")
      .Int(ship.WarpTime)
      .Key("thrusting")
      .Bool(ship.Thrusting)
      .EndObject();
  json_.Key("rocks").BeginArray();
  const RockTable& rocks = state_.Rocks[state_.CurPlayer];
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& r = rocks[i];
    if (!r.Active) continue;
    json_.BeginObject()
        .Key("slot")
        .Int(i)
        .Key("size")
        .Int(r.Size)
        .Key("hard")
        .Bool(r.Hard)
        .Key("x")
        .Int(r.X)
        .Key("y")
        .Int(r.Y)
        .Key("vx")
        .Int(r.VX)
        .Key("vy")
        .Int(r.VY)
        .Key("frame")
        .Int(r.Frame)
        .Key("spin")
        .Int(r.Spin)
        .EndObject();
  }
  json_.EndArray().Key("missiles").BeginArray();
  for (int m = 1; m <= kMissileSlots; ++m) {
    const TMissile& mi = state_.Missiles[m];
    if (mi.Life <= 0) continue;
    json_.BeginObject()
        .Key("slot")
        .Int(m)
        .Key("life")
        .Int(mi.Life)
        .Key("x")
        .Int(mi.X)
        .Key("y")
        .Int(mi.Y)
        .Key("vx")
        .Int(mi.VX)
        .Key("vy")
        .Int(mi.VY)
        .EndObject();
  }
  json_.EndArray()
      .Key("flags")
      .BeginObject()
      .Key("gameOver")
      .Bool(state_.GameOver)
      .Key("roundCleared")
      .Bool(state_.RoundCleared)
      .Key("shipHit")
      .Bool(state_.ShipHit)
      .Key("bonusMode")
      .Bool(state_.BonusMode)
      .Key("fireLatch")
      .Bool(state_.FireLatch)
      .Key("paused")
      .Bool(host_.MenuChecked(MenuItem::Pause1))
      .EndObject()
      .EndObject();
  WriteLine();
}

void Trace::Message(const std::string& first, const std::string& second) {
  BeginEvent("message").Key("first").String(first).Key("second").String(second).EndObject();
  WriteLine();
}

void Trace::Restore() {
  BeginEvent("restore").EndObject();
  WriteLine();
}

void Trace::Caption(const std::string& text) {
  BeginEvent("caption").Key("text").String(text).EndObject();
  WriteLine();
}

void Trace::Sound(int n) {
  BeginEvent("sound").Key("n").Int(n).EndObject();
  WriteLine();
}

void Trace::Menu() {
  BeginEvent("menu").Key("items").BeginObject();
  for (const MenuItem item : kMenuItems)
    json_.Key(MenuItemName(item))
        .BeginObject()
        .Key("enabled")
        .Bool(host_.MenuEnabled(item))
        .Key("checked")
        .Bool(host_.MenuChecked(item))
        .EndObject();
  json_.EndObject().EndObject();
  WriteLine();
}

void Trace::Prompt(const std::string& prompt, const std::string* answer) {
  BeginEvent("prompt").Key("player").Int(PromptPlayer(prompt));
  if (answer != nullptr) {
    json_.Key("answer").String(*answer);
  } else {
    json_.Key("cancelled").Bool(true);
  }
  json_.EndObject();
  WriteLine();
}

void Trace::HiScores() {
  BeginEvent("hiscores").Key("entries");
  HiScoreEntries(json_, hiscores_);
  json_.EndObject();
  WriteLine();
}

std::string FinalJson(std::uint32_t t, const GameState& state, const HiScoreTable& hiscores) {
  JsonWriter json;
  json.BeginObject().Key("final").Bool(true).Key("t").Int(t);
  PerPlayerArray(json, "score", state.Score);
  PerPlayerArray(json, "round", state.RoundNo);
  json.Key("hiscores");
  HiScoreEntries(json, hiscores);
  json.EndObject();
  return json.Take();
}

}  // namespace kelvarok::sim
