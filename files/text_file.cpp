// Numbered report files. Each line goes straight to the file in two writes (its bytes, then
// CR LF); there is no buffer of our own to flush. A file is held under an exclusive
// advisory lock while it is open, so a second writer of ours is turned away while readers
// (the text editor) are not.

#include "files/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <vector>

#include "files/program_folder.h"
#include "files/write_all.h"
#include "text/object_tables.h"
#include "text/program_heap.h"

namespace quentara {

namespace {

constexpr std::int32_t initialSlots = 10;

struct FileSlot {
  FileHandle handle = 0;
  // Set once the handle has been closed. The slot keeps its old handle, but the descriptor
  // behind it may already belong to another file, so it must never be closed again.
  bool closed = false;
};

struct FileTable {
  ObjectTable<FileSlot> slots{initialSlots, &programHeap};
  FileHandle current = 0;
  bool currentOpen = false;
  bool linesLost = false;
};

// Never destroyed: its slots live in the program heap, which is released as a whole.
FileTable& Files() {
  static FileTable& table = *new FileTable;
  return table;
}

int Descriptor(FileHandle handle) {
  return static_cast<int>(handle - 1);
}

// Opens `name` for writing, creating it when missing, and empties it once we are its only
// writer. Returns the descriptor, or -1.
int OpenForWriting(const char* name) {
  // Not emptied on open: a file that another writer of ours still holds must be left whole.
  // O_NONBLOCK only keeps a FIFO without a reader from hanging the program; it is cleared
  // again for the writes.
  int descriptor = open(name, O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  if (descriptor < 0) return -1;
  int flags = fcntl(descriptor, F_GETFL);
  if (flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) < 0 ||
      flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    close(descriptor);
    return -1;
  }
  struct stat status {};
  if (fstat(descriptor, &status) != 0 ||
      (S_ISREG(status.st_mode) && ftruncate(descriptor, 0) != 0)) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

}  // namespace

void InitTextFiles() {
  FileTable& files = Files();
  files.slots.assign(initialSlots, FileSlot{});
  files.current = 0;
  files.currentOpen = false;
  files.linesLost = false;
}

void EndTextFiles() {
  // Nothing to do: a file still open is closed by the system when the process ends.
}

FileHandle CreateTextFile(std::int32_t number, const char* name) {
  // A number outside 0 to 65535 is refused: a table grown to millions of slots would only
  // be a caller's mistake eating memory.
  if (!IsObjectNumber(number)) return 0;
  FileTable& files = Files();
  GrowObjectTable(files.slots, number, initialSlots);
  // A relative name such as "Loan.txt" lands next to the program, wherever it was started
  // from. If the folder cannot be entered the file goes to the current directory.
  EnterProgramFolder();

  int descriptor = OpenForWriting(name != nullptr ? name : "");
  // A handle is the descriptor plus one, so that 0 means failure even for descriptor 0.
  FileHandle handle = descriptor >= 0 ? FileHandle{descriptor} + 1 : 0;
  // A handle already in the slot is replaced without being closed.
  *FindSlot(files.slots, number) = FileSlot{handle, handle == 0};
  files.current = handle;
  files.currentOpen = handle != 0;
  files.linesLost = false;
  return handle;
}

void WriteLine(const char* text) {
  FileTable& files = Files();
  if (files.current == 0) return;
  if (!files.currentOpen) {
    // The current file was closed; its descriptor may belong to something else by now.
    files.linesLost = true;
    return;
  }
  int descriptor = Descriptor(files.current);
  bool whole = true;
  if (text != nullptr) whole = WriteAll(descriptor, text);
  // The line end is written even when the text was not, as two separate writes.
  whole = WriteAll(descriptor, "\r\n") && whole;
  if (!whole) files.linesLost = true;
}

void CloseTextFile(std::int32_t number) {
  FileTable& files = Files();
  FileSlot* slot = FindSlot(files.slots, number);
  if (slot == nullptr || slot->handle == 0 || slot->closed) return;
  close(Descriptor(slot->handle));
  slot->closed = true;
  // The current file stays what it was, but nothing more can be written to it.
  if (files.current == slot->handle) files.currentOpen = false;
}

bool LinesLost() {
  return Files().linesLost;
}

std::int32_t TextFileSlotCount() {
  return static_cast<std::int32_t>(Files().slots.size());
}

}  // namespace quentara
