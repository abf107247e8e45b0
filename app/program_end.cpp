#include "app/program_end.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace kelvarok {

int EndProgram(int status) {
  if (QGuiApplication::platformName() != "wayland") return status;
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace kelvarok
