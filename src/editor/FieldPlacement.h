#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace osago {

// The vehicle and results pages place their fields at fixed positions, each captioned above.

// Every single-line field of these pages is this high.
inline constexpr int kFieldHeight = 21;

// Puts `field` on `page` at (`left`, `top`), `width` wide.
void placeField(QWidget* field, QWidget* page, int left, int top, int width);

// Puts a caption just above `field`, left-aligned with it, as its buddy; a caption wider than the
// field wraps. Place the field first.
QLabel* addCaption(QWidget* field, const QString& caption);

// A line edit named `name`, placed and captioned; `typingLimit` limits only what the agent types
// (0: no limit).
QLineEdit* addCaptionedEdit(QWidget* page, const QString& name, const QString& caption, int left, int top, int width,
                            int typingLimit);

// Shows or hides a field together with its caption.
void setFieldShown(QWidget* field, bool shown);

} // namespace osago
