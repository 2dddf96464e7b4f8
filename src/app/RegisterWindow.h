#pragma once

#include "app/RegisterSettings.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace osago {

class FileChoices;
class Messages;

// "Реестр...": where the program's register is, a file (typed, or found through "Обзор...") or a database on a
// server (its name or address, port, database and user; never a password). Enter confirms, Escape cancels.
class RegisterWindow : public QWidget
{
    Q_OBJECT

public:
    RegisterWindow(Messages& messages, FileChoices& files);

    // Shows the window holding `settings`, with `current` (where the open register is) under the fields.
    void ask(const RegisterSettings& settings, const QString& current);
    // The choice as the fields hold it.
    RegisterSettings settings() const;

signals:
    // The agent confirmed a choice that names a register. The window stays open until whoever opens that
    // register hides it, so a choice that fails to open can be mended.
    void chosen(const osago::RegisterSettings& settings);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showKind();
    void ButtonBrowseClick();
    void ButtonOkClick();

    Messages& m_messages;
    FileChoices& m_files;
    QRadioButton* m_fileKind = nullptr;
    QRadioButton* m_serverKind = nullptr;
    QLineEdit* m_file = nullptr;
    QWidget* m_browse = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_user = nullptr;
    QLabel* m_current = nullptr;
};

inline const QString kRegisterWindowTitle = QStringLiteral("Реестр");

} // namespace osago
