// kelvarok-sfx OUTDIR: makes the game's five effect recordings and writes them
// as OUTDIR/<effect>.wav (run with assets/sounds to refresh the committed ones).
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "assets/sounds/generator/effect_recordings.h"
#include "platform/program_questions.h"

int main(int argc, char** argv) {
  if (const auto answered = kelvarok::AnswerProgramQuestion(
          argc, argv, "kelvarok-sfx",
          "usage: kelvarok-sfx [--] OUTDIR\n"
          "       kelvarok-sfx --help | -h | --version\n\n"
          "Makes the game's five effect recordings and writes them as\n"
          "OUTDIR/<effect>.wav (run it with assets/sounds to refresh the committed\n"
          "ones).\n"))
    return *answered;
  const std::optional<std::string> dir = kelvarok::SoleFileArgument(argc, argv);
  if (!dir) {
    std::fputs("usage: kelvarok-sfx [--] OUTDIR\n", stderr);
    return 2;
  }
  const std::filesystem::path out = *dir;
  std::error_code error;
  std::filesystem::create_directories(out, error);
  for (const kelvarok::sfx::EffectRecording& effect : kelvarok::sfx::kEffectRecordings) {
    const std::vector<std::uint8_t> image = kelvarok::sfx::BuildEffectImage(effect);
    const std::filesystem::path path = out / effect.file;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    if (!file.flush()) {
      std::fprintf(stderr, "kelvarok-sfx: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
