// Ends the program, releasing every layer in one order.

#include "app/program_end.h"

#include <cstdio>
#include <cstdlib>

#include "files/text_file.h"
#include "text/program_heap.h"
#include "ui/windows.h"

namespace quentara {

// The end of the program's life, in one order: the file layer (a report still open after a
// fatal date is closed by the system with the process); the windows, highest number first,
// and then the rest of the window layer with the application object last; then the program
// heap, which releases every text, table and list record at once; last the process.
void EndProgram() {
  EndTextFiles();
  EndWindows();
  programHeap.Destroy();
  std::fflush(nullptr);
  std::exit(0);
}

}  // namespace quentara
