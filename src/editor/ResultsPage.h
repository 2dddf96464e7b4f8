#pragma once

#include <QWidget>

class QLineEdit;

namespace osago {

class Messages;

// The editor's page "Результаты": the nine tariff factors, the premium, and the buttons that
// calculate it and print the application.
class ResultsPage : public QWidget
{
    Q_OBJECT

public:
    // `editor` is the policy editor whose pages the calculation reads and writes.
    ResultsPage(QWidget& editor, Messages& messages, QWidget* parent = nullptr);

    // "Расчитать": runs the premium calculation over the editor. False when a conversion
    // stopped it (the agent has seen the message then).
    bool ButtonSummaClick();

    // The results step of the editor's closing reset: the formula back, "?" in every factor,
    // no premium.
    void reset();

signals:
    // "Печать заявления..." after a completed calculation: the application is to be printed.
    void printRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtons();
    void buildFactorFields();
    void buildScratchControls();

    void ButtonZPrClick();

    QWidget& m_editor;
    Messages& m_messages;
    QLineEdit* m_formula = nullptr;
    QLineEdit* m_premium = nullptr;
};

} // namespace osago
