// The calculator program: everything happens in RunProgram, which ends the process itself.
#include "app/program_start.h"

int main(int argc, char** argv) {
  quentara::RunProgram(argc, argv);
}
