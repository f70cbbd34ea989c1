// What a request's choice of values must be, before any value is read.

#include "tool/schedule_request.h"

namespace quentara {

bool IsDateShape(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return false;
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

ScheduleProblem RequestShapeProblem(const ScheduleRequest& request) {
  if (request.years && request.months) {
    return {exitUsage, "--years and --months cannot be combined: give the length one way"};
  }
  if (!request.years && !request.months) return {exitUsage, "--years or --months is missing"};
  if (request.arithmetic == Arithmetic::Calculator) {
    if (request.months) {
      return {exitUsage,
              "--months cannot be used with --calculator: the Quentara window takes the length "
              "in years"};
    }
    if (!request.extras.empty()) {
      return {exitUsage,
              "--extra cannot be used with --calculator: the Quentara window has no extra "
              "payments"};
    }
  }
  return {};
}

}  // namespace quentara
