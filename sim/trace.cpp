#include "sim/trace.h"

#include <charconv>

namespace kelvarok::sim {

namespace {

void PerPlayerArray(JsonWriter& json, const char* key, const PerPlayer<std::int32_t>& values) {
  json.Key(key).BeginArray().Int(values[1]).Int(values[2]).EndArray();
}

void HiScoreEntries(JsonWriter& json, const HiScoreTable& table) {
  json.BeginArray();
  for (int r = 1; r <= kHiScorePlaces; ++r)
    json.BeginObject()
        .Int("score", table[r].Score)
        .Int("round", table[r].Round)
        .String("name", table[r].Name)
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
  return json_.BeginObject().Int("t", host_.now()).String("event", name);
}

void Trace::Frame(FramePhase phase, std::uint32_t frameStart, std::int32_t penaltyClock) {
  const std::int32_t p = state_.CurPlayer;
  json_.BeginObject().Int("t", frameStart).String("phase", FramePhaseName(phase));
  json_.Int("player", p).Int("round", state_.RoundNo[p]);
  PerPlayerArray(json_, "score", state_.Score);
  PerPlayerArray(json_, "shipsLeft", state_.ShipsLeft);
  PerPlayerArray(json_, "rockCount", state_.RockCount);
  json_.Int("shield", state_.ShieldTime).Int("penalty", penaltyClock);

  const TShip& ship = state_.Ships[p];
  json_.Key("ship").BeginObject();
  json_.Int("x", ship.X).Int("y", ship.Y).Int("vx", ship.VX).Int("vy", ship.VY);
  json_.Int("heading", ship.Heading).Int("warp", ship.WarpTime);
  json_.Bool("thrusting", ship.Thrusting).EndObject();

  json_.Key("rocks").BeginArray();
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& r = state_.Rocks[p][i];
    if (!r.Active) continue;
    json_.BeginObject().Int("slot", i).Int("size", r.Size).Bool("hard", r.Hard);
    json_.Int("x", r.X).Int("y", r.Y).Int("vx", r.VX).Int("vy", r.VY);
    json_.Int("frame", r.Frame).Int("spin", r.Spin).EndObject();
  }
  json_.EndArray();

  json_.Key("missiles").BeginArray();
  for (int m = 1; m <= kMissileSlots; ++m) {
    const TMissile& mi = state_.Missiles[m];
    if (mi.Life <= 0) continue;
    json_.BeginObject().Int("slot", m).Int("life", mi.Life);
    json_.Int("x", mi.X).Int("y", mi.Y).Int("vx", mi.VX).Int("vy", mi.VY).EndObject();
  }
  json_.EndArray();

  json_.Key("flags").BeginObject();
  json_.Bool("gameOver", state_.GameOver).Bool("roundCleared", state_.RoundCleared);
  json_.Bool("shipHit", state_.ShipHit).Bool("bonusMode", state_.BonusMode);
  json_.Bool("fireLatch", state_.FireLatch);
  json_.Bool("paused", menu_.Checked(MenuItem::Pause1)).EndObject();
  json_.EndObject();
  WriteLine();
}

void Trace::Message(const std::string& first, const std::string& second) {
  BeginEvent("message").String("first", first).String("second", second).EndObject();
  WriteLine();
}

void Trace::Restore() {
  BeginEvent("restore").EndObject();
  WriteLine();
}

void Trace::Caption(const std::string& text) {
  BeginEvent("caption").String("text", text).EndObject();
  WriteLine();
}

void Trace::Sound(Effect effect) {
  BeginEvent("sound").Int("n", EffectNumber(effect)).EndObject();
  WriteLine();
}

void Trace::Menu() {
  BeginEvent("menu").Key("items").BeginObject();
  for (const MenuItem item : kMenuItems) {
    json_.Key(MenuItemName(item)).BeginObject().Bool("enabled", menu_.Enabled(item));
    json_.Bool("checked", menu_.Checked(item)).EndObject();
  }
  json_.EndObject().EndObject();
  WriteLine();
}

void Trace::Prompt(const std::string& prompt, const std::string* answer) {
  BeginEvent("prompt").Int("player", PromptPlayer(prompt));
  if (answer != nullptr) {
    json_.String("answer", *answer);
  } else {
    json_.Bool("cancelled", true);
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
  json.BeginObject().Bool("final", true).Int("t", t);
  PerPlayerArray(json, "score", state.Score);
  PerPlayerArray(json, "round", state.RoundNo);
  json.Key("hiscores");
  HiScoreEntries(json, hiscores);
  json.EndObject();
  return json.Take();
}

}  // namespace kelvarok::sim
