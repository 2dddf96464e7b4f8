#include "Messages.h"
#include "Pictures.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("osago"));
    QApplication::setOrganizationName(QStringLiteral("osago-talgrad"));
    QApplication::setWindowIcon(osago::programIcon());

    osago::DialogMessages messages;
    osago::Program program(messages);
    program.start();
    return QApplication::exec();
}
