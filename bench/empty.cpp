// glyvex_empty: a Qt Widgets program that shows one empty window titled "Glyvex empty"
// and nothing else; the start-up benchmark compares the time to Glyvex's splash window
// against it. It reads no environment and never quits by itself.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Glyvex empty"));
    window.resize(473, 262);
    window.show();
    return app.exec();
}
