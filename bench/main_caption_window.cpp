// The empty window with one Korean caption in one of the installed Korean fonts: what drawing any
// Korean text adds to a bare Qt program's start (the font database, one font engine, shaping).
// A reference for sweep's start-up, which draws dozens of captions in several fonts.

#include "window/QuitAfterFirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    QLabel caption(QStringLiteral("※ 반드시 데이터 조회를 하고 확인 후 삭제를 하시기 바랍니다"),
                   &window);
    caption.setFont(QFont(QStringLiteral("NanumGothic"), 9));
    caption.move(10, 10);
    window.installEventFilter(new QuitAfterFirstPaint(&window));
    window.show();
    return QApplication::exec();
}
