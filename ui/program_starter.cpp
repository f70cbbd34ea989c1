// Starting another program, with a plain text editor standing in for notepad.exe, and
// waiting for it while the program's windows stay alive.
#include "ui/program_starter.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/program_folder.h"
#include "ui/message_boxes.h"
#include "ui/qt/form_window.h"
#include "ui/qt/handle_registry.h"

extern char** environ;

namespace quentara {

namespace {

// How the waits learn that the started program has ended.
EndNotice endNotice = EndNotice::ProcessDescriptor;

// A program given with a path runs in its own folder only when the part of the path before
// its last separator has at most this many characters.
constexpr std::size_t longestDirectoryPart = 510;

// Editors that stand in for notepad.exe, the plain text editor the program asks for, when
// there is none on the search path. They are looked for in this order, each with the
// options that keep it running in the foreground until its window is closed (some of them
// would otherwise hand the file to a running instance and end at once) and, where it has
// one, the option that makes it read the report as Windows-1252: the line under the
// report's headings is made of byte 0xAF, which is not UTF-8, and an editor left to guess
// asks for the encoding before it shows anything.
struct StandInEditor {
  const char* name;
  std::vector<std::string> options;
};
const std::vector<StandInEditor>& StandInEditors() {
  static const auto* editors =
      new std::vector<StandInEditor>{{"mousepad", {"--disable-server", "--encoding=WINDOWS-1252"}},
                                     {"gedit", {"--wait", "--encoding=WINDOWS-1252"}},
                                     {"gnome-text-editor", {"--standalone"}},
                                     {"kate", {"--block", "--encoding", "windows-1252"}},
                                     {"kwrite", {"--encoding", "windows-1252"}},
                                     {"pluma", {"--encoding=WINDOWS-1252"}},
                                     {"xed", {}},
                                     {"leafpad", {}},
                                     {"featherpad", {"--standalone"}},
                                     {"xedit", {}}};
  return *editors;
}

// What the person is told when neither notepad.exe nor any stand-in editor is there.
std::string NoEditorFound() {
  std::string names;
  const std::vector<StandInEditor>& editors = StandInEditors();
  for (std::size_t i = 0; i < editors.size(); ++i) {
    if (i > 0) names += i + 1 == editors.size() ? " or " : ", ";
    names += editors[i].name;
  }
  return "Neither it nor a plain text editor to stand in for it (" + names +
         ") was found. Install one of them, Mousepad for example, and Print will open the "
         "report in it.";
}

std::vector<pid_t>& UnwaitedPrograms() {
  static auto* programs = new std::vector<pid_t>;
  return *programs;
}

bool IsNotepad(const char* program) {
  return strcasecmp(program, "notepad.exe") == 0;
}

bool IsRunnableFile(const std::string& path) {
  struct stat facts {};
  return stat(path.c_str(), &facts) == 0 && S_ISREG(facts.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

// A name without a separator is looked for along PATH; an empty entry there is the current
// directory. Returns "" when there is none.
std::string FindOnPath(const std::string& name) {
  const char* searchPath = std::getenv("PATH");
  std::string entries = searchPath != nullptr ? searchPath : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= entries.size()) {
    std::size_t end = entries.find(':', start);
    if (end == std::string::npos) end = entries.size();
    std::string directory = entries.substr(start, end - start);
    if (directory.empty()) directory.push_back('.');
    const std::string candidate = directory + "/" + name;
    if (IsRunnableFile(candidate)) return candidate;
    start = end + 1;
  }
  return std::string();
}

// The program file to run: a path is taken from the current directory (the program's
// folder), a bare name is looked for along PATH.
std::string ResolveProgram(const char* program) {
  const std::string name = program;
  if (name.empty()) return std::string();
  if (name.find('/') == std::string::npos) return FindOnPath(name);
  std::string path = name;
  if (path.front() != '/') {
    std::vector<char> current(4096);
    if (getcwd(current.data(), current.size()) == nullptr) return std::string();
    path = std::string(current.data()) + "/" + name;
  }
  return IsRunnableFile(path) ? path : std::string();
}

// Starts the file with its arguments; returns the process id, or -1 with errno set.
pid_t Spawn(const std::string& path, const std::vector<std::string>& arguments,
            const std::string& workingDirectory) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  pid_t child = -1;
  const int failure = posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0) {
    errno = failure;
    return -1;
  }
  return child;
}

void WaitUntilEnded(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// True once the started program has ended and been collected (or cannot be waited for).
bool HasEnded(pid_t child) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(child, &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  return result != 0;
}

// Close requests for a form window that arrive while the program waits for a started
// program. On X11 Qt keeps them back with the clicks and keys of that time; a window system
// that delivers them at once has them held here instead, and each is made again once the
// wait is over, from the event loop, so that neither the window procedure nor the hook sees
// a close request before the started program has ended.
class CloseRequestsOnHold final : public QObject {
 public:
  CloseRequestsOnHold() { QCoreApplication::instance()->installEventFilter(this); }
  ~CloseRequestsOnHold() override {
    QCoreApplication::instance()->removeEventFilter(this);
    for (const QPointer<FormWindow>& form : held_) {
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [form] {
            if (form != nullptr && !form->IsClosed() && form->windowHandle() != nullptr)
              form->windowHandle()->close();
          },
          Qt::QueuedConnection);
    }
  }
  CloseRequestsOnHold(const CloseRequestsOnHold&) = delete;
  CloseRequestsOnHold& operator=(const CloseRequestsOnHold&) = delete;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::Close || !event->spontaneous()) return false;
    FormWindow* form = FormOf(receiver);
    if (form == nullptr) return false;
    held_.emplace_back(form);
    event->ignore();
    return true;
  }

 private:
  std::vector<QPointer<FormWindow>> held_;
};

// The busy cursor over every window of the program, for as long as it lives. X11 window
// managers know no mark for a program that is busy (the desktop's window manager hints have
// none), so the cursor is the sign that input is kept for later.
class BusyCursor final {
 public:
  BusyCursor() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    shown_ = true;
  }
  ~BusyCursor() {
    if (shown_) QGuiApplication::restoreOverrideCursor();
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  bool shown_ = false;
};

// Waits until the started program has ended while the program's windows stay alive: they
// are repainted, and the window manager's liveness check is answered, so that it does not
// offer to end a program that merely waits. Nothing else is handled meanwhile: clicks, keys
// and close requests stay queued and reach the windows, in their order, after the wait. The
// busy cursor shows over the windows meanwhile.
void WaitKeepingWindowsAlive(pid_t child) {
  if (QCoreApplication::instance() == nullptr) {
    WaitUntilEnded(child);
    return;
  }
  bool ended = false;
  // The process's own descriptor becomes readable when it ends; a kernel without one is
  // asked a few times a second instead.
  std::unique_ptr<QSocketNotifier> endNotifier;
  QTimer endPoll;
  const int processDescriptor = endNotice == EndNotice::ProcessDescriptor
                                    ? static_cast<int>(syscall(SYS_pidfd_open, child, 0))
                                    : -1;
  if (processDescriptor >= 0) {
    endNotifier = std::make_unique<QSocketNotifier>(processDescriptor, QSocketNotifier::Read);
    QObject::connect(endNotifier.get(), &QSocketNotifier::activated,
                     [&ended, child] { ended = HasEnded(child); });
  } else {
    QObject::connect(&endPoll, &QTimer::timeout, [&ended, child] { ended = HasEnded(child); });
    endPoll.start(100);
  }
  {
    CloseRequestsOnHold closeRequests;
    BusyCursor busy;
    ended = HasEnded(child);
    while (!ended) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                      QEventLoop::WaitForMoreEvents);
    }
  }
  endNotifier.reset();
  if (processDescriptor >= 0) close(processDescriptor);
  // The input kept back is already read from the window system; without a wake-up the
  // event loop would only hand it out with the next message that arrives.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    dispatcher->wakeUp();
}

void TellCannotStart(const char* program, const std::string& reason) {
  const std::string text = std::string("Cannot start '") + program + "'.\n" + reason;
  ShowMessageBox(program, text.c_str(), 0);
}

}  // namespace

void UseEndNotice(EndNotice notice) {
  endNotice = notice;
}

PlatformHandle StartProgram(const char* program, const char* parameter, const char* directory,
                            std::uint32_t flags) {
  CollectEndedPrograms();
  if (program == nullptr) return 0;
  const std::string workingDirectory = StartingDirectory(program, directory);
  // A relative file name as parameter then names a file in the program's folder.
  EnterProgramFolder();

  std::string path = ResolveProgram(program);
  std::vector<std::string> arguments{path};
  if (path.empty() && IsNotepad(program)) {
    // No program of that name: the desktop's plain text editor stands in for it.
    for (const StandInEditor& editor : StandInEditors()) {
      path = FindOnPath(editor.name);
      if (path.empty()) continue;
      arguments = {path};
      arguments.insert(arguments.end(), editor.options.begin(), editor.options.end());
      break;
    }
  }
  if (path.empty()) {
    TellCannotStart(program, IsNotepad(program)
                                 ? NoEditorFound()
                                 : "No program of that name was found. Make sure the name is "
                                   "right and that the program is installed.");
    return 0;
  }
  // The parameter reaches the program as one argument. Starting hidden (flag 2) is not
  // possible for X11 programs in general and is ignored.
  if (parameter != nullptr && *parameter != '\0') arguments.emplace_back(parameter);

  const pid_t child = Spawn(path, arguments, workingDirectory);
  if (child < 0) {
    TellCannotStart(program, std::strerror(errno));
    return 0;
  }
  const PlatformHandle handle = Handles().processes.Add(child);
  if ((flags & StartAndWait) != 0) {
    WaitKeepingWindowsAlive(child);
  } else {
    UnwaitedPrograms().push_back(child);
  }
  return handle;
}

std::string StartingDirectory(const char* program, const char* directory) {
  if (directory != nullptr && *directory != '\0') return directory;
  if (program == nullptr) return std::string();
  const char* lastSeparator = std::strrchr(program, '/');
  if (lastSeparator == nullptr || lastSeparator == program) return std::string();
  const auto length = static_cast<std::size_t>(lastSeparator - program);
  // A longer folder gives none rather than a folder cut short.
  if (length > longestDirectoryPart) return std::string();
  return std::string(program, length) + "/";
}

void CollectEndedPrograms() {
  std::vector<pid_t>& programs = UnwaitedPrograms();
  programs.erase(std::remove_if(programs.begin(), programs.end(),
                                [](pid_t child) {
                                  int status = 0;
                                  const pid_t result = waitpid(child, &status, WNOHANG);
                                  return result == child || (result < 0 && errno == ECHILD);
                                }),
                 programs.end());
}

}  // namespace quentara
