#pragma once

class QApplication;

// The one application object of a test program that shows widgets, made on
// first use.
QApplication &testApplication();
