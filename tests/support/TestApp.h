#pragma once

// The one QApplication of a test program, on the offscreen platform, made on
// first use. Widget tests call EnsureTestApp() before building widgets. It
// also makes every message box shown without a MessageRecorder a test
// failure (tests of the real box put the QMessageBox sink back).

class QApplication;

QApplication* EnsureTestApp();
