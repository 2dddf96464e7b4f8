#pragma once

#include <functional>

class QHBoxLayout;
class QKeyEvent;
class QWidget;

namespace osago {

// The buttons of a window that asks the agent for something: "ОК" (ButtonOk) runs `confirm`, "Отмена"
// (ButtonCancel) hides the window; a row with both on the right, for the window's layout.
QHBoxLayout* newOkCancelRow(QWidget& window, const std::function<void()>& confirm);

// Enter runs `confirm` and Escape hides the window, wherever the focus is in it; false for any other key.
bool answerOkCancelKey(QWidget& window, const QKeyEvent& event, const std::function<void()>& confirm);

} // namespace osago
