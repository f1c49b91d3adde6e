// The smallest Qt Widgets program with a window: the baseline KORVAL's
// start-up is measured against.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(721, 541);
    window.show();
    return app.exec();
}
