// quentara-schedule: the calculator's amortization schedule from the command line.
#include "tool/schedule_tool.h"

int main(int argc, char** argv) {
  return quentara::RunScheduleTool(argc, argv);
}
