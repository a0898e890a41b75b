#pragma once

// The program's message sink: a QMessageBox with the request's title, icon,
// buttons and default, the text as plain text. Without a QApplication, or
// off the GUI thread, it shows nothing, logs the text and answers as unseen.

#include "MessageSink.h"

int ShowMessageBox(const MessageRequest& request);

// Makes ShowMessageBox the default sink of MessageSink.h (at start-up).
void InstallMessageBoxSink();

// A message over a window, carrying that window's title, as every box of a
// dialog or of the main window does (through the current sink).
int WindowMessage(QWidget* parent, const QString& text, unsigned flags = MB_OK);
