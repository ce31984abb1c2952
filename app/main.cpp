#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qiv"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Qiv"));
    window.show();
    return app.exec();
}
