// The least a Qt program does to put a window on screen: an empty window, ended after its first
// paint. sweep's start-up is measured against it.

#include "window/QuitAfterFirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.installEventFilter(new QuitAfterFirstPaint(&window));
    window.show();
    return QApplication::exec();
}
