#include "game/replay_file.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <string>

#include "game/controls_sample.h"
#include "game/rules_revision.h"

namespace kelvarok {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic{'K', 'V', 'R', 'P'};
// A body larger than this is no game of ours: a forged length must not make
// the reader allocate without bound.
constexpr std::uint64_t kMaxBodyBytes = 64u << 20;
// All a name prompt's edit box takes; the table keeps the first 20 of them.
constexpr std::size_t kMaxAnswerLength = 255;

class Writer {
 public:
  void Unsigned(std::uint64_t value) {
    while (value >= 0x80) {
      bytes.push_back(static_cast<std::uint8_t>(value | 0x80));
      value >>= 7;
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  void Signed(std::int64_t value) {
    Unsigned((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
  }
  void Text(const std::string& text) {
    Unsigned(text.size());
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  // A hash, least significant byte first.
  void Fixed(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Unsigned() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t byte = Byte();
      value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return value;
    }
    throw ReplayFileError(kReplayDamaged);
  }
  std::uint64_t Unsigned(std::uint64_t max) {
    const std::uint64_t value = Unsigned();
    if (value > max) throw ReplayFileError(kReplayDamaged);
    return value;
  }
  std::int64_t Signed() {
    const std::uint64_t raw = Unsigned();
    return static_cast<std::int64_t>(raw >> 1) ^ -static_cast<std::int64_t>(raw & 1);
  }
  std::int32_t Int32() {
    const std::int64_t value = Signed();
    if (value < INT32_MIN || value > INT32_MAX) throw ReplayFileError(kReplayDamaged);
    return static_cast<std::int32_t>(value);
  }
  std::string Text(std::size_t maxLength) {
    const std::size_t length = Unsigned(maxLength);
    if (length > bytes_.size() - at_) throw ReplayFileError(kReplayDamaged);
    std::string text(reinterpret_cast<const char*>(bytes_.data() + at_), length);
    at_ += length;
    return text;
  }
  std::uint64_t Fixed(int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) value |= std::uint64_t{Byte()} << (8 * i);
    return value;
  }
  // A count of items that each take at least one byte.
  std::size_t Count() { return Unsigned(Left()); }
  std::size_t Left() const { return bytes_.size() - at_; }
  bool AtEnd() const { return at_ == bytes_.size(); }
  std::size_t Position() const { return at_; }

 private:
  std::uint8_t Byte() {
    if (at_ >= bytes_.size()) throw ReplayFileError(kReplayDamaged);
    return bytes_[at_++];
  }
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

std::uint32_t Crc(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

// --- The body --------------------------------------------------------------

// The sound switches as bits of one number, bit i for kSwitchedEffects[i].
constexpr std::array<Effect, 5> kSwitchedEffects{Effect::Missile, Effect::Explosion, Effect::Thrust,
                                                 Effect::Hyperspace, Effect::Bonus};
constexpr std::uint32_t kSoundSwitchBits = kSwitchedEffects.size();

void WriteSettings(Writer& out, const GameSettings& settings) {
  std::uint32_t switches = 0;
  for (std::uint32_t i = 0; i < kSoundSwitchBits; ++i)
    if (settings.*SoundSwitch(kSwitchedEffects[i])) switches |= 1u << i;
  out.Unsigned(switches);
  out.Signed(settings.SoundVolume);
}

GameSettings ReadSettings(Reader& in) {
  GameSettings settings;
  const std::uint64_t switches = in.Unsigned((1u << kSoundSwitchBits) - 1);
  for (std::uint32_t i = 0; i < kSoundSwitchBits; ++i)
    settings.*SoundSwitch(kSwitchedEffects[i]) = (switches & (1u << i)) != 0;
  settings.SoundVolume = in.Int32();
  return settings;
}

std::vector<std::uint8_t> EncodeBody(const Replay& replay) {
  Writer out;
  out.Text(replay.programVersion);
  out.Unsigned(static_cast<std::uint32_t>(replay.players));
  out.Unsigned(replay.randomState);
  WriteSettings(out, replay.settings);
  for (int place = 1; place <= kHiScorePlaces; ++place) {
    out.Signed(replay.hiscores[place].Score);
    out.Signed(replay.hiscores[place].Round);
    out.Text(replay.hiscores[place].Name);
  }
  out.Unsigned(replay.fireLatch ? 1 : 0);
  // Frame and wait numbers as differences from the one before: small numbers
  // that take a byte each and deflate well.
  out.Unsigned(replay.controls.size());
  std::uint32_t frame = 0;
  for (const ReplayControls& change : replay.controls) {
    out.Unsigned(change.frame - frame);
    frame = change.frame;
    out.Unsigned(change.bits);
  }
  out.Unsigned(replay.events.size());
  std::uint32_t wait = 0;
  for (const ReplayEvent& event : replay.events) {
    out.Unsigned(event.wait - wait);
    wait = event.wait;
    out.Unsigned(static_cast<std::uint8_t>(event.input));
  }
  out.Unsigned(replay.answers.size());
  for (const ReplayAnswer& answer : replay.answers) {
    out.Unsigned(answer.ok ? 1 : 0);
    out.Text(answer.text);
  }
  out.Unsigned(replay.frames);
  for (const std::uint32_t checkpoint : replay.checkpoints) out.Fixed(checkpoint, 4);
  // Last, where a script can read it from the body's end.
  out.Fixed(replay.finalHash, 8);
  return std::move(out.bytes);
}

// A running sum of differences that must stay inside 32 bits, as the
// recorder made it.
std::uint32_t Advance(std::uint32_t from, Reader& in) {
  const std::uint64_t next = std::uint64_t{from} + in.Unsigned(UINT32_MAX);
  if (next > UINT32_MAX) throw ReplayFileError(kReplayDamaged);
  return static_cast<std::uint32_t>(next);
}

Replay DecodeBody(std::span<const std::uint8_t> body) {
  Reader in(body);
  Replay replay;
  replay.programVersion = in.Text(64);
  replay.players = static_cast<std::int32_t>(in.Unsigned(kPlayers));
  if (replay.players < 1) throw ReplayFileError(kReplayDamaged);
  replay.randomState = in.Unsigned();
  replay.settings = ReadSettings(in);
  for (int place = 1; place <= kHiScorePlaces; ++place) {
    replay.hiscores[place].Score = in.Int32();
    replay.hiscores[place].Round = in.Int32();
    replay.hiscores[place].Name = in.Text(kMaxNameLength);
  }
  replay.fireLatch = in.Unsigned(1) == 1;
  replay.controls.resize(in.Count());
  std::uint32_t frame = 0;
  for (ReplayControls& change : replay.controls) {
    // Each change is of a later frame than the one before.
    const std::uint32_t next = Advance(frame, in);
    if (next == frame) throw ReplayFileError(kReplayDamaged);
    change.frame = frame = next;
    change.bits = static_cast<std::uint8_t>(in.Unsigned((1u << kControlBits) - 1));
  }
  replay.events.resize(in.Count());
  std::uint32_t wait = 0;
  for (ReplayEvent& event : replay.events) {
    event.wait = wait = Advance(wait, in);
    event.input = static_cast<FlowInput>(in.Unsigned(kFlowInputs - 1));
  }
  replay.answers.resize(in.Count());
  for (ReplayAnswer& answer : replay.answers) {
    answer.ok = in.Unsigned(1) == 1;
    answer.text = in.Text(kMaxAnswerLength);
  }
  replay.frames = static_cast<std::uint32_t>(in.Unsigned(UINT32_MAX));
  if (frame > replay.frames) throw ReplayFileError(kReplayDamaged);
  // Every checkpoint takes four bytes: a long game needs a long file.
  const std::uint32_t checkpoints = CheckpointsIn(replay.frames);
  if (checkpoints > in.Left() / 4) throw ReplayFileError(kReplayDamaged);
  replay.checkpoints.resize(checkpoints);
  for (std::uint32_t& checkpoint : replay.checkpoints)
    checkpoint = static_cast<std::uint32_t>(in.Fixed(4));
  replay.finalHash = in.Fixed(8);
  if (!in.AtEnd()) throw ReplayFileError(kReplayDamaged);
  return replay;
}

}  // namespace

std::vector<std::uint8_t> EncodeReplay(const Replay& replay) {
  const std::vector<std::uint8_t> body = EncodeBody(replay);
  uLongf packedSize = compressBound(static_cast<uLong>(body.size()));
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, body.data(), static_cast<uLong>(body.size()),
            Z_BEST_COMPRESSION);
  packed.resize(packedSize);

  Writer out;
  out.bytes.assign(kMagic.begin(), kMagic.end());
  out.bytes.push_back(kReplayFormatVersion);
  out.Unsigned(replay.rulesRevision);
  out.Unsigned(body.size());
  out.Unsigned(packed.size());
  out.bytes.insert(out.bytes.end(), packed.begin(), packed.end());
  const std::uint32_t crc = Crc(out.bytes);
  for (int shift = 0; shift < 32; shift += 8)
    out.bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
  return std::move(out.bytes);
}

Replay DecodeReplay(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
    throw ReplayFileError(kReplayNotAReplay);
  if (bytes.size() < kMagic.size() + 1 + 4) throw ReplayFileError(kReplayDamaged);
  const std::span<const std::uint8_t> covered = bytes.first(bytes.size() - 4);
  std::uint32_t crc = 0;
  for (int i = 0; i < 4; ++i)
    crc |= std::uint32_t{bytes[covered.size() + static_cast<std::size_t>(i)]} << (8 * i);
  if (Crc(covered) != crc) throw ReplayFileError(kReplayDamaged);
  if (bytes[kMagic.size()] != kReplayFormatVersion) throw ReplayFileError(kReplayUnknownVersion);

  Reader header(covered.subspan(kMagic.size() + 1));
  const std::uint64_t revision = header.Unsigned(UINT32_MAX);
  if (revision != kRulesRevision) throw ReplayFileError(OtherRulesMessage(revision));
  const std::uint64_t bodySize = header.Unsigned(kMaxBodyBytes);
  const std::uint64_t packedSize = header.Unsigned(covered.size());
  const std::size_t packedAt = kMagic.size() + 1 + header.Position();
  if (packedAt + packedSize != covered.size()) throw ReplayFileError(kReplayDamaged);
  std::vector<std::uint8_t> body(bodySize);
  uLongf unpackedSize = static_cast<uLongf>(bodySize);
  if (uncompress(body.data(), &unpackedSize, covered.data() + packedAt,
                 static_cast<uLong>(packedSize)) != Z_OK ||
      unpackedSize != bodySize)
    throw ReplayFileError(kReplayDamaged);
  Replay replay = DecodeBody(body);
  replay.rulesRevision = static_cast<std::uint32_t>(revision);
  return replay;
}

std::string OtherRulesMessage(std::uint64_t revision) {
  return "The replay was recorded under revision " + std::to_string(revision) +
         " of the game's rules; this version of Kelvarok plays revision " +
         std::to_string(kRulesRevision) + ".";
}

}  // namespace kelvarok
