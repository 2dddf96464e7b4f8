#include "app/RegisterWindow.h"

#include "widgets/FileChoices.h"
#include "widgets/Messages.h"
#include "widgets/OkCancel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace osago {

namespace {

constexpr int kHighestPort = 65535;
constexpr int kFieldWidth = 260;

QLineEdit* newEdit(QWidget* window, const QString& name)
{
    auto* edit = new QLineEdit(window);
    edit->setObjectName(name);
    edit->setMinimumWidth(kFieldWidth);
    return edit;
}

} // namespace

RegisterWindow::RegisterWindow(Messages& messages, FileChoices& files)
    : m_messages(messages)
    , m_files(files)
{
    setObjectName(QStringLiteral("FormRegister"));
    setWindowTitle(kRegisterWindowTitle);
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    buildControls();
}

void RegisterWindow::buildControls()
{
    m_fileKind = new QRadioButton(QStringLiteral("Файл на этом компьютере"), this);
    m_fileKind->setObjectName(QStringLiteral("RadioFile"));
    m_file = newEdit(this, QStringLiteral("EditFile"));
    auto* fileRow = new QHBoxLayout;
    m_browse = addBrowseButton(*fileRow, *m_file, QStringLiteral("ButtonBrowse"), &RegisterWindow::ButtonBrowseClick);

    m_serverKind = new QRadioButton(QStringLiteral("Общий реестр на сервере PostgreSQL"), this);
    m_serverKind->setObjectName(QStringLiteral("RadioServer"));
    m_host = newEdit(this, QStringLiteral("EditHost"));
    m_host->setPlaceholderText(QStringLiteral("имя или адрес; несколько через запятую"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("EditPort"));
    m_port->setRange(1, kHighestPort);
    m_database = newEdit(this, QStringLiteral("EditBase"));
    m_user = newEdit(this, QStringLiteral("EditUser"));
    auto* server = new QFormLayout;
    server->addRow(QStringLiteral("Сервер:"), m_host);
    server->addRow(QStringLiteral("Порт:"), m_port);
    server->addRow(QStringLiteral("База данных:"), m_database);
    server->addRow(QStringLiteral("Пользователь:"), m_user);
    buildEncryption(*server);
    auto* passwordNote = new QLabel(QStringLiteral("Пароль не сохраняется: он берётся из файла ~/.pgpass "
                                                   "или спрашивается один раз за запуск."),
                                    this);
    passwordNote->setWordWrap(true);
    connect(m_fileKind, &QRadioButton::toggled, this, &RegisterWindow::showKind);

    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("LabelCurrent"));
    m_current->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fileKind);
    layout->addLayout(fileRow);
    layout->addSpacing(8);
    layout->addWidget(m_serverKind);
    layout->addLayout(server);
    layout->addWidget(passwordNote);
    layout->addSpacing(8);
    layout->addWidget(m_current);
    layout->addLayout(newOkCancelRow(*this, [this] { ButtonOkClick(); }));

    // The order the fields are read in, top to bottom, whatever order they were made in.
    const QList<QWidget*> order{m_fileKind, m_file, m_browse, m_serverKind, m_host, m_port, m_database, m_user,
                                m_encryption, m_rootCertificate, m_browseCertificate,
                                findChild<QPushButton*>(QStringLiteral("ButtonOk")),
                                findChild<QPushButton*>(QStringLiteral("ButtonCancel"))};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QWidget* RegisterWindow::addBrowseButton(QHBoxLayout& row, QLineEdit& edit, const QString& name,
                                         void (RegisterWindow::*browse)())
{
    auto* button = new QPushButton(QStringLiteral("Обзор..."), this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, browse);
    row.addWidget(&edit);
    row.addWidget(button);
    return button;
}

// The order of the items is that of RegisterSettings::Encryption.
void RegisterWindow::buildEncryption(QFormLayout& server)
{
    m_encryption = new QComboBox(this);
    m_encryption->setObjectName(QStringLiteral("ComboBoxEncryption"));
    m_encryption->addItems({QStringLiteral("если сервер поддерживает"), QStringLiteral("обязательно"),
                            QStringLiteral("обязательно, с проверкой сервера")});
    connect(m_encryption, &QComboBox::currentIndexChanged, this, &RegisterWindow::showKind);
    m_rootCertificate = newEdit(this, QStringLiteral("EditRootCertificate"));
    auto* certificateRow = new QHBoxLayout;
    m_browseCertificate = addBrowseButton(*certificateRow, *m_rootCertificate,
                                          QStringLiteral("ButtonBrowseCertificate"),
                                          &RegisterWindow::ButtonBrowseCertificateClick);
    server.addRow(QStringLiteral("Шифрование:"), m_encryption);
    server.addRow(QStringLiteral("Корневой сертификат:"), certificateRow);
}

void RegisterWindow::ask(const RegisterSettings& settings, const QString& current)
{
    // The full path, so the agent sees which folder a bare name lies in.
    m_file->setText(settings.file.isEmpty() ? QString() : QFileInfo(settings.file).absoluteFilePath());
    m_host->setText(settings.host);
    m_port->setValue(settings.port);
    m_database->setText(settings.database);
    m_user->setText(settings.user);
    m_encryption->setCurrentIndex(int(settings.encryption));
    m_rootCertificate->setText(settings.rootCertificate);
    (settings.kind == RegisterSettings::Kind::Server ? m_serverKind : m_fileKind)->setChecked(true);
    showKind();
    m_current->setText(QStringLiteral("Сейчас открыт реестр: %1").arg(current));
    show();
    raise();
    activateWindow();
    (settings.kind == RegisterSettings::Kind::Server ? m_host : m_file)->setFocus();
}

RegisterSettings RegisterWindow::settings() const
{
    RegisterSettings choice;
    choice.kind = m_serverKind->isChecked() ? RegisterSettings::Kind::Server : RegisterSettings::Kind::File;
    choice.file = m_file->text().trimmed();
    choice.host = m_host->text().trimmed();
    choice.port = m_port->value();
    choice.database = m_database->text().trimmed();
    choice.user = m_user->text().trimmed();
    choice.encryption = RegisterSettings::Encryption(m_encryption->currentIndex());
    choice.rootCertificate = m_rootCertificate->text().trimmed();
    return choice;
}

QLineEdit* RegisterWindow::fieldOf(RegisterSettings::Problem::Field field) const
{
    using Field = RegisterSettings::Problem::Field;
    switch (field) {
    case Field::File: return m_file;
    case Field::Host: return m_host;
    case Field::Database: return m_database;
    case Field::RootCertificate: return m_rootCertificate;
    }
    return m_host;
}

void RegisterWindow::keyPressEvent(QKeyEvent* event)
{
    if (!answerOkCancelKey(*this, *event, [this] { ButtonOkClick(); }))
        QWidget::keyPressEvent(event);
}

// Only the fields of the kind chosen take input, the root certificate only for a server proven by it; the others
// keep what they hold for a change of mind.
void RegisterWindow::showKind()
{
    const bool file = m_fileKind->isChecked();
    m_file->setEnabled(file);
    m_browse->setEnabled(file);
    for (QWidget* field : {static_cast<QWidget*>(m_host), static_cast<QWidget*>(m_port),
                           static_cast<QWidget*>(m_database), static_cast<QWidget*>(m_user),
                           static_cast<QWidget*>(m_encryption)})
        field->setEnabled(!file);
    const bool verified =
        !file && m_encryption->currentIndex() == int(RegisterSettings::Encryption::Verified);
    m_rootCertificate->setEnabled(verified);
    m_browseCertificate->setEnabled(verified);
}

void RegisterWindow::ButtonBrowseClick()
{
    chooseFileInto(*m_file, QStringLiteral("Файл реестра"), QStringLiteral("Реестр полисов (*.mdb);;Все файлы (*)"));
}

void RegisterWindow::ButtonBrowseCertificateClick()
{
    chooseFileInto(*m_rootCertificate, QStringLiteral("Корневой сертификат сервера"),
                   QStringLiteral("Сертификаты (*.crt *.pem);;Все файлы (*)"));
}

// The file dialog starts where `edit` points and puts the file chosen there.
void RegisterWindow::chooseFileInto(QLineEdit& edit, const QString& title, const QString& filters)
{
    const QString path = m_files.openFileName(this, title, QFileInfo(edit.text()).absoluteFilePath(), filters);
    if (!path.isEmpty())
        edit.setText(path);
    edit.setFocus();
}

void RegisterWindow::ButtonOkClick()
{
    const RegisterSettings choice = settings();
    if (const std::optional<RegisterSettings::Problem> problem = choice.problem()) {
        m_messages.show(this, kRegisterWindowTitle, problem->text, Messages::Icon::Warning);
        fieldOf(problem->field)->setFocus();
        return;
    }
    emit chosen(choice);
}

} // namespace osago
