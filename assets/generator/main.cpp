// kelvarok-art OUTDIR: draws the game's pictures and writes them as
// OUTDIR/sprites/<strip>.png and OUTDIR/icons/kelvarok-<size>.png.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/generator/icon_art.h"
#include "assets/generator/sprite_art.h"
#include "assets/sprite_strips.h"
#include "platform/png.h"
#include "platform/program_questions.h"

namespace {

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = kelvarok::AnswerProgramQuestion(
          argc, argv, "kelvarok-art",
          "usage: kelvarok-art [--] OUTDIR\n"
          "       kelvarok-art --help | -h | --version\n\n"
          "Draws the game's pictures and writes them as OUTDIR/sprites/<strip>.png and\n"
          "OUTDIR/icons/kelvarok-<size>.png (the build's regenerate-art target runs it\n"
          "on assets/).\n"))
    return *answered;
  const std::optional<std::string> dir = kelvarok::SoleFileArgument(argc, argv);
  if (!dir) {
    std::fputs("usage: kelvarok-art [--] OUTDIR\n", stderr);
    return 2;
  }
  const std::filesystem::path out = *dir;
  std::error_code error;
  std::filesystem::create_directories(out / "sprites", error);
  std::filesystem::create_directories(out / "icons", error);

  const kelvarok::SpriteSet sprites = kelvarok::art::DrawSprites();
  for (const kelvarok::SpriteStrip& strip : kelvarok::kSpriteStrips) {
    const auto path = out / "sprites" / (std::string(strip.name) + ".png");
    if (!WriteBytes(path, kelvarok::EncodePng(sprites.*strip.member))) {
      std::fprintf(stderr, "kelvarok-art: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  for (const int size : kelvarok::art::kIconSizes) {
    const auto path = out / "icons" / ("kelvarok-" + std::to_string(size) + ".png");
    if (!WriteBytes(path, kelvarok::EncodePngWithAlpha(kelvarok::art::DrawIcon(size)))) {
      std::fprintf(stderr, "kelvarok-art: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
