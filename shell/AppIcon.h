#pragma once

// The program's one icon: the main window, the About box and every dialog
// (through the application's window icon) show it.

#include <QIcon>

// Drawn at the usual sizes, so it stays sharp in title bars, task bars and
// the About box alike.
QIcon LoadAppIcon();
