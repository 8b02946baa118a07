#include "Zentry01ManApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    CZentry01ManApp app;
    return app.Run();
}
