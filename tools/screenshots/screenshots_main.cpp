// Writes the documentation's pictures of Tamarin's windows:
//   tamarin-screenshots [--dark] <directory> [shot[=file] ...]
// Without shots it takes all of them under their own names. The scale is
// Qt's: run with QT_SCALE_FACTOR=2 for pictures of a high-density screen.
#include "Application.h"
#include "Screenshots.h"

#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    TamarinApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes pictures of Tamarin's windows as PNG files.");
    parser.addHelpOption();
    const QCommandLineOption dark("dark", "Fusion style with a dark desktop palette.");
    parser.addOption(dark);
    parser.addPositionalArgument("directory", "Where the pictures go.");
    parser.addPositionalArgument("shots", "shot or shot=file, of: " + ShotNames().join(", "),
                                 "[shot[=file] ...]");
    parser.process(app);
    QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        parser.showHelp(2);

    ShotOptions options;
    options.dark = parser.isSet(dark);
    const QString directory = arguments.takeFirst();
    options.selection = arguments;
    return TakeScreenshots(directory, options);
}
