#pragma once

#include <QDialog>

#include <functional>

// Once the next modal dialog is up, runs `act` on it, then closes it with
// Cancel if `act` left it open, so a test can never hang on a dialog.
void whenModalShown(std::function<void(QDialog &)> act);
