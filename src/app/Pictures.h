#pragma once

#include <QIcon>

namespace osago {

// The pictures of the main window's commands, shared by the menu and the toolbar.
enum class Picture { Create, Edit, View, Copy, Delete, Search, Print, About };

QIcon commandPicture(Picture picture);

// The program's own icon: window icons and the about dialog.
QIcon programIcon();

} // namespace osago
