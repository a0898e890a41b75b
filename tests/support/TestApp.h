#pragma once

// The one QApplication of a test program, on the offscreen platform, made on
// first use. Widget tests call EnsureTestApp() before building widgets.

class QApplication;

QApplication* EnsureTestApp();
