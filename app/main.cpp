// The calculator program: everything happens in RunProgram, which ends the process itself.
#include <cstdio>
#include <string>

#include "app/program_start.h"
#include "ui/display_check.h"

int main(int argc, char** argv) {
  if (const std::string missing = quentara::MissingDisplay(argc, argv); !missing.empty()) {
    std::fprintf(stderr,
                 "quentara: no display found (%s); start it from a desktop session, or under a "
                 "virtual one: xvfb-run -a quentara\n",
                 missing.c_str());
    return 1;
  }
  quentara::RunProgram(argc, argv);
}
