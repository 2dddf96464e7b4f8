#include "print/PrintFonts.h"

#include <QFontDatabase>
#include <QtGlobal>

namespace osago {

void loadPrintFonts()
{
    static const bool loaded = [] {
        for (const char* face : {":/print/fonts/DejaVuSans.ttf", ":/print/fonts/DejaVuSans-Bold.ttf"}) {
            if (QFontDatabase::addApplicationFont(QString::fromLatin1(face)) < 0)
                qWarning("the print font %s could not be loaded", face);
        }
        return true;
    }();
    Q_UNUSED(loaded);
}

} // namespace osago
