// The yardstick for the start-up benchmark: the least a Qt program does to show a window of
// the main form's size, with nothing in it.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("BareWindow");
  window.setFixedSize(548, 371);
  window.show();
  return application.exec();
}
