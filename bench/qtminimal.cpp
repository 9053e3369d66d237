// What every Qt program costs before it does anything: loading QtCore and its
// libraries and constructing the application object. The benchmark subtracts
// it from a small run to show fbext's own part.

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    return 0;
}
