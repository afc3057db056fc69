// Writes the documentation's pictures of Tamarin's windows:
//   tamarin-screenshots <directory>
#include "Application.h"
#include "Screenshots.h"

#include <QTextStream>

int main(int argc, char* argv[])
{
    TamarinApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: tamarin-screenshots <directory>\n";
        return 2;
    }
    return TakeScreenshots(arguments.at(1));
}
