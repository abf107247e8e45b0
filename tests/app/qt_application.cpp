// Every GUI test of the shell runs inside one QApplication (offscreen), made
// before the first test and kept to the end.
#include <gtest/gtest.h>

#include "app/kelvarok_application.h"
#include "qt/text/embedded_fonts.h"

namespace {

class QtApplicationEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "kelvarok-tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<kelvarok::KelvarokApplication>(argc, argv);
    kelvarok::RegisterEmbeddedFonts();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<kelvarok::KelvarokApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
