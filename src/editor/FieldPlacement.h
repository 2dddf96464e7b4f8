#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace osago {

// Every single-line field of the editor's pages is this high.
inline constexpr int kFieldHeight = 21;

// Puts a caption just above `field`, left-aligned with it, as its buddy; a caption wider than the
// field wraps. Place the field first.
QLabel* addCaption(QWidget* field, const QString& caption);

// A line edit named `name` at (`left`, `top`), `width` wide, captioned above. `typingLimit`
// limits only what the agent types (0: no limit).
QLineEdit* addCaptionedEdit(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                            int width, int typingLimit);

// Shows or hides a field together with its caption.
void setFieldShown(QWidget* field, bool shown);

} // namespace osago
