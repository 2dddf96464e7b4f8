#pragma once

#include <QString>

#include <memory>

namespace osago {

class AboutBox;
class Form2;
class FormMain;
class FormPlus;
class FormPoisk;
class Messages;

struct ProgramOptions
{
    QString databasePath = QStringLiteral("Baza.mdb");
};

// Owns the program's windows. Each exists once, created in a fixed order, shown and hidden,
// never destroyed before the program ends. main() makes one; every test makes a fresh one.
class Program
{
public:
    Program(Messages& messages, ProgramOptions options = {});
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window maximised.
    void start();

    FormMain& formMain() { return *m_formMain; }
    Form2& form2() { return *m_form2; }
    FormPoisk& formPoisk() { return *m_formPoisk; }
    FormPlus& formPlus() { return *m_formPlus; }
    AboutBox& aboutBox() { return *m_aboutBox; }

private:
    Messages& m_messages;
    ProgramOptions m_options;
    std::unique_ptr<FormMain> m_formMain;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<FormPoisk> m_formPoisk;
    std::unique_ptr<FormPlus> m_formPlus;
    std::unique_ptr<AboutBox> m_aboutBox;
};

} // namespace osago
