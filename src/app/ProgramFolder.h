#pragma once

#include <QString>

namespace osago {

// The program's own folder, where a start from the applications menu keeps the register "Baza.mdb", its side
// files and its copies in "Архив": "ОСАГО Тальград" in the desktop's documents folder. A menu starts programs in
// the home folder, which is no place for them.
QString programFolder();

// Makes `folder` when it is missing and makes it the current folder. Returns why it could not, or an empty text.
QString enterProgramFolder(const QString& folder);

} // namespace osago
