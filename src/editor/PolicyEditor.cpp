#include "editor/PolicyEditor.h"

#include "drivers/DriversPage.h"
#include "editor/EditorFields.h"
#include "editor/GeneralPage.h"
#include "widgets/Messages.h"
#include "editor/PartyPage.h"
#include "editor/ResultsPage.h"
#include "editor/DesktopLogout.h"
#include "editor/VehiclePage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace osago {

namespace {

constexpr QSize kWindowSize(650, 474);
constexpr QSize kPageAreaSize(650, 433);

QPushButton* newButton(const QString& name, const QString& text, QHBoxLayout* row)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

PolicyEditor::PolicyEditor(Messages& messages, QWidget& mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_messages(messages)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Редактирование записи"));
    setFixedSize(kWindowSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    buildPages(window);
    buildCommandButtons(window);

    connect(m_pageControl, &QTabWidget::currentChanged, this, &PolicyEditor::PageControlChange);
    connect(m_ownerPage->copyButton(), &QPushButton::clicked, this, &PolicyEditor::ButtonCopyClick);
    connectAgentChange(m_policyholderPage->regionBox(), this, &PolicyEditor::ComboBoxRegionChange);
    connectAgentChange(m_ownerPage->regionBox(), this, &PolicyEditor::ComboBoxRegChange);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        LogoutManagerRequest request(manager);
        answerLogout(request);
    });
}

void PolicyEditor::buildPages(QVBoxLayout* window)
{
    m_pageControl = new QTabWidget(this);
    m_pageControl->setObjectName(QStringLiteral("PageControl"));
    m_pageControl->setFixedSize(kPageAreaSize);
    // A slightly smaller tab font, so that all six titles fit across the window.
    QFont tabFont = m_pageControl->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() - 1);
    m_pageControl->tabBar()->setFont(tabFont);
    window->addWidget(m_pageControl, 0, Qt::AlignTop | Qt::AlignLeft);

    m_generalPage = new GeneralPage(m_messages, m_pageControl);
    m_policyholderPage = new PartyPage(PartyControlNames::policyholder(), m_messages, m_pageControl);
    m_ownerPage = new PartyPage(PartyControlNames::owner(), m_messages, m_pageControl);
    m_vehiclePage = new VehiclePage(*this, m_messages, m_pageControl);
    m_driversPage = new DriversPage(*this, m_messages, this);
    m_resultsPage = new ResultsPage(*this, m_messages, m_pageControl);

    m_pageControl->addTab(m_generalPage, QStringLiteral("Общие сведения"));
    m_pageControl->addTab(m_policyholderPage, QStringLiteral("Страхователь"));
    m_pageControl->addTab(m_ownerPage, QStringLiteral("Владелец"));
    m_pageControl->addTab(m_vehiclePage, QStringLiteral("Транспортное средство"));
    m_pageControl->addTab(m_driversPage, QStringLiteral("Водители"));
    m_pageControl->addTab(m_resultsPage, QStringLiteral("Результаты"));
}

void PolicyEditor::buildCommandButtons(QVBoxLayout* window)
{
    auto* row = new QHBoxLayout;
    window->addLayout(row);
    row->setContentsMargins(8, 0, 8, 8);
    row->addStretch();
    m_buttonBack = newButton(QStringLiteral("ButtonNaz"), QStringLiteral("<< Назад"), row);
    m_buttonNext = newButton(QStringLiteral("ButtonVper"), QStringLiteral("Далее >>"), row);
    m_buttonSave = newButton(QStringLiteral("ButtonSave"), QStringLiteral("Сохранить"), row);
    m_buttonCancel = newButton(QStringLiteral("ButtonNo"), QStringLiteral("Отмена"), row);
    m_buttonClose = newButton(QStringLiteral("ButtonClose"), QStringLiteral("Закрыть"), row);
    m_buttonBack->setEnabled(false);
    m_buttonSave->setEnabled(false);
    m_buttonClose->hide();

    QWidget::setTabOrder(m_buttonBack, m_buttonNext);
    QWidget::setTabOrder(m_buttonNext, m_buttonSave);
    QWidget::setTabOrder(m_buttonSave, m_buttonCancel);
    QWidget::setTabOrder(m_buttonCancel, m_buttonClose);

    connect(m_buttonNext, &QPushButton::clicked, this, &PolicyEditor::ButtonVperClick);
    connect(m_buttonBack, &QPushButton::clicked, this, &PolicyEditor::ButtonNazClick);
    connect(m_buttonSave, &QPushButton::clicked, this, &PolicyEditor::saveRequested);
    connect(m_buttonCancel, &QPushButton::clicked, this, &PolicyEditor::ButtonNoClick);
    connect(m_buttonClose, &QPushButton::clicked, this, &PolicyEditor::ButtonCloseClick);
}

void PolicyEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

// Every close that goes ahead resets the editor; the window is only hidden.
void PolicyEditor::closeEvent(QCloseEvent* event)
{
    if (!m_closingRecord && isVisible() && !windowSystemMayClose()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void PolicyEditor::closeRecord()
{
    const QScopedValueRollback closing(m_closingRecord, true);
    close();
}

bool PolicyEditor::windowSystemMayClose()
{
    if (!isEnabled())
        return false;
    return m_recordMode == RecordMode::View || confirmLeaving();
}

// Where the desktop lets nobody ask, nothing can stop the log-out.
void PolicyEditor::answerLogout(LogoutRequest& logout)
{
    if (!isVisible() || m_recordMode == RecordMode::View || !logout.mayAsk())
        return;
    if (!confirmLeaving())
        logout.cancel();
}

void PolicyEditor::FormShow()
{
    m_mainWindow.setEnabled(false);
}

void PolicyEditor::FormClose()
{
    leaveRecordMode();
    resetEditor();
}

void PolicyEditor::setRecordMode(RecordMode mode, const QString& code)
{
    m_recordMode = mode;
    m_recordCode = code;
    if (mode != RecordMode::View)
        return;
    // The pages take no input; the tabs and the page buttons still let the agent look through them.
    for (int page = 0; page < m_pageControl->count(); ++page)
        m_pageControl->widget(page)->setEnabled(false);
    m_buttonSave->hide();
    m_buttonCancel->hide();
    m_buttonClose->show();
}

// The reset that follows shows "Отмена" and "Сохранить" again.
void PolicyEditor::leaveRecordMode()
{
    for (int page = 0; page < m_pageControl->count(); ++page)
        m_pageControl->widget(page)->setEnabled(true);
    m_recordMode = RecordMode::New;
    m_recordCode.clear();
}

void PolicyEditor::ButtonVperClick()
{
    stepPage(+1);
}

void PolicyEditor::ButtonNazClick()
{
    stepPage(-1);
}

// Moves to the nearest page with a visible tab in `direction`; the page change rule follows.
void PolicyEditor::stepPage(int direction)
{
    for (int i = m_pageControl->currentIndex() + direction; i >= 0 && i < m_pageControl->count(); i += direction) {
        if (m_pageControl->isTabVisible(i)) {
            m_pageControl->setCurrentIndex(i);
            return;
        }
    }
}

void PolicyEditor::PageControlChange()
{
    const int page = m_pageControl->currentIndex();
    const bool canGoBack = page != 0;
    const bool canGoOn = page != m_pageControl->indexOf(m_resultsPage);
    m_buttonBack->setEnabled(canGoBack);
    m_buttonNext->setEnabled(canGoOn);
    m_buttonSave->setEnabled(!canGoOn);

    const bool policyholderIsPerson = m_generalPage->policyholderIsPerson();
    const bool ownerIsPerson = m_generalPage->ownerIsPerson();
    m_policyholderPage->showType(policyholderIsPerson);
    m_ownerPage->showType(ownerIsPerson);
    m_ownerPage->copyButton()->setEnabled(policyholderIsPerson == ownerIsPerson);
}

void PolicyEditor::ButtonNoClick()
{
    if (confirmLeaving())
        closeRecord();
}

bool PolicyEditor::confirmLeaving()
{
    return m_messages.confirm(this, kConfirmTitle, QStringLiteral("Выйти без сохранения?"));
}

void PolicyEditor::ButtonCloseClick()
{
    closeRecord();
}

void PolicyEditor::ButtonCopyClick()
{
    m_ownerPage->copyFrom(*m_policyholderPage);
    if (!m_generalPage->policyholderIsPerson() && !m_generalPage->ownerIsPerson()) {
        m_policyholderPage->clearGivenNames();
        m_ownerPage->clearGivenNames();
    }
}

void PolicyEditor::ComboBoxRegionChange()
{
    m_policyholderPage->reloadLocalities();
}

void PolicyEditor::ComboBoxRegChange()
{
    m_ownerPage->reloadLocalities();
}

} // namespace osago
