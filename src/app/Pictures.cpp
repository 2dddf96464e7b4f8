#include "app/Pictures.h"

namespace osago {

QIcon commandPicture(Picture picture)
{
    switch (picture) {
    case Picture::Create:
        return QIcon(QStringLiteral(":/pictures/create.svg"));
    case Picture::Edit:
        return QIcon(QStringLiteral(":/pictures/edit.svg"));
    case Picture::View:
        return QIcon(QStringLiteral(":/pictures/view.svg"));
    case Picture::Copy:
        return QIcon(QStringLiteral(":/pictures/copy.svg"));
    case Picture::Delete:
        return QIcon(QStringLiteral(":/pictures/delete.svg"));
    case Picture::Search:
        return QIcon(QStringLiteral(":/pictures/search.svg"));
    case Picture::Print:
        return QIcon(QStringLiteral(":/pictures/print.svg"));
    case Picture::About:
        return QIcon(QStringLiteral(":/pictures/about.svg"));
    }
    Q_UNREACHABLE();
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/pictures/program.svg"));
}

} // namespace osago
