#include "widgets/TypingLimit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace osago {

namespace {

class TypingLimitValidator final : public QValidator
{
public:
    TypingLimitValidator(int characters, QObject* parent)
        : QValidator(parent)
        , m_characters(characters)
    {
    }

    State validate(QString& input, int&) const override
    {
        return input.size() <= m_characters ? Acceptable : Invalid;
    }

private:
    int m_characters;
};

} // namespace

void setTypingLimit(QLineEdit* edit, int characters)
{
    edit->setValidator(new TypingLimitValidator(characters, edit));
}

void setTypingLimit(QComboBox* comboBox, int characters)
{
    comboBox->setValidator(new TypingLimitValidator(characters, comboBox));
}

} // namespace osago
