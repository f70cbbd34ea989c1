#pragma once
// A scripted person for whole-program tests. The program runs in-process with its real
// event loop (RunProgram never returns; it ends the process), so the script runs from a
// timer inside that loop: each tick it takes the next step, which either gives input
// (keys, clicks, close requests), waits for something to show, or checks something.
// Failures are printed to standard error; when every check passed the script prints
// `scenarioPassed`, which the death test that ran the scenario looks for. Input takes the
// window layer's test path (tests/ui/ui_test_support.h): through the window, as the window
// system delivers it.

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/information_window.h"
#include "app/main_form.h"
#include "tests/ui/ui_test_support.h"
#include "text/text_area.h"
#include "ui/gadgets.h"
#include "ui/qt/qt_access.h"

namespace quentara::scenario {

inline constexpr const char* scenarioPassed = "SCENARIO PASSED";

/// The place of a main form gadget in its client area (an empty rectangle for others).
inline QRect GadgetRect(int gadget) {
  const GadgetPlace place = MainFormPlace(gadget);
  return QRect(place.x, place.y, place.width, place.height);
}

/// The visible top-level windows with this title (a closed window may linger hidden
/// until it is deleted).
inline int VisibleWindowsTitled(const QString& title) {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == title) ++count;
  }
  return count;
}

/// Form window `number` when it is open and shown, else nullptr.
inline QWidget* ShownWindow(int number) {
  QWidget* window = FormWindowWidget(number);
  return window != nullptr && window->isVisible() ? window : nullptr;
}

inline QWidget* MainWindow() {
  return ShownWindow(mainWindow);
}
inline QWidget* InformationWindow() {
  return ShownWindow(informationWindow);
}

/// The control of a gadget, nullptr when there is none.
inline QWidget* MainGadget(int gadget) {
  return GadgetControlWidget(gadget);
}

/// The gadget's text as the window layer reads it; the temporary area is left as it was.
inline std::string GadgetText(int gadget) {
  char* text = ReadGadgetText(gadget);
  std::string copy = text;
  SetTextAreaEnd(text);
  return copy;
}

/// The window that takes keys now: the active window, else the main form.
inline QWidget* KeyWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return MainWindow();
}

/// A key pressed and released, through the window system's path to the focused control.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (QWidget* window = KeyWindow()) testing::SendKey(window, key, modifiers);
}

inline void TypeText(const std::string& text) {
  if (QWidget* window = KeyWindow()) testing::SendText(window, QString::fromStdString(text));
}

/// A left click in the middle of the control.
inline void Click(QWidget* widget) {
  if (widget != nullptr) testing::SendClick(widget);
}

/// The close box of a window.
inline void PressCloseBox(QWidget* window) {
  if (window != nullptr) testing::SendCloseRequest(window);
}

/// The message box that is up, if any, with its title and text.
struct ShownBox {
  QMessageBox* box = nullptr;
  std::string title;
  std::string text;
};

inline ShownBox ModalBox() {
  ShownBox shown;
  shown.box = testing::OpenMessageBox();
  if (shown.box == nullptr) return shown;
  shown.title = shown.box->windowTitle().toStdString();
  shown.text = shown.box->text().toStdString();
  return shown;
}

/// Presses the box's OK button.
inline void PressBoxButton(QMessageBox* box) {
  testing::PressOk(box);
}

/// The steps of one scenario, taken one per timer tick.
class Driver {
 public:
  /// An action taken once.
  void Do(std::string what, std::function<void()> action) {
    steps_.push_back({std::move(what), [action] {
                        action();
                        return true;
                      }});
  }
  /// Waits until the condition holds; a step that waits longer than the timeout fails the
  /// scenario at once.
  void WaitUntil(std::string what, std::function<bool()> condition) {
    steps_.push_back({std::move(what), std::move(condition)});
  }
  /// A check made once; a failure is reported at the end.
  void Expect(std::string what, std::function<bool()> condition) {
    steps_.push_back({what, [this, what, condition] {
                        if (!condition()) Fail(what);
                        return true;
                      }});
  }
  /// Moves the mouse over the main form's background: a message that raises no event of
  /// its own. An event the program left pending is handed out with it, and acted on, before
  /// the next step: steps run while the loop waits for a message, and this one ends that
  /// wait at once, so the next step runs in the loop's next wait.
  void Flush() {
    Do("a mouse move over the main form", [] {
      // Qt drops a move to where the mouse already is, so every flush goes elsewhere.
      static int step = 0;
      step = step % 20 + 1;
      if (QWidget* form = FormWindowWidget(mainWindow))
        testing::SendMouseMove(form, QPoint(2 + step, 2));
    });
  }
  /// A condition checked on every tick from now on, until StopWatching.
  void Watch(std::string what, std::function<bool()> condition) {
    Do("watch: " + what, [this, what, condition] { watch_ = {what, condition}; });
  }
  void StopWatching() {
    Do("stop watching", [this] { watch_.reset(); });
  }
  /// Waits for a modal box with exactly this title and text, then presses its button.
  void AnswerBox(const std::string& title, const std::string& text) {
    WaitUntil("a message box \"" + title + "\": \"" + text + "\"",
              [] { return ModalBox().box != nullptr; });
    Expect("the message box reads \"" + title + "\": \"" + text + "\"", [title, text] {
      ShownBox shown = ModalBox();
      if (shown.title == title && shown.text == text) return true;
      std::fprintf(stderr, "  shown: \"%s\": \"%s\"\n", shown.title.c_str(), shown.text.c_str());
      return false;
    });
    // Another box may follow at once, so the wait is for this box to go.
    auto pressed = std::make_shared<QPointer<QMessageBox>>();
    Do("press OK", [pressed] {
      *pressed = ModalBox().box;
      PressBoxButton(*pressed);
    });
    WaitUntil("the message box to close",
              [pressed] { return pressed->isNull() || !(*pressed)->isVisible(); });
  }
  /// Prints the failures, or the marker when there were none.
  void Report() {
    Do("report", [this] {
      for (const std::string& failure : failures_) {
        std::fprintf(stderr, "SCENARIO FAILURE: %s\n", failure.c_str());
      }
      if (failures_.empty()) std::fprintf(stderr, "%s\n", scenarioPassed);
      std::fflush(stderr);
    });
  }

  void Fail(const std::string& what) {
    failures_.push_back(what);
    std::fprintf(stderr, "SCENARIO FAILURE (step %d): %s\n", current_.load(), what.c_str());
  }

  /// Starts ticking; call after the application object exists, before RunProgram. A
  /// watchdog ends a scenario that hangs (also one whose thread is blocked).
  void Start(int stepTimeoutMs = 20000, int wholeTimeoutS = 120) {
    stepTimeoutMs_ = stepTimeoutMs;
    std::thread([this, wholeTimeoutS] {
      std::this_thread::sleep_for(std::chrono::seconds(wholeTimeoutS));
      // The steps are all added before Start, so reading them here is safe.
      const auto step = static_cast<std::size_t>(current_.load());
      std::fprintf(stderr, "SCENARIO TIMED OUT at step %zu (%s)\n", step,
                   step < steps_.size() ? steps_[step].what.c_str() : "after the last step");
      std::fflush(stderr);
      std::_Exit(98);
    }).detach();
    timer_ = new QTimer;
    timer_->setInterval(10);
    QObject::connect(timer_, &QTimer::timeout, [this] { Tick(); });
    timer_->start();
  }

 private:
  struct Step {
    std::string what;
    std::function<bool()> run;
  };

  void Tick() {
    if (busy_) return;
    busy_ = true;
    if (watch_ && !watch_->second()) {
      Fail(watch_->first);
      watch_.reset();
    }
    const std::size_t index = static_cast<std::size_t>(current_.load());
    if (index < steps_.size()) {
      Step& step = steps_[index];
      const auto now = std::chrono::steady_clock::now();
      if (!stepStarted_) stepStarted_ = now;
      if (step.run()) {
        current_.fetch_add(1);
        stepStarted_.reset();
      } else if (now - *stepStarted_ > std::chrono::milliseconds(stepTimeoutMs_)) {
        Fail("timed out waiting for " + step.what);
        for (const std::string& failure : failures_) {
          std::fprintf(stderr, "SCENARIO FAILURE: %s\n", failure.c_str());
        }
        std::fflush(stderr);
        std::_Exit(97);
      }
    }
    busy_ = false;
  }

  std::vector<Step> steps_;
  std::vector<std::string> failures_;
  std::optional<std::pair<std::string, std::function<bool()>>> watch_;
  std::atomic<int> current_{0};
  std::optional<std::chrono::steady_clock::time_point> stepStarted_;
  int stepTimeoutMs_ = 20000;
  bool busy_ = false;
  QTimer* timer_ = nullptr;
};

}  // namespace quentara::scenario
