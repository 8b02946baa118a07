#include "Zentry01App.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    CZentry01App app;
    return app.Run();
}
