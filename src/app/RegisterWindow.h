#pragma once

#include "app/RegisterSettings.h"

#include <QWidget>

class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace osago {

class FileChoices;
class Messages;

// "Реестр...": where the program's register is, a file (typed, or found through "Обзор...") or a database on a
// server (its name or address, or several for a primary and its standby; port, database and user; never a
// password; how the connection is encrypted, with the root certificate that proves the server). Enter confirms,
// Escape cancels.
class RegisterWindow : public QWidget
{
    Q_OBJECT

public:
    RegisterWindow(Messages& messages, FileChoices& files);

    // Shows the window holding `settings`, with `current` (where the open register is, and how its connection is
    // protected) under the fields.
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
    // `edit` and after it an "Обзор..." button named `name` that runs `browse`, into `row`; gives the button.
    QWidget* addBrowseButton(QHBoxLayout& row, QLineEdit& edit, const QString& name, void (RegisterWindow::*browse)());
    // The encryption's choice and the root certificate's row, added to `server`.
    void buildEncryption(QFormLayout& server);
    void showKind();
    QLineEdit* fieldOf(RegisterSettings::Problem::Field field) const;
    void chooseFileInto(QLineEdit& edit, const QString& title, const QString& filters);
    void ButtonBrowseClick();
    void ButtonBrowseCertificateClick();
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
    QComboBox* m_encryption = nullptr;
    QLineEdit* m_rootCertificate = nullptr;
    QWidget* m_browseCertificate = nullptr;
    QLabel* m_current = nullptr;
};

inline const QString kRegisterWindowTitle = QStringLiteral("Реестр");

} // namespace osago
