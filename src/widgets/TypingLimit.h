#pragma once

class QComboBox;
class QLineEdit;

namespace osago {

// Limits what the agent can type into a field to `characters`, without limiting what the
// program writes there (QLineEdit::maxLength would also cut the program's texts, such as a
// converted power "29,4118" in a four-character field).
void setTypingLimit(QLineEdit* edit, int characters);
void setTypingLimit(QComboBox* comboBox, int characters);

} // namespace osago
