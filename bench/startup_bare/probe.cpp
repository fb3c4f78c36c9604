// Start-up probe for the floor: the least a Qt Widgets program that shows
// Chinese text does, one window of our size with one label.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget form;
  form.setFixedSize(342, 244);
  QLabel label(QString::fromUtf8("晶振频率(MHz)"), &form);
  label.move(72, 56);
  form.show();
  QTimer::singleShot(0, &application, &QCoreApplication::quit);
  return QApplication::exec();
}
